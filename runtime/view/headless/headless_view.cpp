// The headless view; see headless_view.h.
#include "runtime/view/headless/headless_view.h"

#include <cstdio>
#include <string>

#include "runtime/win/view_input.h"

namespace qx {

void AnswerByDefault(const MessagePresentation& box) {
  std::string text = box.text;
  for (char& c : text) {
    if (c == '\n') c = '|';
  }
  std::fprintf(stderr, "qxrt message [%s]: %s -> %s\n", box.caption.c_str(), text.c_str(),
               MessageButtonName(box.defaultButton));
  std::fflush(stderr);
  ViewInput::AnswerMessage(box.id, box.defaultButton);
}

void DismissPopup(const PopupPresentation& popup) {
  std::string items;
  for (const PopupItemPresentation& item : popup.items) {
    if (!items.empty()) items += '|';
    items += (item.greyed ? "~" : "") + item.text;
  }
  std::fprintf(stderr, "qxrt popup: %s -> none\n", items.c_str());
  std::fflush(stderr);
  ViewInput::AnswerPopup(popup.id, 0);
}

HeadlessView::HeadlessView(AutomationChannel* channel) : channel_(channel) {
  if (channel_) channel_->OnLastClientGone([this] { Post([this] { AnswerOpenBoxesByDefault(); }); });
}

HeadlessView::~HeadlessView() {
  if (channel_) channel_->OnLastClientGone(nullptr);
}

void HeadlessView::Run() {
  std::unique_lock<std::mutex> lock(mu_);
  for (;;) {
    cv_.wait(lock, [&] { return stopped_ || !tasks_.empty(); });
    if (tasks_.empty() && stopped_) return;
    auto task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    lock.lock();
  }
}

void HeadlessView::Stop() {
  std::lock_guard<std::mutex> lock(mu_);
  stopped_ = true;
  cv_.notify_all();
}

void HeadlessView::Post(std::function<void()> task) {
  std::lock_guard<std::mutex> lock(mu_);
  tasks_.push_back(std::move(task));
  cv_.notify_all();
}

void HeadlessView::ShowWindow(const WindowPresentation&, DrawnAck drawn) {
  if (drawn) drawn();
}

void HeadlessView::CloseWindow(LONG) {}

void HeadlessView::ShowMessage(const MessagePresentation& box) {
  if (channel_ && channel_->ClientAttached()) return;
  // Answered from the view's own thread: a View call must not call back into the model.
  Post([box] { AnswerByDefault(box); });
}

void HeadlessView::CloseMessage(LONG) {}

void HeadlessView::ShowPopup(const PopupPresentation& popup) {
  if (channel_ && channel_->ClientAttached()) return;
  Post([popup] { DismissPopup(popup); });
}

void HeadlessView::AnswerOpenBoxesByDefault() {
  if (channel_ && channel_->ClientAttached()) return;
  const PresentationState s = ReadPresentation();
  for (const MessagePresentation& box : s.messages) AnswerByDefault(box);
  for (const PopupPresentation& popup : s.popups) DismissPopup(popup);
}

}  // namespace qx
