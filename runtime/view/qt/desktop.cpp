// The Qt view's GUI-thread state; see desktop.h.
#include "runtime/view/qt/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QImageWriter>
#include <QMenu>
#include <QTimer>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "runtime/view/qt/latin1_text.h"
#include "runtime/view/qt/message_dialog.h"
#include "runtime/view/qt/window_shell.h"
#include "runtime/view/qt/workspace_area.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

bool IsPersonInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

bool Exposed(QWidget* w) {
  QWidget* top = w ? w->window() : nullptr;
  return top && top->isVisible() && top->windowHandle() && top->windowHandle()->isExposed();
}

}  // namespace

Desktop::Desktop() { qApp->installEventFilter(this); }

Desktop::~Desktop() {
  qApp->removeEventFilter(this);
  for (auto& [id, box] : boxes_) delete box.data();
  shells_.clear();
  closedFrames_.clear();
}

WindowShell* Desktop::Shell(LONG windowId) const {
  auto it = shells_.find(windowId);
  return it == shells_.end() ? nullptr : it->second.get();
}

MessageDialog* Desktop::Message(LONG messageId) const {
  auto it = boxes_.find(messageId);
  return it == boxes_.end() ? nullptr : it->second.data();
}

WindowShell* Desktop::FrameFor(LONG frameId) const {
  if (frameId == 0) return nullptr;
  if (WindowShell* s = Shell(frameId); s && s->isFrame()) return s;
  for (const auto& s : closedFrames_) {
    if (s->id() == frameId) return s.get();
  }
  return nullptr;
}

WindowShell* Desktop::ShellOf(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    const QVariant id = o->property(kWindowIdProperty);
    if (!id.isValid()) {
      // A dialog of its own (a message box, the print set-up) belongs to no window.
      if (o->isWidgetType() && static_cast<QWidget*>(o)->isWindow()) return nullptr;
      continue;
    }
    if (WindowShell* s = Shell(id.toInt())) return s;
    for (const auto& f : closedFrames_) {
      if (f->id() == id.toInt()) return f.get();
    }
    return nullptr;
  }
  return nullptr;
}

void Desktop::ShowWindow(const WindowPresentation& window, DrawnAck drawn) {
  WindowShell* shell = Shell(window.id);
  if (shell == nullptr) {
    auto made = std::make_unique<WindowShell>(window, FrameFor(window.parent));
    shell = made.get();
    shells_[window.id] = std::move(made);
    openOrder_.push_back(window.id);
    closedWindows_.erase(window.id);
    shell->Apply(window);
  } else if (window.revision >= shell->revision()) {
    shell->Apply(window);
  }
  SetWaitCursor(window.waitCursor);
  shell->AddAck(std::move(drawn));
}

void Desktop::CloseWindow(LONG windowId) {
  auto it = shells_.find(windowId);
  if (it == shells_.end()) return;
  closedWindows_.insert(windowId);
  std::unique_ptr<WindowShell> shell = std::move(it->second);
  shells_.erase(it);
  openOrder_.erase(std::remove(openOrder_.begin(), openOrder_.end(), windowId), openOrder_.end());
  WindowShell* frame = shell->frame();
  QPointer<WorkspaceArea> area = frame ? frame->workspace() : nullptr;
  if (area) area->SetChildClosing(true);
  shell->Hide();
  // A frame whose child windows have not closed yet stays, hidden, until they have: their
  // widgets live in it.
  bool hasChildren = false;
  for (const auto& [id, s] : shells_) hasChildren = hasChildren || s->frame() == shell.get();
  if (shell->isFrame() && hasChildren) {
    closedFrames_.push_back(std::move(shell));
    return;
  }
  shell.reset();
  if (area) {
    // The child the model has active stays so (when the model's next active window is
    // another, its presentation follows and activates it).
    for (const auto& [id, s] : shells_) {
      if (s->frame() == frame && s->presentation().active) area->setActiveSubWindow(static_cast<QMdiSubWindow*>(s->outer()));
    }
    area->SetChildClosing(false);
  }
  DropClosedFrames();
}

void Desktop::DropClosedFrames() {
  for (auto it = closedFrames_.begin(); it != closedFrames_.end();) {
    bool hasChildren = false;
    for (const auto& [id, s] : shells_) hasChildren = hasChildren || s->frame() == it->get();
    it = hasChildren ? std::next(it) : closedFrames_.erase(it);
  }
}

QWidget* Desktop::OwnerOfBox(const MessagePresentation& box) const {
  // The asking thread's current window, else the window worked in, else the last opened.
  WindowShell* owner = nullptr;
  for (LONG id : openOrder_) {
    WindowShell* s = Shell(id);
    if (s && box.thread != 0 && s->thread() == box.thread) owner = s;
  }
  if (owner == nullptr) {
    for (LONG id : openOrder_) {
      WindowShell* s = Shell(id);
      if (s && s->presentation().active) owner = s;
    }
  }
  if (owner == nullptr && !openOrder_.empty()) owner = Shell(openOrder_.back());
  return owner ? owner->topLevel() : nullptr;
}

