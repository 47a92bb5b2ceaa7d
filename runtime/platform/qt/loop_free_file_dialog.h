// Qt's own (non-native) file dialog without the nested event loops it would run.
//
// Qt's dialog asks some questions of its own through message boxes that run a
// nested event loop: whether to replace an existing file, that a file or folder
// was not found, whether to delete a file, why a rename failed; and a drag out of
// its views runs a loop too. Every runtime thread would stand still while one is
// open. So this dialog is read-only (no deleting, renaming or new folders), drags
// nothing, and asks and tells through its own boxes, opened without a loop.
#pragma once

#include <QFileDialog>
#include <QString>

namespace rk::platform {

class LoopFreeFileDialog : public QFileDialog {
 public:
  explicit LoopFreeFileDialog(QWidget* parent);

  // The choice is checked here, and a question or a note opened without a loop,
  // before Qt's own acceptance sees it.
  void accept() override;

 private:
  void GoToLookInDirectory(int index);
  void AskToReplace(const QString& name);
  // A note on top of the dialog; the dialog stays open.
  void Tell(const QString& text);
};

}  // namespace rk::platform
