// The list control's widget and view; see list_widget.h.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyleHints>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>
#include <QWheelEvent>

#include <algorithm>

#include "runtime/view/qt/colour_mapping.h"
#include "runtime/view/qt/form_controls.h"
#include "runtime/view/qt/key_codes.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/list_widget.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

constexpr int kWheelNotch = 120;     // eighths of a degree in one step of a wheel
constexpr int kEdgeGrip = 3;         // pixels either side of a column edge that grab it
constexpr int kNarrowestColumn = 4;  // pixels a dragged column keeps
constexpr int kSidewaysStep = 8;     // pixels the horizontal bar's arrows move

// The keys a list reports as they are, without a character.
bool IsListKey(LONG code) {
  switch (code) {
    case kKeyUp:
    case kKeyDown:
    case kKeyPageUp:
    case kKeyPageDown:
    case kKeyHome:
    case kKeyEnd:
    case kKeyCtrlPageUp:
    case kKeyCtrlPageDown:
    case kKeyEnter:
      return true;
    default:
      return false;
  }
}

std::optional<QColor> Colour(ULONG value) {
  if (value == kNoColour) return std::nullopt;
  return ColourFromLong(static_cast<LONG>(value));
}

}  // namespace

ListWidget::ListWidget(QWidget* parent, LONG window, LONG field)
    : QFrame(parent),
      window_(window),
      field_(field),
      vbar_(new QScrollBar(Qt::Vertical, this)),
      hbar_(new QScrollBar(Qt::Horizontal, this)) {
  // The sunken frame is drawn in the border the model counts (paintEvent), not by QFrame,
  // whose own frame width would move the rows.
  setFrameStyle(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // the resize cursor over a column's edge
  setAttribute(Qt::WA_OpaquePaintEvent);
  vbar_->setFocusPolicy(Qt::NoFocus);
  vbar_->setRange(0, 100);
  vbar_->setSingleStep(1);
  vbar_->installEventFilter(this);
  vbar_->hide();
  hbar_->setFocusPolicy(Qt::NoFocus);
  hbar_->setSingleStep(kSidewaysStep);
  hbar_->hide();
  connect(vbar_, &QAbstractSlider::actionTriggered, this, [this](int action) { BarAction(action); });
  connect(vbar_, &QAbstractSlider::sliderReleased, this,
          [this] { ViewInput::Thumb(window_, field_, vbar_->sliderPosition()); });
  connect(hbar_, &QAbstractSlider::valueChanged, this, [this] { update(); });
  ReportPointer(this, window, field);
  ReportFocus(this, window, field);
}

void ListWidget::Show(const ControlPresentation& control, const WindowStyle& style) {
  list_ = *control.list;
  units_ = style.units;
  heightUnits_ = control.at.height;
  alertKeys_ = control.alertKeys;
  ownText_ = ControlTextColour(control, style);
  ownGround_ = control.transparent ? std::nullopt : Colour(control.background);

  draggedUnits_.resize(list_.columns.size());
  if (style.revision >= draggedRevision_) std::fill(draggedUnits_.begin(), draggedUnits_.end(), std::nullopt);
  widths_.resize(list_.columns.size());
  for (size_t i = 0; i < list_.columns.size(); ++i) {
    if (drag_ && drag_->column == static_cast<int>(i)) continue;  // the person's drag goes on
    const LONG units = draggedUnits_[i].value_or(list_.columns[i].width);
    widths_[i] = std::max(units_.ToPixelsX(static_cast<int>(units)), 0);
  }

  vbar_->setVisible(list_.vScroll);
  hbar_->setVisible(list_.hScroll);
  // While the person drags the thumb, the bar shows it where it is dragged.
  if (!vbar_->isSliderDown() && vbar_->value() != list_.thumbDrawn) {
    const QSignalBlocker quiet(vbar_);
    vbar_->setValue(static_cast<int>(list_.thumbDrawn));
  }
  Layout();
  update();
}

int ListWidget::PixelsDown(LONG units) const { return units_.ToPixelsY(static_cast<int>(units)); }

void ListWidget::Layout() {
  // Every horizontal edge is a position in dialog units from the control's top, converted
  // on its own (presentation.h): the rows the model counts fit between header and bar.
  const LONG height = heightUnits_.value_or(units_.FromPixelsY(QWidget::height()));
  const LONG rowsTop = kListBorderUnits + (list_.header ? list_.headerHeight : 0);
  const LONG rowsBottom = height - kListBorderUnits - (list_.hScroll ? kListScrollBarHeight : 0);
  const int side = units_.ToPixelsX(static_cast<int>(kListBorderUnits));
  const QRect inner(side, PixelsDown(kListBorderUnits), std::max(0, width() - 2 * side),
                    std::max(0, PixelsDown(height - kListBorderUnits) - PixelsDown(kListBorderUnits)));
  // contentsRect() is what lies inside the border.
  const QMargins margins(inner.left(), inner.top(), width() - inner.right() - 1, QWidget::height() - inner.bottom() - 1);
  if (contentsMargins() != margins) setContentsMargins(margins);
  const int vbarWidth = list_.vScroll ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vbar_) : 0;
  const int rowsTopPixels = PixelsDown(rowsTop);
  const int rowsBottomPixels = std::max(rowsTopPixels, PixelsDown(rowsBottom));
  const QRect view(inner.left(), inner.top(), std::max(0, inner.width() - vbarWidth),
                   std::max(0, rowsBottomPixels - inner.top()));
  header_ = list_.header ? QRect(view.left(), inner.top(), view.width(), rowsTopPixels - inner.top()) : QRect();
  rows_ = QRect(view.left(), rowsTopPixels, view.width(), rowsBottomPixels - rowsTopPixels);
  rowsTopUnits_ = rowsTop;
  const int hbarHeight = list_.hScroll ? std::max(0, inner.bottom() + 1 - rowsBottomPixels) : 0;

  if (list_.vScroll) {
    const QRect bar(view.right() + 1, inner.top(), vbarWidth, view.height());
    if (vbar_->geometry() != bar) vbar_->setGeometry(bar);
    // The thumb about as long as the bar is wide, as on a bar without a page size: the
    // model's 0 to 100 is a position, not a share of the rows.
    const int track = std::max(1, bar.height() - 2 * vbarWidth);
    vbar_->setPageStep(std::clamp(100 * vbarWidth / std::max(1, track - vbarWidth), 1, 100));
  }
  if (list_.hScroll) {
    const QRect bar(inner.left(), view.bottom() + 1, view.width(), hbarHeight);
    if (hbar_->geometry() != bar) hbar_->setGeometry(bar);
    int total = 0;
    for (int w : widths_) total += w;
    hbar_->setPageStep(std::max(1, view.width()));
    hbar_->setRange(0, std::max(0, total - view.width()));
  } else if (hbar_->value() != 0) {
    hbar_->setValue(0);
  }
}

