// The tape master report (PRINTHTA:SERIAL_NO$REPORT) for 10,000 tapes: rendered
// to page files in preview mode, then every page played into a PDF, against the
// same pages (two tapes each) drawn straight onto a QPainter writing a PDF.
// Prints both times, their ratio (the aim is at most 2), and the peak memory
// after a 1,000-tape and after the 10,000-tape run: pages live in files, so the
// peak must not grow with the number of pages.
//
// bench_reports [PDF]  keeps the 10,000-tape PDF under the given name.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "runtime/core/type_codes.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/reports/report.h"
#include "runtime/reports/report_layout.h"
#include "runtime/windows/binding_order.h"
#include "runtime/windows/definition_open.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kNameLength = 80;
constexpr rk::FieldSpec kPageField[] = {{"PAGE", 0, 18, kNameLength}};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The report's variables, in binding order, each with room to spare.
struct Variables {
  std::array<std::array<char, 1024>, 32> storage{};
  std::array<void*, 33> addresses{};
  Variables() {
    for (size_t i = 0; i < storage.size(); ++i) addresses[i] = storage[i].data();
  }
};

void Assign(const rk::DataDescriptor& use, const std::string& text) {
  if (rk::IsTextType(use.type)) {  // STRING and the text areas, space padded
    auto* field = static_cast<char*>(use.binding.address);
    std::memset(field, ' ', static_cast<size_t>(use.size));
    std::memcpy(field, text.data(), std::min(text.size(), static_cast<size_t>(use.size)));
    return;
  }
  rk::ValueRef ref = rk::MakeValueRef(use.type, use.size, use.places, use.binding.address);
  rk::Values().PushCopy(text);
  rk::AssignText(ref);
}

// Fills the fields of tape `n` (serial, title, dates, type, ...; in the
// order the detail bands show them).
void FillTape(const rk::StructureRecord& report, int n) {
  const std::array<std::string, 10> values = {std::to_string(n),
                                              "Tape title number " + std::to_string(n),
                                              std::to_string(70000 + n % 5000),
                                              std::to_string(70100 + n % 5000),
                                              "VHS",
                                              "MANUFACTURER " + std::to_string(n % 17),
                                              "NTSC",
                                              "SP",
                                              "240",
                                              "Notes on tape " + std::to_string(n)};
  size_t next = 0;
  rk::ForEachBoundDescriptor(report, [&](const rk::DataDescriptor& use, auto*, rk::BindingRole) {
    if (next < values.size()) Assign(use, values[next++]);
  });
}

struct RunResult {
  double renderSeconds = 0;
  double seconds = 0;
  int32_t pages = 0;
};

RunResult RenderAndPlay(int tapes, const std::string& pdf) {
  Variables variables;
  rk::DefinitionFailure failure;
  auto definition = rk::LoadDefinition("REELBASE.qvw$reelb003", "PRINTHTA:SERIAL_NO$REPORT",
                                       variables.addresses.data(), failure);
  if (!definition) {
    std::fprintf(stderr, "bench_reports: %s\n", failure.context.c_str());
    std::exit(1);
  }
  rk::DeclaredQueue pages(kPageField, kNameLength);
  rk::Report report;
  report.BindPreviewQueue(&pages.queue());
  auto start = Clock::now();
  report.Open(*definition);
  for (int n = 1; n <= tapes; ++n) {
    FillTape(*definition, n);
    report.Print(1);
    report.Print(2);
  }
  report.EndPage();
  RunResult result{0, 0, rk::RECORDS(pages.queue())};
  result.renderSeconds = SecondsSince(start);
  report.Printer().toFile = true;
  report.Printer().outputFile = pdf;
  report.SetFlushPreview(true);
  if (report.Failed()) {
    std::fprintf(stderr, "bench_reports: %s\n", report.FailureText().c_str());
    std::exit(1);
  }
  report.Close();
  result.seconds = SecondsSince(start);
  return result;
}

// The peer: the same pages drawn straight onto a PDF: two tapes a page, each
// with its twenty texts, and the page's heading, footing and two rules.
double DrawDirect(int tapes, const std::string& pdf) {
  auto start = Clock::now();
  QPdfWriter writer(QString::fromStdString(pdf));
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::Letter));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  QFont font("Arial");
  font.setPixelSize(83);
  painter.setFont(font);
  const char* labels[] = {"SERIAL #:",     "TITLE:",  "START DATE:", "END DATE:", "TYPE:",
                          "MANUFACTURER:", "FORMAT:", "SPEED:",      "LENGTH:",   "NOTES:"};
  for (int n = 1; n <= tapes; ++n) {
    int slot = (n - 1) % 2;
    if (slot == 0) {
      if (n > 1) writer.newPage();
      painter.drawText(1800, 600, "USER COMPILED TAPES - MASTER REPORT");
      painter.drawLine(600, 1170, 4200, 1170);
      painter.drawLine(600, 6330, 4200, 6330);
      painter.drawText(600, 6400, "REELKEEPER");
    }
    int y = 1200 + slot * 2100;
    for (int i = 0; i < 10; ++i) {
      painter.drawText(600 + (i % 2) * 1800, y + (i / 2) * 150, labels[i]);
      painter.drawText(1500 + (i % 2) * 1800, y + (i / 2) * 150,
                       QString("Tape value %1 %2").arg(n).arg(i));
    }
  }
  painter.end();
  return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  rk::platform::InstallFontSubstitutions();
  fs::path folder = fs::temp_directory_path() / ("rk_bench_reports_" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::string kept = argc > 1 ? argv[1] : (folder / "report.pdf").string();

  RunResult small = RenderAndPlay(1000, (folder / "small.pdf").string());
  long peakSmall = PeakKilobytes();
  RunResult large = RenderAndPlay(10000, kept);
  long peakLarge = PeakKilobytes();
  double direct = DrawDirect(10000, (folder / "direct.pdf").string());

  std::printf("1,000 tapes: %d pages, %.2f s\n", small.pages, small.seconds);
  std::printf("10,000 tapes: %d pages to page files and played to PDF: %.2f s (%.2f s rendering)\n",
              large.pages, large.seconds, large.renderSeconds);
  std::printf("10,000 tapes drawn straight onto a PDF: %.2f s\n", direct);
  std::printf("page files / direct: %.2f (aim: at most 2)\n", large.seconds / direct);
  std::printf("peak memory: %ld KB after 1,000 tapes, %ld KB after 10,000 tapes\n", peakSmall,
              peakLarge);
  fs::remove_all(folder);
  return 0;
}
