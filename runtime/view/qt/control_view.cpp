// The table of control views and what every control view shares; see control_view.h.
#include "runtime/view/qt/control_view.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPalette>

#include <map>
#include <string>

#include "runtime/view/qt/basic_controls.h"
#include "runtime/view/qt/colour_mapping.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/form_controls.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

std::map<std::string, ControlViewFactory, std::less<>>& Table() {
  static std::map<std::string, ControlViewFactory, std::less<>> table = {
      {"button", &MakeButtonView}, {"prompt", &MakePromptView}, {"string", &MakeStringView},
      {"panel", &MakePanelView},   {"image", &MakeImageView},   {"list", &MakeListView},
      {"sheet", &MakeSheetView},   {"tab", &MakeTabView},       {"entry", &MakePictureEntryView},
  };
  return table;
}

class PointerReporter : public QObject {
 public:
  PointerReporter(QWidget* widget, LONG window, LONG field) : QObject(widget), window_(window), field_(field) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Enter) ViewInput::Hover(window_, field_);
    if (event->type() == QEvent::Leave) ViewInput::Hover(window_, 0);
    return false;
  }

 private:
  LONG window_, field_;
};

class FocusReporter : public QObject {
 public:
  FocusReporter(QWidget* widget, LONG window, LONG field) : QObject(widget), window_(window), field_(field) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::FocusIn) return false;
    switch (static_cast<QFocusEvent*>(event)->reason()) {
      case Qt::MouseFocusReason:
      case Qt::TabFocusReason:
      case Qt::BacktabFocusReason:
      case Qt::ShortcutFocusReason:
        ViewInput::Focus(window_, field_);
        break;
      default:
        break;  // given by the view itself, or by the window system on activation
    }
    return false;
  }

 private:
  LONG window_, field_;
};

// A control of a kind this view cannot show: it keeps its place and shows nothing.
class BlankView : public ControlView {
 public:
  explicit BlankView(QWidget* parent) : widget_(new QWidget(parent)) {}
  QWidget* widget() override { return widget_; }
  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    ApplyCommon(widget_, control, style, QSize(0, 0));
  }

 private:
  QWidget* widget_;
};

}  // namespace

bool ControlView::TakeFocus() {
  QWidget* w = widget();
  if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || !w->isEnabled()) return false;
  if (!w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
  return true;
}

void RegisterControlView(std::string_view kind, ControlViewFactory factory) {
  Table()[std::string(kind)] = factory;
}

std::unique_ptr<ControlView> CreateControlView(std::string_view kind, bool editable, QWidget* parent, LONG window,
                                               LONG field) {
  auto& table = Table();
  if (auto it = table.find(kind); it != table.end()) return it->second(parent, window, field);
  if (editable) return MakeLineEntryView(parent, window, field);
  return MakeBlankView(parent, window, field);
}

std::unique_ptr<ControlView> MakeBlankView(QWidget* parent, LONG, LONG) { return std::make_unique<BlankView>(parent); }

QFont ControlFont(const ControlPresentation& control, const WindowStyle& style) {
  const FontDescription& f = control.font;
  QFont font = style.font;
  if (!f.face.empty()) {
    const QFont mapped = QtFontFor(f.face, 0, 0, false);
    font.setFamily(mapped.family());
    font.setStyleHint(mapped.styleHint());
  }
  if (f.size > 0) font.setPointSize(static_cast<int>(f.size));
  if (f.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::min<LONG>(f.weight, 1000)));
  if (f.italic) font.setItalic(true);
  return font;
}

std::optional<QColor> ControlTextColour(const ControlPresentation& control, const WindowStyle& style) {
  for (ULONG value : {control.colour, control.font.colour, style.fontColour}) {
    if (value == kNoColour) continue;
    if (auto colour = ColourFromLong(static_cast<LONG>(value))) return colour;
  }
  return std::nullopt;
}

QRect ControlGeometry(const ControlPresentation& control, const WindowStyle& style, QSize natural) {
  const DialogRect& at = control.at;
  const int x = style.units.ToPixelsX(static_cast<int>(at.x.value_or(0)));
  const int y = style.units.ToPixelsY(static_cast<int>(at.y.value_or(0)));
  const int w = at.width ? style.units.ToPixelsX(static_cast<int>(*at.width)) : natural.width();
  const int h = at.height ? style.units.ToPixelsY(static_cast<int>(*at.height)) : natural.height();
  return QRect(x, y, std::max(0, w), std::max(0, h));
}

void ApplyCommon(QWidget* widget, const ControlPresentation& control, const WindowStyle& style, QSize natural,
                 QPalette::ColorRole textRole, QPalette::ColorRole groundRole) {
  const QFont font = ControlFont(control, style);
  if (widget->font() != font) widget->setFont(font);
  QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
  if (auto text = ControlTextColour(control, style)) {
    palette.setColor(QPalette::Active, textRole, *text);
    palette.setColor(QPalette::Inactive, textRole, *text);
  }
  std::optional<QColor> ground;
  if (!control.transparent && control.background != kNoColour) ground = ColourFromLong(static_cast<LONG>(control.background));
  if (ground) palette.setColor(groundRole, *ground);
  widget->setAutoFillBackground(ground.has_value());
  if (widget->palette() != palette) widget->setPalette(palette);
  const QString tip = FromLatin1Bytes(control.tip);
  if (widget->toolTip() != tip) widget->setToolTip(tip);
  const QRect geometry = ControlGeometry(control, style, natural);
  if (widget->geometry() != geometry) widget->setGeometry(geometry);
  widget->setEnabled(!control.disabled);
  widget->setVisible(control.visible && !control.hidden);  // hidden, or on a tab not selected
}

void ReportPointer(QWidget* widget, LONG window, LONG field) {
  widget->setAttribute(Qt::WA_Hover);
  widget->installEventFilter(new PointerReporter(widget, window, field));
}

void ReportFocus(QWidget* widget, LONG window, LONG field) {
  widget->installEventFilter(new FocusReporter(widget, window, field));
}

}  // namespace qx
