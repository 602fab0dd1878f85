// Windows on the screen; see window_shell.h.
#include "runtime/view/qt/window_shell.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <qdrawutil.h>

#include <algorithm>

#include "runtime/view/qt/colour_mapping.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/key_codes.h"
#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/menu_bar.h"
#include "runtime/view/qt/status_bar.h"
#include "runtime/view/qt/system_images.h"
#include "runtime/view/qt/workspace_area.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

// The status bar's height in vertical dialog units of the window's font.
constexpr int kStatusBarHeightUnits = 10;
// How long a window that is shown but not painted keeps the program waiting.
constexpr int kLongestAckWaitMs = 2000;

// The strip that holds the toolbar's controls: the button-face ground with a line under it
// at its described height (out of sight when the window is lower than its toolbar).
class ToolbarStrip : public QWidget {
 public:
  explicit ToolbarStrip(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }
  void SetDescribedHeight(int pixels) {
    described_ = pixels;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int y = described_ - 1;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, y - 1, width(), y - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, y, width(), y);
  }

 private:
  int described_ = 0;
};

QFont WindowFont(const FontDescription& f) {
  return QtFontFor(f.face, static_cast<int>(f.size), static_cast<int>(f.weight), f.italic);
}

bool Resizable(const WindowPresentation& w) { return w.frame.border == "resizable"; }

// The border a window without a caption draws itself (the window system draws the others).
int OwnBorder(const WindowPresentation& w) {
  if (w.frame.caption) return 0;
  if (w.frame.border == "single" || w.frame.border == "resizable") return 1;
  if (w.frame.border == "double") return 2;
  return 0;
}

Qt::WindowFlags TopLevelFlags(const FrameDescription& f) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
  if (!f.caption) return flags | Qt::FramelessWindowHint;
  flags |= Qt::WindowTitleHint;
  if (f.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (f.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  if (f.maximizeBox) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

Qt::WindowFlags SubWindowFlags(const FrameDescription& f) {
  Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint;
  if (!f.caption) return flags | Qt::FramelessWindowHint;
  flags |= Qt::WindowTitleHint;
  if (f.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (f.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  if (f.maximizeBox) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

// The bounding box of the client controls, for a window that gives no size.
QSize ContentExtent(const WindowPresentation& w, const DialogUnits& units) {
  int right = 0, bottom = 0;
  for (const ControlPresentation& c : w.controls) {
    if (c.area != ControlArea::kClient) continue;
    right = std::max<int>(right, static_cast<int>(c.at.x.value_or(0) + c.at.width.value_or(0)));
    bottom = std::max<int>(bottom, static_cast<int>(c.at.y.value_or(0) + c.at.height.value_or(0)));
  }
  return QSize(units.ToPixelsX(right + 4), units.ToPixelsY(bottom + 4));
}

}  // namespace

// ---- WindowBody ----

WindowBody::WindowBody(WindowShell& shell, QWidget* parent) : QMainWindow(parent), shell_(shell) {
  setProperty(kWindowIdProperty, QVariant::fromValue<int>(shell.id()));
  // A main window is a window of its own even with a parent; inside a sub-window it must be
  // a plain widget that the sub-window lays out.
  if (parent != nullptr) setWindowFlags(Qt::Widget);
}

void WindowBody::SetBorder(int pixels, bool raised) {
  border_ = pixels;
  raised_ = raised;
  setContentsMargins(pixels, pixels, pixels, pixels);
  update();
}

void WindowBody::closeEvent(QCloseEvent* event) {
  event->ignore();  // the window goes when the model closes it
  shell_.PersonClosed();
}

void WindowBody::keyPressEvent(QKeyEvent* event) {
  if (!shell_.PersonKey(event)) QMainWindow::keyPressEvent(event);
}

void WindowBody::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (isWindow()) shell_.PersonResized();
}

void WindowBody::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (isWindow()) shell_.PersonMoved();
}

void WindowBody::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isWindow() && isActiveWindow()) shell_.PersonActivated();
}

