// Message boxes, beep and cursor; see message.h.
#include "runtime/win/message.h"

#include <cstdio>
#include <string>

#include "runtime/sys/runtime_lock.h"
#include "runtime/win/model.h"

namespace qx {
namespace {

LONG FirstButton(LONG buttons) {
  for (LONG b = 1; b <= kButtonCancel; b <<= 1) {
    if (buttons & b) return b;
  }
  return kButtonOk;
}

void WriteToStderr(const MessagePresentation& box, LONG answer) {
  std::string text = box.text;
  for (char& c : text) {
    if (c == '\n') c = '|';
  }
  std::fprintf(stderr, "qxrt message [%s]: %s -> %s\n", box.caption.c_str(), text.c_str(), MessageButtonName(answer));
  std::fflush(stderr);
}

}  // namespace

LONG RtMessage(std::string_view text, std::string_view caption, LONG icon, LONG buttons, LONG defaultButton, LONG) {
  buttons &= (kButtonCancel << 1) - 1;
  if (buttons == 0) buttons = kButtonOk;
  if ((defaultButton & buttons) == 0 || (defaultButton & (defaultButton - 1)) != 0) defaultButton = FirstButton(buttons);
  MessagePresentation box;
  box.thread = CurrentProgramThread();
  box.text.assign(text);
  for (char& c : box.text) {
    if (c == '|') c = '\n';
  }
  box.caption.assign(caption);
  box.icon.systemIcon = icon;
  box.buttons = buttons;
  box.defaultButton = defaultButton;

  LONG id = 0;
  {
    ModelTransaction t;
    Model& m = t.model();
    if (m.view == nullptr) {
      t.Commit();
      WriteToStderr(box, defaultButton);
      return defaultButton;
    }
    id = m.nextMessageId++;
    box.id = id;
    MessageState state;
    state.box = box;
    m.messages[id] = state;
    m.threadMessages[static_cast<size_t>(box.thread)]++;
    t.DirtyAll();  // the thread's windows now take no input
    t.MessageOpened(id);
    m.Touch();
  }
  LONG answer = defaultButton;
  {
    WaitOutsideRuntime wait;
    Model& m = Model::Get();
    std::unique_lock<std::mutex> lock(m.mu);
    PersonWait person(m, ThreadActivity::kMessageWait, id);
    m.cv.wait(lock, [&] { return m.messages[id].answered; });
  }
  {
    ModelTransaction t;
    Model& m = t.model();
    answer = m.messages[id].answer;
    m.messages.erase(id);
    m.threadMessages[static_cast<size_t>(box.thread)]--;
    t.DirtyAll();
    m.Touch();
  }
  return answer;
}

void RtBeep(LONG sound, LONG) {
  ModelTransaction t;
  t.model().AddLog("beep", 0, std::to_string(sound));
  t.Call([sound](View& v) { v.Beep(sound); });
}

void RtSetCursor(LONG cursor) {
  ModelTransaction t;
  Model& m = t.model();
  const bool wait = cursor == kCursorWait;
  if (m.waitCursor == wait) return;
  m.waitCursor = wait;
  m.AddLog("cursor", 0, wait ? "wait" : "normal");
  t.DirtyAll();
}

}  // namespace qx
