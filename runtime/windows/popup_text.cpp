#include "runtime/windows/popup_text.h"

#include <optional>

namespace rk {
namespace {

class PopupParser {
 public:
  explicit PopupParser(std::string_view text) : text_(text) {}

  std::vector<PopupItem> ParseTopLevel() {
    std::vector<PopupItem> items;
    while (!AtEnd()) {
      ParseList(items);
      if (AtEnd()) break;
      ++pos_;  // a stray "}" at the top level, with the "|" after it
      if (!AtEnd() && Peek() == '|') ++pos_;
    }
    return items;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }

  // Items up to the "}" that closes this list (left unread) or the end.
  void ParseList(std::vector<PopupItem>& items) {
    for (;;) {
      if (std::optional<PopupItem> item = ParseItem()) items.push_back(std::move(*item));
      if (AtEnd() || Peek() == '}') return;
      // Text straight after a submenu's "}" starts the next item.
      if (Peek() == '|') ++pos_;
    }
  }

  // Nothing for an empty item: the browses' menus begin with "|", and their first
  // real item is still number 1.
  std::optional<PopupItem> ParseItem() {
    PopupItem item;
    size_t start = pos_;
    while (!AtEnd() && Peek() != '|' && Peek() != '{' && Peek() != '}') ++pos_;
    std::string_view raw = text_.substr(start, pos_ - start);
    bool opensSubmenu = !AtEnd() && Peek() == '{';
    if (raw.empty() && !opensSubmenu) return std::nullopt;
    if (raw == "-" && !opensSubmenu) {
      item.kind = PopupItem::Kind::kSeparator;
      return item;
    }
    if (!raw.empty() && raw.front() == '~') {
      item.greyed = true;
      raw.remove_prefix(1);
    }
    if (!raw.empty() && (raw.front() == '+' || raw.front() == '-')) {
      item.checked = raw.front() == '+';
      raw.remove_prefix(1);
    }
    item.text = raw;
    if (opensSubmenu) {
      ++pos_;  // "{"
      item.kind = PopupItem::Kind::kSubmenu;
      ParseList(item.children);
      if (!AtEnd()) ++pos_;  // "}"
    } else {
      item.number = ++lastNumber_;
    }
    return item;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int32_t lastNumber_ = 0;
};

}  // namespace

std::vector<PopupItem> ParsePopupText(std::string_view text) {
  if (text.empty()) return {};
  return PopupParser(text).ParseTopLevel();
}

}  // namespace rk