void WindowBody::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  if (border_ <= 0) return;
  QPainter painter(this);
  if (raised_) {
    qDrawWinPanel(&painter, rect(), palette(), false);
  } else {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

// ---- ChildSubWindow ----

ChildSubWindow::ChildSubWindow(WindowShell& shell, QWidget* parent) : QMdiSubWindow(parent), shell_(shell) {
  setProperty(kWindowIdProperty, QVariant::fromValue<int>(shell.id()));
  setOption(QMdiSubWindow::RubberBandResize, false);
}

void ChildSubWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  shell_.PersonClosed();
}

void ChildSubWindow::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  shell_.PersonResized();
}

void ChildSubWindow::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  shell_.PersonMoved();
}

// ---- WindowShell ----

WindowShell::WindowShell(const WindowPresentation& first, WindowShell* frame) : id_(first.id), frame_(frame) {
  if (frame_ && frame_->workspace()) {
    sub_ = new ChildSubWindow(*this, nullptr);
    body_ = new WindowBody(*this, sub_);
    sub_->setWidget(body_);
    sub_->setAttribute(Qt::WA_DeleteOnClose, false);
    frame_->workspace()->addSubWindow(sub_);
  } else {
    frame_ = nullptr;
    body_ = new WindowBody(*this, nullptr);
  }
  Build(first);
  if (sub_) body_->show();  // set in the sub-window, the body stays hidden until shown
}

WindowShell::~WindowShell() {
  hiding_ = true;  // what the widgets report while they go is no person's act
  FireAcks();
  if (sub_) {
    if (frame_ && frame_->workspace()) frame_->workspace()->removeSubWindow(sub_);
    delete sub_.data();
  } else if (body_) {
    delete body_.data();
  }
}

QWidget* WindowShell::outer() const {
  if (sub_) return sub_;
  return body_;
}

QWidget* WindowShell::topLevel() const {
  if (frame_) return frame_->topLevel();
  return body_;
}

ControlView* WindowShell::control(LONG field) const {
  for (size_t i = 0; i < controls_.size() && i < last_.controls.size(); ++i) {
    if (last_.controls[i].field == field) return controls_[i].get();
  }
  return nullptr;
}

void WindowShell::Build(const WindowPresentation& w) {
  last_ = w;
  auto* central = new QWidget(body_);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  if (w.hasToolbar) {
    strip_ = new ToolbarStrip(central);
    column->addWidget(strip_);
  }
  if (w.kind == "application") {
    workspace_ = new WorkspaceArea(central);
    column->addWidget(workspace_, 1);
    QObject::connect(workspace_, &QMdiArea::subWindowActivated, workspace_, [this](QMdiSubWindow* sub) {
      if (workspace_->childClosing()) return;
      if (auto* child = dynamic_cast<ChildSubWindow*>(sub)) child->shell().PersonActivated();
    });
  } else {
    canvas_ = new QWidget(central);
    canvas_->setAutoFillBackground(true);
    column->addWidget(canvas_, 1);
  }
  body_->setCentralWidget(central);
  if (MenuBarView::HasMenus(w.controls)) {
    menus_ = std::make_unique<MenuBarView>(body_->menuBar(), id_, [this]() -> LONG {
      if (!workspace_) return 0;
      auto* child = dynamic_cast<ChildSubWindow*>(workspace_->activeSubWindow());
      return child ? child->shell().id() : 0;
    });
    menus_->Build(w.controls);
  }
  if (!w.statusWidths.empty()) {
    status_ = new StatusBarView(body_->statusBar(), w.statusWidths);
    body_->statusBar()->setSizeGripEnabled(Resizable(w) && !sub_);
  }
  if (sub_ && w.icon.empty() && frame_) sub_->setWindowIcon(frame_->outer()->windowIcon());
  for (const ControlPresentation& c : w.controls) {
    if (c.area == ControlArea::kMenuBar) {
      controls_.push_back(nullptr);
      continue;
    }
    QWidget* parent = canvas_ ? canvas_ : workspace_->viewport();
    if (c.area == ControlArea::kToolbar && strip_) parent = strip_;
    controls_.push_back(CreateControlView(c.kind, c.editable, parent, id_, c.field));
  }
  if (sub_) {
    sub_->setWindowFlags(SubWindowFlags(w.frame));
  } else {
    body_->setWindowFlags(TopLevelFlags(w.frame));
  }
  border_ = sub_ ? 0 : OwnBorder(w);
  body_->SetBorder(border_, w.frame.border == "double");
}

