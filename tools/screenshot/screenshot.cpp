// screenshot DATA-FOLDER STEP...
//
// Starts the program offscreen in DATA-FOLDER and performs the steps in order:
//   menu:N        choose the frame's menu item with control number N (-33 is About)
//   click:TEXT    press the button labelled TEXT in any open window
//   tab:TEXT      turn a sheet of any open window to its tab labelled TEXT
//   type:TEXT     type TEXT into the control that has the focus
//   key:NAME      press Tab, Enter, Escape, Up, Down, Left, Right, Plus, PageDown,
//                 Insert or Delete
//   item:TEXT     choose the item labelled TEXT on any open window's own menu bar
//   printto:FILE  let printing go to FILE (a PDF), as the print dialog's
//                 "Print To File" does
//   print:ok      answer the open print dialog with OK (print:cancel cancels)
//   wait:MS       let the program run for MS milliseconds
//   shot:FILE     write a PNG of the frame with every window open above it
// Finally the program is told to exit. Each step first lets the program settle.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/application_procedures.h"
#include "app/main/desktop_identity.h"
#include "app/main_frame.h"
#include "runtime/core/environment_file.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "tools/common/tool_arguments.h"
#include "tools/drive/program_driver.h"

namespace {

using rk::platform::FrameWidget;

constexpr int kSettle = 300;  // milliseconds before each step

// The button nearest the focus first: a form and the browse below it both
// have an "OK" or an "&Insert".
bool Click(const QString& text) {
  QPushButton* button = nullptr;
  for (QWidget* around = QApplication::focusWidget(); around && !button;
       around = around->parentWidget()) {
    for (QPushButton* candidate : around->findChildren<QPushButton*>()) {
      if (candidate->text() == text && candidate->isVisible()) {
        button = candidate;
        break;
      }
    }
  }
  if (!button) button = rk::drive::ButtonNamed(text);
  if (button) button->click();
  return button != nullptr;
}

bool TurnTo(QWidget& window, const QString& text) {
  for (QTabBar* tabs : window.findChildren<QTabBar*>()) {
    for (int index = 0; index < tabs->count(); ++index) {
      if (tabs->tabText(index) != text) continue;
      tabs->setCurrentIndex(index);
      return true;
    }
  }
  return false;
}

// The nearest tabs around the focus first: a browse and the form above it,
// both inside the frame, may have tabs of the same name.
bool Tab(const QString& text) {
  for (QWidget* around = QApplication::focusWidget(); around; around = around->parentWidget()) {
    if (TurnTo(*around, text)) return true;
  }
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && TurnTo(*window, text)) return true;
  }
  return false;
}

// A window's own menu bar (the preview's) is not the frame's: look in every
// top-level window.
bool ChooseItem(const QString& text) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == FrameWidget::Current() || !window->isVisible()) continue;
    for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
      for (QAction* action : bar->actions()) {
        if (action->text() != text || !action->isEnabled()) continue;
        action->trigger();
        return true;
      }
    }
  }
  return false;
}

void Press(QWidget& widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &release);
  rk::drive::RunOnce();
}

bool Type(const QString& text) {
  for (QChar c : text) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return false;
    int key = c == ' ' ? static_cast<int>(Qt::Key_Space) : c.toUpper().unicode();
    Press(*focus, key, QString(c));
  }
  return true;
}

