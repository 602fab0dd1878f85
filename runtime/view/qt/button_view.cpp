// The button view: a push button whose bevel the style draws and whose icon and text are
// placed by PlaceButtonContent (button_layout.h). Pressing it is ViewInput::Press; the
// model runs its standard action or queues EVENT:Accepted.
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "runtime/view/qt/basic_controls.h"
#include "runtime/view/qt/button_layout.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/system_images.h"
#include "runtime/win/standard_actions.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

constexpr int kIconTextGap = 4;  // pixels between a button's icon and its text

class ModelButton : public QPushButton {
 public:
  explicit ModelButton(QWidget* parent) : QPushButton(parent) {}

  void SetContent(const QPixmap& icon, Justification justification) {
    icon_ = icon;
    justification_ = justification;
    update();
  }

  QSize sizeHint() const override {
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, text_());
    const int iconWidth = icon_.isNull() ? 0 : icon_.width() + kIconTextGap;
    const int iconHeight = icon_.isNull() ? 0 : icon_.height();
    return QSize(text.width() + iconWidth + 16, std::max(text.height(), iconHeight) + 8);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) inside.translate(1, 1);
    const QSize iconSize = icon_.isNull() ? QSize() : icon_.deviceIndependentSize().toSize();
    const ButtonPlacement place = PlaceButtonContent(inside, iconSize, justification_, kIconTextGap);
    if (!place.icon.isEmpty()) {
      const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
      QIcon(icon_).paint(&painter, place.icon, Qt::AlignCenter, mode);
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(place.text, static_cast<int>(place.textAlignment) | Qt::TextWordWrap | Qt::TextShowMnemonic,
                     text_());
  }

 private:
  QString text_() const { return text(); }

  QPixmap icon_;
  Justification justification_ = Justification::kCenter;
};

class ButtonView : public ControlView {
 public:
  ButtonView(QWidget* parent, LONG window, LONG field) : button_(new ModelButton(parent)), window_(window), field_(field) {
    button_->setFocusPolicy(Qt::StrongFocus);
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] { Press(); });
    ReportPointer(button_, window, field);
    ReportFocus(button_, window, field);
  }

  QWidget* widget() override { return button_; }

  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    standardAction_ = control.standardAction;
    const QString text = FromLatin1Bytes(control.text);
    if (button_->text() != text) button_->setText(text);
    button_->setDefault(control.isDefault);
    button_->SetContent(PixmapFor(control.icon), JustificationFor(control.justify, Justification::kCenter));
    ApplyCommon(button_, control, style, button_->sizeHint(), QPalette::ButtonText, QPalette::Button);
  }

 private:
  void Press() {
    std::optional<std::string> clipboard;
    if (standardAction_ == kStdPaste) clipboard = ToLatin1Replacing(QGuiApplication::clipboard()->text());
    ViewInput::Press(window_, field_, clipboard);
  }

  ModelButton* button_;
  LONG window_, field_;
  LONG standardAction_ = 0;
};

}  // namespace

std::unique_ptr<ControlView> MakeButtonView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<ButtonView>(parent, window, field);
}

}  // namespace qx
