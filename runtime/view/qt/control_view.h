// How the Qt view shows one control of a window: a ControlView per control, made by kind
// ("button", "prompt", "list", ...) from a table that other kinds join with
// RegisterControlView. A control view owns one widget, placed by the window in its client
// area or its toolbar strip, and turns a person's acts on it into ViewInput calls. It never
// decides an outcome: it shows what the latest presentation says.
//
// All of it lives on the GUI thread.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/text_justification.h"
#include "runtime/win/presentation.h"

namespace qx {

// What a control takes from its window.
struct WindowStyle {
  LONG window = 0;                    // the window's id, for ViewInput
  DialogUnits units{DialogBaseUnits{4, 8}};  // of the window's font
  QFont font;                         // the window's font
  ULONG fontColour = kNoColour;       // the window's text colour
  bool takesInput = true;
  std::uint64_t revision = 0;         // of the window presentation being shown
};

class ControlView {
 public:
  ControlView() = default;
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  // The control's widget, a child of the parent given to the factory.
  virtual QWidget* widget() = 0;
  // Shows `control` as it is now; called with each presentation of the window. The view
  // places, fonts, colours, hides and disables the widget itself (ApplyCommon helps).
  virtual void Apply(const ControlPresentation& control, const WindowStyle& style) = 0;
  // Gives the widget the keyboard focus when it can take it; false when it cannot.
  virtual bool TakeFocus();
};

// Makes the view of one control; `window` and `field` name it for ViewInput.
using ControlViewFactory = std::unique_ptr<ControlView> (*)(QWidget* parent, LONG window, LONG field);

// Adds or replaces the view of a control kind. GUI thread only.
void RegisterControlView(std::string_view kind, ControlViewFactory factory);
// The view of a control of `kind`. A kind without a view of its own gets a line entry when
// the control takes typed text, and otherwise a widget that shows nothing, so that a
// window with a control kind this view does not know still opens.
std::unique_ptr<ControlView> CreateControlView(std::string_view kind, bool editable, QWidget* parent, LONG window,
                                               LONG field);

// ---- helpers shared by the control views ----

// The control's font: its own face, size, weight and slant where it gives them, the
// window's otherwise.
QFont ControlFont(const ControlPresentation& control, const WindowStyle& style);
// The control's text colour: its own, its font's, the window font's; nothing = the palette's.
std::optional<QColor> ControlTextColour(const ControlPresentation& control, const WindowStyle& style);
// The control's rectangle in pixels; a width or height the control leaves out takes
// `natural` (its content's size), a position left out is 0.
QRect ControlGeometry(const ControlPresentation& control, const WindowStyle& style, QSize natural);
// Font, text colour (palette role `textRole`), background (`groundRole`; none when
// transparent or unset), tooltip, geometry, hidden and disabled, for any control widget.
void ApplyCommon(QWidget* widget, const ControlPresentation& control, const WindowStyle& style, QSize natural,
                 QPalette::ColorRole textRole = QPalette::WindowText,
                 QPalette::ColorRole groundRole = QPalette::Window);

// Reports the pointer resting on `widget` (ViewInput::Hover with the field on entering, 0 on
// leaving) so that the control's message reaches the status bar.
void ReportPointer(QWidget* widget, LONG window, LONG field);
// Reports the focus a person gives `widget` (a click, Tab, an access key) through
// ViewInput::Focus; focus the view gives it from a presentation is not reported back.
void ReportFocus(QWidget* widget, LONG window, LONG field);

}  // namespace qx
