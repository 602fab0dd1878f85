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

void HeadlessView::AnswerOpenBoxesByDefault() {
  if (channel_ && channel_->ClientAttached()) return;
  for (const MessagePresentation& box : ReadPresentation().messages) AnswerByDefault(box);
}

}  // namespace qx
