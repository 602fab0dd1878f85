// The buttons of a message box as a person sees them: in the platform's order (OK, Yes, No,
// Abort, Retry, Ignore, Cancel, whatever order the program summed them in), with their
// labels and access keys, and the answer that Escape or the close box gives.
#pragma once

#include <QString>

#include <vector>

#include "runtime/text/types.h"

namespace qx {

// The single buttons of `buttons` (a sum of kButton* values) in display order; bits that
// are no button are left out.
std::vector<LONG> MessageButtonsInOrder(LONG buttons);

// The label of one button, "&" before its access key: "OK", "&Yes", "&No", "&Abort",
// "&Retry", "&Ignore", "Cancel"; empty for a value that is no single button.
QString MessageButtonLabel(LONG button);

// What Escape and the close box answer: Cancel when the box has it, OK when OK is its only
// button, and 0 (the box stays open, as the close box is then disabled) otherwise.
LONG EscapeAnswer(LONG buttons);

}  // namespace qx
