// The rows of the two trees: home tapes with the items recorded on them, and
// commercial videos with their cast.
#include <string>

#include "app/tree_spec.h"
#include "runtime/core/clipped_text.h"

namespace rk {
namespace {

using File = CollectionFileId;

std::string Trimmed(DeclaredFile& file, const char* field) {
  return std::string(ClipRight(file.text(field)));
}

std::string TapeText(DeclaredFile& tapes) {
  return tapes.text("HTA:TITLE");
}

std::string ItemText(DeclaredFile& items) {
  return " " + Trimmed(items, "ITE:DESCRIPTION") + " ...SOURCE - " +
         Trimmed(items, "ITE:PROGRAM_SOURCE") + " ...SUBJECT - " + items.text("ITE:SUBJECT");
}

std::string VideoText(DeclaredFile& videos) {
  return videos.text("VID:TITLE");
}

std::string CastText(DeclaredFile& cast) {
  return "NAME - " + Trimmed(cast, "CAS:PERFORMER") + " ...STATUS - " + cast.text("CAS:STAR");
}

constexpr const char* kIcons[] = {"ACT2.ICO", "ACTOR1.ICO", "VIDEO.ICO"};

constexpr TreeSpec kTrees[] = {
    {"TREEBROWSEHOME",
     "REELBASE.qvw$reelb033",
     "TREEBROWSEHOME$QUICKWINDOW",
     "COMPILATION",
     1,
     "ITEMS",
     {File::kHtapes,
      "HTA:SERIAL_NO",
      {0xC0C0C0, 0xFF0000, 0xFF0000, 0xC0C0C0},
      3,
      "UPDATEHTAPES",
      TapeText},
     {File::kItems,
      "ITE:SERIAL_NO",
      {0xFF0000, 0xC0C0C0, 0xC0C0C0, 0xFF0000},
      2,
      "UPDATEITEMS",
      ItemText},
     "HTA:SERIAL",
     "ITE:SERIAL"},
    {"TREEBROWSECOMMERCIAL",
     "REELBASE.qvw$reelb034",
     "TREEBROWSECOMMERCIAL$QUICKWINDOW",
     "FILMS",
     3,
     "videos",
     {File::kVideos,
      "VID:SERIALN",
      {0x000000, 0xFF8000, 0x808080, 0x800000},
      1,
      "UPDATEVIDEOS",
      VideoText},
     {File::kCast,
      "CAS:SERIALN",
      {0xC0C0C0, 0x0000FF, 0x0000FF, 0xC0C0C0},
      2,
      "UPDATECAST",
      CastText},
     "VID:SERIAL",
     "CAS:SERIAL"},
};

}  // namespace

std::span<const char* const> TreeIcons() {
  return kIcons;
}

std::span<const TreeSpec> TreeSpecs() {
  return kTrees;
}

}  // namespace rk
