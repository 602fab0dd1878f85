// Message boxes; see message_dialog.h.
#include "runtime/view/qt/message_dialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/message_buttons.h"
#include "runtime/view/qt/system_images.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

// Sizes in dialog units of the box's font, as the platform's message boxes have them.
constexpr int kButtonWidthUnits = 50;
constexpr int kButtonHeightUnits = 14;
constexpr int kMarginUnits = 7;
// Lines longer than this many pixels wrap.
constexpr int kLongestLinePixels = 480;

}  // namespace

MessageDialog::MessageDialog(const MessagePresentation& box, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      box_(box) {
  setProperty(kMessageIdProperty, QVariant::fromValue<int>(box.id));
  setWindowTitle(FromLatin1Bytes(box.caption));
  setModal(false);
  setSizeGripEnabled(false);
  const DialogUnits units(font());
  const int margin = units.ToPixelsX(kMarginUnits);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(margin, margin, margin, margin);
  column->setSpacing(margin);
  auto* row = new QHBoxLayout;
  row->setSpacing(margin * 2);
  const QPixmap icon = PixmapFor(box.icon);
  if (!icon.isNull()) {
    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(icon);
    iconLabel->setAlignment(Qt::AlignTop);
    row->addWidget(iconLabel, 0, Qt::AlignTop);
  }
  auto* text = new QLabel(FromLatin1Bytes(box.text), this);
  text->setTextFormat(Qt::PlainText);
  text->setObjectName(QStringLiteral("text"));
  int longest = 0;
  for (const QString& line : text->text().split(QLatin1Char('\n'))) longest = std::max(longest, text->fontMetrics().horizontalAdvance(line));
  if (longest > kLongestLinePixels) {
    text->setWordWrap(true);
    text->setFixedWidth(kLongestLinePixels);
  }
  text->setAlignment(icon.isNull() ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
  row->addWidget(text, 1);
  column->addLayout(row);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (LONG b : MessageButtonsInOrder(box.buttons)) {
    auto* button = new QPushButton(MessageButtonLabel(b), this);
    button->setObjectName(QString::fromLatin1(MessageButtonName(b)));
    button->setMinimumSize(units.ToPixelsX(kButtonWidthUnits), units.ToPixelsY(kButtonHeightUnits));
    button->setAutoDefault(true);
    if (b == box.defaultButton) {
      button->setDefault(true);
      button->setFocus(Qt::OtherFocusReason);
    }
    connect(button, &QPushButton::clicked, this, [this, b] { Answer(b); });
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  column->addLayout(buttons);
  column->setSizeConstraint(QLayout::SetFixedSize);
  // Without Cancel or a lone OK the close box has nothing to answer.
  if (EscapeAnswer(box.buttons) == 0) setWindowFlag(Qt::WindowCloseButtonHint, false);
}

bool MessageDialog::Press(LONG button) {
  auto* b = findChild<QPushButton*>(QString::fromLatin1(MessageButtonName(button)));
  if (b == nullptr || !(box_.buttons & button)) return false;
  b->click();
  return true;
}

void MessageDialog::reject() {
  if (const LONG answer = EscapeAnswer(box_.buttons)) Answer(answer);
}

void MessageDialog::Answer(LONG button) {
  if (answered_) return;
  if (ViewInput::AnswerMessage(box_.id, button) == InputResult::kDone) {
    answered_ = true;
    hide();
  }
}

}  // namespace qx
