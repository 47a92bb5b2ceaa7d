#include "runtime/platform/qt/shutdown_refusal.h"

#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>
#include <QStyle>

#include "runtime/platform/program_path.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

QString ProgramFileName() {
  QString path = QString::fromStdString(ProgramPath());
  if (path.isEmpty()) path = QCoreApplication::applicationFilePath();
  return QFileInfo(path).fileName();
}

QWidget* ShowShutdownRefusal(QWidget* owner) {
  MessageContent content;
  content.caption = ProgramFileName();
  content.text = kShutdownRefusalText;
  content.icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  content.buttons.push_back({"OK", 1, true});
  content.applicationModal = true;
  // No runtime thread waits for this box: its result goes to no fiber.
  auto* box = new MessageDialog(content, MakeFont({"Helv", 8, 700, false, false, false}), owner,
                                TheScheduler(), 0);
  box->open();
  return box;
}

void RefuseShutdownWhile(QWidget& frame) {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return;
  QObject::connect(app, &QGuiApplication::commitDataRequest, &frame,
                   [&frame](QSessionManager& manager) {
                     manager.cancel();
                     if (manager.allowsInteraction()) {
                       ShowShutdownRefusal(&frame);
                       manager.release();
                     }
                   });
}

}  // namespace rk::platform
