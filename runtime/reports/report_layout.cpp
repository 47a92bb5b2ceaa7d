#include "runtime/reports/report_layout.h"

#include <algorithm>

namespace rk {

namespace {

class LayoutBuilder {
 public:
  explicit LayoutBuilder(ReportLayout& layout) : layout_(layout) {}

  bool Walk(const std::vector<BandRecord>& bands, int enclosing, int depth, std::string& error) {
    for (const BandRecord& band : bands) {
      if (!Take(band, enclosing, depth, error)) return false;
    }
    return true;
  }

 private:
  bool Take(const BandRecord& band, int enclosing, int depth, std::string& error) {
    switch (band.kind) {
      case RecordKind::kBreak:
        return Break(band, enclosing, depth, error);
      case RecordKind::kDetail:
        layout_.details.push_back({&band, enclosing});
        return true;
      case RecordKind::kHeader:
        return Once(enclosing == kNoBreak ? layout_.pageHeader : layout_.breaks[enclosing].header,
                    band, "header", error);
      case RecordKind::kFooter:
        return Once(enclosing == kNoBreak ? layout_.pageFooter : layout_.breaks[enclosing].footer,
                    band, "footer", error);
      case RecordKind::kForm:
        return Once(layout_.form, band, "form", error);
      default:
        error = "a report holds a record that is not a band";
        return false;
    }
  }

  bool Break(const BandRecord& band, int enclosing, int depth, std::string& error) {
    if (depth >= kMaxBreakDepth) {
      error = "report breaks nest deeper than " + std::to_string(kMaxBreakDepth) + " levels";
      return false;
    }
    layout_.breaks.push_back({&band, enclosing, nullptr, nullptr});
    int self = static_cast<int>(layout_.breaks.size()) - 1;
    return Walk(band.bands, self, depth + 1, error);
  }

  static bool Once(const BandRecord*& slot, const BandRecord& band, const char* what,
                   std::string& error) {
    if (slot != nullptr) {
      error = std::string("a report or break has two bands of kind ") + what;
      return false;
    }
    slot = &band;
    return true;
  }

  ReportLayout& layout_;
};

}  // namespace

std::vector<int> ReportLayout::EnclosingBreaks(int detail) const {
  std::vector<int> chain;
  for (int b = details[detail].enclosing; b != kNoBreak; b = breaks[b].parent) chain.push_back(b);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

bool BuildReportLayout(const StructureRecord& report, ReportLayout& layout, std::string& error) {
  layout = ReportLayout{};
  return LayoutBuilder(layout).Walk(report.bands, kNoBreak, 0, error);
}

}  // namespace rk
