// One window of the model on the screen, built from its first presentation and brought up
// to date by every later one:
//
//   a window of its own   a top-level QMainWindow ("body"): the menu bar, then the client
//                         area (the toolbar strip with its absolutely placed controls above
//                         the client canvas, or, for the application frame, above the
//                         workspace where the child windows open), then the status bar;
//   an MDI child window   the same body inside a QMdiSubWindow of its frame's workspace.
//
// Units: a window's width and height are its client area (inside its caption and border;
// for a top-level window below the menu bar, toolbar and status bar included) in dialog
// units of its font, as the descriptions lay out their controls; its x and y are where its
// caption and border begin: on the screen, or, for a child window, in the frame's
// workspace. A window without a position opens centred (on the screen, or in the
// workspace).
//
// The shell reports what a person does to the window itself (close box, keys, resizing,
// moving, activating) through ViewInput, and only when it differs from what the latest
// presentation says, so the view's own changes never come back as input.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/view/qt/control_view.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view.h"

namespace qx {

class MenuBarView;
class StatusBarView;
class WindowShell;
class WorkspaceArea;

// The property that marks a shell's widgets with the window id (body and sub-window).
inline constexpr const char* kWindowIdProperty = "qxWindowId";

class WindowBody : public QMainWindow {
 public:
  WindowBody(WindowShell& shell, QWidget* parent);
  void SetBorder(int pixels, bool raised);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  WindowShell& shell_;
  int border_ = 0;
  bool raised_ = false;
};

class ChildSubWindow : public QMdiSubWindow {
 public:
  ChildSubWindow(WindowShell& shell, QWidget* parent);
  WindowShell& shell() { return shell_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  WindowShell& shell_;
};

class WindowShell {
 public:
  // `frame`: the application frame the child window opens in; null for a window of its own.
  WindowShell(const WindowPresentation& first, WindowShell* frame);
  ~WindowShell();
  WindowShell(const WindowShell&) = delete;
  WindowShell& operator=(const WindowShell&) = delete;

  LONG id() const { return id_; }
  LONG thread() const { return last_.thread; }
  bool isFrame() const { return workspace_ != nullptr; }
  WindowShell* frame() const { return frame_; }
  WorkspaceArea* workspace() const { return workspace_; }
  std::uint64_t revision() const { return last_.revision; }
  bool takesInput() const { return last_.takesInput; }
  const WindowPresentation& presentation() const { return last_; }
  // The widget that is the window on the screen: the body, or the child's sub-window.
  QWidget* outer() const;
  // The top-level widget the window belongs to (its own body, or its frame's).
  QWidget* topLevel() const;
  StatusBarView* statusBar() const { return status_; }
  // The view of the control with `field`; null when none.
  ControlView* control(LONG field) const;

  // Shows `window` (a later presentation of the same window).
  void Apply(const WindowPresentation& window);
  // Takes the window off the screen (it closed); the widgets go with the shell.
  void Hide();

  // Drawing acknowledgements: `drawn` is called once the window has been painted after
  // the presentation it came with, or at once when the window is not on the screen to be
  // painted (hidden, minimized), or after a short wait at the latest.
  void AddAck(DrawnAck drawn);
  void NotePainted();
  void FireAcks();
  // Painted since the latest presentation, with no acknowledgement waiting.
  bool DrawnUpToDate() const { return painted_ && acks_.empty(); }
  bool OnScreen() const;
  // Where the window is on the screen, in global pixel coordinates.
  QRect ScreenRect() const;

  // A person's acts, from the widgets.
  void PersonClosed();
  bool PersonKey(QKeyEvent* event);
  void PersonResized();
  void PersonMoved();
  void PersonActivated();

 private:
  void Build(const WindowPresentation& w);
  void ApplyFrameAndPlace(const WindowPresentation& w, bool first);
  QSize ClientPixels(const WindowPresentation& w) const;
  int MenuHeight() const;
  // A child window: tells the model what its caption and border take (`pixels`).
  void ReportDecoration(QSize pixels);
  // A frame: stacks its children as the model last arranged them.
  void Restack(const WindowPresentation& w);

  LONG id_;
  WindowShell* frame_;
  QPointer<WindowBody> body_;
  QPointer<ChildSubWindow> sub_;
  QWidget* strip_ = nullptr;
  QWidget* canvas_ = nullptr;
  WorkspaceArea* workspace_ = nullptr;
  std::unique_ptr<MenuBarView> menus_;
  StatusBarView* status_ = nullptr;
  std::vector<std::unique_ptr<ControlView>> controls_;  // by index of the presentation's controls
  WindowPresentation last_;
  WindowStyle style_;
  int border_ = 0;
  bool shown_ = false;
  bool hiding_ = false;
  std::optional<QSize> reportedSize_;   // dialog units the model has
  std::optional<QPoint> reportedPos_;
  std::optional<QSize> reportedDecoration_;
  std::uint64_t arrangement_ = 0;       // the frame's arrangement its children are stacked in
  std::vector<DrawnAck> acks_;
  bool ackPosted_ = false;
  bool everExposed_ = false;
  bool painted_ = false;
};

}  // namespace qx
