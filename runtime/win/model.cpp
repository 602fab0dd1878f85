// The window model's shared state and the changes every operation shares; see model.h.
#include "runtime/win/model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "runtime/sys/runtime_lock.h"
#include "runtime/text/strings.h"
#include "runtime/win/standard_actions.h"

namespace qx {

Control* WindowModel::Find(LONG field) const {
  for (const auto& c : controls) {
    if (c->field() == field) return c.get();
  }
  return nullptr;
}

size_t WindowModel::IndexOf(LONG field) const {
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i]->field() == field) return i;
  }
  return controls.size();
}

Model& Model::Get() {
  static Model model;
  return model;
}

WindowModel* Model::FindWindow(LONG id) const {
  auto it = windows.find(id);
  return it == windows.end() ? nullptr : it->second.get();
}

WindowModel* Model::CurrentWindowOf(LONG thread) const {
  if (thread < 0 || thread > kMaxProgramThread) return nullptr;
  const auto& open = threadWindows[static_cast<size_t>(thread)];
  return open.empty() ? nullptr : FindWindow(open.back());
}

bool Model::TakesInput(const WindowModel& w) const {
  if (!w.open || w.closeDownPending) return false;
  // A message box is modal to all of the program's windows, whichever thread asked.
  for (const auto& [id, box] : messages) {
    if (!box.answered) return false;
  }
  if (threadMessages[static_cast<size_t>(w.thread)] > 0) return false;
  if (threadPopups[static_cast<size_t>(w.thread)] > 0) return false;
  return CurrentWindowOf(w.thread) == &w;
}

void Model::QueueEvent(WindowModel& w, const Event& e, bool front) {
  if (front) {
    w.queue.push_front(e);
  } else {
    w.queue.push_back(e);
  }
  Touch();
}

void Model::CommitFocusedEdit(WindowModel& w) {
  Control* focused = w.focus != 0 ? w.Find(w.focus) : nullptr;
  if (focused && focused->LeaveWithChange()) {
    Event e;
    e.number = kEventAccepted;
    e.field = focused->field();
    e.fromInput = true;
    QueueEvent(w, e, false);
  }
}

void Model::Activate(ModelTransaction& t, WindowModel& w) {
  if (activeWindow == w.id) return;
  if (WindowModel* old = FindWindow(activeWindow)) {
    // Leaving a window leaves its focused control too: an edit there is accepted, so that
    // the window's next redraw does not throw the person's typing away.
    if (old->open) CommitFocusedEdit(*old);
    t.Dirty(old->id);
  }
  activeWindow = w.id;
  t.Dirty(w.id);
  // One waiting EVENT:GainFocus says it all.
  for (const Event& waiting : w.queue) {
    if (waiting.number == kEventGainFocus) return;
  }
  Event e;
  e.number = kEventGainFocus;
  QueueEvent(w, e, false);
}

void Model::CloseOpenWindow(ModelTransaction& t, WindowModel& w) {
  if (!w.open) return;
  w.open = false;
  w.openPending = false;
  w.closeDownPending = false;
  w.acceptAll = false;
  w.queue.clear();
  auto& list = threadWindows[static_cast<size_t>(w.thread)];
  list.erase(std::remove(list.begin(), list.end(), w.id), list.end());
  LogWindow("close", w);
  t.Closed(w.id);
  t.DirtyAll();
  if (w.kind == "application") {
    // The frame's MDI children close with it: each gets a close request ahead of its
    // waiting events, on its own thread.
    for (auto& [id, child] : windows) {
      if (child->open && child->parent == w.id) {
        Event e;
        e.number = kEventCloseWindow;
        QueueEvent(*child, e, true);
      }
    }
  }
  if (activeWindow == w.id) {
    activeWindow = 0;
    WindowModel* next = CurrentWindowOf(w.thread);
    if (next == nullptr) {
      for (auto& [id, other] : windows) {
        // The current window of its thread (a message box open now does not change which).
        const bool current = other->open && !other->closeDownPending && CurrentWindowOf(other->thread) == other.get();
        if (current && (next == nullptr || other->openSequence > next->openSequence)) {
          next = other.get();
        }
      }
    }
    if (next != nullptr) Activate(t, *next);
  }
  Touch();
}

