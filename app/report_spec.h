// The table that describes one report procedure. The five reports of the
// Reports menu run the same code (report_procedure.cpp); a row says which
// definition, which file in which order, which detail bands each record prints
// and where the report's variables live.
#pragma once

#include <cstdint>
#include <span>

#include "app/collection_files.h"

namespace rk {

// How the records reach the report.
enum class ReportSource : uint8_t {
  kFile,           // the file's own records, in the key's order
  kItemsWithTape,  // items, each with its tape fetched (blank when it is gone)
  kVideosWithCast  // videos joined with their cast members
};

struct ReportSpec {
  const char* procedure;  // "PRINTHTA:SERIAL_NO"; the labels add "$REPORT" and "$PROGRESSWINDOW"
  const char* tag;        // "REELBASE.qvw$reelb003"
  CollectionFileId file;  // the file whose records are counted and read
  const char* key;        // its order: "HTA:SERIAL_NO"
  ReportSource source;
  std::span<const int32_t> bands;  // the detail bands printed for each record
  // The report's variables in the definition's binding order, by field name.
  std::span<const char* const> bindings;
};

// The five reports.
std::span<const ReportSpec> ReportSpecs();

}  // namespace rk
