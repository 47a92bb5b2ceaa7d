#include "runtime/windows/control_factory.h"

#include <array>

namespace rk {
namespace {

constexpr size_t kKindCodes = 64;

struct Slot {
  RecordKind kind;
  ControlConstructor make;
};

constexpr Slot kSlots[] = {
    {RecordKind::kUseString, MakeLabelControl},   {RecordKind::kString, MakeLabelControl},
    {RecordKind::kImage, MakePaintedControl},     {RecordKind::kRegion, MakePaintedControl},
    {RecordKind::kLine, MakePaintedControl},      {RecordKind::kBox, MakePaintedControl},
    {RecordKind::kEntry, MakeEntryControl},       {RecordKind::kButton, MakeButtonControl},
    {RecordKind::kPrompt, MakeLabelControl},      {RecordKind::kOption, MakeOptionControl},
    {RecordKind::kCheck, MakeCheckControl},       {RecordKind::kGroup, MakeGroupControl},
    {RecordKind::kList, MakeListControl},         {RecordKind::kSpin, MakeSpinControl},
    {RecordKind::kText, MakeTextControl},         {RecordKind::kRadio, MakeRadioControl},
    {RecordKind::kProgress, MakeProgressControl}, {RecordKind::kSheet, MakeSheetControl},
    {RecordKind::kTab, MakeTabControl},
};

// Filled once, the way each control module fills its slot at start-up.
const std::array<ControlConstructor, kKindCodes>& Constructors() {
  static const std::array<ControlConstructor, kKindCodes> table = [] {
    std::array<ControlConstructor, kKindCodes> filled{};
    for (const Slot& slot : kSlots) filled[static_cast<size_t>(slot.kind)] = slot.make;
    return filled;
  }();
  return table;
}

}  // namespace

bool HasControlConstructor(RecordKind kind) {
  size_t code = static_cast<size_t>(kind);
  return code < kKindCodes && Constructors()[code] != nullptr;
}

std::unique_ptr<Control> MakeControl(Window& window, const ControlRecord& record) {
  if (!HasControlConstructor(record.kind)) return nullptr;
  return Constructors()[static_cast<size_t>(record.kind)](window, record);
}

}  // namespace rk
