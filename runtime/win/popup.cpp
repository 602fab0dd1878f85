// Popup menus; see popup.h.
#include "runtime/win/popup.h"

#include <cstdio>
#include <string>

#include "runtime/sys/runtime_lock.h"
#include "runtime/win/accept.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/model.h"
#include "runtime/win/view_input.h"

namespace qx {

std::vector<PopupItemPresentation> ParsePopupText(std::string_view text) {
  std::vector<PopupItemPresentation> items;
  if (text.empty()) return items;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find('|', start);
    std::string_view piece = text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    PopupItemPresentation item;
    if (!piece.empty() && piece[0] == '~') {
      item.greyed = true;
      piece.remove_prefix(1);
    }
    item.text.assign(piece);
    items.push_back(std::move(item));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return items;
}

void View::ShowPopup(const PopupPresentation& popup) { ViewInput::AnswerPopup(popup.id, 0); }

LONG RtPopup(std::string_view text) {
  PopupPresentation menu;
  menu.items = ParsePopupText(text);
  menu.thread = CurrentProgramThread();
  menu.field = RtField();
  LONG id = 0;
  {
    ModelTransaction t;
    Model& m = t.model();
    if (menu.items.empty() || m.view == nullptr) {
      t.Commit();
      std::fprintf(stderr, "qxrt popup: %.*s -> none\n", static_cast<int>(text.size()), text.data());
      std::fflush(stderr);
      return 0;
    }
    WindowModel* w = m.CurrentWindowOf(menu.thread);
    menu.window = w ? w->id : 0;
    id = m.nextPopupId++;
    menu.id = id;
    m.popups[id].menu = menu;
    m.threadPopups[static_cast<size_t>(menu.thread)]++;
    t.DirtyAll();  // the thread's windows now take no input
    t.PopupOpened(id);
    m.Touch();
  }
  {
    WaitOutsideRuntime wait;
    Model& m = Model::Get();
    std::unique_lock<std::mutex> lock(m.mu);
    PersonWait person(m, ThreadActivity::kPopupWait, id);
    m.cv.wait(lock, [&] { return m.popups[id].answered; });
  }
  LONG answer = 0;
  {
    ModelTransaction t;
    Model& m = t.model();
    answer = m.popups[id].answer;
    m.popups.erase(id);
    m.threadPopups[static_cast<size_t>(menu.thread)]--;
    t.DirtyAll();
    m.Touch();
  }
  // The menu took the person's last input: the right click that opened it is over.
  RtSetKeyCode(answer != 0 ? kKeyLeftMouse : kKeyEscape);
  return answer;
}

InputResult ViewInput::AnswerPopup(LONG popup, LONG item) {
  ModelTransaction t;
  Model& m = t.model();
  auto it = m.popups.find(popup);
  if (it == m.popups.end() || it->second.answered) return InputResult::kNoSuchPopup;
  const auto& items = it->second.menu.items;
  if (item < 0 || static_cast<size_t>(item) > items.size()) return InputResult::kBadValue;
  if (item > 0 && items[static_cast<size_t>(item - 1)].greyed) return InputResult::kDisabled;
  it->second.answered = true;
  it->second.answer = item;
  t.PopupClosed(popup);
  m.Touch();
  return InputResult::kDone;
}

}  // namespace qx
