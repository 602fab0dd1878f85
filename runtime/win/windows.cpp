// Window objects and their properties; see windows.h.
#include "runtime/win/windows.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/win/accept.h"
#include "runtime/win/control_kinds.h"
#include "runtime/win/model.h"
#include "runtime/win/properties.h"

namespace qx {
namespace {

void AddControl(WindowModel& w, const ControlDescription& d, ControlArea area, Control* parent) {
  std::unique_ptr<Control> c = CreateControl(d, area, parent ? parent->field() : 0);
  if (!c) c = std::make_unique<Control>(d, area, parent ? parent->field() : 0);
  Control* added = c.get();
  if (parent) parent->Adopt(added);
  w.controls.push_back(std::move(c));
  for (const ControlDescription& item : d.items) AddControl(w, item, area, added);
}

void NewWindow(WindowRef& ref, std::string_view module, std::string_view label, const char* kind,
               std::initializer_list<UseVariable> variables) {
  const WindowDescription* desc = FindWindowDescription(module, label);
  if (desc == nullptr) {
    std::fprintf(stderr, "qxrt: no window \"%.*s\" in the descriptions of module \"%.*s\"\n",
                 static_cast<int>(label.size()), label.data(), static_cast<int>(module.size()), module.data());
    ref.id = 0;
    return;
  }
  auto w = std::make_unique<WindowModel>();
  w->kind = kind;
  w->desc = desc;
  w->title = desc->title;
  w->x = desc->at.x;
  w->y = desc->at.y;
  w->width = desc->at.width.value_or(0);
  w->height = desc->at.height.value_or(0);
  for (const ControlDescription& d : desc->menuBar) AddControl(*w, d, ControlArea::kMenuBar, nullptr);
  for (const ControlDescription& d : desc->toolbar.controls) AddControl(*w, d, ControlArea::kToolbar, nullptr);
  for (const ControlDescription& d : desc->controls) AddControl(*w, d, ControlArea::kClient, nullptr);
  for (auto& c : w->controls) c->Attach(*desc);
  auto var = variables.begin();
  for (auto& c : w->controls) {
    if (var == variables.end()) break;
    if (c->ConsumesVariable()) c->Bind(*var++);
  }
  ModelTransaction t;
  Model& m = t.model();
  w->id = m.nextWindowId++;
  ref.id = w->id;
  m.windows[w->id] = std::move(w);
}

WindowModel* Resolve(Model& m, const WindowRef* ref) {
  if (ref == nullptr) return m.CurrentWindowOf(CurrentProgramThread());
  return m.FindWindow(ref->id);
}

std::string GetProp(const WindowRef* ref, LONG field, LONG property, LONG index) {
  ModelTransaction t;
  WindowModel* w = Resolve(t.model(), ref);
  if (w == nullptr) return {};
  if (field != 0) {
    Control* c = w->Find(field);
    std::string value;
    if (c && c->GetProperty(property, index, value)) return value;
    return {};
  }
  switch (property) {
    case kPropText: return w->title;
    case kPropXPos: return w->x ? std::to_string(*w->x) : std::string();
    case kPropYPos: return w->y ? std::to_string(*w->y) : std::string();
    case kPropWidth: return std::to_string(w->width);
    case kPropHeight: return std::to_string(w->height);
    case kPropMinWidth: return std::to_string(w->minWidth);
    case kPropMinHeight: return std::to_string(w->minHeight);
    case kPropAcceptAll: return TruthText(w->acceptAll);
    case kPropStatusText:
      return index >= 1 && static_cast<size_t>(index) <= w->statusTexts.size()
                 ? w->statusTexts[static_cast<size_t>(index - 1)]
                 : std::string();
    default: return {};
  }
}

void SetProp(const WindowRef* ref, LONG field, LONG property, std::string_view value, LONG index) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w = Resolve(m, ref);
  if (w == nullptr) return;
  const LONG n = std::atoi(std::string(value).c_str());
  if (field != 0) {
    Control* c = w->Find(field);
    if (c && c->SetProperty(property, index, value)) {
      t.Dirty(w->id);
      m.Touch();
    }
    return;
  }
  switch (property) {
    case kPropText: w->title = std::string(value); break;
    case kPropXPos: w->x = n; break;
    case kPropYPos: w->y = n; break;
    case kPropWidth: w->width = std::max(n, w->minWidth); break;
    case kPropHeight: w->height = std::max(n, w->minHeight); break;
    case kPropMinWidth: w->minWidth = n; break;
    case kPropMinHeight: w->minHeight = n; break;
    case kPropStatusText:
      if (index >= 1) {
        if (w->statusTexts.size() < static_cast<size_t>(index)) w->statusTexts.resize(static_cast<size_t>(index));
        w->statusTexts[static_cast<size_t>(index - 1)] = std::string(value);
      }
      break;
    default: return;
  }
  t.DirtyAll();  // a title shows in the frame's window list too
  m.Touch();
}

}  // namespace

void RtNewWindow(WindowRef& window, std::string_view module, std::string_view label,
                 std::initializer_list<UseVariable> variables) {
  NewWindow(window, module, label, "window", variables);
}

