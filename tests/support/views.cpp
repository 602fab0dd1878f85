// Views for the in-process tests; see views.h.
#include "tests/support/views.h"

#include <gtest/gtest.h>

#include "runtime/win/view_input.h"
#include "runtime/win/win.h"

namespace qx::testing {

std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "[" << b.caption << "] \"" << b.text << "\" icon " << b.icon << " buttons " << b.buttons
            << " default " << b.defaultButton;
}

Box HaltBox(const std::string& text) { return Box{text, "Halt", kIconStop, kButtonOk, kButtonOk}; }

void ExpectBoxes(const std::vector<Box>& seen, const std::vector<Box>& expected, const std::string& what) {
  ASSERT_EQ(seen.size(), expected.size()) << what << (seen.empty() ? "" : ": first seen " + ::testing::PrintToString(seen[0]));
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].text, expected[i].text) << what << ", box " << i;
    EXPECT_EQ(seen[i].caption, expected[i].caption) << what << ", box " << i;
    EXPECT_EQ(seen[i].icon, expected[i].icon) << what << ", box " << i;
    EXPECT_EQ(seen[i].buttons, expected[i].buttons) << what << ", box " << i;
    EXPECT_EQ(seen[i].defaultButton, expected[i].defaultButton) << what << ", box " << i;
  }
}

void RecordingView::ShowWindow(const WindowPresentation& w, DrawnAck drawn) {
  std::function<void(const std::string&)> hook;
  bool opened = false;
  {
    std::lock_guard<std::mutex> lock(mu_);
    shown_.insert(w.module + "/" + w.label);
    if (labels_.emplace(w.id, w.label).second) {
      events_.push_back("open " + w.label);
      opened = true;
      hook = onOpen_;
    }
  }
  if (opened && hook) hook(w.label);
  if (drawn) drawn();
}

void RecordingView::CloseWindow(LONG id) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = labels_.find(id);
  if (it == labels_.end()) return;
  events_.push_back("close " + it->second);
  labels_.erase(it);
}

void RecordingView::ShowMessage(const MessagePresentation& m) {
  const Box box{m.text, m.caption, m.icon.systemIcon, m.buttons, m.defaultButton};
  LONG answer = m.defaultButton;
  std::function<void(const Box&)> hook;
  {
    std::lock_guard<std::mutex> lock(mu_);
    boxes_.push_back(box);
    if (boxAnswering_ == Answers::kLeftOpen) return;
    if (!boxAnswers_.empty()) {
      answer = boxAnswers_.front();
      boxAnswers_.pop_front();
    }
    hook = onBox_;
  }
  if (hook) hook(box);
  ViewInput::AnswerMessage(m.id, answer);
}

void RecordingView::ShowPopup(const PopupPresentation& p) {
  LONG answer = 0;
  {
    std::lock_guard<std::mutex> lock(mu_);
    popups_.push_back(p);
    if (popupAnswering_ == Answers::kLeftOpen) return;
    if (!popupAnswers_.empty()) {
      answer = popupAnswers_.front();
      popupAnswers_.pop_front();
    }
  }
  ViewInput::AnswerPopup(p.id, answer);
}

void RecordingView::AnswerBoxes(std::vector<LONG> answers) {
  std::lock_guard<std::mutex> lock(mu_);
  boxAnswers_.assign(answers.begin(), answers.end());
}

void RecordingView::AnswerPopups(std::vector<LONG> answers) {
  std::lock_guard<std::mutex> lock(mu_);
  popupAnswers_.assign(answers.begin(), answers.end());
}

std::vector<Box> RecordingView::TakeBoxes() {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<Box> out;
  out.swap(boxes_);
  return out;
}

std::vector<PopupPresentation> RecordingView::TakePopups() {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<PopupPresentation> out;
  out.swap(popups_);
  return out;
}

std::vector<std::string> RecordingView::TakeEvents() {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<std::string> out;
  out.swap(events_);
  return out;
}

bool RecordingView::Shown(const std::string& label) {
  std::lock_guard<std::mutex> lock(mu_);
  for (const std::string& l : shown_) {
    if (l.size() >= label.size() && l.compare(l.size() - label.size(), label.size(), label) == 0) return true;
  }
  return false;
}

void RecordingView::Forget() {
  std::lock_guard<std::mutex> lock(mu_);
  shown_.clear();
}

void RecordingView::OnBox(std::function<void(const Box&)> hook) {
  std::lock_guard<std::mutex> lock(mu_);
  onBox_ = std::move(hook);
}

void RecordingView::OnOpen(std::function<void(const std::string&)> hook) {
  std::lock_guard<std::mutex> lock(mu_);
  onOpen_ = std::move(hook);
}

}  // namespace qx::testing
