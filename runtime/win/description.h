// Window descriptions: the declarative form of a module's windows, one JSON file per module,
// embedded into the program as a resource whose name ends in ".windows.json" and found by
// module id and window label. The format is written down in runtime/win/DESCRIPTIONS.md.
//
// Positions and sizes are dialog units of the window's font: horizontal units of a quarter
// of the font's average character width, vertical units of an eighth of its height. A
// coordinate that a description omits is "default": the view centres a window without a
// position and sizes a control without a size to its content.
//
// Colours are 00BBGGRR values; 8000000Nh is the system colour with index N (the system's
// scroll-bar colour is 80000000h). kNoColour means "the default".
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "runtime/text/types.h"

namespace qx {

constexpr ULONG kNoColour = 0xFFFFFFFFu;
constexpr ULONG kSystemColourBit = 0x80000000u;

struct DialogRect {
  std::optional<LONG> x, y, width, height;
};

struct FontDescription {
  std::string face;       // empty = the window's (or the system's) font
  LONG size = 0;          // points; 0 = inherited
  LONG weight = 0;        // 0 = default, 400 normal, 700 bold
  bool italic = false;
  ULONG colour = kNoColour;
  bool empty() const { return face.empty() && size == 0 && weight == 0 && !italic && colour == kNoColour; }
};

// An image: a system icon by number (32512 application, 32513 stop, 32514 question,
// 32515 exclamation, 32516 information) or a program resource by name ("JUMPPG.ICO").
struct ImageSource {
  LONG systemIcon = 0;
  std::string resource;
  bool empty() const { return systemIcon == 0 && resource.empty(); }
};

enum SystemIcon : LONG {
  kIconApplication = 32512,
  kIconStop = 32513,
  kIconQuestion = 32514,
  kIconExclamation = 32515,
  kIconInformation = 32516,
};

enum class Justify { kDefault, kLeft, kRight, kCentre, kDecimal };

struct ControlDescription {
  std::string kind;       // "button", "prompt", "string", "panel", "image", "menu", "item"
  LONG field = 0;         // negative for menus, menu items and toolbar controls
  std::string name;       // the program's name of the control ("ExitItem")
  DialogRect at;
  std::string text;       // text, or the picture's title; "&" marks the access key
  std::string picture;    // string and entry controls: the display picture ("@s255")
  std::string message;    // shown in the status bar while the control has focus or pointer
  std::string tip;
  ImageSource icon;
  FontDescription font;
  ULONG colour = kNoColour;      // text colour
  ULONG background = kNoColour;
  Justify justify = Justify::kDefault;
  LONG justifyOffset = 0;
  LONG attributes = 0;           // further attribute bits the description stores (e.g. 4000h)
  LONG standardAction = 0;       // menu items and buttons; 0 = none (see standard_actions.h)
  bool isDefault = false;        // the window's default button
  bool transparent = false;
  bool readOnly = false;         // display only
  bool disabled = false;
  bool hidden = false;
  bool separator = false;        // a menu separator (kind "item")
  LONG bevel = -1;               // panels: -1 default, 0 none
  // Lists:
  std::string format;            // the FORMAT string (list_format.h)
  bool immediate = false;        // the program pages the rows (list_control.h)
  bool vScroll = false, hScroll = false;  // scroll bars
  ULONG selectedColour = kNoColour, selectedBackground = kNoColour;  // the selected row's
  // A menu's items and sub-menus, a sheet's tabs, the controls on a tab: in order.
  std::vector<ControlDescription> items;
  nlohmann::json raw;            // the whole entry, for kinds with attributes of their own
};

struct FrameDescription {
  std::string border = "single";  // "none", "single", "double", "resizable"
  bool caption = true;
  bool systemMenu = false;
  bool maximizeBox = false;
  bool minimizeBox = false;
};

struct WallpaperDescription {
  std::string image;  // resource name; empty = none
  LONG mode = 0;      // 1 or 2: the two layouts of the library; 0 = none
};

struct ToolbarDescription {
  bool present = false;
  DialogRect at;
  std::vector<ControlDescription> controls;
};

struct WindowDescription {
  std::string module;
  std::string label;           // "P1$APPFRAME"
  std::string kind = "window";  // "window", "application" (the MDI frame), "mdi" (a child)
  std::string title;
  DialogRect at;
  bool centred = false;
  FontDescription font;
  FrameDescription frame;
  ULONG background = kNoColour;
  ImageSource icon;
  WallpaperDescription wallpaper;
  std::vector<LONG> statusBar;  // section widths; -1 = the rest of the bar; empty = none
  std::vector<ControlDescription> menuBar;  // menus in order
  ToolbarDescription toolbar;
  std::vector<ControlDescription> controls;
  std::string helpId;
  bool sizeEvents = false;      // "EVENT:Sized" and "EVENT:Moved" reported
  bool threeD = false;
  nlohmann::json raw;
};

// The description of window `label` in module `module` (both matched without regard to
// case), or nullptr when no embedded description has it. Descriptions are parsed once, on
// first use; the result lives as long as the program. Thread-safe.
const WindowDescription* FindWindowDescription(std::string_view module, std::string_view label);

// Parses one module file. Throws std::runtime_error naming the entry at fault when the
// text is not a valid description (bad JSON, a control without kind, a bad number).
std::vector<WindowDescription> ParseWindowDescriptions(std::string_view text);

// A number as descriptions write it: a JSON number, or a text in decimal, "0x1F" or "1Fh".
// Throws std::runtime_error when the text is none of these.
LONG ParseDescriptionNumber(const nlohmann::json& value);

}  // namespace qx
