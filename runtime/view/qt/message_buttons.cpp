// Message box buttons; see message_buttons.h.
#include "runtime/view/qt/message_buttons.h"

#include "runtime/win/presentation.h"

namespace qx {

std::vector<LONG> MessageButtonsInOrder(LONG buttons) {
  std::vector<LONG> order;
  for (LONG b = kButtonOk; b <= kButtonCancel; b <<= 1) {
    if (buttons & b) order.push_back(b);
  }
  return order;
}

QString MessageButtonLabel(LONG button) {
  switch (button) {
    case kButtonOk: return QStringLiteral("OK");
    case kButtonYes: return QStringLiteral("&Yes");
    case kButtonNo: return QStringLiteral("&No");
    case kButtonAbort: return QStringLiteral("&Abort");
    case kButtonRetry: return QStringLiteral("&Retry");
    case kButtonIgnore: return QStringLiteral("&Ignore");
    case kButtonCancel: return QStringLiteral("Cancel");
    default: return QString();
  }
}

LONG EscapeAnswer(LONG buttons) {
  if (buttons & kButtonCancel) return kButtonCancel;
  if ((buttons & ((kButtonCancel << 1) - 1)) == kButtonOk) return kButtonOk;
  return 0;
}

}  // namespace qx
