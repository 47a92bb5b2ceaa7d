// Opening the collection's files: a missing file is created without a word, an
// open one stays open, and a file that cannot be opened at all is reported and
// ends the program.
#include "app/open_data_file.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <filesystem>

#include "app/dictionary/data_dictionary.h"
#include "runtime/core/error_state.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/halting_child.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

namespace fs = std::filesystem;

const FileSpec& SpecNamed(std::string_view label) {
  for (const FileSpec& spec : CollectionFileSpecs()) {
    if (spec.label == label) return spec;
  }
  throw std::runtime_error("no such file");
}

class OpenDataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("rk-open-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(folder_);
  }

  fs::path folder_;
  fs::path previous_;
};

TEST_F(OpenDataFileTest, AMissingFileIsCreatedAndAnOpenOneStaysOpen) {
  DeclaredFile subjects(SpecNamed("SUBJECT"), &KmfEntry);
  OPENDATAFILE(subjects.file());
  EXPECT_EQ(ErrorCode(), 0) << ErrorName();
  EXPECT_TRUE(fs::exists(folder_ / "SUBJECT.KMF"));
  EXPECT_EQ(RECORDS(subjects.file()), 0);

  OPENDATAFILE(subjects.file());  // already open: nothing to report
  EXPECT_EQ(ErrorCode(), 52);
  CLOSE(subjects.file());
  EXPECT_EQ(ErrorCode(), 0);

  OPENDATAFILE(subjects.file());  // exists now: opened as it is
  EXPECT_EQ(ErrorCode(), 0);
  CLOSE(subjects.file());
}

// A file that can be neither opened nor created is reported, and the program
// ends once the box is answered. The current folder is removed from under the
// program, so that even the superuser cannot create anything in it.
void OpenInVanishedFolder(const fs::path& folder) {
  rk::testing::EnsureQtApplication();
  fs::path vanishing = folder / "gone";
  fs::create_directories(vanishing);
  fs::current_path(vanishing);
  fs::remove(vanishing);
  static DeclaredFile tapes(SpecNamed("HTAPES"), &KmfEntry);
  START([] { OPENDATAFILE(tapes.file()); }, 0);
  platform::TheScheduler().RunUntilIdle();
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = dynamic_cast<platform::MessageDialog*>(widget);
    if (!box || !box->isVisible()) continue;
    std::fprintf(stderr, "box: %s\n", box->windowTitle().toStdString().c_str());
    for (QPushButton* button : box->findChildren<QPushButton*>()) button->click();
  }
  platform::TheScheduler().RunUntilIdle();
  std::_Exit(0);
}

TEST_F(OpenDataFileTest, AFileThatCannotBeCreatedEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  rk::testing::ChildrenSkipLeakCheck haltingChildren;
  EXPECT_EXIT(OpenInVanishedFolder(folder_), ::testing::ExitedWithCode(1),
              "box: File Creation Error\n(.|\n)*File Creation Error!");
}

}  // namespace
}  // namespace rk
