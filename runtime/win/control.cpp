// The parts every control kind shares; see control.h.
#include "runtime/win/control.h"

#include <cstdlib>

#include "runtime/win/properties.h"

namespace qx {

Control::Control(const ControlDescription& description, ControlArea area, LONG parentField)
    : desc_(description), area_(area), parentField_(parentField), at_(description.at),
      text_(description.text), disabled_(description.disabled), hidden_(description.hidden),
      alertKeys_(256, 0) {}

InputResult Control::OnPress(InputContext&, const std::optional<std::string>&) {
  return InputResult::kNotApplicable;
}

InputResult Control::OnType(InputContext&, std::string_view, bool) { return InputResult::kNotApplicable; }

InputResult Control::OnKey(InputContext&, LONG, LONG) { return InputResult::kNotApplicable; }

InputResult Control::OnClick(InputContext&, LONG, LONG) { return InputResult::kNotApplicable; }

InputResult Control::OnScroll(InputContext&, ScrollPart) { return InputResult::kNotApplicable; }

InputResult Control::OnThumb(InputContext&, LONG) { return InputResult::kNotApplicable; }

InputResult Control::OnColumnWidth(LONG, LONG) { return InputResult::kNotApplicable; }

bool Control::Visible() const {
  if (hidden_) return false;
  for (const Control* c = this; c->parent_ != nullptr; c = c->parent_) {
    if (c->parent_->hidden_ || !c->parent_->Shows(*c)) return false;
  }
  return true;
}

void RevealControl(Control& control) {
  for (Control* c = &control; c->parent() != nullptr; c = c->parent()) c->parent()->Reveal(*c);
}

bool Control::IsAlertKey(LONG keyCode) const {
  if (keyCode == 0) return false;
  for (size_t i = 1; i < alertKeys_.size(); ++i) {
    if (alertKeys_[i] == keyCode) return true;
  }
  return false;
}

bool TextIsTrue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return false;
  std::string rest(text.substr(i));
  char* end = nullptr;
  const double v = std::strtod(rest.c_str(), &end);
  if (end != rest.c_str()) {
    while (*end == ' ') ++end;
    if (*end == '\0') return v != 0;
  }
  return true;
}

namespace {
std::string OptText(const std::optional<LONG>& v) { return v ? std::to_string(*v) : std::string(); }
}  // namespace

bool Control::GetProperty(LONG property, LONG index, std::string& value) const {
  switch (property) {
    case kPropText: value = text_; return true;
    case kPropDisabled: value = TruthText(disabled_); return true;
    case kPropHidden: value = TruthText(hidden_); return true;
    case kPropXPos: value = OptText(at_.x); return true;
    case kPropYPos: value = OptText(at_.y); return true;
    case kPropWidth: value = OptText(at_.width); return true;
    case kPropHeight: value = OptText(at_.height); return true;
    case kPropAlertKeys:
      value = (index >= 1 && index <= 255) ? std::to_string(alertKeys_[static_cast<size_t>(index)]) : "0";
      return true;
    default: return false;
  }
}

bool Control::SetProperty(LONG property, LONG index, std::string_view value) {
  const LONG n = std::atoi(std::string(value).c_str());
  switch (property) {
    case kPropText: text_ = std::string(value); return true;
    case kPropDisabled: disabled_ = TextIsTrue(value); return true;
    case kPropHidden: hidden_ = TextIsTrue(value); return true;
    case kPropXPos: at_.x = n; return true;
    case kPropYPos: at_.y = n; return true;
    case kPropWidth: at_.width = n; return true;
    case kPropHeight: at_.height = n; return true;
    case kPropAlertKeys:
      if (index >= 1 && index <= 255) alertKeys_[static_cast<size_t>(index)] = n;
      return true;
    default: return false;
  }
}

void Control::Select(size_t start, size_t end) {
  end = std::min(end, text_.size());
  selectionStart_ = std::min(start, end);
  selectionEnd_ = end;
}

void Control::ReplaceSelection(std::string_view with) {
  const size_t start = selectionStart();
  text_.replace(start, selectionEnd() - start, with);
  Select(start + with.size(), start + with.size());
}

void Control::Present(ControlPresentation& out) const {
  out.field = desc_.field;
  out.name = desc_.name;
  out.kind = desc_.kind;
  out.area = area_;
  out.parentField = parentField_;
  out.at = at_;
  out.text = text_;
  out.picture = desc_.picture;
  out.visible = Visible();
  for (size_t i = 1; i < alertKeys_.size(); ++i) {
    if (alertKeys_[i] != 0) out.alertKeys.push_back(alertKeys_[i]);
  }
  out.message = desc_.message;
  out.tip = desc_.tip;
  out.icon = desc_.icon;
  out.font = desc_.font;
  out.colour = desc_.colour;
  out.background = desc_.background;
  out.justify = desc_.justify;
  out.justifyOffset = desc_.justifyOffset;
  out.attributes = desc_.attributes;
  out.standardAction = desc_.standardAction;
  out.bevel = desc_.bevel;
  out.isDefault = desc_.isDefault;
  out.transparent = desc_.transparent;
  out.readOnly = desc_.readOnly;
  out.disabled = disabled_;
  out.hidden = hidden_;
  out.separator = desc_.separator;
  out.editable = Editable();
  if (out.editable) {
    out.selectionStart = static_cast<LONG>(selectionStart());
    out.selectionEnd = static_cast<LONG>(selectionEnd());
  }
}

}  // namespace qx
