// A person's input reaching the model; see view_input.h.
#include "runtime/win/view_input.h"

#include "runtime/win/keycodes.h"
#include "runtime/win/model.h"

namespace qx {
namespace {

class WindowInput : public InputContext {
 public:
  WindowInput(ModelTransaction& t, WindowModel& w) : t_(t), w_(w) {}
  void Queue(const Event& event, bool front) override {
    t_.model().QueueEvent(w_, event, front);
    t_.Dirty(w_.id);
  }
  void RunStandardAction(LONG action, LONG field, const std::optional<std::string>& clipboard) override {
    t_.model().RunStandardAction(t_, w_, action, field, clipboard);
  }
  LONG DefaultButton() const override {
    for (const auto& c : w_.controls) {
      if (c->description().isDefault) return c->field();
    }
    return 0;
  }
  void TakeFocus(LONG field) override {
    if (w_.focus == field) return;
    CommitEdit();
    w_.focus = field;
    Control* now = w_.Find(field);
    if (now) now->SelectAll();
    if (now && now->ReportsSelected()) {
      Event e;
      e.number = kEventSelected;
      e.field = field;
      e.fromInput = true;
      Queue(e, false);
    }
    t_.model().ShowControlMessage(t_, w_, field);
    t_.Dirty(w_.id);
    t_.model().Touch();
  }
  // The focused control, edited since it was shown, is accepted as the person leaves it.
  void CommitEdit() {
    t_.model().CommitFocusedEdit(w_);
    t_.Dirty(w_.id);
  }

 private:
  ModelTransaction& t_;
  WindowModel& w_;
};

// Finds an open window that takes input, and optionally one of its usable controls.
InputResult Reach(Model& m, LONG window, LONG field, WindowModel*& w, Control** c) {
  w = m.FindWindow(window);
  if (w == nullptr || !w->open) return InputResult::kNoSuchWindow;
  if (!m.TakesInput(*w)) return InputResult::kTakesNoInput;
  if (c == nullptr) return InputResult::kDone;
  *c = w->Find(field);
  if (*c == nullptr) return InputResult::kNoSuchControl;
  if ((*c)->disabled() || !(*c)->Visible()) return InputResult::kDisabled;
  return InputResult::kDone;
}

// The control after (or before) the focused one, in creation order and round, that can
// take the focus now; 0 when none.
LONG NextFocus(const WindowModel& w, bool backward) {
  const size_t n = w.controls.size();
  if (n == 0) return 0;
  size_t at = w.IndexOf(w.focus);
  if (at == n) at = backward ? 0 : n - 1;
  for (size_t step = 1; step <= n; ++step) {
    const size_t i = backward ? (at + n - step) % n : (at + step) % n;
    const Control& c = *w.controls[i];
    if (c.area() == ControlArea::kClient && c.TakesFocus() && !c.disabled() && c.Visible()) return c.field();
  }
  return 0;
}

// A person's input to control `field` of `window`: once the control is reached and usable
// and the input's own values are `valid`, `act` handles it and the window counts as
// changed.
template <class Act>
InputResult ToControl(LONG window, LONG field, InputResult valid, Act act) {
  ModelTransaction t;
  WindowModel* w;
  Control* c;
  InputResult r = Reach(t.model(), window, field, w, &c);
  if (r != InputResult::kDone) return r;
  if (valid != InputResult::kDone) return valid;
  WindowInput in(t, *w);
  r = act(in, *c);
  t.Dirty(w->id);
  t.model().Touch();
  return r;
}

}  // namespace

const char* InputResultName(InputResult r) {
  switch (r) {
    case InputResult::kDone: return "done";
    case InputResult::kNoSuchWindow: return "no such window";
    case InputResult::kNoSuchControl: return "no such control";
    case InputResult::kNoSuchMessage: return "no such message box";
    case InputResult::kNoSuchPopup: return "no such popup menu";
    case InputResult::kTakesNoInput: return "the window takes no input now";
    case InputResult::kDisabled: return "the control is disabled or hidden";
    case InputResult::kNotApplicable: return "the control does not take that input";
    case InputResult::kBadValue: return "bad value";
  }
  return "?";
}

InputResult ViewInput::Press(LONG window, LONG field, std::optional<std::string> clipboard) {
  ModelTransaction t;
  WindowModel* w;
  Control* c;
  InputResult r = Reach(t.model(), window, field, w, &c);
  if (r != InputResult::kDone) return r;
  WindowInput in(t, *w);
  // Clicking a button moves the focus to it first: an entry being left is accepted before
  // the button's own event.
  if (c->TakesFocus()) in.TakeFocus(field);
  r = c->OnPress(in, clipboard);
  t.Dirty(w->id);
  return r;
}

InputResult ViewInput::Type(LONG window, LONG field, std::string_view text, bool accept) {
  return ToControl(window, field, InputResult::kDone, [&](WindowInput& in, Control& c) {
    // A person types into the control that has the focus.
    if (c.Editable() && c.TakesFocus()) in.TakeFocus(field);
    return c.OnType(in, text, accept);
  });
}

InputResult ViewInput::Key(LONG window, LONG field, LONG keyCode, LONG keyChar) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w;
  InputResult r = Reach(m, window, 0, w, nullptr);
  if (r != InputResult::kDone) return r;
  const bool focused = field == 0;
  if (focused) field = w->focus;
  Control* c = field != 0 ? w->Find(field) : nullptr;
  if (c != nullptr && (c->disabled() || !c->Visible())) {
    if (!focused) return InputResult::kDisabled;
    c = nullptr;  // a control disabled while it had the focus holds it no longer
  }
  WindowInput in(t, *w);
  if (c != nullptr && c->IsAlertKey(keyCode)) {
    Event e;
    e.number = kEventAlertKey;
    e.field = field;
    e.keyCode = keyCode;
    e.keyChar = keyChar;
    e.fromInput = true;
    in.Queue(e, false);
    return InputResult::kDone;
  }
  if (keyCode == kKeyEnter) {
    const LONG def = in.DefaultButton();
    Control* button = def != 0 ? w->Find(def) : nullptr;
    if (button && !button->disabled() && button->Visible()) {
      if (c != nullptr && c->field() == w->focus) in.CommitEdit();
      return button->OnPress(in, std::nullopt);
    }
  }
  if (keyCode == kKeyTab || keyCode == (kKeyShiftBit | kKeyTab)) {
    const LONG next = NextFocus(*w, keyCode != kKeyTab);
    if (next == 0) return InputResult::kNotApplicable;
    in.TakeFocus(next);
    return InputResult::kDone;
  }
  if (c == nullptr) return InputResult::kNotApplicable;
  return c->OnKey(in, keyCode, keyChar);
}

