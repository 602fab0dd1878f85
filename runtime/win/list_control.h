// A list: the entries of a queue (its USE variable, queue.h) as rows, in the columns of its
// FORMAT string (list_format.h).
//
// Description keys of its own (DESCRIPTIONS.md): "format", "immediate", "vscroll",
// "hscroll", "selected_colour", "selected_background".
//
// Two ways of working:
//   - immediate ("immediate": true): the program pages the rows itself; its queue holds
//     what the list shows. The list never moves the selection or the rows on a key: Up and
//     Down (and the scroll bar's arrows) report EVENT:ScrollUp and ScrollDown, PageUp and
//     PageDown (and the shaft) EVENT:PageUp and PageDown, Home, End, Ctrl+PageUp and
//     Ctrl+PageDown EVENT:ScrollTop and ScrollBottom; a dropped thumb sets PropThumb and
//     reports EVENT:ScrollDrag; a typed character reports EVENT:AlertKey with RtKeyChar and
//     RtKeyCode. The vertical scroll bar and its thumb are the program's (PropScrollBar,
//     PropThumb).
//   - otherwise the list scrolls through its queue itself: the keys move the selection
//     (EVENT:NewSelection when it changes) and the scroll bar follows the rows shown.
// In both, a click selects a row and reports EVENT:NewSelection with the button's key code
// (1, 2 right, 5 double click), and an alert key (PropAlertKeys) reports EVENT:AlertKey.
//
// Properties: PropSelectedRow (the highlighted entry; RtChoice reads it), PropVisibleRows
// (from the list's height and the row height of its font), PropScrollBar, PropThumb,
// PropFormat, and those of every control.
#pragma once

#include "runtime/win/control.h"
#include "runtime/win/list_format.h"
#include "runtime/win/queue.h"

namespace qx {

class ListControl : public Control {
 public:
  ListControl(const ControlDescription& description, ControlArea area, LONG parentField);

  bool ConsumesVariable() const override { return true; }
  bool TakesFocus() const override { return true; }
  void Attach(const WindowDescription& window) override;
  void Display() override;
  LONG Choice() const override;

  InputResult OnKey(InputContext& window, LONG keyCode, LONG keyChar) override;
  InputResult OnClick(InputContext& window, LONG item, LONG keyCode) override;
  InputResult OnScroll(InputContext& window, ScrollPart part) override;
  InputResult OnThumb(InputContext& window, LONG position) override;
  InputResult OnColumnWidth(LONG column, LONG width) override;

  bool GetProperty(LONG property, LONG index, std::string& value) const override;
  bool SetProperty(LONG property, LONG index, std::string_view value) override;
  void Present(ControlPresentation& out) const override;

  // Dialog units of one row and of the header, and the rows the height shows (at least 1).
  LONG RowHeight() const;
  LONG HeaderHeight() const;
  LONG VisibleRows() const;

 private:
  LONG Records() const;
  // The selected entry, kept within the queue's entries (0 only when it is empty).
  LONG Selected() const;
  LONG MaxTop() const;
  void ScrollTo(LONG top);
  void KeepSelectionShown();
  // Moves the selection (not in immediate mode) and reports a change.
  void MoveSelection(InputContext& window, LONG to, LONG keyCode);
  LONG DerivedThumb() const;
  std::string CellText(const ListColumn& column, LONG entry) const;

  ListFormat format_;
  std::string formatError_;
  bool immediate_ = false;
  bool hScroll_ = false;
  bool scrollBar_ = false;       // PropScrollBar
  LONG selected_ = 1;            // PropSelectedRow as set or clicked
  LONG top_ = 1;                 // the first entry shown (lists that scroll themselves)
  LONG thumb_ = 0;               // PropThumb of an immediate list
  LONG windowFontSize_ = 0;      // points of the window's font (0: the default 8)
  ULONG selectedColour_ = kNoColour, selectedBackground_ = kNoColour;
};

}  // namespace qx
