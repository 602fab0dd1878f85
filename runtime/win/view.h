// The interface between the window model and a view (headless or Qt).
//
// The model calls a View from program threads and from input threads, never while it holds
// its own mutex, and always with copies (presentation.h), in the order of the changes. A
// View must be thread-safe, must not take the runtime lock and must never block on program
// code: it queues what it gets for its own (GUI) thread and returns. A person's input goes
// back through ViewInput (view_input.h), which any thread may call, also from inside a View
// call.
//
// A Qt view, for instance: each View call posts a copy to the GUI thread
// (QMetaObject::invokeMethod with Qt::QueuedConnection); the GUI thread builds or updates the
// QMdiSubWindow / QMainWindow / QDialog for the window id, maps dialog units through the
// window font's metrics, calls `drawn` once the widget is shown, disables the widgets of a
// window whose takesInput is false, and turns clicks, menu choices, typing, resizes, the
// close box and message box buttons into ViewInput calls. It never decides an outcome
// itself: a close box only asks (ViewInput::Close); the window goes when CloseWindow comes.
//
// Life: the process entry creates one View, installs it with RtInstallView, runs View::Run
// on the process's main thread and calls View::Stop when the program ends.
#pragma once

#include <functional>
#include <string>

#include "runtime/win/presentation.h"

namespace qx {

// Called once by the view when it has drawn what it was given; may be called on any
// thread, also from inside ShowWindow itself.
using DrawnAck = std::function<void()>;

class View {
 public:
  View() = default;
  virtual ~View() = default;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // The view's own loop, on the process's main thread; returns once Stop has been called.
  virtual void Run() = 0;
  // Makes Run return soon; thread-safe, may be called before Run.
  virtual void Stop() = 0;

  // A window opened or changed: show it as `window` says. `drawn`, when set, must be called
  // once the window is on the screen (RtOpenWindow and RtDisplay wait for it, outside the
  // runtime lock). A copy with a revision lower than the last one shown may be dropped, but
  // its `drawn` must still be called.
  virtual void ShowWindow(const WindowPresentation& window, DrawnAck drawn) = 0;
  // The window closed or was destroyed; forget it.
  virtual void CloseWindow(LONG windowId) = 0;

  // A message box opened. The view shows it application-modal (no window of the program
  // takes input meanwhile, which the model already reflects in takesInput) and, when a
  // person answers, calls ViewInput::AnswerMessage. A box may also be answered elsewhere
  // (the automation channel); the view then gets CloseMessage.
  virtual void ShowMessage(const MessagePresentation& box) = 0;
  virtual void CloseMessage(LONG messageId) = 0;

  // A popup menu opened (RtPopup): show it at the pointer, over popup.window, and call
  // ViewInput::AnswerPopup with the item chosen or 0 when it is dismissed. It may be
  // answered elsewhere too (the automation channel); the view then gets ClosePopup.
  // Default, for a view without popup menus: dismissed at once.
  virtual void ShowPopup(const PopupPresentation& popup);
  virtual void ClosePopup(LONG popupId) { (void)popupId; }

  // Dialogs and effects of the view's own, with no answer for the program.
  virtual void Beep(LONG sound) { (void)sound; }
  virtual void ShowPrintSetup(LONG windowId) { (void)windowId; }
  virtual void ArrangeIcons(LONG frameId) { (void)frameId; }
  // Text the model's cut or copy put on the clipboard; a desktop view mirrors it to the
  // system clipboard.
  virtual void SetClipboard(const std::string& text) { (void)text; }

  // Writes a picture of what the person sees of window `windowId` (or, when it is 0, of
  // message box `messageId`) to `path` as a PNG file and gives its size in pixels. False,
  // with `error` set, when the view shows nothing on a screen, the window or box is not on
  // the screen, or the file cannot be written. Called from any thread but the view's own
  // (the automation channel's); it may wait for the view's thread, never for program code.
  virtual bool SaveScreenshot(LONG windowId, LONG messageId, const std::string& path, int* width, int* height,
                              std::string* error) {
    (void)windowId, (void)messageId, (void)path, (void)width, (void)height;
    *error = "this view shows nothing on a screen";
    return false;
  }
};

// Installs the view the model talks to (nullptr: none; windows then count as drawn at once
// and message boxes take their default button, written to stderr). The view must outlive
// every program thread. Not thread-safe: call before the program starts.
void RtInstallView(View* view);

// View::SaveScreenshot of the installed view; false, with `error` set, at once when the
// window (or box) is not open or no view is installed. Thread-safe; never call it from the
// view's own thread.
bool RtSaveScreenshot(LONG windowId, LONG messageId, const std::string& path, int* width, int* height,
                      std::string* error);

}  // namespace qx
