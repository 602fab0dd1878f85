// The window manager; see window_manager.h.
#include "classlib/window_manager.h"

#include "classlib/error_manager.h"
#include "runtime/win/accept.h"
#include "runtime/win/events.h"
#include "runtime/win/scope.h"
#include "runtime/win/windows.h"

namespace qx {

BYTE WindowManager::RunWindow() {
  if (Init() == kLevelBenign) EventLoop();
  Shutdown();
  return RESPONSE != 0 ? RESPONSE : kRequestCancelled;
}

void WindowManager::EventLoop() {
  if (DEAD) return;
  while (RtAccept()) {
    BYTE level = kLevelBenign;
    if (RtField() == 0) level = HandleWindowEvent();
    RtEndAcceptPass(level == kLevelBenign ? 0 : 1);
  }
  RtExitAccept(0);
}

BYTE WindowManager::Init() {
  ORIGINALREQUEST = REQUEST;
  RtPushScope(0);
  initialised_ = true;
  firstOpeningDone_ = false;
  DEAD = 0;
  return kLevelBenign;
}

BYTE WindowManager::HandleWindowEvent() {
  // EVENT:CloseWindow and every other event of the window need nothing of the base.
  if (RtEvent() == kEventOpenWindow && !firstOpeningDone_) {
    firstOpeningDone_ = true;
    RtDisplay(0, 0);
    if (FIRSTFIELD != 0) RtSelect(FIRSTFIELD, 0, 0);
  }
  return kLevelBenign;
}

BYTE WindowManager::Shutdown() {
  if (DEAD || !initialised_) return kLevelNotify;
  if (TOOLBAR) TOOLBAR->LIST.reset();
  RtPopScope();
  DEAD = 1;
  return kLevelBenign;
}

void WindowManager::SetAlerts() {}

void WindowManager::AttachToolbar(ToolbarHelper& toolbar) {
  TOOLBAR = &toolbar;
  toolbar.LIST = std::make_unique<std::vector<WindowManager*>>();
}

}  // namespace qx
