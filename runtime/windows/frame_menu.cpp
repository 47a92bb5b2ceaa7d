#include "runtime/windows/frame_menu.h"

#include "runtime/windows/definition_flags.h"

namespace rk {
namespace {

platform::MenuBarItem ItemOf(const MenuRecord& record) {
  platform::MenuBarItem item;
  item.text = record.text;
  item.status = record.status;
  item.number = record.number;
  if (record.kind == RecordKind::kMenu) {
    item.kind = platform::MenuBarItem::Kind::kMenu;
    for (const MenuRecord& child : record.items) item.children.push_back(ItemOf(child));
  } else if (record.IsSeparator()) {
    item.kind = platform::MenuBarItem::Kind::kSeparator;
  } else {
    item.action = record.action;
  }
  return item;
}

bool IsSeparator(const MenuRecord& record) {
  return record.kind != RecordKind::kMenu && record.IsSeparator();
}

const MenuRecord* FindIn(const std::vector<MenuRecord>& items, int32_t number) {
  for (const MenuRecord& item : items) {
    if (item.number == number) return &item;
    if (const MenuRecord* found = FindIn(item.items, number)) return found;
  }
  return nullptr;
}

}  // namespace

void RemoveStraySeparators(std::vector<MenuRecord>& items) {
  std::vector<MenuRecord> kept;
  for (MenuRecord& item : items) {
    if (item.kind == RecordKind::kMenu) RemoveStraySeparators(item.items);
    if (IsSeparator(item) && (kept.empty() || IsSeparator(kept.back()))) continue;
    kept.push_back(std::move(item));
  }
  while (!kept.empty() && IsSeparator(kept.back())) kept.pop_back();
  items = std::move(kept);
}

std::vector<platform::MenuBarItem> MenuBarItemsOf(const MenuBarRecord& bar) {
  std::vector<MenuRecord> records = bar.items;
  RemoveStraySeparators(records);
  std::vector<platform::MenuBarItem> items;
  for (const MenuRecord& record : records) items.push_back(ItemOf(record));
  return items;
}

const MenuRecord* FindMenuItem(const MenuBarRecord& bar, int32_t number) {
  if (number == 0) return nullptr;
  return FindIn(bar.items, number);
}

bool MergesIntoFrame(const MenuBarRecord& bar) {
  return (bar.flags & menubar_flag::kKeepOwnMenu) == 0;
}

}  // namespace rk
