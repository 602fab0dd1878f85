// The text views: prompts (a fixed text that wraps at blanks, top-aligned, with its access
// key underlined) and strings (one line: a value formatted through its picture). Both draw
// their text themselves so that justification, offset, colour and transparency follow the
// description exactly; neither takes the focus.
#include <QPainter>
#include <QWidget>

#include "runtime/view/qt/basic_controls.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/text_justification.h"

namespace qx {
namespace {

class TextWidget : public QWidget {
 public:
  TextWidget(QWidget* parent, bool wraps) : QWidget(parent), wraps_(wraps) { setFocusPolicy(Qt::NoFocus); }

  void SetText(const QString& text, TextPlacement placement) {
    if (text == text_ && placement.alignment == placement_.alignment && placement.margins == placement_.margins) return;
    text_ = text;
    placement_ = placement;
    update();
  }
  // One line at the widget's font: what a control without a size shows.
  QSize Natural() const {
    const QSize s = fontMetrics().size(flags(false), text_);
    return QSize(s.width() + placement_.margins.left() + placement_.margins.right(), s.height());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect().marginsRemoved(placement_.margins), flags(wraps_), text_);
  }

 private:
  int flags(bool wrap) const {
    int f = static_cast<int>(placement_.alignment);
    if (wrap) f |= Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (!wrap && wraps_) f |= Qt::TextShowMnemonic;
    if (!wraps_) f |= Qt::TextSingleLine;
    return f;
  }

  bool wraps_;
  QString text_;
  TextPlacement placement_{Qt::AlignLeft | Qt::AlignTop, QMargins()};
};

class TextView : public ControlView {
 public:
  TextView(QWidget* parent, LONG window, LONG field, bool prompt)
      : widget_(new TextWidget(parent, prompt)), prompt_(prompt) {
    ReportPointer(widget_, window, field);
  }

  QWidget* widget() override { return widget_; }

  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    const Justification justification = JustificationFor(control.justify, Justification::kLeft);
    const Qt::Alignment vertical = prompt_ ? Qt::AlignTop : Qt::AlignVCenter;
    widget_->SetText(FromLatin1Bytes(control.text),
                     PlaceText(justification, static_cast<int>(control.justifyOffset), style.units, vertical));
    widget_->setFont(ControlFont(control, style));  // first: the natural size depends on it
    ApplyCommon(widget_, control, style, widget_->Natural());
  }

 private:
  TextWidget* widget_;
  bool prompt_;
};

}  // namespace

std::unique_ptr<ControlView> MakePromptView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<TextView>(parent, window, field, true);
}

std::unique_ptr<ControlView> MakeStringView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<TextView>(parent, window, field, false);
}

}  // namespace qx