int ListWidget::ColumnLeft(int column) const {
  int x = rows_.left() - (list_.hScroll ? hbar_->value() : 0);
  for (int i = 0; i < column && i < static_cast<int>(widths_.size()); ++i) x += widths_[static_cast<size_t>(i)];
  return x;
}

int ListWidget::ColumnRight(int column) const {
  if (column < 0 || column >= static_cast<int>(widths_.size())) return -1;
  return ColumnLeft(column) + widths_[static_cast<size_t>(column)];
}

QRect ListWidget::RowRect(int index) const {
  if (index < 0 || index >= static_cast<int>(list_.rows.size())) return QRect();
  const int top = PixelsDown(rowsTopUnits_ + index * list_.rowHeight);
  const int bottom = PixelsDown(rowsTopUnits_ + (index + 1) * list_.rowHeight);
  return QRect(rows_.left(), top, rows_.width(), bottom - top);
}

int ListWidget::RowAt(QPoint at) const {
  if (!rows_.contains(at)) return -1;
  for (int i = 0; i < static_cast<int>(list_.rows.size()); ++i) {
    const QRect row = RowRect(i);
    if (at.y() >= row.top() && at.y() <= row.bottom()) return i;
  }
  return -1;
}

int ListWidget::EdgeAt(int x) const {
  if (header_.isEmpty()) return -1;
  for (int c = static_cast<int>(widths_.size()) - 1; c >= 0; --c) {
    if (!list_.columns[static_cast<size_t>(c)].resizable) continue;
    if (std::abs(x - ColumnRight(c)) <= kEdgeGrip) return c;
  }
  return -1;
}

void ListWidget::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  Layout();
}

void ListWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect inner = contentsRect();
  const QColor ground = ownGround_.value_or(palette().color(QPalette::Base));
  painter.fillRect(rect(), ground);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.rect = rect();
  frame.frameShape = QFrame::StyledPanel;
  frame.state |= QStyle::State_Sunken;
  frame.lineWidth = 1;
  frame.midLineWidth = 0;
  style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, this);
  if (list_.vScroll && list_.hScroll) {
    // The corner between the two bars.
    painter.fillRect(QRect(rows_.right() + 1, rows_.bottom() + 1, inner.right() - rows_.right(),
                           inner.bottom() - rows_.bottom()),
                     palette().color(QPalette::Window));
  }
  PaintHeader(painter);
  PaintRows(painter);
}

