// The widget of a list control. It draws exactly what the latest presentation holds (the
// rows from topRow, the columns with their widths, justification, indents, right borders
// and header texts, the cells' colours) and never moves the rows or the selection itself:
// a person's acts go to the model, and the next presentation shows the outcome.
//
//   +-----------------------------------+--+   (inside a border of kListBorderUnits)
//   | header (headerHeight units)       |  |   vertical scroll bar: range 0 to 100, the
//   +-----------------------------------+  |   thumb at thumbDrawn; shown when vScroll
//   | row 1 (rowHeight units each)      |  |
//   | ...                               |  |
//   +-----------------------------------+--+
//   | horizontal bar (kListScrollBarHeight)|   shown when hScroll; it scrolls the columns
//   +--------------------------------------+   sideways without the model
//
// Input, as ViewInput calls (presentation.h): a press on a row is Click with the left or
// right button (below the last row: item 0), a double click then Click with clicks 2; the arrows, PageUp/PageDown,
// Home/End, Ctrl+PageUp/PageDown, Enter, typed characters and the list's alert keys are
// Key; the scroll bar's arrows and shaft, and the wheel, are Scroll; a dropped thumb is
// Thumb (while it is dragged the bar draws it and nothing is reported); a resizable
// column's edge dragged in the header is ColumnWidth.
//
// GUI thread only.
#pragma once

#include <QFrame>
#include <QScrollBar>

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/view/qt/control_view.h"

namespace qx {

class ListWidget : public QFrame {
 public:
  ListWidget(QWidget* parent, LONG window, LONG field);

  // Shows the list of `control` (which must have one) with the window's units.
  void Show(const ControlPresentation& control, const WindowStyle& style);

  QScrollBar* verticalBar() const { return vbar_; }
  QScrollBar* horizontalBar() const { return hbar_; }
  // The rectangle of row `index` of the rows shown (0 = the top one) in widget pixels;
  // empty when the presentation has no such row.
  QRect RowRect(int index) const;
  // The header's rectangle; empty when the list has no header.
  QRect HeaderRect() const { return header_; }
  // The x of column `column`'s right edge (0 = the first column) in widget pixels, as
  // drawn now (scrolled sideways, a dragged width included).
  int ColumnRight(int column) const;
  // Where the rows are drawn (below the header, beside the scroll bars).
  QRect RowsArea() const { return rows_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ColumnDrag {
    int column = 0;
    int startX = 0;
    int startWidth = 0;
  };

  void Layout();
  void BarAction(int action);
  void PaintHeader(QPainter& painter);
  void PaintRows(QPainter& painter);
  // The row under `at` (index into the rows shown), -1 when none.
  int RowAt(QPoint at) const;
  // The resizable column whose right edge is under `x` in the header, -1 when none.
  int EdgeAt(int x) const;
  int ColumnLeft(int column) const;
  void Click(QMouseEvent* event, LONG clicks);

  LONG window_, field_;
  ListPresentation list_;
  DialogUnits units_{DialogBaseUnits{4, 8}};
  std::vector<LONG> alertKeys_;
  std::optional<QColor> ownText_, ownGround_;
  std::vector<int> widths_;  // pixels, per column, as drawn
  // Widths a person dragged, in dialog units, kept until a presentation made after the
  // model took them arrives.
  std::vector<std::optional<LONG>> draggedUnits_;
  std::uint64_t draggedRevision_ = 0;
  std::optional<ColumnDrag> drag_;
  int wheelTurn_ = 0;        // eighths of a degree not yet reported
  // The latest press reported, to know the second press of a double click (which the
  // double click itself reports) from a click of its own.
  struct Press {
    quint64 time = 0;
    QPoint at;
    Qt::MouseButton button = Qt::NoButton;
  };
  std::optional<Press> lastPress_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
  QRect header_, rows_;      // in widget pixels
  std::optional<LONG> heightUnits_;  // the control's height as the model has it
  LONG rowsTopUnits_ = 0;    // dialog units from the control's top to its first row
  // Pixels from the control's top to a position `units` dialog units down it.
  int PixelsDown(LONG units) const;
};

}  // namespace qx