void RtNewAppFrame(WindowRef& window, std::string_view module, std::string_view label,
                   std::initializer_list<UseVariable> variables) {
  NewWindow(window, module, label, "application", variables);
}

void RtNewMdiWindow(WindowRef& window, std::string_view module, std::string_view label,
                    std::initializer_list<UseVariable> variables) {
  NewWindow(window, module, label, "mdi", variables);
}

void RtOpenWindow(const WindowRef& window) {
  DropEndedAcceptLoops();
  std::shared_ptr<Completion> drawn;
  {
    ModelTransaction t;
    Model& m = t.model();
    WindowModel* w = m.FindWindow(window.id);
    if (w == nullptr || w->open) return;
    w->thread = CurrentProgramThread();
    w->parent = 0;
    if (w->kind == "mdi") {
      // The frame it opens in: the application frame opened last that is still open.
      const WindowModel* frame = nullptr;
      for (const auto& [id, other] : m.windows) {
        if (other->open && other->kind == "application" && (!frame || other->openSequence > frame->openSequence)) {
          frame = other.get();
        }
      }
      if (frame) w->parent = frame->id;
      if (frame && !w->desc->centred && (!w->x || !w->y)) m.PlaceNewChild(*w);
    }
    // A child whose frame has closed already (its thread was slower than the frame's
    // close) would wait for input no one can give it: it is asked to close at once, as the
    // frame's open children were when it closed.
    const bool orphan = w->kind == "mdi" && w->parent == 0;
    w->open = true;
    w->closeDownPending = false;
    w->openSequence = ++m.openCounter;
    w->queue.clear();
    w->acceptAll = false;
    w->statusTexts.assign(w->desc->statusBar.size(), std::string());
    m.threadWindows[static_cast<size_t>(w->thread)].push_back(w->id);
    m.LogWindow("open", *w);
    for (auto& c : w->controls) c->Display();
    w->focus = 0;
    for (auto& c : w->controls) {
      if (c->area() == ControlArea::kClient && c->TakesFocus() && !c->disabled() && c->Visible()) {
        w->focus = c->field();
        c->SelectAll();
        break;
      }
    }
    w->openPending = true;
    if (orphan) {
      Event close;
      close.number = kEventCloseWindow;
      m.QueueEvent(*w, close, false);
    }
    m.Activate(t, *w);
    t.DirtyAll();
    t.WantDrawn(w->id);
    m.Touch();
    drawn = t.Commit();
  }
  WaitForDrawn(drawn);
}

void RtCloseWindow(const WindowRef& window) {
  ModelTransaction t;
  WindowModel* w = t.model().FindWindow(window.id);
  if (w != nullptr) t.model().CloseOpenWindow(t, *w);
}

void RtDisposeWindow(WindowRef& window) {
  {
    ModelTransaction t;
    Model& m = t.model();
    WindowModel* w = m.FindWindow(window.id);
    if (w != nullptr) {
      m.CloseOpenWindow(t, *w);
      m.windows.erase(window.id);
      m.Touch();
    }
  }
  window.id = 0;
}

void RtDisplay(LONG first, LONG last) {
  std::shared_ptr<Completion> drawn;
  {
    ModelTransaction t;
    Model& m = t.model();
    WindowModel* w = m.CurrentWindowOf(CurrentProgramThread());
    if (w == nullptr) return;
    size_t from = 0, to = w->controls.size();
    if (first != 0) {
      from = w->IndexOf(first);
      to = last == 0 ? from + 1 : w->IndexOf(last) + 1;
      if (from >= w->controls.size()) return;
      to = std::min(to, w->controls.size());
    }
    for (size_t i = from; i < to; ++i) w->controls[i]->Display();
    t.WantDrawn(w->id);
    m.Touch();
    drawn = t.Commit();
  }
  WaitForDrawn(drawn);
}

std::string RtGetProperty(const WindowRef& window, LONG field, LONG property, LONG index) {
  return GetProp(&window, field, property, index);
}

std::string RtGetProperty(LONG field, LONG property, LONG index) { return GetProp(nullptr, field, property, index); }

void RtSetProperty(const WindowRef& window, LONG field, LONG property, std::string_view value, LONG index) {
  SetProp(&window, field, property, value, index);
}

void RtSetProperty(LONG field, LONG property, std::string_view value, LONG index) {
  SetProp(nullptr, field, property, value, index);
}

void RtSetPropertyFromVar(LONG field, LONG property, const UseVariable& value, LONG index) {
  SetProp(nullptr, field, property, std::string(RtClipView(value.Text())), index);
}

void RtSetPropertyFromVar(const WindowRef& window, LONG field, LONG property, const UseVariable& value, LONG index) {
  SetProp(&window, field, property, std::string(RtClipView(value.Text())), index);
}

LONG RtChoice(LONG field) {
  if (field == 0) field = RtField();
  ModelTransaction t;
  WindowModel* w = t.model().CurrentWindowOf(CurrentProgramThread());
  const Control* c = w ? w->Find(field) : nullptr;
  return c ? c->Choice() : 0;
}

WindowRef RtCurrentWindow() {
  ModelTransaction t;
  WindowModel* w = t.model().CurrentWindowOf(CurrentProgramThread());
  return WindowRef{w ? w->id : 0};
}

}  // namespace qx
