// The table of control kinds; see control_kinds.h. The built-in kinds are listed here by
// name (not registered from their own files) so that a static link keeps every one.
#include "runtime/win/control_kinds.h"

#include <map>
#include <mutex>
#include <string>

#include "runtime/win/button_control.h"
#include "runtime/win/entry_control.h"
#include "runtime/win/list_control.h"
#include "runtime/win/sheet_control.h"
#include "runtime/win/tab_control.h"
#include "runtime/win/image_control.h"
#include "runtime/win/menu_control.h"
#include "runtime/win/menu_item_control.h"
#include "runtime/win/panel_control.h"
#include "runtime/win/prompt_control.h"
#include "runtime/win/string_control.h"

namespace qx {
namespace {

template <class T>
std::unique_ptr<Control> Make(const ControlDescription& d, ControlArea area, LONG parent) {
  return std::make_unique<T>(d, area, parent);
}

struct KindTable {
  std::mutex mu;
  std::map<std::string, ControlFactory> kinds{
      {"button", &Make<ButtonControl>}, {"string", &Make<StringControl>},
      {"menu", &Make<MenuControl>},     {"item", &Make<MenuItemControl>},
      {"image", &Make<ImageControl>},   {"prompt", &Make<PromptControl>},
      {"panel", &Make<PanelControl>},   {"list", &Make<ListControl>},
      {"sheet", &Make<SheetControl>},   {"tab", &Make<TabControl>},
      {"entry", &Make<EntryControl>},
  };
};

KindTable& Table() {
  static KindTable table;
  return table;
}

}  // namespace

void RegisterControlKind(std::string_view kind, ControlFactory factory) {
  std::lock_guard<std::mutex> lock(Table().mu);
  Table().kinds[std::string(kind)] = factory;
}

std::unique_ptr<Control> CreateControl(const ControlDescription& d, ControlArea area, LONG parentField) {
  ControlFactory f = nullptr;
  {
    std::lock_guard<std::mutex> lock(Table().mu);
    auto it = Table().kinds.find(d.kind);
    if (it != Table().kinds.end()) f = it->second;
  }
  return f ? f(d, area, parentField) : nullptr;
}

void RtRegisterImageControl() { RegisterControlKind("image", &Make<ImageControl>); }
void RtRegisterPromptControl() { RegisterControlKind("prompt", &Make<PromptControl>); }
void RtRegisterPanelControl() { RegisterControlKind("panel", &Make<PanelControl>); }

}  // namespace qx