void Model::AddLog(const std::string& what, LONG window, const std::string& detail) {
  PresentationLogEntry e;
  e.sequence = ++logSequence;
  e.what = what;
  e.window = window;
  e.detail = detail;
  log.push_back(std::move(e));
  while (log.size() > 200) log.pop_front();
  Touch();
}

void Model::LogWindow(const char* what, const WindowModel& w) {
  AddLog(what, w.id, {});
  PresentationLogEntry& e = log.back();
  e.thread = w.thread;
  e.label = w.desc ? w.desc->label : std::string();
  e.title = w.title;
}

WindowModel* Model::StatusBarFor(WindowModel& w) const {
  if (w.desc && !w.desc->statusBar.empty()) return &w;
  if (w.parent != 0) {
    WindowModel* frame = FindWindow(w.parent);
    if (frame && frame->open && frame->desc && !frame->desc->statusBar.empty()) return frame;
  }
  return nullptr;
}

void Model::ShowControlMessage(ModelTransaction& t, WindowModel& w, LONG field) {
  WindowModel* bar = StatusBarFor(w);
  if (bar == nullptr) return;
  const Control* c = field != 0 ? w.Find(field) : nullptr;
  const std::string text = c ? c->description().message : std::string();
  if (bar->statusTexts.empty()) bar->statusTexts.resize(1);
  if (bar->statusTexts[0] != text) {
    bar->statusTexts[0] = text;
    t.Dirty(bar->id);
    Touch();
  }
}

WindowPresentation Model::Present(const WindowModel& w) const {
  WindowPresentation p;
  p.revision = revision;
  p.id = w.id;
  p.kind = w.kind;
  p.thread = w.thread;
  p.parent = w.parent;
  p.title = w.title;
  p.x = w.x;
  p.y = w.y;
  p.width = w.width;
  p.height = w.height;
  p.minWidth = w.minWidth;
  p.minHeight = w.minHeight;
  if (w.desc) {
    const WindowDescription& d = *w.desc;
    p.module = d.module;
    p.label = d.label;
    p.centred = d.centred || (!w.x && !w.y);
    p.font = d.font;
    p.frame = d.frame;
    p.background = d.background;
    p.icon = d.icon;
    p.wallpaper = d.wallpaper;
    p.statusWidths = d.statusBar;
    p.hasToolbar = d.toolbar.present;
    p.toolbar = d.toolbar.at;
  }
  p.statusTexts = w.statusTexts;
  p.statusTexts.resize(p.statusWidths.size());
  for (const auto& c : w.controls) {
    ControlPresentation cp;
    c->Present(cp);
    cp.focused = c->field() == w.focus && w.focus != 0;
    p.controls.push_back(std::move(cp));
  }
  if (w.kind == "application") {
    std::vector<const WindowModel*> kids;
    for (const auto& [id, child] : windows) {
      if (child->open && child->parent == w.id) kids.push_back(child.get());
    }
    std::sort(kids.begin(), kids.end(), [](auto a, auto b) { return a->openSequence < b->openSequence; });
    for (const WindowModel* k : kids) p.children.push_back({k->id, k->title});
    p.arrangedOrder = w.arrangedOrder;
    p.arrangement = w.arrangement;
  }
  p.focus = w.focus;
  p.takesInput = TakesInput(w);
  p.active = activeWindow == w.id;
  p.waitCursor = waitCursor;
  return p;
}

MessagePresentation Model::PresentMessage(const MessageState& m) const {
  MessagePresentation p = m.box;
  p.revision = revision;
  return p;
}

