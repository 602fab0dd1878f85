// Lists; see list_control.h.
#include "runtime/win/list_control.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/text/picture.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/properties.h"

namespace qx {
namespace {

// A row of the window's font is its character height (8 vertical dialog units) and one
// unit of spacing.
constexpr LONG kRowUnits = 9;
constexpr LONG kDefaultFontPoints = 8;

std::string PlainNumber(double v) {
  char buf[64];
  if (v == std::floor(v) && std::fabs(v) < 1e15) {
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
  } else {
    std::snprintf(buf, sizeof buf, "%.15g", v);
  }
  return buf;
}

// A colour field's value as a colour: -1 (and anything that is no number) is kNoColour.
ULONG ColourOf(const QueueValue& v) {
  if (!v.numeric) return kNoColour;
  return static_cast<ULONG>(static_cast<long long>(v.number));
}

ListFormat OneColumn(const DialogRect& at) {
  ListFormat f;
  ListColumn c;
  c.width = at.width.value_or(0);
  f.columns.push_back(c);
  f.fieldsUsed = 1;
  return f;
}

}  // namespace

ListControl::ListControl(const ControlDescription& d, ControlArea area, LONG parentField)
    : Control(d, area, parentField), immediate_(d.immediate), hScroll_(d.hScroll), scrollBar_(d.vScroll),
      selectedColour_(d.selectedColour), selectedBackground_(d.selectedBackground) {
  std::optional<ListFormat> parsed;
  if (!d.format.empty()) parsed = ParseListFormat(d.format, &formatError_);
  format_ = parsed ? std::move(*parsed) : OneColumn(d.at);
}

void ListControl::Attach(const WindowDescription& window) { windowFontSize_ = window.font.size; }

LONG ListControl::RowHeight() const {
  const LONG windowPoints = windowFontSize_ > 0 ? windowFontSize_ : kDefaultFontPoints;
  const LONG ownPoints = desc_.font.size > 0 ? desc_.font.size : windowPoints;
  const LONG units = static_cast<LONG>(std::lround(static_cast<double>(kRowUnits) * ownPoints / windowPoints));
  return std::max<LONG>(units, 1);
}

LONG ListControl::HeaderHeight() const { return format_.hasHeader ? RowHeight() + 1 : 0; }

LONG ListControl::VisibleRows() const {
  LONG h = at_.height.value_or(0) - 2 * kListBorderUnits - HeaderHeight() - (hScroll_ ? kListScrollBarHeight : 0);
  return std::max<LONG>(h / RowHeight(), 1);
}

LONG ListControl::Records() const {
  const RtQueue* q = variable_.queue();
  return q ? q->Records() : 0;
}

LONG ListControl::Selected() const {
  const LONG n = Records();
  if (n == 0) return 0;
  return std::clamp<LONG>(selected_, 1, n);
}

LONG ListControl::Choice() const { return Selected(); }

LONG ListControl::MaxTop() const { return std::max<LONG>(Records() - VisibleRows() + 1, 1); }

void ListControl::ScrollTo(LONG top) { top_ = std::clamp<LONG>(top, 1, MaxTop()); }

void ListControl::KeepSelectionShown() {
  if (immediate_) return;
  const LONG s = Selected();
  if (s == 0) {
    top_ = 1;
    return;
  }
  if (s < top_) top_ = s;
  if (s >= top_ + VisibleRows()) top_ = s - VisibleRows() + 1;
  ScrollTo(top_);
}

void ListControl::Display() { KeepSelectionShown(); }

void ListControl::MoveSelection(InputContext& window, LONG to, LONG keyCode) {
  const LONG n = Records();
  if (n == 0) return;
  to = std::clamp<LONG>(to, 1, n);
  const LONG before = Selected();
  selected_ = to;
  KeepSelectionShown();
  if (to == before) return;
  Event e;
  e.number = kEventNewSelection;
  e.field = field();
  e.keyCode = keyCode;
  e.fromInput = true;
  window.Queue(e);
}

InputResult ListControl::OnKey(InputContext& window, LONG keyCode, LONG keyChar) {
  Event e;
  e.field = field();
  e.keyCode = keyCode;
  e.keyChar = keyChar;
  e.fromInput = true;
  switch (keyCode) {
    case kKeyUp: e.number = kEventScrollUp; break;
    case kKeyDown: e.number = kEventScrollDown; break;
    case kKeyPageUp: e.number = kEventPageUp; break;
    case kKeyPageDown: e.number = kEventPageDown; break;
    case kKeyHome:
    case kKeyCtrlPageUp: e.number = kEventScrollTop; break;
    case kKeyEnd:
    case kKeyCtrlPageDown: e.number = kEventScrollBottom; break;
    default: break;
  }
  const bool typed = e.number == 0 && keyChar >= 0x20 && (keyCode & (kKeyCtrlBit | kKeyAltBit)) == 0;
  if (e.number == 0 && !typed) return InputResult::kNotApplicable;
  if (immediate_) {
    if (typed) e.number = kEventAlertKey;
    window.Queue(e);
    return InputResult::kDone;
  }
  if (typed) return InputResult::kNotApplicable;
  const LONG page = VisibleRows();
  const LONG s = Selected();
  switch (e.number) {
    case kEventScrollUp: MoveSelection(window, s - 1, keyCode); break;
    case kEventScrollDown: MoveSelection(window, s + 1, keyCode); break;
    case kEventPageUp: MoveSelection(window, s - page, keyCode); break;
    case kEventPageDown: MoveSelection(window, s + page, keyCode); break;
    case kEventScrollTop: MoveSelection(window, 1, keyCode); break;
    default: MoveSelection(window, Records(), keyCode); break;
  }
  return InputResult::kDone;
}

InputResult ListControl::OnClick(InputContext& window, LONG item, LONG keyCode) {
  if (item < 0 || item > Records()) return InputResult::kBadValue;
  window.TakeFocus(field());
  // Item 0 is the space below the rows (all of an empty list): the selection stays, but
  // the click is reported all the same, so a right click there still asks for the popup.
  if (item > 0) {
    selected_ = item;
    KeepSelectionShown();
  }
  // Every click reports the selection, also on the row that was selected: a right click
  // asks for the row's popup menu, a double click for its action.
  Event e;
  e.number = kEventNewSelection;
  e.field = field();
  e.keyCode = keyCode;
  e.fromInput = true;
  window.Queue(e);
  if (IsAlertKey(keyCode)) {
    e.number = kEventAlertKey;
    window.Queue(e);
  }
  return InputResult::kDone;
}

InputResult ListControl::OnScroll(InputContext& window, ScrollPart part) {
  if (immediate_) {
    Event e;
    e.field = field();
    e.keyCode = kKeyLeftMouse;
    e.fromInput = true;
    switch (part) {
      case ScrollPart::kLineUp: e.number = kEventScrollUp; break;
      case ScrollPart::kLineDown: e.number = kEventScrollDown; break;
      case ScrollPart::kPageUp: e.number = kEventPageUp; break;
      case ScrollPart::kPageDown: e.number = kEventPageDown; break;
    }
    window.Queue(e);
    return InputResult::kDone;
  }
  const LONG page = VisibleRows();
  switch (part) {
    case ScrollPart::kLineUp: ScrollTo(top_ - 1); break;
    case ScrollPart::kLineDown: ScrollTo(top_ + 1); break;
    case ScrollPart::kPageUp: ScrollTo(top_ - page); break;
    case ScrollPart::kPageDown: ScrollTo(top_ + page); break;
  }
  return InputResult::kDone;
}

InputResult ListControl::OnThumb(InputContext& window, LONG position) {
  if (!immediate_) {
    ScrollTo(1 + static_cast<LONG>(std::lround((MaxTop() - 1) * position / 100.0)));
    return InputResult::kDone;
  }
  thumb_ = position;
  Event e;
  e.number = kEventScrollDrag;
  e.field = field();
  e.keyCode = kKeyLeftMouse;
  e.fromInput = true;
  window.Queue(e);
  return InputResult::kDone;
}

InputResult ListControl::OnColumnWidth(LONG column, LONG width) {
  if (column < 1 || static_cast<size_t>(column) > format_.columns.size() || width < 1) return InputResult::kBadValue;
  ListColumn& c = format_.columns[static_cast<size_t>(column - 1)];
  if (!c.resizable) return InputResult::kNotApplicable;
  c.width = width;
  return InputResult::kDone;
}

LONG ListControl::DerivedThumb() const {
  if (immediate_) return thumb_;
  const LONG range = MaxTop() - 1;
  return range == 0 ? 0 : static_cast<LONG>(std::lround(100.0 * (top_ - 1) / range));
}

bool ListControl::GetProperty(LONG property, LONG index, std::string& value) const {
  switch (property) {
    case kPropSelectedRow: value = std::to_string(Selected()); return true;
    case kPropVisibleRows: value = std::to_string(VisibleRows()); return true;
    case kPropScrollBar: value = TruthText(scrollBar_); return true;
    case kPropThumb: value = std::to_string(DerivedThumb()); return true;
    case kPropFormat: value = desc_.format; return true;
    default: return Control::GetProperty(property, index, value);
  }
}

bool ListControl::SetProperty(LONG property, LONG index, std::string_view value) {
  const LONG n = std::atoi(std::string(value).c_str());
  switch (property) {
    case kPropSelectedRow:
      selected_ = std::max<LONG>(n, 1);
      KeepSelectionShown();
      return true;
    case kPropScrollBar: scrollBar_ = TextIsTrue(value); return true;
    case kPropThumb:
      if (immediate_) {
        thumb_ = std::max<LONG>(n, 0);
      } else {
        ScrollTo(1 + static_cast<LONG>(std::lround((MaxTop() - 1) * std::clamp<LONG>(n, 0, 100) / 100.0)));
      }
      return true;
    case kPropVisibleRows:
    case kPropFormat: return true;  // read only
    default: {
      const bool done = Control::SetProperty(property, index, value);
      if (property == kPropHeight) KeepSelectionShown();
      return done;
    }
  }
}

std::string ListControl::CellText(const ListColumn& column, LONG entry) const {
  const RtQueue* q = variable_.queue();
  if (q == nullptr || column.field >= q->fields().size()) return {};
  const QueueValue v = q->Value(entry, column.field);
  const std::optional<Picture> picture = column.picture.empty() ? std::nullopt : Picture::Parse(column.picture);
  if (!picture) return v.numeric ? PlainNumber(v.number) : std::string(RtClipView(v.text));
  return v.numeric ? picture->FormatNumber(v.number) : picture->FormatText(v.text);
}

void ListControl::Present(ControlPresentation& out) const {
  Control::Present(out);
  ListPresentation p;
  for (const ListColumn& c : format_.columns) {
    ListColumnPresentation& col = p.columns.emplace_back();
    col.width = c.width;
    col.justify = c.justify;
    col.indent = c.indent;
    col.header = c.header;
    col.headerJustify = c.headerJustify;
    col.headerIndent = c.headerIndent;
    col.rightBorder = c.rightBorder;
    col.resizable = c.resizable;
    col.colours = c.colours;
    col.picture = c.picture;
  }
  p.header = format_.hasHeader;
  p.headerHeight = HeaderHeight();
  p.rowHeight = RowHeight();
  p.rowCount = Records();
  p.visibleRows = VisibleRows();
  p.topRow = immediate_ ? 1 : std::clamp<LONG>(top_, 1, MaxTop());
  p.selectedRow = Selected();
  p.immediate = immediate_;
  p.vScroll = scrollBar_ && (immediate_ || p.rowCount > p.visibleRows);
  p.thumb = DerivedThumb();
  p.thumbDrawn = std::clamp<LONG>(p.thumb, 0, 100);
  p.hScroll = hScroll_;
  p.selectedColour = selectedColour_;
  p.selectedBackground = selectedBackground_;
  p.formatError = formatError_;
  const RtQueue* q = variable_.queue();
  const LONG last = std::min<LONG>(p.rowCount, p.topRow + p.visibleRows - 1);
  for (LONG entry = p.topRow; entry <= last; ++entry) {
    ListRowPresentation row;
    row.entry = entry;
    row.selected = entry == p.selectedRow;
    for (const ListColumn& c : format_.columns) {
      ListCellPresentation cell;
      cell.text = CellText(c, entry);
      if (c.colours && q != nullptr && c.colourField + 3 < q->fields().size()) {
        cell.colour = ColourOf(q->Value(entry, c.colourField));
        cell.background = ColourOf(q->Value(entry, c.colourField + 1));
        cell.selectedColour = ColourOf(q->Value(entry, c.colourField + 2));
        cell.selectedBackground = ColourOf(q->Value(entry, c.colourField + 3));
      }
      row.cells.push_back(std::move(cell));
    }
    p.rows.push_back(std::move(row));
  }
  out.list = std::move(p);
}

}  // namespace qx