InputResult ViewInput::Click(LONG window, LONG field, LONG item, LONG button, LONG clicks) {
  const bool valid = (button == kKeyLeftMouse || button == kKeyRightMouse) && (clicks == 1 || clicks == 2);
  const LONG code = clicks == 2 ? (button == kKeyLeftMouse ? kKeyMouseLeft2 : kKeyMouseRight2) : button;
  return ToControl(window, field, valid ? InputResult::kDone : InputResult::kBadValue,
                   [&](WindowInput& in, Control& c) { return c.OnClick(in, item, code); });
}

InputResult ViewInput::Scroll(LONG window, LONG field, ScrollPart part) {
  return ToControl(window, field, InputResult::kDone,
                   [&](WindowInput& in, Control& c) { return c.OnScroll(in, part); });
}

InputResult ViewInput::Thumb(LONG window, LONG field, LONG position) {
  const bool valid = position >= 0 && position <= 100;
  return ToControl(window, field, valid ? InputResult::kDone : InputResult::kBadValue,
                   [&](WindowInput& in, Control& c) { return c.OnThumb(in, position); });
}

InputResult ViewInput::ColumnWidth(LONG window, LONG field, LONG column, LONG width) {
  return ToControl(window, field, InputResult::kDone,
                   [&](WindowInput&, Control& c) { return c.OnColumnWidth(column, width); });
}

InputResult ViewInput::Close(LONG window) {
  ModelTransaction t;
  WindowModel* w;
  InputResult r = Reach(t.model(), window, 0, w, nullptr);
  if (r != InputResult::kDone) return r;
  Event e;
  e.number = kEventCloseWindow;
  e.fromInput = true;
  t.model().QueueEvent(*w, e, false);
  return InputResult::kDone;
}

