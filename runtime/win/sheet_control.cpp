// Sheets; see sheet_control.h.
#include "runtime/win/sheet_control.h"

#include <cstdlib>

#include "runtime/win/keycodes.h"
#include "runtime/win/properties.h"

namespace qx {

std::vector<const Control*> SheetControl::Tabs() const {
  std::vector<const Control*> tabs;
  for (const Control* c : children_) {
    if (c->kind() == "tab") tabs.push_back(c);
  }
  return tabs;
}

bool SheetControl::Shows(const Control& child) const {
  const std::vector<const Control*> tabs = Tabs();
  return selected_ >= 1 && selected_ <= tabs.size() && tabs[selected_ - 1] == &child;
}

void SheetControl::Reveal(const Control& child) {
  const std::vector<const Control*> tabs = Tabs();
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i] == &child) selected_ = i + 1;
  }
}

InputResult SheetControl::Pick(InputContext& window, size_t number, LONG keyCode) {
  const std::vector<const Control*> tabs = Tabs();
  if (number < 1 || number > tabs.size()) return InputResult::kBadValue;
  const Control& tab = *tabs[number - 1];
  if (tab.disabled() || tab.hidden()) return InputResult::kDisabled;
  window.TakeFocus(field());
  if (number == selected_) return InputResult::kDone;
  Event e;
  e.field = field();
  e.keyCode = keyCode;
  e.fromInput = true;
  e.number = kEventTabChanging;
  window.Queue(e);
  selected_ = number;
  e.number = kEventNewSelection;
  window.Queue(e);
  return InputResult::kDone;
}

InputResult SheetControl::OnClick(InputContext& window, LONG item, LONG keyCode) {
  if (item < 1) return InputResult::kBadValue;
  return Pick(window, static_cast<size_t>(item), keyCode);
}

InputResult SheetControl::OnKey(InputContext& window, LONG keyCode, LONG) {
  if (keyCode != kKeyLeft && keyCode != kKeyRight) return InputResult::kNotApplicable;
  const std::vector<const Control*> tabs = Tabs();
  // The nearest tab in that direction that the person may pick.
  for (size_t n = selected_;;) {
    n = keyCode == kKeyLeft ? n - 1 : n + 1;
    if (n < 1 || n > tabs.size()) return InputResult::kDone;
    if (!tabs[n - 1]->disabled() && !tabs[n - 1]->hidden()) return Pick(window, n, keyCode);
  }
}

bool SheetControl::GetProperty(LONG property, LONG index, std::string& value) const {
  if (property == kPropSelectedRow) {
    value = std::to_string(Choice());
    return true;
  }
  return Control::GetProperty(property, index, value);
}

bool SheetControl::SetProperty(LONG property, LONG index, std::string_view value) {
  if (property == kPropSelectedRow) {
    const long n = std::atol(std::string(value).c_str());
    if (n >= 1 && static_cast<size_t>(n) <= Tabs().size()) selected_ = static_cast<size_t>(n);
    return true;
  }
  return Control::SetProperty(property, index, value);
}

void SheetControl::Present(ControlPresentation& out) const {
  Control::Present(out);
  SheetPresentation p;
  for (const Control* tab : Tabs()) {
    TabPresentation t;
    t.field = tab->field();
    t.text = tab->text();
    t.disabled = tab->disabled();
    t.hidden = tab->hidden();
    t.colour = tab->description().colour;
    t.background = tab->description().background;
    p.tabs.push_back(std::move(t));
  }
  p.selected = Choice();
  out.sheet = std::move(p);
}

}  // namespace qx