void ListWidget::PaintHeader(QPainter& painter) {
  if (header_.isEmpty()) return;
  painter.save();
  painter.setClipRect(header_);
  const int count = static_cast<int>(list_.columns.size());
  int right = header_.left();
  for (int c = 0; c <= count; ++c) {
    // After the last column an empty section fills the header to its end.
    const bool filler = c == count;
    const QRect section = filler ? QRect(right, header_.top(), std::max(0, header_.right() - right + 1), header_.height())
                                 : QRect(ColumnLeft(c), header_.top(), widths_[static_cast<size_t>(c)], header_.height());
    right = section.right() + 1;
    if (section.width() <= 0) continue;
    QStyleOptionHeader option;
    option.initFrom(this);
    option.rect = section;
    option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
    option.orientation = Qt::Horizontal;
    option.section = c;
    option.position = c == 0 ? QStyleOptionHeader::Beginning : QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
    if (filler) continue;
    const ListColumnPresentation& column = list_.columns[static_cast<size_t>(c)];
    if (column.header.empty()) continue;
    const TextPlacement place = PlaceText(JustificationFor(column.headerJustify, Justification::kLeft),
                                          static_cast<int>(column.headerIndent), units_);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(section.marginsRemoved(place.margins), static_cast<int>(place.alignment) | Qt::TextSingleLine,
                     FromLatin1Bytes(column.header));
  }
  painter.restore();
}

void ListWidget::PaintRows(QPainter& painter) {
  if (rows_.isEmpty()) return;
  painter.save();
  painter.setClipRect(rows_);
  const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
  const QColor text = isEnabled() ? ownText_.value_or(palette().color(group, QPalette::Text))
                                  : palette().color(group, QPalette::Text);
  const QColor highlight = Colour(list_.selectedBackground).value_or(palette().color(group, QPalette::Highlight));
  const QColor highlightText = Colour(list_.selectedColour).value_or(palette().color(group, QPalette::HighlightedText));
  for (int r = 0; r < static_cast<int>(list_.rows.size()); ++r) {
    const ListRowPresentation& row = list_.rows[static_cast<size_t>(r)];
    const QRect line = RowRect(r);
    if (line.top() > rows_.bottom()) break;
    if (row.selected) painter.fillRect(line, highlight);
    for (size_t c = 0; c < list_.columns.size() && c < row.cells.size(); ++c) {
      const ListColumnPresentation& column = list_.columns[c];
      const ListCellPresentation& cell = row.cells[c];
      const QRect box(ColumnLeft(static_cast<int>(c)), line.top(), widths_[c], line.height());
      if (box.right() < rows_.left() || box.left() > rows_.right()) continue;
      const std::optional<QColor> ground = Colour(row.selected ? cell.selectedBackground : cell.background);
      if (ground) painter.fillRect(box, *ground);
      painter.setPen(Colour(row.selected ? cell.selectedColour : cell.colour).value_or(row.selected ? highlightText : text));
      const TextPlacement place =
          PlaceText(JustificationFor(column.justify, Justification::kLeft), static_cast<int>(column.indent), units_);
      painter.save();
      painter.setClipRect(box & rows_);
      painter.drawText(box.marginsRemoved(place.margins), static_cast<int>(place.alignment) | Qt::TextSingleLine,
                       FromLatin1Bytes(cell.text));
      painter.restore();
    }
    if (row.selected && hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = line;
      focus.backgroundColor = highlight;
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
  }
  // Right borders run the whole height of the rows, under the last row too.
  painter.setPen(palette().color(group, QPalette::Mid));
  for (size_t c = 0; c < list_.columns.size(); ++c) {
    if (!list_.columns[c].rightBorder) continue;
    const int x = ColumnRight(static_cast<int>(c)) - 1;
    painter.drawLine(x, rows_.top(), x, rows_.bottom());
  }
  painter.restore();
}

void ListWidget::BarAction(int action) {
  std::optional<ScrollPart> part;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: part = ScrollPart::kLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: part = ScrollPart::kLineDown; break;
    case QAbstractSlider::SliderPageStepSub: part = ScrollPart::kPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: part = ScrollPart::kPageDown; break;
    case QAbstractSlider::SliderToMinimum: ViewInput::Thumb(window_, field_, 0); break;
    case QAbstractSlider::SliderToMaximum: ViewInput::Thumb(window_, field_, 100); break;
    default: return;  // the thumb dragged: the bar draws it; its drop is reported
  }
  if (part) ViewInput::Scroll(window_, field_, *part);
  // The model decides where the thumb goes; until it says, it stays where it was.
  vbar_->setSliderPosition(static_cast<int>(list_.thumbDrawn));
}

