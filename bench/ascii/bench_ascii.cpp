// Line reading cost: a text file of about a megabyte in short lines (the shape
// of the start window's text), read whole through the ASCII driver (SET, NEXT
// until the end, each line into a 255-byte record) and with std::getline into
// the same record. The ratio is printed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/common/ratio_reporter.h"
#include "runtime/core/error_state.h"
#include "runtime/files/ascii_text_file.h"
#include "runtime/files/file_statements.h"

namespace {

const std::string& TextPath() {
  static const std::string path = [] {
    std::string name = (std::filesystem::temp_directory_path() /
                        ("rk_bench_ascii_" + std::to_string(getpid()) + ".TXT"))
                           .string();
    std::ofstream out(name, std::ios::binary);
    for (int i = 0; i < 20000; ++i) {
      out << "Line " << i << ' ' << std::string(i % 60, '-') << (i % 7 == 0 ? "\tx" : "") << "\r\n";
    }
    return name;
  }();
  return path;
}

void Getline(benchmark::State& state) {
  char record[rk::kTextLineLength];
  for (auto _ : state) {
    std::ifstream in(TextPath(), std::ios::binary);
    std::string line;
    size_t lines = 0;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      size_t length = std::min(line.size(), sizeof(record));
      std::memcpy(record, line.data(), length);
      std::memset(record + length, ' ', sizeof(record) - length);
      benchmark::DoNotOptimize(record);
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
}

void AsciiDriver(benchmark::State& state) {
  rk::AsciiTextFile text;
  text.setName(TextPath());
  for (auto _ : state) {
    OPEN(text.file(), rk::kAccessReadOnly | rk::kDenyWrite);
    SET(text.file());
    size_t lines = 0;
    for (NEXT(text.file()); rk::ErrorCode() == 0; NEXT(text.file())) {
      benchmark::DoNotOptimize(text.record());
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
    CLOSE(text.file());
  }
}

BENCHMARK(Getline);
BENCHMARK(AsciiDriver);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  rk::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("AsciiDriver", "Getline");
  benchmark::Shutdown();
  std::filesystem::remove(TextPath());
  return 0;
}
