#include "tools/rkseed/collection_seeder.h"

#include <functional>
#include <string_view>

#include "app/dictionary/data_dictionary.h"
#include "runtime/core/day_number.h"
#include "runtime/core/error_state.h"
#include "runtime/core/time_value.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/transactions.h"
#include "tools/rkseed/seed_random.h"
#include "tools/rkseed/seed_vocabulary.h"

namespace rk::seed {
namespace {

enum CollectionFile { kHtapes, kItems, kVideos, kCast, kSubject, kManufacturer };

std::string Join(std::string_view a, std::string_view b) {
  return std::string(a) + " " + std::string(b);
}

int32_t Minutes(int32_t minutes) {
  return TimeToValue(minutes / 60, minutes % 60, 0, 0);
}

class Seeder {
 public:
  Seeder(const SeedOptions& options, std::ostream& errors)
      : options_(options), errors_(errors), random_(options.seed) {}

  int32_t Run() {
    int32_t error = 0;
    error = error ? error : Fill(kSubject, [&](DeclaredFile& f) { AddSubjects(f); });
    error = error ? error : Fill(kManufacturer, [&](DeclaredFile& f) { AddManufacturers(f); });
    error = error ? error : Fill(kHtapes, [&](DeclaredFile& f) { AddTapes(f); });
    error = error ? error : Fill(kItems, [&](DeclaredFile& f) { AddItems(f); });
    error = error ? error : Fill(kVideos, [&](DeclaredFile& f) { AddVideos(f); });
    error = error ? error : Fill(kCast, [&](DeclaredFile& f) { AddCast(f); });
    return error;
  }

 private:
  // Creates one file in the directory, opens it alone and adds its records in
  // one transaction. Nothing is written back until the COMMIT, which writes
  // each page once: in STREAM mode every 40 changed pages are written back, and
  // as the title and date keys take their entries all over the file, a large
  // load wrote back and read again the same pages over and over.
  int32_t Fill(CollectionFile which, const std::function<void(DeclaredFile&)>& add) {
    FileSpec spec = CollectionFileSpecs()[which];
    std::string path = options_.directory + "/" + spec.storedName;
    spec.storedName = path.c_str();
    DeclaredFile file(spec, &KmfEntry);
    CREATE(file.file());
    if (!Ok(spec.label, "create")) return ErrorCode();
    OPEN(file.file(), kAccessReadWrite | kDenyAll);
    if (!Ok(spec.label, "open")) return ErrorCode();
    failed_ = 0;
    LOGOUT(1, {&file.file()});
    if (!Ok(spec.label, "logout")) failed_ = ErrorCode();
    current_ = &file;
    add(file);
    if (failed_ == 0) {
      COMMIT();
      if (!Ok(spec.label, "commit")) failed_ = ErrorCode();
    } else {
      ROLLBACK();
    }
    CLOSE(file.file());
    if (failed_ == 0 && !Ok(spec.label, "close")) failed_ = ErrorCode();
    return failed_;
  }

  bool Ok(std::string_view label, std::string_view step) {
    if (ErrorCode() == 0) return true;
    errors_ << "rkseed: " << label << ": " << step << " failed: " << ErrorCode() << " "
            << MessageText(ErrorCode()) << "\n";
    return false;
  }

  void Add() {
    if (failed_) return;
    ADD(current_->file());
    if (!Ok(current_->label(), "add")) failed_ = ErrorCode();
  }

  std::string Notes(int maxSentences) {
    std::string notes;
    int count = random_.Between(0, maxSentences);
    for (int i = 0; i < count; ++i) {
      if (!notes.empty()) notes += ' ';
      notes += random_.Pick(NoteSentences());
    }
    return notes;
  }

  std::string Title() { return Join(random_.Pick(TitleOpenings()), random_.Pick(TitleSubjects())); }
  std::string Person() { return Join(random_.Pick(FirstNames()), random_.Pick(LastNames())); }
  int32_t Day(int32_t fromYear, int32_t toYear) {
    return DateToDay(random_.Between(fromYear, toYear), random_.Between(1, 12),
                     random_.Between(1, 28));
  }

  void AddSubjects(DeclaredFile& f) {
    for (std::string_view subject : SubjectNames()) {
      f.setText("SUB:SUBJECT", subject);
      Add();
    }
  }

  void AddManufacturers(DeclaredFile& f) {
    for (std::string_view name : ManufacturerNames()) {
      f.setText("MAN:MANUFACTURER", name);
      Add();
    }
  }