void Model::OpenNotice(ModelTransaction& t, const std::string& text, const std::string& caption, LONG icon) {
  MessageState m;
  m.box.id = nextMessageId++;
  m.box.thread = 0;
  m.box.text = text;
  m.box.caption = caption;
  m.box.icon.systemIcon = icon;
  m.box.buttons = kButtonOk;
  m.box.defaultButton = kButtonOk;
  m.notice = true;
  const LONG id = m.box.id;
  messages[id] = std::move(m);
  t.MessageOpened(id);
  t.DirtyAll();  // no window takes input while it is open
  Touch();
}

namespace {

// How far each cascaded child window lies right of and below the one before, in dialog units.
constexpr LONG kCascadeStepX = 6;
constexpr LONG kCascadeStepY = 12;

// The client area of a frame, in dialog units, where its children are arranged.
void ClientArea(const WindowModel& frame, LONG& top, LONG& width, LONG& height) {
  top = 0;
  if (frame.desc && frame.desc->toolbar.present) top = frame.desc->toolbar.at.height.value_or(0);
  width = frame.width;
  height = frame.height - top - (frame.desc && !frame.desc->statusBar.empty() ? 10 : 0);
  if (height < 1) height = 1;
}

// What the caption and border of `child` add to its size: as the view reported it, else as
// for the frame's other children (they are drawn alike), else nothing.
std::pair<LONG, LONG> DecorationOf(const Model& m, const WindowModel& child) {
  if (child.decoration) return *child.decoration;
  const WindowModel* like = nullptr;
  for (const auto& [id, other] : m.windows) {
    if (other->open && other->parent == child.parent && other->decoration &&
        (like == nullptr || other->openSequence > like->openSequence)) {
      like = other.get();
    }
  }
  return like ? *like->decoration : std::pair<LONG, LONG>{0, 0};
}

// How many steps from the corner a cascaded window of `size` may lie in `room`: as many as
// keep it inside. One that cannot stay inside a step from the corner leaves the workspace
// wherever it lies; it steps through the first third of the room, so that the captions of
// such windows still show one below the other.
LONG CascadeSteps(LONG room, LONG size, LONG step) {
  const LONG inside = (room - size) / step;
  return inside >= 1 ? inside : std::max<LONG>(1, room / (3 * step));
}

// The place of a cascaded child after one at (x, y): a step right and down, or the top-left
// corner when that step is one too many (CascadeSteps).
void NextCascadeSpot(const Model& m, const WindowModel& frame, const WindowModel& child, LONG& x, LONG& y) {
  LONG top, cw, ch;
  ClientArea(frame, top, cw, ch);
  const auto [dw, dh] = DecorationOf(m, child);
  const LONG steps = std::min(CascadeSteps(cw, child.width + dw, kCascadeStepX),
                              CascadeSteps(ch, child.height + dh, kCascadeStepY));
  x += kCascadeStepX;
  y += kCascadeStepY;
  if (x > steps * kCascadeStepX || y > steps * kCascadeStepY) x = y = 0;
}

void Place(Model& m, ModelTransaction& t, WindowModel& w, LONG x, LONG y, LONG width, LONG height) {
  width = std::max(width, w.minWidth);
  height = std::max(height, w.minHeight);
  const bool moved = !w.x || !w.y || *w.x != x || *w.y != y;
  const bool sized = w.width != width || w.height != height;
  w.x = x;
  w.y = y;
  w.width = width;
  w.height = height;
  t.Dirty(w.id);
  if (w.desc && w.desc->sizeEvents) {
    Event e;
    if (moved) {
      e.number = kEventMoved;
      m.QueueEvent(w, e, false);
    }
    if (sized) {
      e.number = kEventSized;
      m.QueueEvent(w, e, false);
    }
  }
  m.Touch();
}

}  // namespace

