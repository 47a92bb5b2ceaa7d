#include "tools/rkseed/seed_vocabulary.h"

namespace rk::seed {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kSubjects[] = {
    "Animation"sv,   "Children"sv, "Comedy"sv,  "Cookery"sv, "Crime"sv,
    "Documentary"sv, "Drama"sv,    "History"sv, "Horror"sv,  "Music"sv,
    "Musical"sv,     "Nature"sv,   "News"sv,    "Romance"sv, "Science Fiction"sv,
    "Sport"sv,       "Thriller"sv, "Travel"sv,  "War"sv,     "Western"sv};
constexpr std::string_view kManufacturers[] = {
    "Agfa"sv,      "BASF"sv,    "Fuji"sv,   "JVC"sv,  "Kodak"sv, "Maxell"sv,   "Memorex"sv,
    "Panasonic"sv, "Philips"sv, "Scotch"sv, "Sony"sv, "TDK"sv,   "Unbranded"sv};
constexpr std::string_view kTypes[] = {"VHS"sv,     "VHS"sv, "VHS"sv,    "SVHS"sv, "VHSC"sv,
                                       "BETAMAX"sv, "8mm"sv, "Hi 8mm"sv, "OTHER"sv};
constexpr std::string_view kFormats[] = {"PAL"sv,   "PAL"sv,     "NTSC 3.58"sv, "NTSC 4.43"sv,
                                         "SECAM"sv, "MESECAM"sv, "M-PAL"sv,     "N-PAL"sv};
constexpr std::string_view kSpeeds[] = {"SP"sv, "SP"sv, "LP"sv, "SLP"sv};
constexpr std::string_view kLengths[] = {"30"sv,  "60"sv,  "90"sv,  "120"sv, "135"sv,  "180"sv,
                                         "195"sv, "200"sv, "240"sv, "300"sv, "OTHER"sv};
constexpr std::string_view kVideoFormats[] = {"VHS"sv,  "VHS"sv,           "BETAMAX"sv,
                                              "8mm"sv,  "Hi 8mm"sv,        "LASER DISC"sv,
                                              "CD-i"sv, "DIGITAL VIDEO"sv, "OTHER"sv};
constexpr std::string_view kCertificates[] = {"FAMILY"sv, "PARENTAL GUIDANCE"sv, "14+"sv, "18+"sv};
constexpr std::string_view kSurround[] = {"NONE"sv, "DOLBY"sv, "THX"sv, "OTHER"sv};
constexpr std::string_view kBillings[] = {"STAR"sv, "CO-STAR"sv, "CAMEO"sv, "PERFORMER"sv,
                                          "OTHER"sv};
constexpr std::string_view kChannels[] = {"Channel 1"sv, "Channel 2"sv,  "Channel 3"sv,
                                          "Channel 4"sv, "Satellite"sv,  "Cable"sv,
                                          "Camcorder"sv, "Copied tape"sv};
constexpr std::string_view kOpenings[] = {
    "Saturday Night"sv, "The Great"sv, "Summer"sv,   "Midnight"sv,   "Weekend"sv,
    "Holiday"sv,        "Classic"sv,   "Family"sv,   "Late Night"sv, "Sunday Afternoon"sv,
    "The Best of"sv,    "Winter"sv,    "Festival"sv, "Golden"sv,     "The Lost"sv};
constexpr std::string_view kTitleSubjects[] = {
    "Movies"sv,         "Documentaries"sv, "Cartoons"sv,   "Concerts"sv,  "Football"sv,
    "Comedy Hour"sv,    "Wildlife"sv,      "Adventures"sv, "Mysteries"sv, "Westerns"sv,
    "Travel Diaries"sv, "Science Hour"sv,  "Quiz Shows"sv, "Dramas"sv,    "Highlights"sv};
constexpr std::string_view kFirstNames[] = {"Anna"sv,  "Ben"sv,   "Clara"sv, "David"sv, "Eva"sv,
                                            "Frank"sv, "Grace"sv, "Henry"sv, "Iris"sv,  "Jack"sv,
                                            "Kate"sv,  "Leo"sv,   "Maria"sv, "Nick"sv,  "Olivia"sv,
                                            "Paul"sv,  "Rosa"sv,  "Sam"sv,   "Tina"sv,  "Victor"sv};
constexpr std::string_view kLastNames[] = {
    "Anders"sv,  "Baker"sv,  "Carter"sv, "Doyle"sv,  "Evans"sv, "Fischer"sv, "Gray"sv,
    "Hughes"sv,  "Ivanov"sv, "Jensen"sv, "Keller"sv, "Lopez"sv, "Moreau"sv,  "Novak"sv,
    "O'Brien"sv, "Price"sv,  "Quinn"sv,  "Rossi"sv,  "Stone"sv, "Turner"sv};
constexpr std::string_view kPublishers[] = {"Northlight Video"sv, "Silver Screen Home"sv,
                                            "Harbour Films"sv,    "Meridian Pictures"sv,
                                            "Blue Lantern"sv,     "Castle Home Video"sv};
constexpr std::string_view kSentences[] = {
    "Recorded off air with a few seconds missing at the start."sv,
    "Picture quality is good throughout."sv,
    "Some tracking noise in the second half."sv,
    "Adverts were paused out by hand."sv,
    "Lent to a friend once and came back rewound."sv,
    "Keep for the archive."sv,
    "The last ten minutes were recorded at a different speed."sv,
    "Label on the spine is handwritten."sv,
    "Sound drops out briefly around the middle."sv,
    "One of the favourites of the collection."sv};

}  // namespace

Words SubjectNames() {
  return kSubjects;
}
Words ManufacturerNames() {
  return kManufacturers;
}
Words TapeTypes() {
  return kTypes;
}
Words TapeFormats() {
  return kFormats;
}
Words TapeSpeeds() {
  return kSpeeds;
}
Words TapeLengths() {
  return kLengths;
}
Words VideoFormats() {
  return kVideoFormats;
}
Words Certificates() {
  return kCertificates;
}
Words SurroundSounds() {
  return kSurround;
}
Words Billings() {
  return kBillings;
}
Words Channels() {
  return kChannels;
}
Words TitleOpenings() {
  return kOpenings;
}
Words TitleSubjects() {
  return kTitleSubjects;
}
Words FirstNames() {
  return kFirstNames;
}
Words LastNames() {
  return kLastNames;
}
Words Publishers() {
  return kPublishers;
}
Words NoteSentences() {
  return kSentences;
}

}  // namespace rk::seed
