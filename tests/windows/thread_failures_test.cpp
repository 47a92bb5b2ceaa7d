// Failures on runtime threads end the program with a report that says what
// happened and where: a runtime error and an escaped exception show the
// "Runtime error" box, a stack overflow names the procedure on standard error,
// and Halt closes the files every thread has open.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/halt.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/open_files_registry.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "tests/files/temp_directory.h"
#include "tests/support/halting_child.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MessageKind;

void RunUntilIdle() {
  platform::TheScheduler().RunUntilIdle();
}

platform::MessageDialog* VisibleMessageDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<platform::MessageDialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

// Writes what the open box shows to standard error, for the parent to match,
// and presses its only button.
void ReportAndPressOk(platform::MessageDialog& dialog) {
  QString text;
  bool icon = false;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) text = label->text();
    if (!label->pixmap().isNull()) icon = true;
  }
  QPushButton* ok = dialog.findChild<QPushButton*>();
  if (!ok) std::_Exit(98);
  std::fprintf(stderr, "box \"%s\" says \"%s\", %s, button %s\n",
               dialog.windowTitle().toUtf8().constData(), text.toUtf8().constData(),
               icon ? "with an icon" : "without an icon", ok->text().toUtf8().constData());
  std::fflush(stderr);
  ok->click();
  RunUntilIdle();
}

// Raises a runtime error on a started thread while another thread waits for a
// message, and answers the box; the program must end with the error's exit code.
void RaiseOnAThreadAndAnswer() {
  rk::testing::EnsureQtApplication();
  bool otherRan = false;
  int32_t other = START(
      [&] {
        WaitForNextMessage();
        otherRan = true;
      },
      0);
  START([] { RuntimeError(501, "raised on a thread"); }, 0);
  RunUntilIdle();
  platform::MessageDialog* dialog = VisibleMessageDialog();
  if (!dialog) std::_Exit(99);
  platform::TheScheduler().Post(SlotAt(other - 1).fiber, {MessageKind::kCommand, 0, 0, nullptr});
  RunUntilIdle();
  std::fprintf(stderr, "other thread ran while the box was open: %s\n", otherRan ? "yes" : "no");
  ReportAndPressOk(*dialog);
  std::_Exit(0);  // reached only when the error did not end the program
}

void ThrowOnAThreadAndAnswer(const char* name) {
  rk::testing::EnsureQtApplication();
  START([] { throw std::runtime_error("tape jammed"); }, 0, name);
  RunUntilIdle();
  platform::MessageDialog* dialog = VisibleMessageDialog();
  if (!dialog) std::_Exit(99);
  ReportAndPressOk(*dialog);
  std::_Exit(0);
}

TEST(ThreadFailuresDeathTest, ARuntimeErrorOnAThreadShowsTheBoxWhileNoOtherThreadRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  rk::testing::ChildrenSkipLeakCheck haltingChildren;
  EXPECT_EXIT(
      RaiseOnAThreadAndAnswer(), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
      "while the box was open: no\n"
      "box \"Runtime error\" says \"Internal error 01 : raised on a thread\", with an icon, "
      "button OK");
}

TEST(ThreadFailuresDeathTest, AnExceptionEscapingAProcedureIsARuntimeError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  rk::testing::ChildrenSkipLeakCheck haltingChildren;
  EXPECT_EXIT(ThrowOnAThreadAndAnswer("JAMMER"), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "box \"Runtime error\" says \"Unhandled exception in JAMMER \\(thread 2\\): tape "
              "jammed\", with an icon, button OK");
  EXPECT_EXIT(ThrowOnAThreadAndAnswer(""), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "says \"Unhandled exception in thread 2: tape jammed\"");
}

const FieldSpec kFields[] = {{"TAP:NUMBER", 0, kLong}};
const KeySpec kKeys[] = {{"TAP:NUMBER_KEY", 0, {1}}};

// Opens the per-thread file on two started threads, adds a record on each, and
// halts from the second while the first still has it open. A termination
// routine, which runs after every exit procedure, says what is left open and
// removes the child's folder (nothing unwinds the test's frames).
void OpenOnTwoThreadsAndHalt(const std::string& name) {
  static DeclaredFile tapes(
      FileSpec{"tapes", name.c_str(), kFileAttrCreate | kFileAttrPerThread, 4, kFields, kKeys, {}},
      &KmfEntry);
  static std::string path = kmf::KmfFileName(name);
  RegisterTerminationRoutine(0, [](int) {
    std::fprintf(stderr, "after the exit procedures: %zu open, the KMF file %s\n",
                 OpenFiles().size(), kmf::FindOpenFile(path) ? "open" : "closed");
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
  });
  auto openAndAdd = [] {
    OPEN(tapes.file());
    if (ErrorCode() != 0) std::_Exit(97);
    int32_t number = CurrentThreadNumber();
    std::memcpy(tapes.record(), &number, sizeof number);
    ADD(tapes.file());
  };
  START(
      [openAndAdd] {
        openAndAdd();
        WaitForNextMessage();
      },
      0);
  START(
      [openAndAdd] {
        openAndAdd();
        std::fprintf(stderr, "before halting: %zu open\n", OpenFiles().size());
        Halt(0);
      },
      0);
  RunUntilIdle();
  std::_Exit(99);  // reached only when Halt did not end the program
}

TEST(ThreadFailuresDeathTest, HaltClosesTheFilesOfEveryThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  rk::testing::ChildrenSkipLeakCheck haltingChildren;
  test_files::TempDirectory dir;
  std::string name = dir.File("TAPES");
  {
    DeclaredFile creator(FileSpec{"tapes", name.c_str(), kFileAttrCreate, 4, kFields, kKeys, {}},
                         &KmfEntry);
    CREATE(creator.file());
    ASSERT_EQ(ErrorCode(), 0);
  }
  EXPECT_EXIT(OpenOnTwoThreadsAndHalt(name), ::testing::ExitedWithCode(0),
              "before halting: 2 open\nafter the exit procedures: 0 open, the KMF file closed");
}

// Recursion that keeps every frame alive: each holds a buffer the compiler must
// keep until the call below it has returned.
volatile int diveLimit = 1 << 30;

[[gnu::noinline]] int Dive(int depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  int below = depth < diveLimit ? Dive(depth + 1) : 0;
  asm volatile("" : : "r"(frame) : "memory");
  return below + frame[0];
}

void OverflowOnAThread(const char* name) {
  START([] { Dive(0); }, 0, name);
  RunUntilIdle();
  std::_Exit(99);
}

TEST(ThreadFailuresDeathTest, AStackOverflowNamesTheProcedure) {
  EXPECT_EXIT(OverflowOnAThread("DEEPDIVE"), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "Runtime error: Stack overflow in DEEPDIVE \\(thread 2\\)\n");
  EXPECT_EXIT(OverflowOnAThread(""), ::testing::ExitedWithCode(kRuntimeErrorExitCode),
              "Runtime error: Stack overflow in thread 2\n");
}

}  // namespace
}  // namespace rk
