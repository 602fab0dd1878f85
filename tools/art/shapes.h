// The pieces the icons are drawn from: windows with a title bar, pages (plain or
// patterned, with a folded corner) and thick curved arrows. Rectangles are whole pixels so
// edges stay crisp at 16 pixels; arrows are antialiased.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRect>

namespace qx::art {

// How a window's title bar looks: the active one blue, the others grey.
enum class TitleBar { kActive, kInactive };

// A window filling `frame`: a dark border, a title bar of about a fifth of its height
// (with a close box when there is room), a white body with grey lines of content when
// `contentLines` is set and the window is tall enough.
void DrawWindow(QPainter& painter, const QRect& frame, TitleBar titleBar, bool contentLines);

// A page filling `frame` with its top right corner folded over. A patterned page is
// covered with a chequer of two tints; `cell` is the chequer's square in pixels.
void DrawPage(QPainter& painter, const QRect& frame, bool patterned, int cell);

// The look of an arrow: fill from light (at the tail) to dark (at the head), outline.
struct ArrowColours {
  QColor light;
  QColor dark;
  QColor outline;
};

// A thick arrow bending upward from `tail` to the base of its head, which then points at
// `tip`. `lift` is how far above the straight line the bend rises, `width` the shaft's
// thickness, `headWidth` and `headLength` the head's size, all in pixels.
void DrawCurvedArrow(QPainter& painter, QPointF tail, QPointF headBase, QPointF tip,
                     qreal lift, qreal width, qreal headWidth, const ArrowColours& colours);

}  // namespace qx::art
