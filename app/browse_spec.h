// The table that describes one browse or select procedure. Every browse of the
// collection (and every select, which is a browse that hands back the chosen
// record) runs the same code in browse_procedure.cpp; what differs between them
// is a row of this table: the file, the orders behind the sheet's tabs, the
// columns of the list, the buttons and what they call.
#pragma once

#include <cstdint>
#include <span>

#include "app/collection_files.h"

namespace rk {

// One tab of the sheet: the key that orders the list and, for an order limited
// to the children of one parent record, the link between the two files.
struct BrowseOrder {
  const char* key;  // "ITE:SERIAL_NO"
  // Range-limited orders only: the child's link field, the parent's field whose
  // value it takes, and the filter that ends the view at another parent's records.
  const char* linkField = nullptr;    // "ITE:SERIAL"
  const char* parentField = nullptr;  // "HTA:SERIAL"
  const char* filter = nullptr;       // "ITE:SERIAL = HTA:SERIAL"

  bool ranged() const { return linkField != nullptr; }
};

// A button beyond Insert, Change and Delete: it calls another procedure on the
// browse's thread, after the selected record has been read again in full.
struct BrowseExtraButton {
  int32_t control;
  const char* procedure;
  int32_t request;  // the request global while it runs: 0 for a child browse, 4 to select
};

// The window's control numbers for the list and its buttons. A browse's own
// window uses the defaults; a child list on a form's tab has the form's numbers
// and no sheet of its own (0).
struct BrowseControls {
  int32_t list = 1;
  int32_t insert = 2;  // a select's Select button
  int32_t change = 3;
  int32_t remove = 4;
  int32_t sheet = 5;
};

struct BrowseSpec {
  const char* procedure;  // "BROWSEHTAPES"
  const char* tag;        // the window definition: "REELBASE.qvw$reelb002"
  const char* label;      // "BROWSEHTAPES$QUICKWINDOW"
  CollectionFileId file;
  // Files the procedure opens beside its own: the parents of its ranges and the
  // lookups its buttons reach.
  std::span<const CollectionFileId> otherFiles;
  // The file's fields shown by the list's columns, in FORMAT order.
  std::span<const char* const> columns;
  std::span<const BrowseOrder> orders;
  // The right-click menu, with and without records to change.
  const char* popup;
  const char* popupEmpty;
  std::span<const BrowseExtraButton> extraButtons;
  const char* updateProcedure;  // null for a select
  int32_t closeButton;
  int32_t helpButton;
  BrowseControls controls = {};

  bool isSelect() const { return updateProcedure == nullptr; }
};

// Control numbers that every browse and select window shares.
namespace browse_control {
inline constexpr int32_t kList = 1;
inline constexpr int32_t kInsert = 2;
inline constexpr int32_t kSelect = 2;
inline constexpr int32_t kChange = 3;
inline constexpr int32_t kDelete = 4;
inline constexpr int32_t kSheet = 5;
inline constexpr int32_t kSelectSheet = 3;
}  // namespace browse_control

inline constexpr BrowseControls kSelectControls = {browse_control::kList, browse_control::kSelect,
                                                   0, 0, browse_control::kSelectSheet};

// The nine browses and the three selects.
std::span<const BrowseSpec> BrowseSpecs();
// The row of that procedure, or null.
const BrowseSpec* BrowseSpecNamed(const char* procedure);

}  // namespace rk
