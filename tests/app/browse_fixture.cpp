#include "tests/app/browse_fixture.h"

#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <cstdlib>
#include <fstream>

#include "app/application_procedures.h"
#include "app/collection_files.h"
#include "app/open_data_file.h"
#include "runtime/core/clear_value.h"
#include "runtime/core/error_state.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/operation_codes.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/windows/control.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/thread_windows.h"
#include "tests/support/qt_application.h"

namespace rk::testing {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kExitItem = -2;

std::string ThreeDigits(int n) {
  std::string text = std::to_string(n);
  return std::string(text.size() < 3 ? 3 - text.size() : 0, '0') + text;
}

platform::MessageDialog* OpenMessage() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = dynamic_cast<platform::MessageDialog*>(widget);
    if (box && box->isVisible()) return box;
  }
  return nullptr;
}

}  // namespace

void BrowseTest::SetUp() {
  EnsureQtApplication();
  ConnectFileLayerToThreads();
  RegisterApplicationProcedures();
  ASSERT_EQ(UsedSlots(), 0) << "a previous test left threads behind";
  folder_ =
      fs::temp_directory_path() / ("rk-browse-" + std::to_string(getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(folder_);
  fs::create_directories(folder_);
  previous_ = fs::current_path();
  fs::current_path(folder_);
  std::ofstream(folder_ / "README.TXT", std::ios::binary) << "Welcome\r\n";
}

void BrowseTest::TearDown() {
  EndProgram();
  RegisterApplicationProcedures();
  fs::current_path(previous_);
  fs::remove_all(folder_);
}

void BrowseTest::EndProgram() {
  SetDriverFault({});
  while (OpenMessage()) AnswerMessage(OpenMessage()->findChildren<QPushButton*>().front()->text());
  if (UsedSlots() == 0) return;
  drive::ChooseMenu(kExitItem);
  EXPECT_TRUE(RunUntil([] { return UsedSlots() == 0; }));
}

std::vector<std::string> BrowseTest::Stored(CollectionFileId id,
                                            const std::vector<const char*>& fields) {
  std::vector<std::string> records;
  RunOnThread([&] {
    DeclaredFile& file = CollectionFile(id);
    OPENDATAFILE(file.file());
    SET(file.key(1));
    for (NEXT(file.file()); ErrorCode() == 0; NEXT(file.file())) {
      std::string record;
      for (const char* field : fields) {
        std::string text = file.text(field);
        text.erase(text.find_last_not_of(' ') + 1);
        record += (record.empty() && field == fields.front() ? "" : "|") + text;
      }
      records.push_back(record);
    }
    CLOSE(file.file());
  });
  return records;
}

void BrowseTest::ExpectFilesCheck() {
  const std::string kmftool = std::string(RK_TEST_BINARY_DIR) + "/tools/kmftool/kmftool";
  for (const auto& entry : fs::directory_iterator(folder_)) {
    if (entry.path().extension() != ".KMF") continue;
    std::string command = kmftool + " check " + entry.path().string() + " >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << entry.path();
  }
}

void BrowseTest::RunOnThread(const std::function<void()>& body) {
  ASSERT_TRUE(StartFirstThread(body));
  ASSERT_TRUE(RunUntil([] { return UsedSlots() == 0; }));
}

void BrowseTest::AddRecords(CollectionFileId id, int count,
                            const std::function<void(DeclaredFile&, int)>& fill) {
  RunOnThread([&] {
    DeclaredFile& file = CollectionFile(id);
    OPENDATAFILE(file.file());
    for (int n = 1; n <= count; ++n) {
      ClearRecordOf(file);
      fill(file, n);
      ADD(file.file());
    }
    CLOSE(file.file());
  });
}

void BrowseTest::AddTapes(int count, const std::function<std::string(int)>& title) {
  AddRecords(CollectionFileId::kHtapes, count, [&](DeclaredFile& tapes, int n) {
    tapes.setLong("HTA:SERIAL", n);
    tapes.setText("HTA:TITLE", title ? title(n) : "TAPE " + ThreeDigits(n));
    tapes.setLong("HTA:START_DATE", 80000 + n);
  });
}

void BrowseTest::AddItems(int tape, int count) {
  AddRecords(CollectionFileId::kItems, count, [&](DeclaredFile& items, int n) {
    items.setLong("ITE:SERIAL", tape);
    items.setLong("ITE:DATE", 80000 + n);
    items.setText("ITE:DESCRIPTION", "ITEM " + std::to_string(tape) + "." + std::to_string(n));
  });
}

void BrowseTest::AddSubjects(const std::vector<std::string>& subjects) {
  AddRecords(CollectionFileId::kSubject, static_cast<int>(subjects.size()),
             [&](DeclaredFile& file, int n) {
               file.setText("SUB:SUBJECT", subjects[static_cast<size_t>(n - 1)]);
             });
}

void BrowseTest::StartProgram() {
  ASSERT_TRUE(drive::StartPastStartWindow());
}

void BrowseTest::Choose(int32_t menuItem) {
  ASSERT_TRUE(drive::ChooseMenu(menuItem)) << menuItem;
}

Window* BrowseTest::Current(int32_t thread) {
  return CurrentWindowOf(thread);
}

Window* BrowseTest::WindowTitled(int32_t thread, const std::string& title) {
  Window* found = nullptr;
  RunUntil([&] {
    Window* window = CurrentWindowOf(thread);
    found = window && window->IsOpen() && window->title == title ? window : nullptr;
    return found != nullptr;
  });
  return found;
}

platform::ListWidget* BrowseTest::List(int32_t thread, int32_t control) {
  if (control == 0) return drive::ListOf(thread);
  return dynamic_cast<platform::ListWidget*>(ControlWidget(thread, control));
}

std::vector<std::string> BrowseTest::Column(int32_t thread, size_t column, int32_t control) {
  std::vector<std::string> texts;
  platform::ListWidget* list = List(thread, control);
  if (!list) return texts;
  int shown = list->WholeRowsShown();
  for (const platform::ListRowLook& row : list->Rows()) {
    if (static_cast<int>(texts.size()) == shown) break;
    std::string text = row.at(column).text;
    text.erase(text.find_last_not_of(' ') + 1);
    texts.push_back(text);
  }
  return texts;
}

std::string BrowseTest::SelectedText(int32_t thread, size_t column) {
  platform::ListWidget* list = List(thread);
  if (!list || list->SelectedShown() < 0) return {};
  std::vector<std::string> texts = Column(thread, column);
  auto row = static_cast<size_t>(list->SelectedShown());
  return row < texts.size() ? texts[row] : std::string();
}

QPushButton* BrowseTest::Button(int32_t thread, const QString& text) {
  Window* window = CurrentWindowOf(thread);
  if (!window) return nullptr;
  for (const auto& control : window->controls) {
    auto* button = dynamic_cast<QPushButton*>(control->Widget());
    if (button && button->text() == text) return button;
  }
  return nullptr;
}

QWidget* BrowseTest::ControlWidget(int32_t thread, int32_t number) {
  Window* window = CurrentWindowOf(thread);
  Control* control = window ? window->FindControl(number) : nullptr;
  return control ? control->Widget() : nullptr;
}

void BrowseTest::Fill(int32_t thread, int32_t control, const std::string& text) {
  QWidget* widget = ControlWidget(thread, control);
  ASSERT_NE(widget, nullptr) << "control " << control;
  widget->setFocus();
  drive::RunOnce();
  drive::SendKey(*widget, Qt::Key_End, Qt::NoModifier, {});
  drive::SendKey(*widget, Qt::Key_Home, Qt::ShiftModifier, {});
  for (char c : text) {
    int key = c == ' ' ? static_cast<int>(Qt::Key_Space) : QChar(c).toUpper().unicode();
    drive::SendKey(*widget, key, Qt::NoModifier, QString(QChar(c)));
  }
  drive::SendKey(*widget, Qt::Key_Tab, Qt::NoModifier, {});
  drive::RunOnce();
}

void BrowseTest::Key(int32_t thread, int key, Qt::KeyboardModifiers modifiers,
                     const QString& text) {
  platform::ListWidget* list = List(thread);
  ASSERT_NE(list, nullptr);
  drive::SendKey(*list, key, modifiers, text);
  drive::RunOnce();
}

void BrowseTest::Type(int32_t thread, const std::string& text) {
  for (char c : text) {
    int key = c == ' ' ? static_cast<int>(Qt::Key_Space) : QChar(c).toUpper().unicode();
    Key(thread, key, Qt::NoModifier, QString(QChar(c)));
  }
}

void BrowseTest::Click(int32_t thread, int shownRow, Qt::MouseButton button, bool twice) {
  platform::ListWidget* list = List(thread);
  ASSERT_NE(list, nullptr);
  QPointF at = list->RowRect(shownRow).center();
  QMouseEvent press(QEvent::MouseButtonPress, at, list->mapToGlobal(at), button, button,
                    Qt::NoModifier);
  QApplication::sendEvent(list, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, list->mapToGlobal(at), button, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(list, &release);
  if (twice) {
    QMouseEvent again(QEvent::MouseButtonDblClick, at, list->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(list, &again);
  }
  drive::RunOnce();
}

void BrowseTest::Press(int32_t thread, const QString& buttonText) {
  QPushButton* button = Button(thread, buttonText);
  ASSERT_NE(button, nullptr) << buttonText.toStdString();
  button->click();
  drive::RunOnce();
}

QMenu* BrowseTest::OpenPopup() {
  QMenu* found = nullptr;
  RunUntil(
      [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
          auto* menu = dynamic_cast<QMenu*>(widget);
          if (menu && menu->isVisible()) found = menu;
        }
        return found != nullptr;
      },
      1000);
  return found;
}

std::vector<std::string> BrowseTest::PopupItems(QMenu& menu) {
  std::vector<std::string> items;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    items.push_back((action->isEnabled() ? "" : "~") + action->text().toStdString());
  }
  return items;
}

void BrowseTest::ChooseFromPopup(const QString& text) {
  QMenu* menu = OpenPopup();
  ASSERT_NE(menu, nullptr);
  for (QAction* action : menu->actions()) {
    if (action->text() == text) {
      action->trigger();
      menu->close();
      drive::RunOnce();
      return;
    }
  }
  FAIL() << "no popup item " << text.toStdString();
}

std::string BrowseTest::MessageTitle() {
  platform::MessageDialog* box = nullptr;
  RunUntil([&] { return (box = OpenMessage()) != nullptr; }, 1000);
  return box ? box->windowTitle().toStdString() : std::string();
}

void BrowseTest::AnswerMessage(const QString& text) {
  platform::MessageDialog* box = OpenMessage();
  ASSERT_NE(box, nullptr);
  for (QPushButton* button : box->findChildren<QPushButton*>()) {
    if (button->text() == text) {
      button->click();
      drive::RunOnce();
      return;
    }
  }
  FAIL() << "no button " << text.toStdString();
}

uint64_t BrowseTest::Reads() {
  return DriverCalls(kOpNext) + DriverCalls(kOpPrevious) + DriverCalls(kOpRegetFile) +
         DriverCalls(kOpRegetKey);
}

}  // namespace rk::testing
