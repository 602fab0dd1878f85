// The image view: the control's picture at its own size when the control gives none,
// otherwise stretched to the control's rectangle.
#include <QPainter>
#include <QWidget>

#include "runtime/view/qt/basic_controls.h"
#include "runtime/view/qt/system_images.h"

namespace qx {
namespace {

class ImageWidget : public QWidget {
 public:
  explicit ImageWidget(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }
  void SetPicture(const QPixmap& picture) {
    if (picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    update();
  }
  QSize Natural() const { return picture_.isNull() ? QSize(0, 0) : picture_.deviceIndependentSize().toSize(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
  }

 private:
  QPixmap picture_;
};

class ImageView : public ControlView {
 public:
  ImageView(QWidget* parent, LONG window, LONG field) : widget_(new ImageWidget(parent)) {
    ReportPointer(widget_, window, field);
  }
  QWidget* widget() override { return widget_; }
  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    widget_->SetPicture(PixmapFor(control.icon));
    ApplyCommon(widget_, control, style, widget_->Natural());
  }

 private:
  ImageWidget* widget_;
};

}  // namespace

std::unique_ptr<ControlView> MakeImageView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<ImageView>(parent, window, field);
}

}  // namespace qx