void Model::RunStandardAction(ModelTransaction& t, WindowModel& w, LONG action, LONG field,
                              const std::optional<std::string>& viewClipboard) {
  // The focused control for the clipboard actions: in a frame, the one of its active child.
  WindowModel* target = &w;
  if (w.kind == "application") {
    WindowModel* a = FindWindow(activeWindow);
    if (a && a->parent == w.id) target = a;
  }
  Control* focused = target->Find(target->focus);
  switch (action) {
    case kStdClose: {
      Event e;
      e.number = kEventCloseWindow;
      QueueEvent(w, e, false);
      return;
    }
    case kStdPrintSetup:
      AddLog("print-setup", w.id, {});
      t.Call([id = w.id](View& v) { v.ShowPrintSetup(id); });
      return;
    case kStdCut:
    case kStdCopy:
    case kStdPaste: {
      // On the selection, as the control's own keys in a view act.
      if (focused == nullptr || !focused->Editable() || focused->disabled()) return;
      const bool changes = action != kStdCopy;
      if (changes && focused->description().readOnly) return;
      if (action == kStdPaste) {
        focused->ReplaceSelection(viewClipboard ? *viewClipboard : clipboard);
        AddLog("clipboard", target->id, "paste");
      } else {
        if (focused->selectionStart() == focused->selectionEnd()) return;  // nothing selected
        clipboard = focused->SelectedText();
        if (action == kStdCut) focused->ReplaceSelection({});
        AddLog("clipboard", target->id, action == kStdCut ? "cut" : "copy");
        t.Call([text = clipboard](View& v) { v.SetClipboard(text); });
      }
      t.Dirty(target->id);
      return;
    }
    case kStdTile:
    case kStdCascade: {
      std::vector<WindowModel*> kids;
      for (auto& [id, child] : windows) {
        if (child->open && child->parent == w.id) kids.push_back(child.get());
      }
      std::sort(kids.begin(), kids.end(), [](auto a, auto b) { return a->openSequence < b->openSequence; });
      if (kids.empty()) return;
      LONG top, cw, ch;
      ClientArea(w, top, cw, ch);
      if (action == kStdCascade) {
        // The active child ends in front, last; each one lies over the one before, below
        // its caption.
        std::stable_partition(kids.begin(), kids.end(), [&](const WindowModel* k) { return k->id != activeWindow; });
        LONG x = 0, y = 0;
        w.arrangedOrder.clear();
        for (WindowModel* k : kids) {
          if (k != kids.front()) NextCascadeSpot(*this, w, *k, x, y);
          Place(*this, t, *k, x, y, k->width, k->height);
          w.arrangedOrder.push_back(k->id);
        }
        ++w.arrangement;
        t.Dirty(w.id);
      } else {
        // Each child, its caption and border included, fills its cell.
        const LONG n = static_cast<LONG>(kids.size());
        LONG cols = 1;
        while (cols * cols < n) ++cols;
        const LONG rows = (n + cols - 1) / cols;
        for (LONG i = 0; i < n; ++i) {
          const LONG r = i / cols, c = i % cols;
          WindowModel& k = *kids[static_cast<size_t>(i)];
          const auto [dw, dh] = DecorationOf(*this, k);
          Place(*this, t, k, c * (cw / cols), r * (ch / rows), cw / cols - dw, ch / rows - dh);
        }
      }
      AddLog(action == kStdTile ? "tile" : "cascade", w.id, {});
      return;
    }
    case kStdArrangeIcons:
      AddLog("arrange-icons", w.id, {});
      t.Call([id = w.id](View& v) { v.ArrangeIcons(id); });
      return;
    case kStdHelpContents:
    case kStdHelpOnHelp:
    case kStdHelpSearch:
    case kStdContextHelp:
      OpenNotice(t, kNoHelpFileText, kNoHelpFileCaption, kIconInformation);
      return;
    default:
      (void)field;
      return;
  }
}

void Model::PlaceNewChild(WindowModel& child) {
  const WindowModel* frame = FindWindow(child.parent);
  if (frame == nullptr) return;
  const WindowModel* last = nullptr;
  for (const auto& [id, other] : windows) {
    if (other.get() != &child && other->open && other->parent == child.parent && other->x && other->y &&
        (last == nullptr || other->openSequence > last->openSequence)) {
      last = other.get();
    }
  }
  LONG x = 0, y = 0;
  if (last != nullptr) {
    x = *last->x;
    y = *last->y;
    NextCascadeSpot(*this, *frame, child, x, y);
  }
  child.x = x;
  child.y = y;
}

