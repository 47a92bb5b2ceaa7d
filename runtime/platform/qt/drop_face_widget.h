// The closed face of a drop list (window class QvnDrop): the current choice
// drawn in the list's columns, and a drop button. The face opens nothing by
// itself: a click reports kDropOpen, a key kFaceKey, and the drop list's
// control shows the popup when it has decided to.
//
// The popup is the list's own ListWidget, made a popup window owned by the
// face and placed below it (above it when the screen ends first). When the
// popup closes from outside (a click elsewhere, or the face being hidden or
// disabled) the face reports kDropClosed; a close the control asks for reports
// nothing.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

#include "runtime/platform/qt/list_input.h"
#include "runtime/platform/qt/list_looks.h"

namespace rk::platform {

class ListWidget;

class DropFaceWidget : public QWidget {
 public:
  explicit DropFaceWidget(QWidget* parent);
  ~DropFaceWidget() override;

  void SetInputHandler(std::function<void(const ListInput&)> handler);
  void SetColumns(std::vector<ListColumnLook> columns);
  // The chosen row's cells; an empty row shows nothing chosen.
  void SetChoice(ListRowLook choice);
  const ListRowLook& Choice() const { return choice_; }
  void SetIcons(std::vector<QImage> icons);

  // Takes the list widget as this face's popup.
  void SetPopup(ListWidget& list);
  ListWidget* Popup() const { return popup_; }
  // Shows the popup below the face, tall enough for `rows` rows, and gives it
  // the keyboard; HidePopup closes it again.
  void ShowPopup(int rows);
  void HidePopup();
  bool PopupShown() const;

  QRect ButtonRect() const;
  QRect ChoiceRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Report(ListInputKind kind, int32_t value = 0, uint8_t character = 0);
  int RowHeight() const;

  std::function<void(const ListInput&)> handler_;
  std::vector<ListColumnLook> columns_;
  ListRowLook choice_;
  std::vector<QImage> icons_;
  ListWidget* popup_ = nullptr;
  bool closingOnRequest_ = false;
};

}  // namespace rk::platform
