// Formatting through compiled pictures, measured beside the C library doing the
// same job in the same run: a date through @D10 against strftime("%Y/%m/%d"),
// a number through @N12.2 against snprintf("%12.2f"). Prints each pair's ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "bench/common/ratio_reporter.h"
#include "runtime/core/day_number.h"
#include "runtime/core/picture_format.h"

namespace {

constexpr int kValues = 1024;

std::vector<int32_t> Days() {
  std::vector<int32_t> days;
  for (int i = 0; i < kValues; ++i) days.push_back(rk::kFirstDayNumber + i * 97);
  return days;
}

std::vector<double> Amounts() {
  std::vector<double> amounts;
  for (int i = 0; i < kValues; ++i) amounts.push_back((i * 7919 % 1000003) / 100.0 - 3000.0);
  return amounts;
}

void DatePicture(benchmark::State& state) {
  rk::CompiledPicture picture;
  rk::CompilePicture("@D10", picture);
  std::vector<int32_t> days = Days();
  size_t i = 0;
  for (auto _ : state) {
    std::string text = rk::FormatLong(days[i++ % kValues], picture);
    benchmark::DoNotOptimize(text);
  }
}

void DateStrftime(benchmark::State& state) {
  std::vector<std::tm> dates;
  for (int32_t day : Days()) {
    rk::CalendarDate date;
    rk::DayToDate(day, date);
    std::tm fields{};
    fields.tm_year = date.year - 1900;
    fields.tm_mon = date.month - 1;
    fields.tm_mday = date.day;
    dates.push_back(fields);
  }
  size_t i = 0;
  for (auto _ : state) {
    char buffer[16];
    size_t length = std::strftime(buffer, sizeof buffer, "%Y/%m/%d", &dates[i++ % kValues]);
    std::string text(buffer, length);
    benchmark::DoNotOptimize(text);
  }
}

void NumberPicture(benchmark::State& state) {
  rk::CompiledPicture picture;
  rk::CompilePicture("@N12.2", picture);
  std::vector<double> amounts = Amounts();
  size_t i = 0;
  for (auto _ : state) {
    std::string text = rk::FormatReal(amounts[i++ % kValues], picture);
    benchmark::DoNotOptimize(text);
  }
}

void NumberSnprintf(benchmark::State& state) {
  std::vector<double> amounts = Amounts();
  size_t i = 0;
  for (auto _ : state) {
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, "%12.2f", amounts[i++ % kValues]);
    std::string text(buffer, static_cast<size_t>(length));
    benchmark::DoNotOptimize(text);
  }
}

BENCHMARK(DatePicture);
BENCHMARK(DateStrftime);
BENCHMARK(NumberPicture);
BENCHMARK(NumberSnprintf);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  rk::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratios (below 1 means the picture is faster):\n");
  reporter.PrintRatio("DatePicture", "DateStrftime");
  reporter.PrintRatio("NumberPicture", "NumberSnprintf");
  benchmark::Shutdown();
  return 0;
}
