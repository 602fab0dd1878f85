// The headless view: shows nothing, acknowledges every window at once, and lets the
// automation channel be the person. A message box or a popup menu waits for an answer
// through the channel while a client is attached; without one a box is written to stderr
// and takes its default button, and a popup menu is dismissed (also when the last client
// goes while they are open).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "runtime/view/automation/channel.h"
#include "runtime/win/view.h"

namespace qx {

class HeadlessView : public View {
 public:
  // `channel` may be null (no automation); it must outlive the view.
  explicit HeadlessView(AutomationChannel* channel);
  ~HeadlessView() override;

  void Run() override;
  void Stop() override;
  void ShowWindow(const WindowPresentation& window, DrawnAck drawn) override;
  void CloseWindow(LONG windowId) override;
  void ShowMessage(const MessagePresentation& box) override;
  void CloseMessage(LONG messageId) override;
  void ShowPopup(const PopupPresentation& popup) override;

 private:
  void Post(std::function<void()> task);
  void AnswerOpenBoxesByDefault();

  AutomationChannel* channel_;
  std::mutex mu_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> tasks_;
  bool stopped_ = false;
};

// Writes a box to stderr and answers it with its default button (from the caller's thread;
// never call it from inside a View call).
void AnswerByDefault(const MessagePresentation& box);
// Writes a popup menu to stderr and dismisses it (answer 0), likewise.
void DismissPopup(const PopupPresentation& popup);

}  // namespace qx