void Completion::Done() {
  std::lock_guard<std::mutex> lock(mu_);
  done_ = true;
  cv_.notify_all();
}

bool Completion::Wait(int timeoutMs) {
  std::unique_lock<std::mutex> lock(mu_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return done_; });
}

ModelTransaction::ModelTransaction() : model_(Model::Get()), lock_(model_.mu) {}

ModelTransaction::~ModelTransaction() {
  if (!committed_) Commit();
}

void ModelTransaction::DirtyAll() {
  for (const auto& [id, w] : model_.windows) {
    if (w->open) dirty_.insert(id);
  }
}

std::shared_ptr<Completion> ModelTransaction::Commit() {
  committed_ = true;
  View* view = model_.view;
  if (view == nullptr) {
    lock_.unlock();
    return nullptr;
  }
  // Copies are made under the model mutex; the view is called after it is released, under
  // flushMu so that calls reach the view in the order of the changes.
  std::vector<std::function<void(View&)>> calls;
  std::shared_ptr<Completion> drawn;
  for (LONG id : closed_) calls.push_back([id](View& v) { v.CloseWindow(id); });
  for (LONG id : dirty_) {
    const WindowModel* w = model_.FindWindow(id);
    if (w == nullptr || !w->open) continue;
    WindowPresentation p = model_.Present(*w);
    DrawnAck ack;
    if (id == ackWindow_) {
      drawn = std::make_shared<Completion>();
      ack = [drawn] { drawn->Done(); };
    }
    calls.push_back([p = std::move(p), ack](View& v) { v.ShowWindow(p, ack); });
  }
  for (LONG id : closedMessages_) calls.push_back([id](View& v) { v.CloseMessage(id); });
  for (LONG id : openedMessages_) {
    auto it = model_.messages.find(id);
    if (it == model_.messages.end()) continue;
    MessagePresentation p = model_.PresentMessage(it->second);
    calls.push_back([p = std::move(p)](View& v) { v.ShowMessage(p); });
  }
  for (LONG id : closedPopups_) calls.push_back([id](View& v) { v.ClosePopup(id); });
  for (LONG id : openedPopups_) {
    auto it = model_.popups.find(id);
    if (it == model_.popups.end()) continue;
    PopupPresentation p = it->second.menu;
    p.revision = model_.revision;
    calls.push_back([p = std::move(p)](View& v) { v.ShowPopup(p); });
  }
  for (auto& c : calls_) calls.push_back(std::move(c));
  if (calls.empty()) {
    lock_.unlock();
    return drawn;
  }
  // A view that calls ViewInput from inside a View call (on the thread that is already
  // calling it) gets its follow-up calls at once, in order, instead of a deadlock.
  thread_local bool tCallingView = false;
  std::unique_lock<std::mutex> flush(model_.flushMu, std::defer_lock);
  if (!tCallingView) flush.lock();
  lock_.unlock();
  const bool outer = !tCallingView;
  tCallingView = true;
  for (auto& c : calls) c(*view);
  if (outer) tCallingView = false;
  return drawn;
}

void WaitForDrawn(const std::shared_ptr<Completion>& drawn) {
  if (!drawn) return;
  WaitOutsideRuntime wait;
  if (!drawn->Wait(30000)) std::fprintf(stderr, "qxrt: the view did not draw a window within 30 s\n");
}

void RtInstallView(View* view) {
  std::lock_guard<std::mutex> lock(Model::Get().mu);
  Model::Get().view = view;
}

