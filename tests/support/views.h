// Views for the tests that run program code in-process, without a screen: one that draws
// every window at once and leaves message boxes open, and one that also records what it
// is shown and answers boxes and popup menus from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "runtime/win/presentation.h"
#include "runtime/win/view.h"

namespace qx::testing {

// A message box as it was shown, in the order of RtMessage's arguments.
struct Box {
  std::string text, caption;
  LONG icon = 0, buttons = 0, defaultButton = 0;
  bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b);

// The halt box RtHalt shows before the program ends.
Box HaltBox(const std::string& text);

// Expects the boxes `seen` to be `expected`, field by field; `what` names the case.
void ExpectBoxes(const std::vector<Box>& seen, const std::vector<Box>& expected, const std::string& what);

// Every window counts as drawn at once; message boxes stay open until someone else answers
// them (the test through ViewInput, or the automation channel); popup menus get the View's
// own handling (dismissed at once).
class InstantView : public View {
 public:
  void Run() override {}
  void Stop() override {}
  void ShowWindow(const WindowPresentation&, DrawnAck drawn) override {
    if (drawn) drawn();
  }
  void CloseWindow(LONG) override {}
  void ShowMessage(const MessagePresentation&) override {}
  void CloseMessage(LONG) override {}
};

// An InstantView that records the windows, boxes and popup menus it is shown. Boxes and
// popup menus are each answered from inside the call that shows them (kAtOnce), with the
// next scripted answer (when none is left a box takes its default button and a popup is
// dismissed), or left open for someone else to answer (kLeftOpen).
enum class Answers { kAtOnce, kLeftOpen };

class RecordingView : public InstantView {
 public:
  explicit RecordingView(Answers boxes = Answers::kAtOnce, Answers popups = Answers::kAtOnce)
      : boxAnswering_(boxes), popupAnswering_(popups) {}

  void ShowWindow(const WindowPresentation& w, DrawnAck drawn) override;
  void CloseWindow(LONG id) override;
  void ShowMessage(const MessagePresentation& m) override;
  void ShowPopup(const PopupPresentation& p) override;

  // Answers for the next boxes (button values) and popup menus (item numbers).
  void AnswerBoxes(std::vector<LONG> answers);
  void AnswerPopups(std::vector<LONG> answers);
  // The boxes and popup menus shown since the last call.
  std::vector<Box> TakeBoxes();
  std::vector<PopupPresentation> TakePopups();
  // "open LABEL" as a window first shows and "close LABEL" as it goes, since the last call.
  std::vector<std::string> TakeEvents();
  // Whether a window whose "module/label" ends with `label` was shown since Forget.
  bool Shown(const std::string& label);
  void Forget();

  // Runs while a box waits for its answer (with kAtOnce), on the thread that showed it.
  void OnBox(std::function<void(const Box&)> hook);
  // Runs as a window first shows, on the thread that opens it.
  void OnOpen(std::function<void(const std::string& label)> hook);

 private:
  const Answers boxAnswering_, popupAnswering_;
  std::mutex mu_;
  std::map<LONG, std::string> labels_;  // of the windows shown and not closed, by id
  std::vector<std::string> events_;
  std::set<std::string> shown_;  // "module/label"
  std::vector<Box> boxes_;
  std::vector<PopupPresentation> popups_;
  std::deque<LONG> boxAnswers_, popupAnswers_;
  std::function<void(const Box&)> onBox_;
  std::function<void(const std::string&)> onOpen_;
};

}  // namespace qx::testing