void ListWidget::Click(QMouseEvent* event, LONG clicks) {
  LONG button = 0;
  if (event->button() == Qt::LeftButton) button = kKeyLeftMouse;
  if (event->button() == Qt::RightButton) button = kKeyRightMouse;
  const QPoint at = event->position().toPoint();
  if (button == 0 || !rows_.contains(at)) return;
  // Below the last row the click is item 0: reported, and no row is selected.
  const int row = RowAt(at);
  ViewInput::Click(window_, field_, row < 0 ? 0 : list_.rows[static_cast<size_t>(row)].entry, button, clicks);
}

void ListWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && header_.contains(at)) {
    const int column = EdgeAt(at.x());
    if (column >= 0) drag_ = ColumnDrag{column, at.x(), widths_[static_cast<size_t>(column)]};
    return;
  }
  // The second press of a double click comes just before the double click, which
  // reports it.
  if (lastPress_ && lastPress_->button == event->button() &&
      event->timestamp() - lastPress_->time < static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
      (at - lastPress_->at).manhattanLength() <= QGuiApplication::styleHints()->mouseDoubleClickDistance()) {
    lastPress_.reset();
    return;
  }
  lastPress_ = Press{event->timestamp(), at, event->button()};
  Click(event, 1);
}

void ListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  lastPress_.reset();
  if (header_.contains(event->position().toPoint())) return;
  Click(event, 2);
}

void ListWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (drag_) {
    widths_[static_cast<size_t>(drag_->column)] = std::max(kNarrowestColumn, drag_->startWidth + at.x() - drag_->startX);
    Layout();
    update();
    return;
  }
  if (header_.contains(at) && EdgeAt(at.x()) >= 0) {
    setCursor(Qt::SplitHCursor);
  } else {
    unsetCursor();
  }
}

void ListWidget::mouseReleaseEvent(QMouseEvent*) {
  if (!drag_) return;
  const size_t column = static_cast<size_t>(drag_->column);
  drag_.reset();
  const LONG units = std::max(1, units_.FromPixelsX(widths_[column]));
  if (units == list_.columns[column].width) {
    widths_[column] = units_.ToPixelsX(static_cast<int>(units));
  } else if (ViewInput::ColumnWidth(window_, field_, static_cast<LONG>(column) + 1, units) == InputResult::kDone) {
    draggedUnits_[column] = units;
    draggedRevision_ = PresentationRevision();
    widths_[column] = units_.ToPixelsX(static_cast<int>(units));
  } else {
    widths_[column] = units_.ToPixelsX(static_cast<int>(list_.columns[column].width));
  }
  Layout();
  update();
}

void ListWidget::keyPressEvent(QKeyEvent* event) {
  const LONG code = KeyCodeFor(event->key(), event->modifiers());
  const LONG typed = KeyCharFor(event->text());
  const bool alert = code != 0 && std::find(alertKeys_.begin(), alertKeys_.end(), code) != alertKeys_.end();
  if (alert || IsListKey(code)) {
    ViewInput::Key(window_, field_, code, alert ? typed : 0);
    return;
  }
  if (typed >= 0x20 && (code & (kKeyCtrlBit | kKeyAltBit)) == 0) {
    ViewInput::Key(window_, field_, code, typed);
    return;
  }
  if (list_.hScroll && (code == kKeyLeft || code == kKeyRight)) {
    hbar_->triggerAction(code == kKeyLeft ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    return;
  }
  event->ignore();  // the window's own keys (Tab, Esc, F-keys ...)
}

void ListWidget::wheelEvent(QWheelEvent* event) {
  wheelTurn_ += event->angleDelta().y();
  while (wheelTurn_ >= kWheelNotch) {
    wheelTurn_ -= kWheelNotch;
    ViewInput::Scroll(window_, field_, ScrollPart::kLineUp);
  }
  while (wheelTurn_ <= -kWheelNotch) {
    wheelTurn_ += kWheelNotch;
    ViewInput::Scroll(window_, field_, ScrollPart::kLineDown);
  }
  if (list_.hScroll && event->angleDelta().x() != 0) hbar_->setValue(hbar_->value() - event->angleDelta().x() / 4);
  event->accept();
}

bool ListWidget::eventFilter(QObject* watched, QEvent* event) {
  // A wheel over the scroll bar turns the list as over its rows (the bar would move its
  // thumb by itself).
  if (watched == vbar_ && event->type() == QEvent::Wheel) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

namespace {

class ListView : public ControlView {
 public:
  ListView(QWidget* parent, LONG window, LONG field) : widget_(new ListWidget(parent, window, field)) {}

  QWidget* widget() override { return widget_; }

  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    ApplyCommon(widget_, control, style, QSize(style.units.ToPixelsX(100), style.units.ToPixelsY(60)), QPalette::Text,
                QPalette::Base);
    if (control.list) widget_->Show(control, style);
  }

 private:
  ListWidget* widget_;
};

}  // namespace

std::unique_ptr<ControlView> MakeListView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<ListView>(parent, window, field);
}

}  // namespace qx
