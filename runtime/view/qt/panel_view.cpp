// The panel view: a rectangle filled with its background colour (none: it lets the
// window's ground show) and, for a bevel above 0, a raised edge that many pixels wide.
#include <QPainter>
#include <QWidget>
#include <qdrawutil.h>

#include "runtime/view/qt/basic_controls.h"

namespace qx {
namespace {

class PanelWidget : public QWidget {
 public:
  explicit PanelWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);  // a panel lies under the controls on it
  }
  void SetBevel(LONG bevel) {
    if (bevel_ == bevel) return;
    bevel_ = bevel;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (bevel_ <= 0) return;
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, static_cast<int>(bevel_));
  }

 private:
  LONG bevel_ = -1;
};

class PanelView : public ControlView {
 public:
  explicit PanelView(QWidget* parent) : widget_(new PanelWidget(parent)) {}
  QWidget* widget() override { return widget_; }
  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    widget_->SetBevel(control.bevel);
    ApplyCommon(widget_, control, style, QSize());
  }

 private:
  PanelWidget* widget_;
};

}  // namespace

std::unique_ptr<ControlView> MakePanelView(QWidget* parent, LONG, LONG) { return std::make_unique<PanelView>(parent); }

}  // namespace qx
