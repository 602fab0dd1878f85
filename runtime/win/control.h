// The base of every control kind of the window model. One class per kind, one file each
// (button_control.h, string_control.h, ...); the window creates them from its description
// through the kind table (control_kinds.h).
//
// Two sides, two locks:
//   - the screen side (text shown, state, properties) belongs to the model and is touched
//     only under the model's mutex, by program threads and input threads alike;
//   - the USE variable is program memory: Display (variable to screen) and Accept (screen
//     to variable) run only on the window's program thread, which holds the runtime lock
//     (and the model's mutex).
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win/description.h"
#include "runtime/win/events.h"
#include "runtime/win/presentation.h"
#include "runtime/win/use_variable.h"
#include "runtime/win/view_input.h"

namespace qx {

// What an input handler may ask of its window; provided by the model under its mutex.
class InputContext {
 public:
  virtual ~InputContext() = default;
  // Queues `event` on the control's window, at the back (or the front).
  virtual void Queue(const Event& event, bool front = false) = 0;
  // Runs standard action `action` for the control `field` of this window.
  virtual void RunStandardAction(LONG action, LONG field, const std::optional<std::string>& clipboard) = 0;
  // The window's default button (0 = none).
  virtual LONG DefaultButton() const = 0;
  // The person moved the focus to control `field`: the control that had it and was edited
  // is accepted (EVENT:Accepted), and a control that reports it gets EVENT:Selected.
  virtual void TakeFocus(LONG field) = 0;
};

class Control {
 public:
  Control(const ControlDescription& description, ControlArea area, LONG parentField);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ControlDescription& description() const { return desc_; }
  LONG field() const { return desc_.field; }
  const std::string& kind() const { return desc_.kind; }
  ControlArea area() const { return area_; }
  bool disabled() const { return disabled_; }
  bool hidden() const { return hidden_; }
  const std::string& text() const { return text_; }

  // Structure, set as the window is built: the control this one lies in (a menu for its
  // items, a sheet for its tabs, a tab for the controls on it) and those that lie in it.
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  void Adopt(Control* child) {
    children_.push_back(child);
    child->parent_ = this;
  }
  // Called once the window's controls all exist, with the window's description.
  virtual void Attach(const WindowDescription& window) { (void)window; }
  // Shown now: not hidden, and every control it lies in shows it (a sheet shows only the
  // controls of its selected tab).
  bool Visible() const;
  // Whether `child`, one of this control's children, shows now. Default: yes.
  virtual bool Shows(const Control& child) const { (void)child; return true; }
  // Makes `child` show (a sheet selects the tab); the program's doing, so no events.
  virtual void Reveal(const Control& child) { (void)child; }

  // Whether the control takes one of the window's USE variables (in creation order).
  virtual bool ConsumesVariable() const { return false; }
  void Bind(UseVariable variable) { variable_ = variable; }
  const UseVariable& variable() const { return variable_; }

  // Program thread: shows the USE variable's value (RtDisplay). Default: nothing.
  virtual void Display() {}
  // Program thread, as the control's EVENT:Accepted is taken: the screen text goes to the
  // USE variable. False when the text is refused (the event becomes EVENT:Rejected).
  virtual bool Accept() { return true; }
  // Takes part in the accept-all pass (RtSelect(0)).
  virtual bool InAcceptAll() const { return false; }
  // Can hold the focus; a prompt passes it on to the next control that can.
  virtual bool TakesFocus() const { return false; }
  // Takes typed text.
  virtual bool Editable() const { return false; }
  // Gets EVENT:Selected when a person moves the focus to it.
  virtual bool ReportsSelected() const { return false; }
  // The person leaves the control: true, once, when its text was edited since it was last
  // shown or accepted (the window then queues its EVENT:Accepted).
  virtual bool LeaveWithChange() { return false; }
  // RtChoice: a list's selected row, a sheet's selected tab; 0 for the others.
  virtual LONG Choice() const { return 0; }

  // Input, under the model's mutex on any thread. Defaults refuse with kNotApplicable.
  virtual InputResult OnPress(InputContext& window, const std::optional<std::string>& clipboard);
  virtual InputResult OnType(InputContext& window, std::string_view text, bool accept);
  // A key that is none of the control's alert keys.
  virtual InputResult OnKey(InputContext& window, LONG keyCode, LONG keyChar);
  // Alert key `keyCode` of this control (PropAlertKeys holds it).
  bool IsAlertKey(LONG keyCode) const;
  // A click on item `item` (a list's row by entry number, a sheet's tab by number) with the
  // mouse button `keyCode` (kKeyLeftMouse, kKeyRightMouse, kKeyMouseLeft2 for a double
  // click). The control calls window.TakeFocus when the click takes the focus.
  virtual InputResult OnClick(InputContext& window, LONG item, LONG keyCode);
  // The vertical scroll bar: a part clicked, the thumb dropped at `position` (0 to 100).
  virtual InputResult OnScroll(InputContext& window, ScrollPart part);
  virtual InputResult OnThumb(InputContext& window, LONG position);
  // The person dragged column `column` (1 = the first) to `width` dialog units.
  virtual InputResult OnColumnWidth(LONG column, LONG width);

  // Properties; false when the control has no such property (the window may still).
  virtual bool GetProperty(LONG property, LONG index, std::string& value) const;
  virtual bool SetProperty(LONG property, LONG index, std::string_view value);

  // Fills the copy the views get.
  virtual void Present(ControlPresentation& out) const;

  // The selection in the screen text of an editable control: the characters (bytes) from
  // `start` up to `end`, the caret at `end`; start == end is the caret alone. Always within
  // the text. When the control gets the focus its whole text is selected; typing, cutting
  // and pasting act on the selection, as the person's own edits in a view do.
  size_t selectionStart() const { return std::min(selectionStart_, text_.size()); }
  size_t selectionEnd() const { return std::min(selectionEnd_, text_.size()); }
  void Select(size_t start, size_t end);
  void SelectAll() { Select(0, text_.size()); }
  bool AllSelected() const { return selectionStart() == 0 && selectionEnd() == text_.size(); }
  std::string SelectedText() const { return text_.substr(selectionStart(), selectionEnd() - selectionStart()); }
  // Puts `with` in place of the selection; the caret follows it.
  void ReplaceSelection(std::string_view with);

 protected:
  ControlDescription desc_;
  ControlArea area_;
  LONG parentField_;
  DialogRect at_;
  std::string text_;
  size_t selectionStart_ = 0, selectionEnd_ = 0;
  bool disabled_ = false;
  bool hidden_ = false;
  std::vector<LONG> alertKeys_;  // index 1..255; 0 = none
  UseVariable variable_;
  Control* parent_ = nullptr;
  std::vector<Control*> children_;  // owned by the window, like this control
};

// Makes `control` show by revealing it in every control it lies in (RtSelect of a control
// on a tab that is not selected selects that tab).
void RevealControl(Control& control);

// Truth as a property text: "1" or "".
inline std::string TruthText(bool v) { return v ? "1" : ""; }
// A property text tested for truth: not empty, not all blanks, not a number equal to 0.
bool TextIsTrue(std::string_view text);

}  // namespace qx
