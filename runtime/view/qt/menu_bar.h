// A window's menu bar: its menus, items, separators and sub-menus from the controls of the
// menu-bar area, in creation order. Choosing an item is ViewInput::Press (the model runs its
// standard action or queues EVENT:Accepted); the pointer on an item or menu title is
// ViewInput::Hover, so its message reaches the status bar, and closing a menu clears it.
// The window-list menu (standard action 1) ends with the frame's open child windows,
// "&1 title" and so on, the active one checked; choosing one activates it.
#pragma once

#include <QMenuBar>
#include <QPointer>

#include <functional>
#include <map>
#include <vector>

#include "runtime/win/presentation.h"

namespace qx {

class MenuBarView {
 public:
  // `activeChild` tells which child window the frame shows as active (0 = none).
  MenuBarView(QMenuBar* bar, LONG window, std::function<LONG()> activeChild);
  MenuBarView(const MenuBarView&) = delete;
  MenuBarView& operator=(const MenuBarView&) = delete;

  // Builds the menus from the first presentation of the window.
  void Build(const std::vector<ControlPresentation>& controls);
  // Texts, disabled and hidden entries, and the window list, as `window` shows them now.
  void Apply(const WindowPresentation& window);
  // Whether the presentation has anything for a menu bar.
  static bool HasMenus(const std::vector<ControlPresentation>& controls);

 private:
  struct Entry {
    QPointer<QAction> action;
    LONG standardAction = 0;
  };
  void Choose(LONG field);
  void FillWindowList();

  QMenuBar* bar_;
  LONG window_;
  std::function<LONG()> activeChild_;
  std::map<LONG, Entry> entries_;     // by field: items, and the title actions of menus
  std::map<QAction*, LONG> fields_;   // the other way, for hovering
  QPointer<QMenu> windowList_;
  std::vector<QPointer<QAction>> listed_;
  std::vector<ChildWindowEntry> children_;
};

}  // namespace qx
