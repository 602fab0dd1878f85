// The sheet's view: a tab bar over the page's frame, beneath every other control of the
// window (controls on its face and on its tabs are the window's own widgets, stacked
// above it). The tab bar shows the presentation's tabs: their texts with access keys,
// disabled ones greyed, hidden ones left out, their text and background colours. It never
// selects a tab itself: a person picking one (a click, an access key, Left or Right) is
// reported, and the tab shows when the next presentation selects it.
//
// A tab's own control ("tab") has no widget to show: its sheet's bar draws it.
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

#include "runtime/view/qt/colour_mapping.h"
#include "runtime/view/qt/form_controls.h"
#include "runtime/view/qt/key_codes.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

// Pixels between a tab's edge and the background colour painted inside it.
constexpr int kTabGroundInset = 2;

class SheetTabBar : public QTabBar {
 public:
  SheetTabBar(QWidget* parent, LONG window, LONG field) : QTabBar(parent), window_(window), field_(field) {
    setFocusPolicy(Qt::StrongFocus);
    setDrawBase(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
  }

  // Shows the presentation's tabs; the selected one is `selected` (1 = the first, 0 none).
  void Show(const SheetPresentation& sheet) {
    const QSignalBlocker quiet(this);
    while (count() > static_cast<int>(sheet.tabs.size())) removeTab(count() - 1);
    while (count() < static_cast<int>(sheet.tabs.size())) addTab(QString());
    grounds_.assign(sheet.tabs.size(), std::nullopt);
    for (int i = 0; i < count(); ++i) {
      const TabPresentation& tab = sheet.tabs[static_cast<size_t>(i)];
      const QString text = FromLatin1Bytes(tab.text);
      if (tabText(i) != text) setTabText(i, text);
      if (isTabEnabled(i) == tab.disabled) setTabEnabled(i, !tab.disabled);
      if (isTabVisible(i) == tab.hidden) setTabVisible(i, !tab.hidden);
      const std::optional<QColor> colour =
          tab.colour == kNoColour ? std::nullopt : ColourFromLong(static_cast<LONG>(tab.colour));
      if (tabTextColor(i) != colour.value_or(QColor())) setTabTextColor(i, colour.value_or(QColor()));
      if (tab.background != kNoColour) grounds_[static_cast<size_t>(i)] = ColourFromLong(static_cast<LONG>(tab.background));
    }
    const int current = sheet.selected >= 1 && sheet.selected <= count() ? static_cast<int>(sheet.selected) - 1 : -1;
    if (currentIndex() != current) setCurrentIndex(current);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    // The selected tab last: it overlaps its neighbours.
    const int selected = currentIndex();
    for (int pass = 0; pass < 2; ++pass) {
      for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i) || (i == selected) != (pass == 1)) continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        if (!option.rect.intersects(rect())) continue;
        // The style draws a label in the palette's current group: a disabled tab's is grey.
        if (!isTabEnabled(i)) option.palette.setCurrentColorGroup(QPalette::Disabled);
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        if (const std::optional<QColor>& ground = grounds_[static_cast<size_t>(i)]; ground) {
          painter.fillRect(option.rect.adjusted(kTabGroundInset, kTabGroundInset, -kTabGroundInset,
                                                i == selected ? 0 : -kTabGroundInset + 1),
                           *ground);
        }
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
      }
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const int i = tabAt(event->position().toPoint());
    if (i >= 0 && isTabEnabled(i)) Pick(i);
  }
  void mouseMoveEvent(QMouseEvent*) override {}     // no dragging of tabs
  void mouseReleaseEvent(QMouseEvent*) override {}
  void wheelEvent(QWheelEvent* event) override { event->ignore(); }  // no turning through tabs

  void keyPressEvent(QKeyEvent* event) override {
    const LONG code = KeyCodeFor(event->key(), event->modifiers());
    if (code == kKeyLeft || code == kKeyRight) {
      ViewInput::Key(window_, field_, code, 0);  // the model picks the next tab it allows
      return;
    }
    event->ignore();
  }

  bool event(QEvent* event) override {
    if (event->type() == QEvent::Shortcut) {
      // An access key: the tab it names is picked as by a click.
      const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
      for (int i = 0; i < count(); ++i) {
        if (isTabVisible(i) && isTabEnabled(i) && QKeySequence::mnemonic(tabText(i)) == key) {
          setFocus(Qt::ShortcutFocusReason);
          Pick(i);
          return true;
        }
      }
      return true;
    }
    return QTabBar::event(event);
  }

 private:
  void Pick(int index) { ViewInput::Click(window_, field_, index + 1, kKeyLeftMouse, 1); }

  LONG window_, field_;
  std::vector<std::optional<QColor>> grounds_;
};

// The sheet: its tab bar at the top and the page's frame below it.
class SheetWidget : public QWidget {
 public:
  SheetWidget(QWidget* parent, LONG window, LONG field) : QWidget(parent), bar_(new SheetTabBar(this, window, field)) {}
  SheetTabBar* bar() const { return bar_; }

  void Relayout() {
    const int height = std::min(bar_->sizeHint().height(), this->height());
    const QRect at(0, 0, width(), height);
    if (bar_->geometry() != at) bar_->setGeometry(at);
    update();
  }

 protected:
  void resizeEvent(QResizeEvent*) override { Relayout(); }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    const int top = std::max(0, bar_->height() - overlap);
    option.rect = QRect(0, top, width(), height() - top);
    option.shape = QTabBar::RoundedNorth;
    option.tabBarSize = bar_->sizeHint();
    option.selectedTabRect = bar_->currentIndex() >= 0 ? bar_->tabRect(bar_->currentIndex()) : QRect();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
  }

 private:
  SheetTabBar* bar_;
};

class SheetView : public ControlView {
 public:
  SheetView(QWidget* parent, LONG window, LONG field) : widget_(new SheetWidget(parent, window, field)) {
    widget_->lower();  // beneath the controls made before it; those made later are above it
    ReportPointer(widget_->bar(), window, field);
    ReportFocus(widget_->bar(), window, field);
  }

  QWidget* widget() override { return widget_; }

  void Apply(const ControlPresentation& control, const WindowStyle& style) override {
    ApplyCommon(widget_, control, style, QSize(style.units.ToPixelsX(100), style.units.ToPixelsY(60)));
    if (widget_->bar()->font() != widget_->font()) widget_->bar()->setFont(widget_->font());
    if (control.sheet) widget_->bar()->Show(*control.sheet);
    widget_->Relayout();
  }

  bool TakeFocus() override {
    QWidget* bar = widget_->bar();
    if (!widget_->isVisible() || !widget_->isEnabled()) return false;
    if (!bar->hasFocus()) bar->setFocus(Qt::OtherFocusReason);
    return true;
  }

 private:
  SheetWidget* widget_;
};

// A tab's control: shown by its sheet's bar, so it keeps no place on the window.
class TabView : public ControlView {
 public:
  explicit TabView(QWidget* parent) : widget_(new QWidget(parent)) { widget_->hide(); }
  QWidget* widget() override { return widget_; }
  void Apply(const ControlPresentation&, const WindowStyle&) override {}
  bool TakeFocus() override { return false; }

 private:
  QWidget* widget_;
};

}  // namespace

std::unique_ptr<ControlView> MakeSheetView(QWidget* parent, LONG window, LONG field) {
  return std::make_unique<SheetView>(parent, window, field);
}

std::unique_ptr<ControlView> MakeTabView(QWidget* parent, LONG, LONG) { return std::make_unique<TabView>(parent); }

}  // namespace qx
