// Icon and text inside a button; see button_layout.h.
#include "runtime/view/qt/button_layout.h"

#include <algorithm>

namespace qx {

ButtonPlacement PlaceButtonContent(QRect inside, QSize icon, Justification justification, int gap) {
  ButtonPlacement out;
  Qt::Alignment horizontal = Qt::AlignHCenter;
  if (justification == Justification::kLeft) horizontal = Qt::AlignLeft;
  if (justification == Justification::kRight) horizontal = Qt::AlignRight;
  out.textAlignment = horizontal | Qt::AlignVCenter;
  out.text = inside;
  if (icon.isEmpty() || inside.isEmpty()) return out;
  QSize shown = icon;
  if (shown.height() > inside.height()) shown = icon.scaled(icon.width(), inside.height(), Qt::KeepAspectRatio);
  shown.setWidth(std::min(shown.width(), inside.width()));
  const int top = inside.top() + (inside.height() - shown.height()) / 2;
  if (justification == Justification::kRight) {
    out.icon = QRect(QPoint(inside.right() + 1 - shown.width(), top), shown);
    out.text = QRect(inside.topLeft(), QPoint(out.icon.left() - gap - 1, inside.bottom()));
  } else {
    out.icon = QRect(QPoint(inside.left(), top), shown);
    out.text = QRect(QPoint(out.icon.right() + 1 + gap, inside.top()), inside.bottomRight());
  }
  if (out.text.width() < 0) out.text.setWidth(0);
  return out;
}

}  // namespace qx