void WindowShell::ReportDecoration(QSize pixels) {
  // Rounded up, with a pixel to spare: the window's position, its client size and this are
  // each rounded to pixels on their own, and together they must stay within what the model
  // gives the window.
  int width = style_.units.FromPixelsX(pixels.width());
  while (style_.units.ToPixelsX(width) < pixels.width() + 1) ++width;
  int height = style_.units.FromPixelsY(pixels.height());
  while (style_.units.ToPixelsY(height) < pixels.height() + 1) ++height;
  const QSize units(width, height);
  if (reportedDecoration_ == units) return;
  reportedDecoration_ = units;
  ViewInput::Decoration(id_, units.width(), units.height());
}

void WindowShell::Restack(const WindowPresentation& w) {
  if (!workspace_ || w.arrangement == arrangement_) return;
  arrangement_ = w.arrangement;
  // Back to front: each child raised over the ones before it.
  const QList<QMdiSubWindow*> subs = workspace_->subWindowList();
  for (LONG id : w.arrangedOrder) {
    for (QMdiSubWindow* sub : subs) {
      if (auto* child = dynamic_cast<ChildSubWindow*>(sub); child && child->shell().id() == id) child->raise();
    }
  }
}

int WindowShell::MenuHeight() const {
  if (!menus_ || !body_) return 0;
  return body_->menuBar()->sizeHint().height();
}

QSize WindowShell::ClientPixels(const WindowPresentation& w) const {
  if (w.width <= 0 || w.height <= 0) {
    const QSize extent = ContentExtent(w, style_.units);
    return QSize(w.width > 0 ? style_.units.ToPixelsX(static_cast<int>(w.width)) : extent.width(),
                 w.height > 0 ? style_.units.ToPixelsY(static_cast<int>(w.height)) : extent.height());
  }
  return QSize(style_.units.ToPixelsX(static_cast<int>(w.width)), style_.units.ToPixelsY(static_cast<int>(w.height)));
}

void WindowShell::Apply(const WindowPresentation& w) {
  if (!body_) return;
  const bool first = !shown_;
  const bool becameActive = w.active && (first || !last_.active);
  const bool focusMoved = w.focus != last_.focus;
  last_ = w;
  painted_ = false;

  const QFont font = WindowFont(w.font);
  style_.window = id_;
  style_.units = DialogUnits(font);
  style_.font = font;
  style_.fontColour = w.font.colour;
  style_.takesInput = w.takesInput;
  style_.revision = w.revision;

  const QString title = FromLatin1Bytes(w.title);
  if (outer()->windowTitle() != title) outer()->setWindowTitle(title);
  if (first && !w.icon.empty()) outer()->setWindowIcon(IconFor(w.icon));
  QWidget* central = body_->centralWidget();
  if (central->font() != font) central->setFont(font);
  if (status_ && body_->statusBar()->font() != font) body_->statusBar()->setFont(font);

  // The ground: the window's background, else the palette's window colour; the workspace
  // keeps the application-workspace colour under its wallpaper.
  QPalette ground = QGuiApplication::palette();
  if (w.background != kNoColour) {
    if (auto colour = ColourFromLong(static_cast<LONG>(w.background))) ground.setColor(QPalette::Window, *colour);
  }
  if (auto text = w.font.colour != kNoColour ? ColourFromLong(static_cast<LONG>(w.font.colour)) : std::nullopt) {
    ground.setColor(QPalette::WindowText, *text);
  }
  if (canvas_ && canvas_->palette() != ground) canvas_->setPalette(ground);
  if (strip_ && strip_->palette() != ground) strip_->setPalette(ground);
  if (workspace_) {
    const QBrush workspaceColour(ColourFromLong(static_cast<LONG>(kSystemColourBase | 12)).value_or(Qt::darkGray));
    if (workspace_->background() != workspaceColour) workspace_->setBackground(workspaceColour);
    workspace_->SetWallpaper(PixmapFor(ImageSource{0, w.wallpaper.image}), w.wallpaper.mode);
  }

  if (menus_) menus_->Apply(w);
  Restack(w);
  if (status_) status_->Apply(w.statusTexts, style_.units);
  for (size_t i = 0; i < controls_.size() && i < w.controls.size(); ++i) {
    if (controls_[i]) controls_[i]->Apply(w.controls[i], style_);
  }

  ApplyFrameAndPlace(w, first);

  if (first) {
    shown_ = true;
    outer()->show();
  }
  if (becameActive) {
    if (sub_ && frame_ && frame_->workspace()) {
      frame_->workspace()->setActiveSubWindow(sub_);
    } else if (!sub_) {
      body_->raise();
      body_->activateWindow();
    }
  }
  if (w.active && w.focus != 0 && (becameActive || focusMoved)) {
    if (ControlView* c = control(w.focus)) c->TakeFocus();
  }
  outer()->update();
  body_->update();
}

