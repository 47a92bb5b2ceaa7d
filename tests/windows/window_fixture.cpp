#include "tests/windows/window_fixture.h"

#include <QApplication>
#include <cstdio>

#include "runtime/windows/thread_windows.h"
#include "runtime/windows/variable_binding.h"
#include "runtime/windows/window_open.h"

namespace rk::testing {

ControlRecord MakeControl(RecordKind kind, int32_t number, Position at) {
  ControlRecord control;
  control.kind = kind;
  control.number = number;
  control.at = at;
  return control;
}

ControlRecord WithText(ControlRecord control, std::string text) {
  control.text = std::move(text);
  return control;
}

ControlRecord Bound(ControlRecord control, DataDescriptor use, std::string picture) {
  control.use = use;
  control.picture = std::move(picture);
  return control;
}

DataDescriptor TextDescriptor(int32_t size) {
  DataDescriptor d;
  d.type = 18;
  d.size = size;
  return d;
}

DataDescriptor LongDescriptor() {
  DataDescriptor d;
  d.type = 6;
  d.size = 4;
  return d;
}

StructureRecord WindowDefinition(std::vector<ControlRecord> controls, int32_t timer) {
  StructureRecord window;
  window.label = "TEST$WINDOW";
  window.at = {kNotGiven, kNotGiven, 200, 120};
  window.font = FontRecord{"MS Sans Serif", 8, -1, -1};
  window.title = "Test window";
  window.attributes = 0x3000;
  window.timer = timer;
  window.controls = std::move(controls);
  return window;
}

void OpenTestWindow(Window& window, WindowKind kind, StructureRecord definition,
                    std::vector<void*> variables) {
  variables.push_back(nullptr);
  BindingOutcome bound = BindVariables(definition, variables.data());
  ASSERT_TRUE(bound.ok());
  ASSERT_EQ(TryOpenWindow(window, kind, std::move(definition)), 0);
}

std::string Describe(int32_t code, int32_t control) {
  char text[32];
  std::snprintf(text, sizeof text, "%x:%d", static_cast<unsigned>(code), control);
  return text;
}

void PostToThread(int32_t thread, platform::MessageKind kind, uintptr_t target, int64_t param) {
  ASSERT_GT(thread, 0);
  platform::TheScheduler().Post(SlotAt(thread - 1).fiber, {kind, target, param, nullptr});
}

void WindowTest::SetUp() {
  EnsureQtApplication();
  ASSERT_EQ(UsedSlots(), 0) << "a previous test left threads behind";
  ASSERT_EQ(ModalCount(), 0);
}

void WindowTest::TearDown() {
  for (int round = 0; round < 4 && UsedSlots() > 0; ++round) {
    for (int slot = 0; slot < kThreadSlots; ++slot) {
      if (SlotAt(slot).fiber != 0) PostToThread(slot + 1, platform::MessageKind::kQuit);
    }
    RunUntilIdle();
  }
  EXPECT_EQ(UsedSlots(), 0);
  EXPECT_EQ(ModalCount(), 0);
  EXPECT_EQ(TheFrame(), nullptr);
  // What one test leaves behind (a fiber, a window still shown) would change
  // how the next one runs when the whole suite shares one process.
  EXPECT_EQ(platform::TheScheduler().FiberCount(), 0u) << "a runtime thread is still alive";
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(widget->isVisible())
        << "a window is still shown: " << widget->windowTitle().toStdString();
  }
}

}  // namespace rk::testing