void Desktop::ShowMessage(const MessagePresentation& box) {
  if (boxes_.count(box.id)) return;
  QWidget* owner = OwnerOfBox(box);
  auto* dialog = new MessageDialog(box, owner);
  boxes_[box.id] = dialog;
  dialog->adjustSize();
  QRect over = owner && owner->isVisible() ? owner->frameGeometry() : QRect();
  if (over.isEmpty()) {
    QScreen* screen = QGuiApplication::primaryScreen();
    over = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  }
  const QSize size = dialog->sizeHint();
  dialog->move(over.x() + (over.width() - size.width()) / 2, over.y() + (over.height() - size.height()) / 2);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void Desktop::CloseMessage(LONG messageId) {
  closedBoxes_.insert(messageId);
  auto it = boxes_.find(messageId);
  if (it == boxes_.end()) return;
  if (it->second) {
    it->second->hide();
    it->second->deleteLater();
  }
  boxes_.erase(it);
}

void Desktop::ShowPopup(const PopupPresentation& popup) {
  if (popups_.count(popup.id)) return;
  WindowShell* shell = Shell(popup.window);
  auto* menu = new QMenu(shell ? shell->topLevel() : nullptr);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  int number = 1;
  for (const PopupItemPresentation& item : popup.items) {
    QAction* a = menu->addAction(FromLatin1Bytes(item.text));
    a->setEnabled(!item.greyed);
    const LONG chosen = number++;
    const LONG id = popup.id;
    connect(a, &QAction::triggered, menu, [id, chosen] { ViewInput::AnswerPopup(id, chosen); });
  }
  // Closed without a choice: dismissed. A choice answers first (triggered comes before the
  // menu hides), and a second answer of the same popup is refused by the model.
  const LONG id = popup.id;
  connect(menu, &QMenu::aboutToHide, menu, [id] {
    QTimer::singleShot(0, [id] { ViewInput::AnswerPopup(id, 0); });
  });
  popups_[popup.id] = menu;
  menu->popup(PopupPosition(shell, popup.field));
}

QPoint Desktop::PopupPosition(WindowShell* shell, LONG field) const {
  const QPoint pointer = QCursor::pos();
  if (shell == nullptr || !shell->OnScreen() || shell->ScreenRect().contains(pointer)) return pointer;
  // The pointer is elsewhere (the menu was asked for from the keyboard or by a script):
  // over the middle of the control of the event, or of the window.
  if (ControlView* c = field != 0 ? shell->control(field) : nullptr; c && c->widget()->isVisible()) {
    QWidget* w = c->widget();
    return w->mapToGlobal(w->rect().center());
  }
  return shell->ScreenRect().center();
}

void Desktop::ClosePopup(LONG popupId) {
  auto it = popups_.find(popupId);
  if (it == popups_.end()) return;
  if (it->second) it->second->close();
  popups_.erase(it);
}

void Desktop::ShowPrintSetup(LONG windowId) {
  if (printSetup_) {
    printSetup_->raise();
    printSetup_->activateWindow();
    return;
  }
  if (!printer_) printer_ = std::make_unique<QPrinter>();
  WindowShell* shell = Shell(windowId);
  auto* dialog = new QPageSetupDialog(printer_.get(), shell ? shell->topLevel() : nullptr);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  printSetup_ = dialog;
  dialog->open();
}

void Desktop::ArrangeIcons(LONG frameId) {
  if (WindowShell* frame = FrameFor(frameId)) frame->workspace()->ArrangeIcons();
}

void Desktop::SetClipboard(const std::string& text) { QGuiApplication::clipboard()->setText(FromLatin1Bytes(text)); }

void Desktop::SetWaitCursor(bool wait) {
  if (wait == waitCursor_) return;
  waitCursor_ = wait;
  if (wait) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

Desktop::Shot Desktop::SaveScreenshot(LONG windowId, LONG messageId, const QString& path, QSize* size,
                                      QString* error) {
  QWidget* target = nullptr;
  QRect onScreen;
  if (windowId != 0) {
    WindowShell* shell = Shell(windowId);
    if (shell == nullptr && closedWindows_.count(windowId)) {
      *error = QStringLiteral("window %1 has closed").arg(windowId);
      return Shot::kFailed;
    }
    if (shell == nullptr || !shell->OnScreen() || !Exposed(shell->outer()) || !shell->DrawnUpToDate()) {
      return Shot::kNotYet;
    }
    target = shell->outer();
    onScreen = shell->ScreenRect();
  } else {
    MessageDialog* box = Message(messageId);
    if (box == nullptr && closedBoxes_.count(messageId)) {
      *error = QStringLiteral("message box %1 has closed").arg(messageId);
      return Shot::kFailed;
    }
    if (box == nullptr || !box->isVisible() || !Exposed(box) || !box->painted()) return Shot::kNotYet;
    target = box;
    onScreen = box->frameGeometry();
  }
  QPixmap picture;
  // On a real display the screen's own pixels, with whatever lies over the window, as a
  // person sees them; elsewhere (offscreen) the window's own rendering.
  QScreen* screen = target->screen();
  if (QGuiApplication::platformName() == QLatin1String("xcb") && screen) {
    picture = screen->grabWindow(0, onScreen.x(), onScreen.y(), onScreen.width(), onScreen.height());
  }
  if (picture.isNull()) picture = target->grab();
  if (picture.isNull()) {
    *error = QStringLiteral("the window could not be read from the screen");
    return Shot::kFailed;
  }
  QImageWriter writer(path, "png");
  if (!writer.write(picture.toImage())) {
    *error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
    return Shot::kFailed;
  }
  *size = picture.size();
  return Shot::kSaved;
}

bool Desktop::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Paint) {
    if (WindowShell* s = ShellOf(watched)) {
      s->NotePainted();
    } else if (auto* w = qobject_cast<QWidget*>(watched)) {
      if (auto* box = dynamic_cast<MessageDialog*>(w->window())) box->NotePainted();
    }
    return false;
  }
  if (!IsPersonInput(type)) return false;
  WindowShell* s = ShellOf(watched);
  if (s == nullptr || s->takesInput()) return false;
  if (type == QEvent::MouseButtonPress) QApplication::beep();
  return true;
}

}  // namespace qx
