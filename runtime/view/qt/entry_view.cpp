// The line entry that a control taking typed text gets while its kind has no view of its
// own. What a person types must fit the model's single-byte code page: a character beyond
// Latin-1 is refused as it is typed or pasted (the validator), so the text handed to
// ViewInput::Type is always what the person saw. Leaving the entry (or Enter) hands it over
// and accepts the control.
#include <QLineEdit>
#include <QValidator>

#include "runtime/view/qt/basic_controls.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

class Latin1Validator : public QValidator {
 public:
  explicit Latin1Validator(QObject* parent) : QValidator(parent) {}
  State validate(QString& input, int&) const override { return FitsLatin1(input) ? Acceptable : Invalid; }
};

class LineEntryView : public ControlView {
 public:
  LineEntryView(QWidget* parent, LONG window, LONG field) : edit_(new QLineEdit(parent)), window_(window), field_(field) {
    edit_->setValidator(new Latin1Validator(edit_));
    edit_->setFrame(true);
    QObject::connect(edit_, &QLineEdit::editingFinished, edit_, [this] { HandOver(); });
    ReportPointer(edit_, window, field);
    ReportFocus(edit_, window, field);
  }

  QWidget* widget() override { return edit_; }

  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    const QString text = FromLatin1Bytes(control.text);
    // What the person is typing stays until it is handed over.
    if (!(edit_->hasFocus() && edit_->isModified()) && edit_->text() != text) {
      edit_->setText(text);
      edit_->setModified(false);
    }
    edit_->setReadOnly(control.readOnly);
    edit_->setAlignment(PlaceText(JustificationFor(control.justify, Justification::kLeft), 0, style.units).alignment);
    ApplyCommon(edit_, control, style, edit_->sizeHint(), QPalette::Text, QPalette::Base);
  }

 private:
  void HandOver() {
    if (!edit_->isModified()) return;
    edit_->setModified(false);
    if (std::optional<std::string> bytes = ToLatin1Bytes(edit_->text())) ViewInput::Type(window_, field_, *bytes, true);
  }

  QLineEdit* edit_;
  LONG window_, field_;
};

}  // namespace

std::unique_ptr<ControlView> MakeLineEntryView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<LineEntryView>(parent, window, field);
}

}  // namespace qx
