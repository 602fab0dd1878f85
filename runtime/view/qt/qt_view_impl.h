// The Qt view's class, for the process entry (through CreateQtView) and for tests that run
// the view in their own process. See qt_view.h for what it does.
#pragma once

#include <QApplication>

#include <atomic>
#include <functional>
#include <string>

#include "runtime/win/view.h"

namespace qx {

class Desktop;

class QtView : public View {
 public:
  // Creates the QApplication; see CreateQtView (which first checks for a display).
  QtView(int& argc, char** argv);
  ~QtView() override;

  void Run() override;
  void Stop() override;
  void ShowWindow(const WindowPresentation& window, DrawnAck drawn) override;
  void CloseWindow(LONG windowId) override;
  void ShowMessage(const MessagePresentation& box) override;
  void CloseMessage(LONG messageId) override;
  void Beep(LONG sound) override;
  void ShowPopup(const PopupPresentation& popup) override;
  void ClosePopup(LONG popupId) override;
  void ShowPrintSetup(LONG windowId) override;
  void ArrangeIcons(LONG frameId) override;
  void SetClipboard(const std::string& text) override;
  bool SaveScreenshot(LONG windowId, LONG messageId, const std::string& path, int* width, int* height,
                      std::string* error) override;

  // The GUI thread's state (GUI thread only).
  Desktop& desktop() { return *desktop_; }

 private:
  void Post(std::function<void()> task);

  QApplication app_;
  Desktop* desktop_ = nullptr;
  std::atomic<bool> stopped_{false};
};

}  // namespace qx