void WindowShell::ApplyFrameAndPlace(const WindowPresentation& w, bool first) {
  const QSize client = ClientPixels(w);
  // The status bar is as high as the model counts it when it arranges child windows.
  const int statusHeight = status_ ? style_.units.ToPixelsY(kStatusBarHeightUnits) : 0;
  if (status_) body_->statusBar()->setFixedHeight(statusHeight);
  if (strip_) {
    const int described = w.toolbar.height ? style_.units.ToPixelsY(static_cast<int>(*w.toolbar.height)) : 0;
    static_cast<ToolbarStrip*>(strip_)->SetDescribedHeight(described);
    // A toolbar higher than the window shows what fits.
    const int room = sub_ ? client.height() : client.height() - statusHeight;
    const int height = std::max(0, std::min(described, room));
    strip_->setFixedHeight(height);
    // No room left for child windows (the converter's frame is all toolbar): no workspace.
    if (workspace_) workspace_->setVisible(room - height > 0);
  }
  reportedSize_ = QSize(static_cast<int>(w.width), static_cast<int>(w.height));
  if (sub_) {
    if (sub_->isMaximized() || sub_->isMinimized()) return;
    // The sub-window is the client with the caption and border around it.
    const QMargins decoration = sub_->contentsMargins();
    const QSize whole = client.grownBy(decoration);
    ReportDecoration(whole - client);
    if (Resizable(w)) {
      sub_->setMinimumSize(QSize(style_.units.ToPixelsX(static_cast<int>(w.minWidth)),
                                 style_.units.ToPixelsY(static_cast<int>(w.minHeight)))
                               .grownBy(decoration));
      sub_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      if (sub_->size() != whole) sub_->resize(whole);
    } else {
      sub_->setFixedSize(whole);
    }
    QPoint at;
    if (w.x && w.y) {
      at = QPoint(style_.units.ToPixelsX(static_cast<int>(*w.x)), style_.units.ToPixelsY(static_cast<int>(*w.y)));
    } else if (first) {
      const QSize area = frame_->workspace()->viewport()->size();
      at = QPoint(std::max(0, (area.width() - whole.width()) / 2), std::max(0, (area.height() - whole.height()) / 2));
    } else {
      return;
    }
    reportedPos_ = w.x && w.y ? QPoint(static_cast<int>(*w.x), static_cast<int>(*w.y))
                              : QPoint(style_.units.FromPixelsX(at.x()), style_.units.FromPixelsY(at.y()));
    if (sub_->pos() != at) sub_->move(at);
    return;
  }
  if (body_->isMaximized() || body_->isMinimized()) return;
  const QSize whole(client.width() + 2 * border_, client.height() + MenuHeight() + 2 * border_);
  if (Resizable(w)) {
    body_->setMinimumSize(style_.units.ToPixelsX(static_cast<int>(w.minWidth)) + 2 * border_,
                          style_.units.ToPixelsY(static_cast<int>(w.minHeight)) + MenuHeight() + 2 * border_);
    body_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (body_->size() != whole) body_->resize(whole);
  } else {
    body_->setFixedSize(whole);
  }
  QPoint at;
  if (w.x && w.y) {
    at = QPoint(style_.units.ToPixelsX(static_cast<int>(*w.x)), style_.units.ToPixelsY(static_cast<int>(*w.y)));
    reportedPos_ = QPoint(static_cast<int>(*w.x), static_cast<int>(*w.y));
  } else if (first) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    // Centred with the window system's frame, as far as it is known before the window shows.
    body_->winId();
    const QMargins frame = body_->windowHandle() ? body_->windowHandle()->frameMargins() : QMargins();
    const QSize framed = whole.grownBy(frame);
    at = QPoint(area.x() + std::max(0, (area.width() - framed.width()) / 2),
                area.y() + std::max(0, (area.height() - framed.height()) / 2));
    reportedPos_ = QPoint(style_.units.FromPixelsX(at.x()), style_.units.FromPixelsY(at.y()));
  } else {
    return;
  }
  if (body_->pos() != at) body_->move(at);
}