bool RtSaveScreenshot(LONG windowId, LONG messageId, const std::string& path, int* width, int* height,
                      std::string* error) {
  View* view = nullptr;
  {
    Model& m = Model::Get();
    std::lock_guard<std::mutex> lock(m.mu);
    view = m.view;
    // Nothing to wait for: what is not open will not be drawn.
    if (windowId != 0) {
      const WindowModel* w = m.FindWindow(windowId);
      if (w == nullptr || !w->open) {
        *error = "window " + std::to_string(windowId) + " is not open";
        return false;
      }
    } else {
      auto it = m.messages.find(messageId);
      if (it == m.messages.end() || it->second.answered) {
        *error = "message box " + std::to_string(messageId) + " is not open";
        return false;
      }
    }
  }
  if (view == nullptr) {
    *error = "no view is installed";
    return false;
  }
  return view->SaveScreenshot(windowId, messageId, path, width, height, error);
}

std::string EventName(LONG number) {
  switch (number) {
    case kEventAccepted: return "EVENT:Accepted";
    case kEventNewSelection: return "EVENT:NewSelection";
    case kEventScrollUp: return "EVENT:ScrollUp";
    case kEventScrollDown: return "EVENT:ScrollDown";
    case kEventPageUp: return "EVENT:PageUp";
    case kEventPageDown: return "EVENT:PageDown";
    case kEventScrollTop: return "EVENT:ScrollTop";
    case kEventScrollBottom: return "EVENT:ScrollBottom";
    case kEventAlertKey: return "EVENT:AlertKey";
    case kEventScrollDrag: return "EVENT:ScrollDrag";
    case kEventTabChanging: return "EVENT:TabChanging";
    case kEventRejected: return "EVENT:Rejected";
    case kEventSelected: return "EVENT:Selected";
    case kEventCloseWindow: return "EVENT:CloseWindow";
    case kEventCloseDown: return "EVENT:CloseDown";
    case kEventOpenWindow: return "EVENT:OpenWindow";
    case kEventGainFocus: return "EVENT:GainFocus";
    case kEventCompleted: return "EVENT:Completed";
    case kEventMoved: return "EVENT:Moved";
    case kEventSized: return "EVENT:Sized";
    default: {
      char unnamed[24];
      std::snprintf(unnamed, sizeof unnamed, "EVENT:%Xh", static_cast<unsigned>(number));
      return unnamed;
    }
  }
}

const char* MessageButtonName(LONG button) {
  switch (button) {
    case kButtonOk: return "OK";
    case kButtonYes: return "Yes";
    case kButtonNo: return "No";
    case kButtonAbort: return "Abort";
    case kButtonRetry: return "Retry";
    case kButtonIgnore: return "Ignore";
    case kButtonCancel: return "Cancel";
    default: return "";
  }
}

LONG MessageButtonByName(std::string_view name) {
  for (LONG b = 1; b <= kButtonCancel; b <<= 1) {
    if (RtSameIgnoringCase(MessageButtonName(b), name)) return b;
  }
  return 0;
}

PresentationState ReadPresentation() {
  Model& m = Model::Get();
  std::lock_guard<std::mutex> lock(m.mu);
  PresentationState s;
  s.revision = m.revision;
  std::vector<const WindowModel*> open;
  for (const auto& [id, w] : m.windows) {
    if (w->open) open.push_back(w.get());
  }
  std::sort(open.begin(), open.end(), [](auto a, auto b) { return a->openSequence < b->openSequence; });
  for (const WindowModel* w : open) s.windows.push_back(m.Present(*w));
  for (const auto& [id, msg] : m.messages) {
    if (!msg.answered) s.messages.push_back(m.PresentMessage(msg));
  }
  for (const auto& [id, popup] : m.popups) {
    if (popup.answered) continue;
    s.popups.push_back(popup.menu);
    s.popups.back().revision = m.revision;
  }
  s.log.assign(m.log.begin(), m.log.end());
  return s;
}

std::uint64_t PresentationRevision() {
  Model& m = Model::Get();
  std::lock_guard<std::mutex> lock(m.mu);
  return m.revision;
}

std::uint64_t WaitPresentationChange(std::uint64_t seen, int timeoutMs) {
  Model& m = Model::Get();
  std::unique_lock<std::mutex> lock(m.mu);
  m.cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m.revision > seen; });
  return m.revision;
}

}  // namespace qx
