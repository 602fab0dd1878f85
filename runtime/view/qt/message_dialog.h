// A message box of the model: its icon and text, its buttons in the platform's order with
// the default button asked for, its caption. It is modal to the program's windows only in
// the model's way: the asking thread's windows take no input while it is open (the model
// says so in their presentations), the other threads' windows go on working, so the box is
// no Qt modal dialog; it stays above the window it belongs to. A button, Enter (the default
// button), Escape or the close box (EscapeAnswer) answer it through
// ViewInput::AnswerMessage; it disappears once answered and is deleted when the model
// closes it.
#pragma once

#include <QDialog>

#include "runtime/win/presentation.h"

namespace qx {

class MessageDialog : public QDialog {
 public:
  MessageDialog(const MessagePresentation& box, QWidget* owner);

  LONG id() const { return box_.id; }
  const MessagePresentation& box() const { return box_; }
  bool painted() const { return painted_; }
  void NotePainted() { painted_ = true; }

  // Presses one of the box's buttons as a person would; false when it has no such button.
  bool Press(LONG button);

 protected:
  void reject() override;

 private:
  void Answer(LONG button);

  MessagePresentation box_;
  bool answered_ = false;
  bool painted_ = false;
};

// The property that marks a message box's widgets with its id.
inline constexpr const char* kMessageIdProperty = "qxMessageId";

}  // namespace qx
