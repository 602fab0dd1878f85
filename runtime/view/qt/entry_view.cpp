// Line entries. What a person types must fit the model's single-byte code page: a
// character beyond Latin-1 is refused as it is typed (the validator), so the text handed
// to ViewInput::Type is always what the person saw.
//
//   entry        the library's entry: its length from the picture, its justification and
//                offset, read-only; the text goes to the model after every edit
//                (ViewInput::Type without accepting) and the selection after every move
//                (ViewInput::Select, which the Edit menu's cut, copy and paste act on),
//                Enter and the entry's alert keys are ViewInput::Key, and the model accepts
//                or rejects the text when the person leaves it. The entry shows the text
//                (and, while the model gives it the focus, the selection) the model hands
//                back, but never a presentation made before the person's latest edit
//                reached the model.
//   (fallback)   the entry a control taking typed text gets while its kind has no view of
//                its own: leaving it (or Enter) hands the text over and accepts it.
#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <cstdint>

#include "runtime/text/picture.h"
#include "runtime/view/qt/basic_controls.h"
#include "runtime/view/qt/form_controls.h"
#include "runtime/view/qt/key_codes.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/win/keycodes.h"
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

// The library's entry widget: the keys that belong to the model go to it, the rest edit.
class PictureLineEdit : public QLineEdit {
 public:
  PictureLineEdit(QWidget* parent, LONG window, LONG field) : QLineEdit(parent), window_(window), field_(field) {}
  std::vector<LONG> alertKeys;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const LONG code = KeyCodeFor(event->key(), event->modifiers());
    const bool alert = code != 0 && std::find(alertKeys.begin(), alertKeys.end(), code) != alertKeys.end();
    if (alert || code == kKeyEnter) {
      ViewInput::Key(window_, field_, code, KeyCharFor(event->text()));
      return;
    }
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
      // What the code page cannot hold is replaced, as the model's own paste does.
      insert(FromLatin1Bytes(ToLatin1Replacing(QGuiApplication::clipboard()->text())));
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    // Reached with the keyboard or given by the program: the whole text is selected, so
    // that typing replaces it. A click places the caret where it points.
    if (event->reason() != Qt::MouseFocusReason) selectAll();
  }

 private:
  LONG window_, field_;
};

class PictureEntryView : public ControlView {
 public:
  PictureEntryView(QWidget* parent, LONG window, LONG field)
      : edit_(new PictureLineEdit(parent, window, field)), window_(window), field_(field) {
    edit_->setValidator(new Latin1Validator(edit_));
    edit_->setFrame(true);
    // Only a person's edits (typing, cutting, pasting, undoing), never setText.
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this] {
      if (!applying_) Send();
    });
    QObject::connect(edit_, &QLineEdit::selectionChanged, edit_, [this] {
      if (!applying_) SendSelection();
    });
    QObject::connect(edit_, &QLineEdit::cursorPositionChanged, edit_, [this] {
      if (!applying_) SendSelection();
    });
    ReportPointer(edit_, window, field);
    ReportFocus(edit_, window, field);
  }

  QWidget* widget() override { return edit_; }

  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    const int length = EntryMaxLength(control.picture);
    const int maxLength = length > 0 ? length : 32767;
    applying_ = true;
    if (edit_->maxLength() != maxLength) edit_->setMaxLength(maxLength);
    // A copy made before the person's latest edit reached the model shows an older text.
    const QString text = FromLatin1Bytes(control.text);
    if (style.revision >= editRevision_) {
      if (edit_->text() != text) edit_->setText(text);
      // The selection matters where the person works: in the entry the model gives the focus.
      const auto [start, end] = Selection();
      if (control.focused && (start != control.selectionStart || end != control.selectionEnd)) {
        if (control.selectionStart == control.selectionEnd) {
          edit_->setCursorPosition(static_cast<int>(control.selectionEnd));
        } else {
          edit_->setSelection(static_cast<int>(control.selectionStart),
                              static_cast<int>(control.selectionEnd - control.selectionStart));
        }
      } else if (!control.focused && !edit_->hasFocus() && edit_->hasSelectedText()) {
        edit_->deselect();  // an entry the person has left shows no selection
      }
    }
    applying_ = false;
    edit_->alertKeys = control.alertKeys;
    edit_->setReadOnly(control.readOnly);
    const TextPlacement place =
        PlaceText(JustificationFor(control.justify, Justification::kLeft), static_cast<int>(control.justifyOffset),
                  style.units);
    if (edit_->alignment() != (place.alignment & Qt::AlignHorizontal_Mask)) {
      edit_->setAlignment(place.alignment & Qt::AlignHorizontal_Mask);
    }
    if (edit_->textMargins() != place.margins) edit_->setTextMargins(place.margins);
    ApplyCommon(edit_, control, style, edit_->sizeHint(), QPalette::Text, QPalette::Base);
  }

 private:
  void Send() {
    std::optional<std::string> bytes = ToLatin1Bytes(edit_->text());
    if (!bytes) return;  // the validator lets nothing of the kind through
    if (ViewInput::Type(window_, field_, *bytes, false) == InputResult::kDone) editRevision_ = PresentationRevision();
    SendSelection();  // the model puts the caret at the end of typed text
  }

  // The selection as the model counts it: characters from start up to end (one byte each in
  // the model's code page).
  std::pair<LONG, LONG> Selection() const {
    if (!edit_->hasSelectedText()) return {edit_->cursorPosition(), edit_->cursorPosition()};
    return {edit_->selectionStart(), edit_->selectionEnd()};
  }

  void SendSelection() {
    if (!edit_->hasFocus()) return;  // moved by the view itself, not by the person
    const auto [start, end] = Selection();
    if (ViewInput::Select(window_, field_, start, end) == InputResult::kDone) editRevision_ = PresentationRevision();
  }

  PictureLineEdit* edit_;
  LONG window_, field_;
  std::uint64_t editRevision_ = 0;
  bool applying_ = false;
};

}  // namespace

int EntryMaxLength(std::string_view picture) {
  const std::optional<Picture> parsed = Picture::Parse(picture);
  if (!parsed) return 0;
  return static_cast<int>(std::min<size_t>(parsed->width(), 32767));
}

std::unique_ptr<ControlView> MakePictureEntryView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<PictureEntryView>(parent, window, field);
}

std::unique_ptr<ControlView> MakeLineEntryView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<LineEntryView>(parent, window, field);
}

}  // namespace qx
