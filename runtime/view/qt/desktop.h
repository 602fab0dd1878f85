// Everything the Qt view shows, on the GUI thread: the windows (WindowShell) by id, the open
// message boxes and popup menus, the wait cursor, the print set-up dialog, the clipboard. The view's calls
// reach it as queued copies (qt_view.cpp); a person's input leaves it through ViewInput.
//
// It also watches the application's events: a paint in a window's widgets counts as that
// window drawn (DrawnAck), and a person's clicks and keys on a window that takes no input
// (a later window of its thread or a message box is open) are swallowed with a beep, as the
// platform refuses input to a disabled window; the window keeps its look meanwhile.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "runtime/win/presentation.h"
#include "runtime/win/view.h"

class QMenu;
class QPrinter;

namespace qx {

class MessageDialog;
class WindowShell;

class Desktop : public QObject {
 public:
  Desktop();
  ~Desktop() override;

  void ShowWindow(const WindowPresentation& window, DrawnAck drawn);
  void CloseWindow(LONG windowId);
  void ShowMessage(const MessagePresentation& box);
  void CloseMessage(LONG messageId);
  void ShowPopup(const PopupPresentation& popup);
  void ClosePopup(LONG popupId);
  void ShowPrintSetup(LONG windowId);
  void ArrangeIcons(LONG frameId);
  void SetClipboard(const std::string& text);

  enum class Shot { kSaved, kNotYet, kFailed };
  // Writes a PNG of window `windowId` (or, when 0, of box `messageId`) as it is on the
  // screen. kNotYet while the window or box is not yet drawn on the screen; kFailed at once
  // for one that has closed.
  Shot SaveScreenshot(LONG windowId, LONG messageId, const QString& path, QSize* size, QString* error);

  // For tests: the shell of an open window, the box with an id; null when none.
  WindowShell* Shell(LONG windowId) const;
  MessageDialog* Message(LONG messageId) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  WindowShell* ShellOf(QObject* object) const;
  WindowShell* FrameFor(LONG frameId) const;
  QWidget* OwnerOfBox(const MessagePresentation& box) const;
  void DropClosedFrames();
  void SetWaitCursor(bool wait);
  // Where a popup menu over `shell` opens: at the pointer when it is over the window.
  QPoint PopupPosition(WindowShell* shell, LONG field) const;

  std::map<LONG, std::unique_ptr<WindowShell>> shells_;  // open windows
  std::vector<LONG> openOrder_;                          // their ids, oldest first
  std::vector<std::unique_ptr<WindowShell>> closedFrames_;  // kept, hidden, while children live
  std::map<LONG, QPointer<MessageDialog>> boxes_;
  // Windows and boxes that have closed (a window may open again): a screenshot of one of
  // them has nothing to wait for.
  std::set<LONG> closedWindows_, closedBoxes_;
  std::map<LONG, QPointer<QMenu>> popups_;
  bool waitCursor_ = false;
  std::unique_ptr<QPrinter> printer_;
  QPointer<QWidget> printSetup_;
};

}  // namespace qx
