// Menu bars; see menu_bar.h.
#include "runtime/view/qt/menu_bar.h"

#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "runtime/view/qt/latin1_text.h"
#include "runtime/win/standard_actions.h"
#include "runtime/win/view_input.h"

namespace qx {

MenuBarView::MenuBarView(QMenuBar* bar, LONG window, std::function<LONG()> activeChild)
    : bar_(bar), window_(window), activeChild_(std::move(activeChild)) {
  QObject::connect(bar_, &QMenuBar::hovered, bar_, [this](QAction* a) {
    auto it = fields_.find(a);
    ViewInput::Hover(window_, it == fields_.end() ? 0 : it->second);
  });
}

bool MenuBarView::HasMenus(const std::vector<ControlPresentation>& controls) {
  for (const ControlPresentation& c : controls) {
    if (c.area == ControlArea::kMenuBar) return true;
  }
  return false;
}

void MenuBarView::Build(const std::vector<ControlPresentation>& controls) {
  std::map<LONG, QMenu*> menus;  // by field
  for (const ControlPresentation& c : controls) {
    if (c.area != ControlArea::kMenuBar) continue;
    QMenu* owner = nullptr;
    if (c.parentField != 0) {
      auto it = menus.find(c.parentField);
      if (it == menus.end()) continue;  // an item whose menu is not there
      owner = it->second;
    }
    QAction* action = nullptr;
    if (c.kind == "menu") {
      QMenu* menu = owner ? owner->addMenu(FromLatin1Bytes(c.text)) : bar_->addMenu(FromLatin1Bytes(c.text));
      menus[c.field] = menu;
      action = menu->menuAction();
      QObject::connect(menu, &QMenu::hovered, menu, [this](QAction* a) {
        auto it = fields_.find(a);
        ViewInput::Hover(window_, it == fields_.end() ? 0 : it->second);
      });
      if (owner == nullptr) QObject::connect(menu, &QMenu::aboutToHide, menu, [this] { ViewInput::Hover(window_, 0); });
      if (c.standardAction == kStdWindowList) {
        windowList_ = menu;
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this] { FillWindowList(); });
      }
    } else if (owner == nullptr) {
      continue;  // items live in menus
    } else if (c.separator) {
      owner->addSeparator();
      continue;
    } else {
      action = owner->addAction(FromLatin1Bytes(c.text));
      const LONG field = c.field;
      QObject::connect(action, &QAction::triggered, action, [this, field] { Choose(field); });
    }
    entries_[c.field] = Entry{action, c.standardAction};
    fields_[action] = c.field;
  }
}

void MenuBarView::Apply(const WindowPresentation& window) {
  for (const ControlPresentation& c : window.controls) {
    if (c.area != ControlArea::kMenuBar || c.separator) continue;
    auto it = entries_.find(c.field);
    if (it == entries_.end() || !it->second.action) continue;
    QAction* a = it->second.action;
    const QString text = FromLatin1Bytes(c.text);
    if (a->text() != text) a->setText(text);
    a->setEnabled(!c.disabled);
    a->setVisible(!c.hidden);
  }
  children_ = window.children;
  if (windowList_) FillWindowList();
}

void MenuBarView::Choose(LONG field) {
  auto it = entries_.find(field);
  std::optional<std::string> clipboard;
  if (it != entries_.end() && it->second.standardAction == kStdPaste) {
    clipboard = ToLatin1Replacing(QGuiApplication::clipboard()->text());
  }
  ViewInput::Press(window_, field, clipboard);
}

void MenuBarView::FillWindowList() {
  for (QPointer<QAction>& a : listed_) delete a.data();
  listed_.clear();
  if (!windowList_ || children_.empty()) return;
  listed_.push_back(windowList_->addSeparator());
  const LONG active = activeChild_ ? activeChild_() : 0;
  int number = 1;
  for (const ChildWindowEntry& child : children_) {
    QString label = FromLatin1Bytes(child.title);
    label.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (number <= 9) label = QStringLiteral("&%1 %2").arg(number).arg(label);
    QAction* a = windowList_->addAction(label);
    a->setCheckable(true);
    a->setChecked(child.window == active);
    const LONG id = child.window;
    QObject::connect(a, &QAction::triggered, a, [id] { ViewInput::Activate(id); });
    listed_.push_back(a);
    ++number;
  }
}

}  // namespace qx
