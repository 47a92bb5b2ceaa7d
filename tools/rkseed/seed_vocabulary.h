// The words the generated collection is made of.
#pragma once

#include <span>
#include <string_view>

namespace rk::seed {

using Words = std::span<const std::string_view>;

Words SubjectNames();
Words ManufacturerNames();
Words TapeTypes();    // the tape form's type choices
Words TapeFormats();  // colour systems
Words TapeSpeeds();
Words TapeLengths();
Words VideoFormats();
Words Certificates();
Words SurroundSounds();
Words Billings();       // CAS:STAR
Words Channels();       // where a recording came from
Words TitleOpenings();  // the first half of a title
Words TitleSubjects();  // the second half
Words FirstNames();
Words LastNames();
Words Publishers();
Words NoteSentences();

}  // namespace rk::seed