bool Key(const std::string& name) {
  static const std::pair<const char*, int> kKeys[] = {
      {"Tab", Qt::Key_Tab},       {"Enter", Qt::Key_Return},  {"Escape", Qt::Key_Escape},
      {"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},     {"PageDown", Qt::Key_PageDown},
      {"Insert", Qt::Key_Insert}, {"Delete", Qt::Key_Delete}, {"Left", Qt::Key_Left},
      {"Right", Qt::Key_Right},   {"Plus", Qt::Key_Plus}};
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return false;
  for (const auto& [known, key] : kKeys) {
    if (name != known) continue;
    Press(*focus, key);
    return true;
  }
  return false;
}

// The frame with the windows above it drawn where they stand, or centred on it
// when the display gives them no place of their own.
bool Shot(const QString& path) {
  FrameWidget* frame = FrameWidget::Current();
  if (!frame) return false;
  QImage image = rk::platform::GrabWidget(*frame);
  QPainter painter(&image);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == frame || !window->isVisible() || window->isMinimized()) continue;
    QImage above = rk::platform::GrabWidget(*window);
    // The painter works in widget pixels; the grabbed images count device
    // pixels, twice as many on a screen of double density.
    QSize size = above.deviceIndependentSize().toSize();
    QPoint at = window->pos() - frame->pos();
    if (at == QPoint(0, 0)) {
      QSize room = image.deviceIndependentSize().toSize() - size;
      at = QPoint(room.width() / 2, room.height() / 2);
    }
    painter.drawImage(at, above);
    painter.setPen(Qt::darkGray);
    painter.drawRect(QRect(at, size).adjusted(0, 0, -1, -1));
  }
  painter.end();
  return image.save(path, "PNG");
}

bool Perform(const std::string& step) {
  size_t colon = step.find(':');
  if (colon == std::string::npos) return false;
  std::string verb = step.substr(0, colon);
  std::string argument = step.substr(colon + 1);
  rk::drive::Settle(kSettle);
  if (verb == "menu") return rk::drive::ChooseMenu(std::atoi(argument.c_str()));
  if (verb == "click") return Click(QString::fromStdString(argument));
  if (verb == "tab") return Tab(QString::fromStdString(argument));
  if (verb == "type") return Type(QString::fromStdString(argument));
  if (verb == "key") return Key(argument);
  if (verb == "item") return ChooseItem(QString::fromStdString(argument));
  if (verb == "printto") {
    rk::platform::SharedPrinter().setOutputFileName(QString::fromStdString(argument));
    return true;
  }
  if (verb == "print") return rk::drive::AnswerPrintDialog(argument == "ok");
  if (verb == "wait") {
    rk::drive::Settle(std::atoi(argument.c_str()));
    return true;
  }
  if (verb == "shot") return Shot(QString::fromStdString(argument));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments({argv + 1, argv + argc}, {});
  if (!arguments.Problem().empty() || arguments.HelpAsked() || arguments.Words().empty()) {
    std::fputs(
        "usage: screenshot DATA-FOLDER STEP...  (menu:N click:TEXT tab:TEXT type:TEXT key:NAME "
        "item:TEXT printto:FILE print:ok wait:MS shot:FILE)\n",
        stderr);
    return 2;
  }
  const std::string folder = arguments.Words()[0];
  std::vector<std::string> steps(arguments.Words().begin() + 1, arguments.Words().end());
  for (std::string& step : steps) {
    // Shots are written where the command was started, not in the data folder.
    if (step.rfind("shot:", 0) == 0) {
      step = "shot:" + std::filesystem::absolute(step.substr(5)).string();
    }
    if (step.rfind("printto:", 0) == 0) {
      step = "printto:" + std::filesystem::absolute(step.substr(8)).string();
    }
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::filesystem::current_path(folder, error);
  if (error) {
    std::fprintf(stderr, "screenshot: cannot work in %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return 2;
  }
  // Offscreen always; a caller may still give the offscreen screen a size and
  // density of its own ("offscreen:configfile=screen.json").
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || std::string_view(platform).rfind("offscreen", 0) != 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(argc, argv);
  rk::start::PresentToDesktop();  // the program's name and icon on its windows
  rk::platform::InstallFontSubstitutions();
  rk::InitializeEnvironment();
  rk::ConnectFileLayerToThreads();
  rk::RegisterApplicationProcedures();
  if (!rk::StartFirstThread(rk::MAIN)) return 1;
  int failures = 0;
  for (const std::string& step : steps) {
    if (!Perform(step)) {
      std::fprintf(stderr, "screenshot: step failed: %s\n", step.c_str());
      ++failures;
    }
  }
  // Leave: close whatever plain windows are open, then the frame.
  for (int round = 0; round < 5 && rk::UsedSlots() > 0; ++round) {
    Click("Close");
    Click("Continue");
    rk::drive::ChooseMenu(-2);
    rk::drive::Settle(kSettle);
  }
  return failures == 0 ? 0 : 1;
}
