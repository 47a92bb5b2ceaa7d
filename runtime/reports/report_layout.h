// A report definition sorted into what the engine walks: the page header, footer
// and form, the group breaks as a tree (each with its group header and footer
// and its enclosing break), and the detail bands of the whole report in
// definition order, each knowing its innermost enclosing break.
#pragma once

#include <string>
#include <vector>

#include "runtime/windows/definition_tree.h"

namespace rk {

inline constexpr int kNoBreak = -1;
// Breaks nest at most this deep.
inline constexpr int kMaxBreakDepth = 10;

struct ReportBreak {
  const BandRecord* record = nullptr;
  int parent = kNoBreak;
  const BandRecord* header = nullptr;
  const BandRecord* footer = nullptr;
};

struct ReportDetail {
  const BandRecord* record = nullptr;
  int enclosing = kNoBreak;  // innermost enclosing break
};

struct ReportLayout {
  const BandRecord* pageHeader = nullptr;
  const BandRecord* pageFooter = nullptr;
  const BandRecord* form = nullptr;
  std::vector<ReportBreak> breaks;
  std::vector<ReportDetail> details;

  // The breaks enclosing a detail, outermost first.
  std::vector<int> EnclosingBreaks(int detail) const;
};

// Sorts the bands of `report` (which must outlive the layout). Returns false,
// with an error text, for breaks nested deeper than kMaxBreakDepth or a second
// page header, footer or form.
bool BuildReportLayout(const StructureRecord& report, ReportLayout& layout, std::string& error);

}  // namespace rk