void WindowShell::Hide() {
  hiding_ = true;
  FireAcks();
  if (QWidget* w = outer()) w->hide();
}

void WindowShell::AddAck(DrawnAck drawn) {
  if (!drawn) return;
  acks_.push_back(std::move(drawn));
  // Nothing to wait for where the window cannot be painted: hidden, minimized, or (once it
  // has been on the screen) not exposed, say on another workspace of the desktop.
  QWidget* top = topLevel();
  const bool exposed = top && top->windowHandle() && top->windowHandle()->isExposed();
  if (!OnScreen() || (everExposed_ && !exposed)) {
    FireAcks();
    return;
  }
  everExposed_ = everExposed_ || exposed;
  QTimer::singleShot(kLongestAckWaitMs, outer(), [this] { FireAcks(); });
}

void WindowShell::NotePainted() {
  painted_ = true;
  if (acks_.empty() || ackPosted_) return;
  ackPosted_ = true;
  // Runs once the paint in progress and the flush of the window's pixels are done.
  QTimer::singleShot(0, outer(), [this] {
    ackPosted_ = false;
    if (painted_) FireAcks();
  });
}

void WindowShell::FireAcks() {
  std::vector<DrawnAck> acks;
  acks.swap(acks_);
  for (DrawnAck& a : acks) a();
}

bool WindowShell::OnScreen() const {
  QWidget* w = outer();
  if (!w || hiding_ || !w->isVisible()) return false;
  QWidget* top = topLevel();
  return top && top->isVisible() && !top->isMinimized() && !(sub_ && sub_->isMinimized());
}

QRect WindowShell::ScreenRect() const {
  if (sub_) return QRect(sub_->mapToGlobal(QPoint(0, 0)), sub_->size());
  if (body_) return body_->frameGeometry();
  return QRect();
}

void WindowShell::PersonClosed() {
  if (!hiding_) ViewInput::Close(id_);
}

bool WindowShell::PersonKey(QKeyEvent* event) {
  const LONG code = KeyCodeFor(event->key(), event->modifiers());
  if (code == 0) return false;
  ViewInput::Key(id_, 0, code, KeyCharFor(event->text()));
  return true;
}

void WindowShell::PersonResized() {
  if (!shown_ || hiding_ || !reportedSize_) return;
  QSize client;
  if (sub_) {
    client = sub_->size().shrunkBy(sub_->contentsMargins());
  } else {
    if (!body_) return;
    client = QSize(body_->width() - 2 * border_, body_->height() - MenuHeight() - 2 * border_);
  }
  const QSize units(style_.units.FromPixelsX(client.width()), style_.units.FromPixelsY(client.height()));
  if (units == *reportedSize_ || units.width() <= 0 || units.height() <= 0) return;
  reportedSize_ = units;
  ViewInput::Resize(id_, units.width(), units.height());
}

void WindowShell::PersonMoved() {
  if (!shown_ || hiding_ || !reportedPos_) return;
  const QPoint at = sub_ ? sub_->pos() : (body_ ? body_->pos() : QPoint());
  const QPoint units(style_.units.FromPixelsX(at.x()), style_.units.FromPixelsY(at.y()));
  if (units == *reportedPos_) return;
  reportedPos_ = units;
  ViewInput::Move(id_, units.x(), units.y());
}

void WindowShell::PersonActivated() {
  if (!shown_ || hiding_ || last_.active) return;
  if (workspace_ && workspace_->activeSubWindow()) return;  // the active child is the window worked in
  ViewInput::Activate(id_);
}

}  // namespace qx
