// Entries; see entry_control.h.
#include "runtime/win/entry_control.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "runtime/text/picture.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/picture_format.h"

namespace qx {
namespace {

// The range of an integer variable; nullopt for REAL.
std::optional<std::pair<double, double>> IntegerRange(UseVariable::Type type) {
  switch (type) {
    case UseVariable::Type::kByte: return std::make_pair(0.0, 255.0);
    case UseVariable::Type::kShort: return std::make_pair(-32768.0, 32767.0);
    case UseVariable::Type::kUShort: return std::make_pair(0.0, 65535.0);
    case UseVariable::Type::kLong: return std::make_pair(-2147483648.0, 2147483647.0);
    case UseVariable::Type::kULong: return std::make_pair(0.0, 4294967295.0);
    default: return std::nullopt;
  }
}

size_t TextWidth(const UseVariable& v) {
  switch (v.type()) {
    case UseVariable::Type::kString: return v.width();
    case UseVariable::Type::kCString: return v.width() > 0 ? v.width() - 1 : 0;
    default: return Picture::kAnyWidth;
  }
}

// A text without a picture, read as a number: the whole text (blanks around it aside)
// must be one.
std::optional<double> PlainNumber(const std::string& text) {
  const char* begin = text.c_str();
  while (*begin == ' ') ++begin;
  if (*begin == '\0') return 0.0;
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  while (end && *end == ' ') ++end;
  if (end == begin || *end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace

void EntryControl::Display() {
  const bool all = AllSelected();
  if (variable_.bound()) text_ = FormatForPicture(desc_.picture, variable_);
  shown_ = text_;
  if (all) SelectAll();  // a new value shown in full stays selected in full
}

bool EntryControl::Accept() {
  if (!variable_.bound()) {
    shown_ = text_;
    return true;
  }
  const std::optional<Picture> picture = Picture::Parse(desc_.picture);
  if (variable_.numeric()) {
    double value = 0;
    if (picture) {
      const NumberEntry read = picture->DeformatNumber(text_);
      if (!read.ok()) return false;
      value = read.value;
    } else {
      const std::optional<double> read = PlainNumber(text_);
      if (!read) return false;
      value = *read;
    }
    if (const auto range = IntegerRange(variable_.type())) {
      value = std::trunc(value);
      if (value < range->first || value > range->second) return false;
    }
    variable_.SetNumber(value);
  } else if (picture) {
    const TextEntry read = picture->DeformatText(text_, TextWidth(variable_));
    if (!read.ok()) return false;
    variable_.SetText(read.value);
  } else {
    if (RtClipView(text_).size() > TextWidth(variable_)) return false;
    variable_.SetText(text_);
  }
  Display();
  return true;
}

bool EntryControl::LeaveWithChange() {
  if (text_ == shown_) return false;
  shown_ = text_;  // handed over: the Accepted queued for it reads text_
  return true;
}

InputResult EntryControl::OnType(InputContext& window, std::string_view text, bool accept) {
  if (desc_.readOnly) return InputResult::kNotApplicable;
  text_ = std::string(text);
  Select(text_.size(), text_.size());
  if (accept) {
    shown_ = text_;
    Event e;
    e.number = kEventAccepted;
    e.field = field();
    e.fromInput = true;
    window.Queue(e);
  }
  return InputResult::kDone;
}

InputResult EntryControl::OnKey(InputContext&, LONG keyCode, LONG keyChar) {
  if (desc_.readOnly) return InputResult::kNotApplicable;
  if (keyCode == kKeyBackspace) {
    // The selection goes, or else the character before the caret.
    if (selectionStart() == selectionEnd() && selectionStart() > 0) Select(selectionStart() - 1, selectionEnd());
    ReplaceSelection({});
    return InputResult::kDone;
  }
  if (keyChar >= 0x20 && keyChar <= 0xFF && (keyCode & (kKeyCtrlBit | kKeyAltBit)) == 0) {
    ReplaceSelection(std::string(1, static_cast<char>(keyChar)));
    return InputResult::kDone;
  }
  return InputResult::kNotApplicable;
}

}  // namespace qx
