// The table that describes one update form. Every form of the collection runs
// the same code (form.h); what differs between them is a row of this table:
// the file and the window, how an insert gets its record, the lists and
// checks of its fields, the child list on one of its tabs and the
// transaction procedures that change and delete.
#pragma once

#include <cstdint>
#include <span>

#include "app/browse_spec.h"
#include "app/collection_files.h"

namespace rk {

// How an insert gets its record into the file.
enum class InsertStyle : uint8_t {
  kAddOnOk,    // ADD when OK completes
  kNumbered,   // numbered and ADDed when the form opens, rewritten on OK
  kAddOnMore,  // ADD on OK, and an "Add MORE" button that ADDs and starts the next
};

// A drop list of the names in a lookup file.
struct FormDropList {
  int32_t control;
  const char* field;        // the form's field the chosen name goes to: "HTA:MANUFACTURER"
  const char* queue;        // the list's queue among the window's variables
  CollectionFileId lookup;  // the file whose names are listed
  const char* lookupKey;    // its unique key, in whose order the names are listed
  const char* lookupField;  // the name: "MAN:MANUFACTURER"
};

// An entry whose value must be a record of a lookup file, chosen through a
// select procedure when it is not.
struct FormLookup {
  int32_t control;
  const char* field;        // "VID:SUBJECT"
  CollectionFileId lookup;  // SUBJECT
  const char* lookupKey;    // "SUB:SUBJECTS"
  const char* lookupField;  // "SUB:SUBJECT"
  const char* select;       // "SELECTSUBJECT"
};

// A number that must lie within bounds.
struct FormRange {
  int32_t control;
  const char* field;
  int32_t low;
  int32_t high;
};

// A field computed from two others as a duration: to - from + 1.
struct FormDuration {
  const char* field;  // "ITE:RUNNING_TIME"
  const char* from;
  const char* to;
};

struct FormControls {
  int32_t ok;
  int32_t cancel;
  int32_t help;
  int32_t addMore = 0;  // 0: the form has no "Add MORE" button
  int32_t first = 2;    // where the form puts the user back after a refused save
};

struct FormSpec {
  const char* procedure;  // "UPDATEHTAPES"
  const char* tag;        // "REELBASE.qvw$reelb022"
  const char* label;      // "UPDATEHTAPES$QUICKWINDOW"
  CollectionFileId file;
  std::span<const CollectionFileId> otherFiles;
  // The window's variables in the definition's binding order: fields and memos
  // by their prefixed names, queues by the names the lists give them.
  std::span<const char* const> bindings;
  InsertStyle insert;
  const char* serialField;    // kNumbered: "HTA:SERIAL"
  const char* uniqueKey;      // the key an insert may duplicate: "HTA:SERIAL_NO"; null: none
  const char* uniqueKeyName;  // how message 24 names it: "HTA:SERIAL_No"
  std::span<const FormDropList> dropLists;
  std::span<const FormLookup> lookups;
  std::span<const FormRange> ranges;
  const FormDuration* duration;
  const BrowseSpec* child;  // the child list on a tab; null: none
  const char* childQueue;   // its queue among the window's variables
  const char* txUpdate;     // "TXUPDATE:HTAPES"
  const char* txDelete;     // "TXDELETE:HTAPES"
  FormControls controls;
};

// The six update forms.
std::span<const FormSpec> FormSpecs();

}  // namespace rk
