// The platform side of a runtime window: the widget that is shown, moved, sized
// and closed (the outer widget), and the client widget that holds the window's
// controls. Destroying a shell destroys its platform window.
//
// Three shells stand for the three kinds of runtime window: a plain top-level
// window, the application frame (a main window whose central widget is an MDI
// area), and an MDI child (a sub-window inside the frame's area).
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

namespace rk::platform {

// How the outer widget is decorated.
struct ShellStyle {
  bool caption = true;
  bool resizable = false;
  bool frameless = false;
  bool maximizeBox = false;
  bool systemMenu = false;
};

class WindowShell {
 public:
  virtual ~WindowShell();
  WindowShell(const WindowShell&) = delete;
  WindowShell& operator=(const WindowShell&) = delete;

  // Null once the platform window has gone (destroyed behind the shell's back).
  QWidget* Outer() const { return outer_; }
  QWidget* Client() const { return client_; }
  bool Exists() const { return outer_ != nullptr; }

  void SetTitle(const QString& title);
  // Sizes the client area; the outer widget follows.
  virtual void SetClientSize(int width, int height);
  void MoveTo(int x, int y);
  // Where a window goes whose definition gives no position: a top-level window
  // is left to the window manager; an MDI child cascades (see the child shell).
  virtual void PlaceByDefault() {}
  void Show(bool maximized, bool minimized);
  void BringToTop();
  // Makes the window the active one.
  virtual void Activate();

  // Lets the person's input reach the window, or not: a disabled window's
  // widgets ignore clicks and keys, and a close from the window manager is
  // refused without a request.
  void SetInputEnabled(bool enabled);

 protected:
  WindowShell() = default;
  void Attach(QWidget* outer, QWidget* client);
  // What input goes through: the whole window, unless a shell says otherwise.
  virtual void EnableWidgets(bool enabled);

 private:
  QPointer<QWidget> outer_;
  QPointer<QWidget> client_;
};

// A top-level window; its client is the window itself.
std::unique_ptr<WindowShell> MakePlainShell(const ShellStyle& style);

// The application frame: a main window with an MDI area as its central widget.
class FrameShell : public WindowShell {
 public:
  explicit FrameShell(const ShellStyle& style);
  QMainWindow* MainWindow() const;
  QMdiArea* Area() const { return area_; }
  void SetClientSize(int width, int height) override;

 protected:
  // Only the frame's menu bar: its area holds other threads' windows, which
  // keep working.
  void EnableWidgets(bool enabled) override;

 private:
  QPointer<QMdiArea> area_;
};

// An MDI child inside the frame's area; nothing when the frame has no area.
std::unique_ptr<WindowShell> MakeMdiChildShell(FrameShell& frame, const ShellStyle& style);

}  // namespace rk::platform
