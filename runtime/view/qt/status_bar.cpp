// Status bars; see status_bar.h.
#include "runtime/view/qt/status_bar.h"

#include <QEvent>

#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/status_sections.h"

namespace qx {

namespace {
constexpr int kSectionGap = 2;  // pixels between two sections
}

StatusBarView::StatusBarView(QStatusBar* bar, const std::vector<LONG>& widths)
    : QObject(bar), row_(new QWidget(bar)), widths_(widths) {
  bar->addWidget(row_, 1);
  for (size_t i = 0; i < widths_.size(); ++i) {
    auto* label = new QLabel(row_);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(2, 0, 2, 0);
    sections_.push_back(label);
  }
  row_->installEventFilter(this);
}

void StatusBarView::Apply(const std::vector<std::string>& texts, const DialogUnits& units) {
  units_ = units;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const QString text = i < texts.size() ? FromLatin1Bytes(texts[i]) : QString();
    if (sections_[i]->text() != text) sections_[i]->setText(text);
  }
  Lay();
}

QStringList StatusBarView::Texts() const {
  QStringList out;
  for (const QLabel* l : sections_) out << l->text();
  return out;
}

bool StatusBarView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == row_ && event->type() == QEvent::Resize) Lay();
  return false;
}

void StatusBarView::Lay() {
  const int gaps = sections_.empty() ? 0 : static_cast<int>(sections_.size() - 1) * kSectionGap;
  const std::vector<int> pixels = StatusSectionPixels(widths_, row_->width() - gaps, units_);
  int x = 0;
  for (size_t i = 0; i < sections_.size(); ++i) {
    sections_[i]->setGeometry(x, 0, pixels[i], row_->height());
    x += pixels[i] + kSectionGap;
  }
}

}  // namespace qx
