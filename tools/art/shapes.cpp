// Windows, pages and curved arrows; see shapes.h.
#include "tools/art/shapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace qx::art {
namespace {

const QColor kBorder(0x20, 0x20, 0x30);
const QColor kPageBorder(0x38, 0x38, 0x38);

// A one-pixel outline exactly on the outermost pixels of `r`.
void OutlinePixels(QPainter& painter, const QRect& r, const QColor& colour) {
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
  painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
  painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

}  // namespace

void DrawWindow(QPainter& painter, const QRect& frame, TitleBar titleBar, bool contentLines) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QRect inner = frame.adjusted(1, 1, -1, -1);
  painter.fillRect(inner, Qt::white);

  const int titleHeight = std::max(2, static_cast<int>(std::lround(frame.height() * 0.2)));
  const QRect title(inner.left(), inner.top(), inner.width(), titleHeight);
  QLinearGradient shade(title.topLeft(), title.topRight());
  if (titleBar == TitleBar::kActive) {
    shade.setColorAt(0, QColor(0x00, 0x00, 0x80));
    shade.setColorAt(1, QColor(0x2a, 0x7f, 0xe0));
  } else {
    shade.setColorAt(0, QColor(0x70, 0x70, 0x78));
    shade.setColorAt(1, QColor(0xb4, 0xb4, 0xbc));
  }
  painter.fillRect(title, shade);
  // A separating line under the title bar once there is room for it.
  if (frame.height() >= 12) {
    painter.fillRect(QRect(inner.left(), title.bottom() + 1, inner.width(), 1),
                     QColor(0x90, 0x90, 0x98));
  }
  if (titleHeight >= 4 && inner.width() >= 12) {
    const int box = titleHeight - 2;
    painter.fillRect(QRect(title.right() - box, title.top() + 1, box, box),
                     QColor(0xe8, 0xe8, 0xe8));
  }
  if (contentLines) {
    const int top = title.bottom() + 3;
    for (int y = top; y + 1 < inner.bottom(); y += 3) {
      const int length = (y - top) % 9 == 6 ? inner.width() / 2 : inner.width() - 4;
      painter.fillRect(QRect(inner.left() + 2, y, std::max(1, length - 2), 1),
                       QColor(0xa8, 0xb0, 0xc0));
    }
  }
  OutlinePixels(painter, frame, kBorder);
  painter.restore();
}

void DrawPage(QPainter& painter, const QRect& frame, bool patterned, int cell) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const int fold = std::max(3, static_cast<int>(std::lround(frame.width() * 0.32)));
  const qreal l = frame.left() + 0.5, t = frame.top() + 0.5;
  const qreal r = frame.right() + 0.5, b = frame.bottom() + 0.5;
  QPolygonF outline;
  outline << QPointF(l, t) << QPointF(r - fold, t) << QPointF(r, t + fold) << QPointF(r, b)
          << QPointF(l, b);

  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawPolygon(outline);
  if (patterned) {
    QPainterPath clip;
    clip.addPolygon(outline);
    painter.setClipPath(clip);
    const QColor tints[2] = {QColor(0x2c, 0x9c, 0x94), QColor(0xff, 0xe2, 0x70)};
    for (int y = frame.top(); y <= frame.bottom(); y += cell) {
      for (int x = frame.left(); x <= frame.right(); x += cell) {
        const int parity = ((x - frame.left()) / cell + (y - frame.top()) / cell) % 2;
        painter.fillRect(QRect(x, y, cell, cell), tints[parity]);
      }
    }
    painter.setClipping(false);
  }
  // The folded corner: a grey triangle showing the page's back.
  QPolygonF corner;
  corner << QPointF(r - fold, t) << QPointF(r - fold, t + fold) << QPointF(r, t + fold);
  painter.setBrush(QColor(0xd0, 0xd0, 0xd4));
  painter.setPen(QPen(kPageBorder, 1));
  painter.drawPolygon(corner);
  painter.setBrush(Qt::NoBrush);
  painter.drawPolygon(outline);
  painter.restore();
}

void DrawCurvedArrow(QPainter& painter, QPointF tail, QPointF headBase, QPointF tip,
                     qreal lift, qreal width, qreal headWidth, const ArrowColours& colours) {
  QPointF direction = tip - headBase;
  const qreal headLength = std::hypot(direction.x(), direction.y());
  direction /= headLength;
  const QPointF normal(-direction.y(), direction.x());

  // The bend: leaves the tail upward, arrives at the head along the head's direction.
  QPainterPath centreLine(tail);
  centreLine.cubicTo(tail + QPointF((headBase.x() - tail.x()) * 0.1, -lift * 1.3),
                     headBase - direction * (lift * 1.3), headBase);
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(Qt::RoundCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  QPainterPath shape = stroker.createStroke(centreLine);

  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(headBase + normal * (headWidth / 2));
  head.lineTo(headBase - normal * (headWidth / 2));
  head.closeSubpath();
  shape = shape.united(head).simplified();

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient fill(tail, tip);
  fill.setColorAt(0, colours.light);
  fill.setColorAt(1, colours.dark);
  painter.setBrush(fill);
  painter.setPen(QPen(colours.outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(shape);
  painter.restore();
}

}  // namespace qx::art