  // Tapes past the last serial a SHORT holds get serial 0, which the unique
  // serial key leaves out, as it does for a tape entered without a serial.
  void AddTapes(DeclaredFile& f) {
    tapeDays_.clear();
    for (int32_t number = 1; number <= options_.tapes; ++number) {
      int32_t serial = number <= kLastSerial ? number : 0;
      int32_t start = Day(1984, 2004);
      int32_t end = start + random_.Between(0, 400);
      if (serial != 0) tapeDays_.push_back({start, end});
      f.setLong("HTA:SERIAL", serial);
      f.setText("HTA:TITLE",
                Title() + (random_.Chance(30) ? " Vol. " + std::to_string(number % 9 + 1) : ""));
      f.setLong("HTA:START_DATE", start);
      f.setLong("HTA:END_DATE", end);
      f.setText("HTA:TYPE", random_.Pick(TapeTypes()));
      f.setText("HTA:MANUFACTURER", random_.Pick(ManufacturerNames()));
      f.setText("HTA:FORMAT", random_.Pick(TapeFormats()));
      f.setText("HTA:SPEED", random_.Pick(TapeSpeeds()));
      f.setText("HTA:LENGTH", random_.Pick(TapeLengths()));
      f.setMemoText(1, Notes(12));
      Add();
    }
  }

  // Items belong to the tapes that have a serial.
  void AddItems(DeclaredFile& f) {
    for (int32_t serial = 1; serial <= static_cast<int32_t>(tapeDays_.size()); ++serial) {
      auto [start, end] = tapeDays_[static_cast<size_t>(serial - 1)];
      int32_t counter = 0;
      for (int32_t n = 0; n < options_.itemsPerTape; ++n) {
        int32_t minutes = random_.Between(5, 150);
        int32_t startMinute = random_.Between(6 * 60, 23 * 60);
        int32_t counterEnd = counter + minutes * random_.Between(8, 12);
        f.setLong("ITE:SERIAL", serial);
        f.setLong("ITE:DATE", random_.Between(start, end));
        f.setLong("ITE:START_TIME", Minutes(startMinute));
        f.setLong("ITE:END_TIME", Minutes((startMinute + minutes) % (24 * 60)));
        f.setLong("ITE:RUNNING_TIME", Minutes(minutes));
        f.setLong("ITE:COUNTER_START", counter);
        f.setLong("ITE:COUNTER_END", counterEnd);
        f.setText("ITE:DESCRIPTION", Title());
        f.setText("ITE:PROGRAM_SOURCE", random_.Pick(Channels()));
        f.setText("ITE:SUBJECT", random_.Pick(SubjectNames()));
        f.setText("ITE:ARCHIVE", random_.Chance(25) ? "Y" : "N");
        f.setMemoText(1, Notes(5));
        Add();
        counter = counterEnd;
      }
    }
  }

  void AddVideos(DeclaredFile& f) {
    for (int32_t serial = 1; serial <= options_.videos; ++serial) {
      std::string price =
          std::to_string(random_.Between(4, 39)) + "." + std::to_string(random_.Between(10, 99));
      f.setLong("VID:SERIAL", serial);
      f.setText("VID:TITLE", Title());
      f.setLong("VID:NUMBER_OF_TAPES", random_.Chance(85) ? 1 : random_.Between(2, 4));
      f.setText("VID:PUBLISHER", random_.Pick(Publishers()));
      f.setText("VID:PUBLISHERS_CATALOGUE_NO",
                "CAT-" + std::to_string(random_.Between(10000, 99999)));
      f.setText("VID:FORMAT", random_.Pick(VideoFormats()));
      f.setLong("VID:RUNNING_TIME", Minutes(random_.Between(75, 200)));
      f.setText("VID:CERTIFICATE", random_.Pick(Certificates()));
      f.setText("VID:PREVIOUSLY_AVAILABLE_AS", random_.Chance(15) ? Title() : "");
      f.setText("VID:STEREO", random_.Chance(60) ? "Y" : "N");
      f.setText("VID:SURROUND_SOUND", random_.Pick(SurroundSounds()));
      f.setText("VID:BEST_SURROUND_SETTING", random_.Chance(40) ? "Hall" : "");
      f.setText("VID:DIRECTOR", Person());
      f.setText("VID:PRODUCER", Person());
      f.setText("VID:SOUNDTRACK", Person());
      f.setLong("VID:DATE_BOUGHT", Day(1986, 2005));
      f.setText("VID:PRICE", price);
      f.setText("VID:SUBJECT", random_.Pick(SubjectNames()));
      f.setLong("VID:STAR_RATING", random_.Between(1, 3));
      f.setMemoText(1, Notes(10));
      Add();
    }
  }

  void AddCast(DeclaredFile& f) {
    for (int32_t serial = 1; serial <= options_.videos; ++serial) {
      for (int32_t n = 0; n < options_.castPerVideo; ++n) {
        f.setLong("CAS:SERIAL", serial);
        f.setText("CAS:PERFORMER", Person());
        f.setText("CAS:STAR", n == 0 ? std::string_view("STAR") : random_.Pick(Billings()));
        Add();
      }
    }
  }

  const SeedOptions& options_;
  std::ostream& errors_;
  SeedRandom random_;
  DeclaredFile* current_ = nullptr;
  int32_t failed_ = 0;
  std::vector<std::pair<int32_t, int32_t>> tapeDays_;  // start and end day of each tape
};

}  // namespace

int32_t SeedCollection(const SeedOptions& options, std::ostream& errors) {
  return Seeder(options, errors).Run();
}

}  // namespace rk::seed
