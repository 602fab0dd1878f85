// The ACCEPT loop; see accept.h.
#include "runtime/win/accept.h"

#include <vector>

#include "runtime/sys/runtime_lock.h"
#include "runtime/win/model.h"

namespace qx {
namespace {

// One loop of the calling thread: the window it runs on and its current event.
struct AcceptContext {
  explicit AcceptContext(LONG w = 0) : window(w) {}
  LONG window = 0;
  Event current;
  bool inPass = false;
  bool ended = false;
  bool lastPass = false;  // the current event is the window's EVENT:CloseDown
};

thread_local std::vector<AcceptContext> tContexts;

// Process-wide, as the programs read it (a new thread sees the last key of the program);
// touched by program threads only, under the runtime lock.
LONG gLastKeyCode = 0;
LONG gLastKeyChar = 0;

AcceptContext* Top() { return tContexts.empty() ? nullptr : &tContexts.back(); }

// With the model mutex held: the next event of `w`, if one is ready. Takes it off the queue.
bool TakeEvent(Model& m, WindowModel& w, AcceptContext& ctx, Event& out) {
  if (w.closeDownPending) {
    w.closeDownPending = false;
    out = Event{};
    out.number = kEventCloseDown;
    ctx.lastPass = true;
    return true;
  }
  if (!w.open) return false;
  if (w.openPending) {
    w.openPending = false;
    out = Event{};
    out.number = kEventOpenWindow;
    return true;
  }
  if (w.acceptAll) {
    while (w.acceptAllNext < w.controls.size()) {
      Control& c = *w.controls[w.acceptAllNext++];
      if (c.InAcceptAll() && !c.disabled() && !c.hidden()) {
        out = Event{};
        out.number = kEventAccepted;
        out.field = c.field();
        return true;
      }
    }
    w.acceptAll = false;
    out = Event{};
    out.number = kEventCompleted;
    m.Touch();
    return true;
  }
  if (w.queue.empty()) return false;
  out = w.queue.front();
  w.queue.pop_front();
  return true;
}

void EndPass(AcceptContext& ctx, LONG result) {
  if (!ctx.inPass) return;
  ctx.inPass = false;
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w = m.FindWindow(ctx.window);
  if (ctx.lastPass) {
    ctx.ended = true;
    if (w) m.CloseOpenWindow(t, *w);
    return;
  }
  if (w == nullptr) return;
  if (result != 0 && w->acceptAll) {
    w->acceptAll = false;
    m.Touch();
  }
  if (ctx.current.number == kEventCloseWindow && result == 0 && w->open) {
    m.CloseOpenWindow(t, *w);
    w->closeDownPending = true;
  }
}

}  // namespace

bool RtAccept() {
  const LONG thread = CurrentProgramThread();
  AcceptContext* ctx = Top();
  // A loop that has ended stays ended until RtExitAccept leaves it (or a new window opens).
  if (ctx && ctx->ended) return false;
  {
    ModelTransaction t;
    Model& m = t.model();
    WindowModel* current = m.CurrentWindowOf(thread);
    const WindowModel* own = ctx ? m.FindWindow(ctx->window) : nullptr;
    // Continue the innermost loop while its window is the current one, and to deliver its
    // last events once it has closed; a later window opened inside a pass starts a loop of
    // its own.
    const bool continuing =
        ctx && (current == nullptr || own == nullptr || own == current || own->closeDownPending || !own->open);
    if (!continuing) {
      if (current == nullptr) return false;
      tContexts.push_back(AcceptContext{current->id});
      ctx = Top();
    }
  }
  if (ctx->inPass) EndPass(*ctx, 0);
  if (ctx->ended) return false;
  Model& m = Model::Get();
  for (;;) {
    Event e;
    bool got = false;
    bool over = false;
    {
      ModelTransaction t;
      WindowModel* w = m.FindWindow(ctx->window);
      if (w == nullptr) {
        over = true;
      } else if (TakeEvent(m, *w, *ctx, e)) {
        got = true;
        // The control's screen value reaches its USE variable as its EVENT:Accepted is taken.
        // A value the control refuses becomes EVENT:Rejected: the control keeps (or gets
        // back) the focus, and an accept-all pass stops there.
        if (e.number == kEventAccepted && e.field != 0) {
          Control* c = w->Find(e.field);
          const std::string shown = c ? c->text() : std::string();
          if (c && !c->Accept()) {
            e.number = kEventRejected;
            RevealControl(*c);
            if (c->TakesFocus()) {
              w->focus = c->field();
              c->SelectAll();
            }
            w->acceptAll = false;
            t.Dirty(w->id);
            m.Touch();
          } else if (c && c->text() != shown) {
            // Taken: the control now shows the value as its picture formats it.
            t.Dirty(w->id);
            m.Touch();
          }
        }
      } else if (!w->open) {
        over = true;
      }
    }
    if (over) {
      ctx->ended = true;
      return false;
    }
    if (got) {
      if (e.fromInput && e.keyCode != 0) {
        gLastKeyCode = e.keyCode;
        gLastKeyChar = e.keyChar;
      }
      ctx->current = e;
      ctx->inPass = true;
      return true;
    }
    WaitOutsideRuntime wait;
    std::unique_lock<std::mutex> lock(m.mu);
    PersonWait person(m, ThreadActivity::kEventWait, ctx->window);
    m.cv.wait(lock, [&] { return m.EventReady(ctx->window); });
  }
}

void DropEndedAcceptLoops() {
  while (!tContexts.empty() && tContexts.back().ended) tContexts.pop_back();
}

void ResetAcceptLoops() { tContexts.clear(); }

void RtEndAcceptPass(LONG result) {
  if (AcceptContext* ctx = Top()) EndPass(*ctx, result);
}

void RtExitAccept(LONG) {
  if (tContexts.empty()) return;
  AcceptContext& ctx = tContexts.back();
  if (ctx.inPass) EndPass(ctx, 0);
  tContexts.pop_back();
}

LONG RtEvent() {
  const AcceptContext* ctx = Top();
  return ctx ? ctx->current.number : 0;
}

LONG RtField() {
  const AcceptContext* ctx = Top();
  return ctx ? ctx->current.field : 0;
}

LONG RtAccepted() {
  const AcceptContext* ctx = Top();
  return ctx && ctx->current.number == kEventAccepted ? ctx->current.field : 0;
}

LONG RtFocus() {
  ModelTransaction t;
  WindowModel* w = t.model().CurrentWindowOf(CurrentProgramThread());
  return w ? w->focus : 0;
}

LONG RtKeyCode() { return gLastKeyCode; }
LONG RtKeyChar() { return gLastKeyChar; }
void RtSetKeyCode(LONG keyCode) { gLastKeyCode = keyCode; }

void RtSelect(LONG field, LONG, LONG) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w = m.CurrentWindowOf(CurrentProgramThread());
  if (w == nullptr) return;
  if (field == 0) {
    w->acceptAll = true;
    w->acceptAllNext = 0;
    m.Touch();
    return;
  }
  const size_t start = w->IndexOf(field);
  // A control on a tab that is not selected: its tab is selected first (a tab itself too).
  if (start < w->controls.size()) {
    RevealControl(*w->controls[start]);
    t.Dirty(w->id);
  }
  for (size_t i = start; i < w->controls.size(); ++i) {
    Control& c = *w->controls[i];
    if (c.area() != ControlArea::kClient && i != start) continue;
    if (c.TakesFocus() && !c.disabled() && c.Visible()) {
      w->focus = c.field();
      c.SelectAll();
      m.ShowControlMessage(t, *w, c.field());
      t.Dirty(w->id);
      m.Touch();
      return;
    }
  }
}

void RtPost(LONG event, LONG field, LONG thread, LONG front) {
  if (thread == 0) thread = CurrentProgramThread();
  if (thread < 0 || thread > kMaxProgramThread) return;
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w = m.CurrentWindowOf(thread);
  if (w == nullptr) return;
  Event e;
  e.number = event;
  e.field = field;
  m.QueueEvent(*w, e, front != 0);
}

}  // namespace qx