InputResult ViewInput::Resize(LONG window, LONG width, LONG height) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w;
  InputResult r = Reach(m, window, 0, w, nullptr);
  if (r != InputResult::kDone) return r;
  if (width <= 0 || height <= 0) return InputResult::kBadValue;
  width = std::max(width, w->minWidth);
  height = std::max(height, w->minHeight);
  t.Dirty(w->id);
  if (width == w->width && height == w->height) return InputResult::kDone;
  w->width = width;
  w->height = height;
  if (w->desc && w->desc->sizeEvents) {
    Event e;
    e.number = kEventSized;
    m.QueueEvent(*w, e, false);
  }
  m.Touch();
  return InputResult::kDone;
}

InputResult ViewInput::Move(LONG window, LONG x, LONG y) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w;
  InputResult r = Reach(m, window, 0, w, nullptr);
  if (r != InputResult::kDone) return r;
  if (w->x && w->y && *w->x == x && *w->y == y) return InputResult::kDone;
  w->x = x;
  w->y = y;
  t.Dirty(w->id);
  if (w->desc && w->desc->sizeEvents) {
    Event e;
    e.number = kEventMoved;
    m.QueueEvent(*w, e, false);
  }
  m.Touch();
  return InputResult::kDone;
}

InputResult ViewInput::Activate(LONG window) {
  ModelTransaction t;
  WindowModel* w;
  InputResult r = Reach(t.model(), window, 0, w, nullptr);
  if (r != InputResult::kDone) return r;
  t.model().Activate(t, *w);
  return InputResult::kDone;
}

InputResult ViewInput::Focus(LONG window, LONG field) {
  ModelTransaction t;
  WindowModel* w;
  Control* c;
  InputResult r = Reach(t.model(), window, field, w, &c);
  if (r != InputResult::kDone) return r;
  if (!c->TakesFocus()) return InputResult::kNotApplicable;
  WindowInput in(t, *w);
  in.TakeFocus(field);
  t.model().ShowControlMessage(t, *w, field);
  t.Dirty(w->id);
  t.model().Touch();
  return InputResult::kDone;
}

InputResult ViewInput::Hover(LONG window, LONG field) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w = m.FindWindow(window);
  if (w == nullptr || !w->open) return InputResult::kNoSuchWindow;
  if (field != 0 && w->Find(field) == nullptr) return InputResult::kNoSuchControl;
  m.ShowControlMessage(t, *w, field);
  return InputResult::kDone;
}

InputResult ViewInput::Select(LONG window, LONG field, LONG start, LONG end) {
  return ToControl(window, field, InputResult::kDone, [&](WindowInput& in, Control& c) {
    if (!c.Editable()) return InputResult::kNotApplicable;
    if (start < 0 || end < start || static_cast<size_t>(end) > c.text().size()) return InputResult::kBadValue;
    if (c.TakesFocus()) in.TakeFocus(field);
    c.Select(static_cast<size_t>(start), static_cast<size_t>(end));
    return InputResult::kDone;
  });
}

InputResult ViewInput::Decoration(LONG window, LONG width, LONG height) {
  ModelTransaction t;
  WindowModel* w = t.model().FindWindow(window);
  if (w == nullptr || !w->open) return InputResult::kNoSuchWindow;
  if (width < 0 || height < 0) return InputResult::kBadValue;
  w->decoration = std::make_pair(width, height);
  return InputResult::kDone;
}

InputResult ViewInput::AnswerMessage(LONG message, LONG button) {
  ModelTransaction t;
  Model& m = t.model();
  auto it = m.messages.find(message);
  if (it == m.messages.end() || it->second.answered) return InputResult::kNoSuchMessage;
  if ((button & it->second.box.buttons) == 0 || (button & (button - 1)) != 0) return InputResult::kBadValue;
  it->second.answered = true;
  it->second.answer = button;
  // A notice of the library's own has nobody waiting for it: the windows take input again.
  if (it->second.notice) {
    m.messages.erase(it);
    t.DirtyAll();
  }
  t.MessageClosed(message);
  m.Touch();
  return InputResult::kDone;
}

}  // namespace qx
