// The whole program driven as a person drives it, for the browse and select
// tests: a folder of its own with data files written beforehand, MAIN started
// past its start window, procedures chosen from the frame's menu, and keys,
// clicks and popup choices sent to the windows they open.
#pragma once

#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/collection_files.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/windows/window.h"
#include "tools/drive/program_driver.h"

namespace rk::testing {

using drive::RunUntil;

class BrowseTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs `body` on a runtime thread of its own and waits for it to end.
  void RunOnThread(const std::function<void()>& body);
  // Adds `count` records to the file, each filled by `fill` with its number from 1.
  void AddRecords(CollectionFileId id, int count,
                  const std::function<void(DeclaredFile&, int)>& fill);
  // Writes tapes numbered 1 to count; their titles are "TAPE " and the number
  // in three digits unless `title` says otherwise.
  void AddTapes(int count, const std::function<std::string(int)>& title = {});
  void AddItems(int tape, int count);
  void AddSubjects(const std::vector<std::string>& subjects);

  // Starts MAIN and continues past the start window.
  void StartProgram();
  void Choose(int32_t menuItem);
  // The current window of the thread, once it shows the title.
  Window* WindowTitled(int32_t thread, const std::string& title);
  Window* Current(int32_t thread);

  // The browse's list, or the list box numbered `control` (a form's child list).
  platform::ListWidget* List(int32_t thread, int32_t control = 0);
  // The shown rows' text in one column, from the top row down.
  std::vector<std::string> Column(int32_t thread, size_t column, int32_t control = 0);
  // The selected shown row's text in that column; empty for none.
  std::string SelectedText(int32_t thread, size_t column);
  QPushButton* Button(int32_t thread, const QString& text);
  // The widget of the numbered control of the thread's current window.
  QWidget* ControlWidget(int32_t thread, int32_t control);
  // Focuses the control, replaces what it holds by typing `text`, and leaves it
  // with Tab, as a person fills a field.
  void Fill(int32_t thread, int32_t control, const std::string& text);
  void Key(int32_t thread, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = {});
  void Type(int32_t thread, const std::string& text);
  void Click(int32_t thread, int shownRow, Qt::MouseButton button = Qt::LeftButton,
             bool twice = false);
  void Press(int32_t thread, const QString& buttonText);
  // The popup menu that is open, or null; choosing from it by text.
  QMenu* OpenPopup();
  std::vector<std::string> PopupItems(QMenu& menu);
  void ChooseFromPopup(const QString& text);
  // The open message box's title; empty for none. OK closes it.
  std::string MessageTitle();
  void AnswerMessage(const QString& button = "OK");

  // Ends the program as the File menu's Exit does, answering any open message.
  void EndProgram();
  // With the program ended: each record of the file in the order of its first
  // key, as the fields' texts joined by '|'.
  std::vector<std::string> Stored(CollectionFileId id, const std::vector<const char*>& fields);
  // With the program ended: `kmftool check` passes on every data file written.
  void ExpectFilesCheck();

  // Records read by the drivers so far: NEXT, PREVIOUS and REGET.
  static uint64_t Reads();

  std::filesystem::path folder_;
  std::filesystem::path previous_;
};

}  // namespace rk::testing
