// The window manager: runs one procedure's window through its virtual operations (the
// procedure's own class overrides those it needs, each calling the base operation).
//
//   class MainWindowClass : public WindowManager { ... BYTE Init() override; ... };
//   MainWindowClass w;
//   w.AttachToolbar(...);            // usually inside Init
//   BYTE response = w.RunWindow();   // Init; the event loop; Shutdown
//
// The event loop runs on the calling program thread's current window (the one the
// initialisation opened): for each event that concerns the window itself and no control,
// HandleWindowEvent is asked first. Level kLevelBenign lets the event go on to the
// runtime's default work (an EVENT:CloseWindow closes the window, which ends the loop);
// any other level ends the handling of that event there: it is refused, and has no default
// work. The loop ends when the window has closed.
//
// Levels and results are the error manager's (kLevelBenign ..., error_manager.h);
// responses are 1 (completed) and 2 (cancelled).
#pragma once

#include "classlib/toolbar_helper.h"
#include "runtime/text/types.h"

namespace qx {

class ErrorManager;
class RelationManager;

// Responses of a procedure run through a window manager.
constexpr BYTE kRequestCompleted = 1;
constexpr BYTE kRequestCancelled = 2;

class WindowManager {
 public:
  WindowManager() = default;
  virtual ~WindowManager() = default;
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // Calls Init; when it returned kLevelBenign (0), runs the event loop until the window
  // has closed; calls Shutdown in every case. Returns RESPONSE, or kRequestCancelled when
  // RESPONSE is 0. A manager marked DEAD runs no loop.
  BYTE RunWindow();

  // Prepares the manager: ORIGINALREQUEST := REQUEST, a bind scope for the procedure
  // (runtime/win/scope.h) opened. Returns 0; a non-zero result means failure, and the
  // caller then opens nothing.
  virtual BYTE Init();
  // The base handling of the window's own events, returning kLevelBenign:
  //   EVENT:OpenWindow   the first time only: the window is drawn from its variables and
  //                      the focus goes to control FIRSTFIELD (when not 0);
  //   EVENT:CloseWindow  nothing to ask: the library keeps no pending changes of a
  //                      PRIMARY file, so the close goes on.
  virtual BYTE HandleWindowEvent();
  // Releases the toolbar object's target list, closes the bind scope, sets DEAD; returns
  // 0. Returns kLevelNotify (5), changing nothing, when the manager is DEAD already or was
  // never initialised.
  virtual BYTE Shutdown();
  // Registers the alert keys of the window's browses and history controls; the library
  // keeps neither, so there is nothing to register.
  virtual void SetAlerts();

  // TOOLBAR := `toolbar`, whose target list is made anew, empty. `toolbar` must outlive
  // the manager's Shutdown.
  void AttachToolbar(ToolbarHelper& toolbar);

  BYTE REQUEST = 0;             // the request the procedure was called with
  BYTE ORIGINALREQUEST = 0;     // REQUEST as Init found it
  LONG FIRSTFIELD = 0;          // the control that gets the focus when the window opens
  LONG* VCRREQUEST = nullptr;   // the navigation request of the procedure's caller
  ErrorManager* ERRORS = nullptr;
  ToolbarHelper* TOOLBAR = nullptr;
  BYTE OPENED = 0;              // set by the procedure once its window is open
  RelationManager* PRIMARY = nullptr;  // the primary file's relation manager, if any
  BYTE RESPONSE = 0;            // 0 until the procedure decides; see RunWindow
  BYTE DEAD = 0;                // 1 once shut down

 private:
  void EventLoop();

  bool initialised_ = false;
  bool firstOpeningDone_ = false;
};

}  // namespace qx
