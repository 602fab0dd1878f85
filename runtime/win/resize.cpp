// Resize support; see resize.h.
#include "runtime/win/resize.h"

#include <cmath>

#include "runtime/win/model.h"
#include "runtime/win/properties.h"

namespace qx {
namespace {

LONG Scaled(LONG value, LONG now, LONG original) {
  if (original <= 0) return value;
  return static_cast<LONG>(std::lround(static_cast<double>(value) * now / original));
}

// A button's coordinate on one axis: its distance from the nearer edge of the original
// window is kept.
LONG Anchored(LONG at, LONG size, LONG now, LONG original) {
  const bool nearStart = 2 * at + size < original;
  return nearStart ? at : now - (original - at);
}

}  // namespace

void ResizeInit(ResizeRecord& record, LONG mode) {
  ModelTransaction t;
  record = ResizeRecord{};
  WindowModel* w = t.model().CurrentWindowOf(CurrentProgramThread());
  if (w == nullptr) return;
  record.window = w->id;
  record.mode = mode;
  record.ORIGWIN = {w->width, w->height};
  record.PREVIOUSWIN = record.ORIGWIN;
  for (const auto& c : w->controls) {
    if (c->area() != ControlArea::kClient || c->kind() == "tab") continue;
    std::string x, y, width, height;
    c->GetProperty(kPropXPos, 0, x);
    c->GetProperty(kPropYPos, 0, y);
    if (x.empty() || y.empty()) continue;
    c->GetProperty(kPropWidth, 0, width);
    c->GetProperty(kPropHeight, 0, height);
    ResizeControl rc;
    rc.field = c->field();
    rc.keepsSize = c->kind() == "button";
    rc.x = std::stoi(x);
    rc.y = std::stoi(y);
    if (!width.empty()) rc.width = std::stoi(width);
    if (!height.empty()) rc.height = std::stoi(height);
    record.CONTROLQUEUE.push_back(rc);
  }
}

void ResizeWindow(ResizeRecord& record) {
  ModelTransaction t;
  Model& m = t.model();
  WindowModel* w = m.FindWindow(record.window);
  if (w == nullptr || !w->open) return;
  const ResizeWindowSize& o = record.ORIGWIN;
  const LONG width = w->width, height = w->height;
  for (const ResizeControl& rc : record.CONTROLQUEUE) {
    Control* c = w->Find(rc.field);
    if (c == nullptr) continue;
    LONG x, y;
    std::optional<LONG> cw = rc.width, ch = rc.height;
    if (rc.keepsSize) {
      x = Anchored(rc.x, rc.width.value_or(0), width, o.width);
      y = Anchored(rc.y, rc.height.value_or(0), height, o.height);
    } else {
      x = Scaled(rc.x, width, o.width);
      y = Scaled(rc.y, height, o.height);
      if (cw) cw = Scaled(*cw, width, o.width);
      if (ch) ch = Scaled(*ch, height, o.height);
    }
    c->SetProperty(kPropXPos, 0, std::to_string(x));
    c->SetProperty(kPropYPos, 0, std::to_string(y));
    if (cw) c->SetProperty(kPropWidth, 0, std::to_string(*cw));
    if (ch) c->SetProperty(kPropHeight, 0, std::to_string(*ch));
  }
  record.PREVIOUSWIN = {width, height};
  t.Dirty(w->id);
  m.Touch();
}

void ResizeKill(ResizeRecord& record) { record = ResizeRecord{}; }

}  // namespace qx
