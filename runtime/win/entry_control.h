// An entry: a field the person types into, shown from its USE variable through its
// picture ("@n-14", "@s20", "@S20", "@d17", runtime/text/picture.h) and read back through
// the same picture when it is accepted.
//
// Accepting (its EVENT:Accepted being taken, typed text left, the accept-all pass): the
// picture reads the text; a text it refuses (letters in a number, no such date, too wide
// for the picture or the variable) leaves the variable as it was and the event becomes
// EVENT:Rejected, the entry keeping the focus and the person's text; a text it takes
// goes to the variable and the entry shows the value as the picture formats it.
//
// Typing: ViewInput::Type replaces the text (the caret then at its end); ViewInput::Key with
// a character puts it in place of the selection (Control::Select) and Backspace takes the
// selection, or the character before the caret, away. An entry edited since it was last
// shown or accepted is accepted when the person leaves it (another control clicked or
// tabbed to, Enter pressing the default button). Justification and offset come from
// "justify" and "justify_offset"; alert keys (PropAlertKeys) are its own; cut, copy and
// paste act on its selection while it has the focus.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class EntryControl : public Control {
 public:
  using Control::Control;

  bool ConsumesVariable() const override { return true; }
  bool TakesFocus() const override { return true; }
  bool Editable() const override { return true; }
  bool InAcceptAll() const override { return true; }
  void Display() override;
  bool Accept() override;
  bool LeaveWithChange() override;

  InputResult OnType(InputContext& window, std::string_view text, bool accept) override;
  InputResult OnKey(InputContext& window, LONG keyCode, LONG keyChar) override;

 private:
  std::string shown_;  // the text as last shown or accepted
};

}  // namespace qx
