#include "runtime/reports/line_breaker.h"

#include "runtime/core/clipped_text.h"

namespace rk {

namespace {

std::vector<std::string_view> Paragraphs(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (true) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      out.push_back(text.substr(start));
      return out;
    }
    out.push_back(text.substr(start, end - start));
    bool pair = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (pair ? 2 : 1);
  }
}

// The longest start of `word` that fits, at least one character so that every
// pass makes progress.
size_t FittingPrefix(std::string_view word, int32_t width, const TextMeasure& measure) {
  size_t length = 1;
  while (length < word.size() && measure(word.substr(0, length + 1)) <= width) ++length;
  return length;
}

void BreakParagraph(std::string_view paragraph, int32_t width, const TextMeasure& measure,
                    std::vector<std::string>& lines) {
  std::string line;
  size_t at = 0;
  bool any = false;
  while (at < paragraph.size()) {
    if (paragraph[at] == ' ') {
      ++at;
      continue;
    }
    size_t end = paragraph.find(' ', at);
    std::string_view word =
        paragraph.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    std::string candidate = line.empty() ? std::string(word) : line + ' ' + std::string(word);
    if (measure(candidate) <= width) {
      line = std::move(candidate);
      at += word.size();
      continue;
    }
    if (!line.empty()) {
      lines.push_back(std::move(line));
      line.clear();
      any = true;
      continue;  // the word starts the next line
    }
    size_t cut = FittingPrefix(word, width, measure);
    lines.emplace_back(word.substr(0, cut));
    any = true;
    at += cut;
  }
  if (!line.empty() || !any) lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> BreakLines(std::string_view text, int32_t width,
                                    const TextMeasure& measure) {
  std::vector<std::string> lines;
  for (std::string_view paragraph : Paragraphs(text)) {
    if (width <= 0) {
      lines.emplace_back(ClipRight(paragraph));
    } else {
      BreakParagraph(paragraph, width, measure, lines);
    }
  }
  return lines;
}

}  // namespace rk
