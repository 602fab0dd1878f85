// The requests of the automation channel; see protocol.h and the README's "The automation channel".
#include "runtime/view/automation/protocol.h"

#include <unistd.h>

#include <chrono>
#include <optional>

#include "runtime/text/strings.h"
#include "runtime/view/automation/text_encoding.h"
#include "runtime/win/events.h"
#include "runtime/win/idle.h"
#include "runtime/win/keycodes.h"
#include "runtime/win/view.h"
#include "runtime/win/view_input.h"

namespace qx {
namespace {

using nlohmann::json;

struct RequestError {
  std::string text;  // Latin-1, as every text of a reply before it is written
};

// The members of a request and a reply that are no texts of the programs: a file path is
// the file system's (UTF-8) both ways; a request's id comes back as it was sent.
constexpr std::initializer_list<const char*> kNotModelText = {"path", "id"};

// A part of a request (Latin-1) as JSON text in an error message (Latin-1 too).
std::string Shown(const json& part) { return Utf8ToLatin1Replacing(JsonToUtf8(part).dump()); }

// A control's text as a person reads it: without the "&" of the access key, trailing
// blanks removed.
std::string Plain(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
    out += text[i];
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

const char* AreaName(ControlArea a) {
  switch (a) {
    case ControlArea::kClient: return "client";
    case ControlArea::kToolbar: return "toolbar";
    case ControlArea::kMenuBar: return "menu";
  }
  return "?";
}

const char* JustifyName(Justify j) {
  switch (j) {
    case Justify::kDefault: return "default";
    case Justify::kLeft: return "left";
    case Justify::kRight: return "right";
    case Justify::kCentre: return "centre";
    case Justify::kDecimal: return "decimal";
  }
  return "?";
}

json Rect(const DialogRect& r) {
  json j = json::object();
  if (r.x) j["x"] = *r.x;
  if (r.y) j["y"] = *r.y;
  if (r.width) j["width"] = *r.width;
  if (r.height) j["height"] = *r.height;
  return j;
}

json Image(const ImageSource& s) {
  if (s.systemIcon) return json{{"system", s.systemIcon}};
  if (!s.resource.empty()) return json{{"resource", s.resource}};
  return nullptr;
}

json Font(const FontDescription& f) {
  if (f.empty()) return nullptr;
  json j = json::object();
  if (!f.face.empty()) j["face"] = f.face;
  if (f.size) j["size"] = f.size;
  if (f.weight) j["weight"] = f.weight;
  if (f.italic) j["italic"] = true;
  if (f.colour != kNoColour) j["colour"] = f.colour;
  return j;
}

json Colour(ULONG c) { return c == kNoColour ? json(nullptr) : json(c); }

json ListToJson(const ListPresentation& l) {
  json columns = json::array();
  for (const ListColumnPresentation& c : l.columns) {
    json col = {{"width", c.width},         {"justify", JustifyName(c.justify)},
                {"indent", c.indent},       {"header", c.header},
                {"header_justify", JustifyName(c.headerJustify)}, {"header_indent", c.headerIndent},
                {"right_border", c.rightBorder}, {"resizable", c.resizable},
                {"colours", c.colours},     {"picture", c.picture}};
    columns.push_back(col);
  }
  json rows = json::array();
  for (const ListRowPresentation& r : l.rows) {
    json cells = json::array(), colours = json::array();
    bool coloured = false;
    for (const ListCellPresentation& cell : r.cells) {
      cells.push_back(cell.text);
      colours.push_back({{"colour", Colour(cell.colour)}, {"background", Colour(cell.background)},
                         {"selected_colour", Colour(cell.selectedColour)},
                         {"selected_background", Colour(cell.selectedBackground)}});
      coloured = coloured || cell.colour != kNoColour || cell.background != kNoColour ||
                 cell.selectedColour != kNoColour || cell.selectedBackground != kNoColour;
    }
    json row = {{"entry", r.entry}, {"selected", r.selected}, {"cells", cells}};
    if (coloured) row["colours"] = colours;
    rows.push_back(row);
  }
  json j = {{"columns", columns},       {"header", l.header},         {"rows", rows},
            {"row_count", l.rowCount},  {"top_row", l.topRow},        {"visible_rows", l.visibleRows},
            {"selected_row", l.selectedRow}, {"immediate", l.immediate},
            {"scroll_bar", {{"visible", l.vScroll}, {"thumb", l.thumb}, {"thumb_drawn", l.thumbDrawn}}},
            {"hscroll", l.hScroll},     {"row_height", l.rowHeight},  {"header_height", l.headerHeight}};
  if (l.selectedColour != kNoColour) j["selected_colour"] = l.selectedColour;
  if (l.selectedBackground != kNoColour) j["selected_background"] = l.selectedBackground;
  if (!l.formatError.empty()) j["format_error"] = l.formatError;
  return j;
}

json SheetToJson(const SheetPresentation& s) {
  json tabs = json::array();
  for (size_t i = 0; i < s.tabs.size(); ++i) {
    const TabPresentation& t = s.tabs[i];
    json tab = {{"number", i + 1}, {"field", t.field}, {"text", t.text}, {"disabled", t.disabled},
                {"hidden", t.hidden}, {"selected", static_cast<LONG>(i + 1) == s.selected}};
    if (t.colour != kNoColour) tab["colour"] = t.colour;
    if (t.background != kNoColour) tab["background"] = t.background;
    tabs.push_back(tab);
  }
  return {{"tabs", tabs}, {"selected_tab", s.selected}};
}

json ControlToJson(const ControlPresentation& c) {
  json j = {{"field", c.field},       {"name", c.name},     {"kind", c.kind},
            {"area", AreaName(c.area)}, {"at", Rect(c.at)}, {"text", c.text},
            {"disabled", c.disabled}, {"hidden", c.hidden}, {"focused", c.focused},
            {"editable", c.editable}, {"visible", c.visible}};
  if (c.parentField) j[c.area == ControlArea::kMenuBar ? "menu" : "parent"] = c.parentField;
  if (!c.picture.empty()) j["picture"] = c.picture;
  if (c.justifyOffset) j["justify_offset"] = c.justifyOffset;
  if (!c.alertKeys.empty()) j["alert_keys"] = c.alertKeys;
  if (c.editable) j["selection"] = {{"start", c.selectionStart}, {"end", c.selectionEnd}};
  if (c.list) j["list"] = ListToJson(*c.list);
  if (c.sheet) j["sheet"] = SheetToJson(*c.sheet);
  if (!c.message.empty()) j["message"] = c.message;
  if (!c.tip.empty()) j["tip"] = c.tip;
  if (!c.icon.empty()) j["icon"] = Image(c.icon);
  if (!c.font.empty()) j["font"] = Font(c.font);
  if (c.colour != kNoColour) j["colour"] = c.colour;
  if (c.background != kNoColour) j["background"] = c.background;
  if (c.justify != Justify::kDefault) j["justify"] = JustifyName(c.justify);
  if (c.standardAction) j["std"] = c.standardAction;
  if (c.isDefault) j["default"] = true;
  if (c.transparent) j["transparent"] = true;
  if (c.readOnly) j["read_only"] = true;
  if (c.separator) j["separator"] = true;
  return j;
}

const WindowPresentation* FindWindow(const PresentationState& s, const json& sel) {
  const WindowPresentation* found = nullptr;
  for (const WindowPresentation& w : s.windows) {
    bool match = false;
    if (sel.is_number_integer()) {
      match = w.id == sel.get<LONG>();
    } else if (sel.is_string()) {
      const std::string t = sel.get<std::string>();
      match = w.title == t || RtSameIgnoringCase(w.label, t);
    } else if (sel.is_object()) {
      match = true;
      if (sel.contains("id")) match = match && w.id == sel["id"].get<LONG>();
      if (sel.contains("title")) match = match && w.title == sel["title"].get<std::string>();
      if (sel.contains("label")) match = match && RtSameIgnoringCase(w.label, sel["label"].get<std::string>());
      if (sel.contains("module")) match = match && RtSameIgnoringCase(w.module, sel["module"].get<std::string>());
      if (sel.contains("thread")) match = match && w.thread == sel["thread"].get<LONG>();
      if (sel.contains("kind")) match = match && w.kind == sel["kind"].get<std::string>();
    }
    if (match) found = &w;  // the one opened last wins
  }
  return found;
}

const ControlPresentation* FindControl(const WindowPresentation& w, const json& sel, bool menuOnly = false) {
  for (const ControlPresentation& c : w.controls) {
    if (menuOnly && c.area != ControlArea::kMenuBar) continue;
    if (sel.is_number_integer()) {
      if (c.field == sel.get<LONG>()) return &c;
    } else if (sel.is_string()) {
      const std::string t = sel.get<std::string>();
      if (RtSameIgnoringCase(c.name, t) && !c.name.empty()) return &c;
      if (!c.separator && (c.text == t || Plain(c.text) == Plain(t))) return &c;
    } else if (sel.is_object()) {
      bool match = true;
      if (sel.contains("field")) match = match && c.field == sel["field"].get<LONG>();
      if (sel.contains("name")) match = match && RtSameIgnoringCase(c.name, sel["name"].get<std::string>());
      if (sel.contains("text")) match = match && Plain(c.text) == Plain(sel["text"].get<std::string>());
      if (match) return &c;
    }
  }
  return nullptr;
}

const WindowPresentation& NeedWindow(const PresentationState& s, const json& req) {
  if (!req.contains("window")) throw RequestError{"\"window\" is missing"};
  const WindowPresentation* w = FindWindow(s, req["window"]);
  if (w == nullptr) throw RequestError{"no open window matches " + Shown(req["window"])};
  return *w;
}

LONG NeedControl(const WindowPresentation& w, const json& req, const char* key, bool menuOnly = false) {
  if (!req.contains(key)) throw RequestError{std::string("\"") + key + "\" is missing"};
  const ControlPresentation* c = FindControl(w, req[key], menuOnly);
  if (c == nullptr) throw RequestError{"no control of window " + std::to_string(w.id) + " matches " + Shown(req[key])};
  return c->field;
}

json Result(InputResult r) {
  if (r == InputResult::kDone) return {{"ok", true}};
  return {{"ok", false}, {"error", InputResultName(r)}};
}

const MessagePresentation* FindMessage(const PresentationState& s, const json& req) {
  if (s.messages.empty()) return nullptr;
  if (!req.contains("message")) return &s.messages.front();
  for (const MessagePresentation& m : s.messages) {
    if (m.id == req["message"].get<LONG>()) return &m;
  }
  return nullptr;
}

json LogEntryToJson(const PresentationLogEntry& e) {
  json j = {{"sequence", e.sequence}, {"what", e.what}, {"window", e.window}, {"detail", e.detail}};
  if (e.what == "open" || e.what == "close") {
    j["thread"] = e.thread;
    j["label"] = e.label;
    j["title"] = e.title;
  }
  return j;
}

json PopupToJson(const PopupPresentation& p) {
  json items = json::array();
  for (size_t i = 0; i < p.items.size(); ++i) {
    items.push_back({{"number", i + 1}, {"text", p.items[i].text}, {"greyed", p.items[i].greyed}});
  }
  return {{"id", p.id}, {"thread", p.thread}, {"window", p.window}, {"control", p.field}, {"items", items}};
}

const PopupPresentation* FindPopup(const PresentationState& s, const json& req) {
  if (s.popups.empty()) return nullptr;
  if (!req.contains("popup")) return &s.popups.front();
  for (const PopupPresentation& p : s.popups) {
    if (p.id == req["popup"].get<LONG>()) return &p;
  }
  return nullptr;
}

// An item of a popup by number (0 = none) or by its text as a person reads it.
LONG PopupItem(const PopupPresentation& p, const json& item) {
  if (item.is_number_integer()) return item.get<LONG>();
  if (item.is_null()) return 0;
  if (!item.is_string()) throw RequestError{"\"item\" must be a number or a text"};
  const std::string wanted = Plain(item.get<std::string>());
  for (size_t i = 0; i < p.items.size(); ++i) {
    if (p.items[i].text == item.get<std::string>() || Plain(p.items[i].text) == wanted) return static_cast<LONG>(i + 1);
  }
  throw RequestError{"the popup menu has no item " + Shown(item)};
}

// The control's list or sheet, or an error naming what is wanted.
const ControlPresentation& NeedControlOf(const WindowPresentation& w, LONG field) {
  for (const ControlPresentation& c : w.controls) {
    if (c.field == field) return c;
  }
  throw RequestError{"no control " + std::to_string(field)};
}

// The item of a "pick" or "click": a list's row ("row": entry number) or a sheet's tab
// ("tab": its number or its text).
LONG ItemOf(const ControlPresentation& c, const json& req, bool click) {
  if (c.sheet && req.contains("tab")) {
    const json& t = req["tab"];
    if (t.is_number_integer()) return t.get<LONG>();
    if (!t.is_string()) throw RequestError{"\"tab\" must be a number or a text"};
    for (size_t i = 0; i < c.sheet->tabs.size(); ++i) {
      if (Plain(c.sheet->tabs[i].text) == Plain(t.get<std::string>())) return static_cast<LONG>(i + 1);
    }
    throw RequestError{"the sheet has no tab " + Shown(t)};
  }
  if (req.contains("row")) return req["row"].get<LONG>();
  if (req.contains("tab")) return req["tab"].get<LONG>();
  if (click && c.list) return 0;  // a click below the rows
  throw RequestError{"\"row\" (or a sheet's \"tab\") is missing"};
}

bool MessageMatches(const MessagePresentation& m, const json& cond) {
  if (!cond.is_object()) return true;
  if (cond.contains("caption") && m.caption != cond["caption"].get<std::string>()) return false;
  if (cond.contains("text") && m.text != cond["text"].get<std::string>()) return false;
  if (cond.contains("text_contains") && m.text.find(cond["text_contains"].get<std::string>()) == std::string::npos) return false;
  return true;
}

// Whether `cond` holds in `s`; `detail` receives what matched.
bool Holds(const PresentationState& s, const json& cond, json& detail) {
  if (!cond.is_object() || cond.empty()) throw RequestError{"\"until\" must be an object with one condition"};
  if (cond.contains("window")) {
    const WindowPresentation* w = FindWindow(s, cond["window"]);
    if (w) detail = WindowToJson(*w);
    return w != nullptr;
  }
  if (cond.contains("no_window")) return FindWindow(s, cond["no_window"]) == nullptr;
  if (cond.contains("takes_input")) {
    const WindowPresentation* w = FindWindow(s, cond["takes_input"]);
    return w && w->takesInput;
  }
  if (cond.contains("message")) {
    for (const MessagePresentation& m : s.messages) {
      if (MessageMatches(m, cond["message"])) {
        detail = MessageToJson(m);
        return true;
      }
    }
    return false;
  }
  if (cond.contains("no_message")) return s.messages.empty();
  if (cond.contains("popup")) {
    if (s.popups.empty()) return false;
    detail = PopupToJson(s.popups.front());
    return true;
  }
  if (cond.contains("no_popup")) return s.popups.empty();
  if (cond.contains("text")) {
    const json& t = cond["text"];
    const WindowPresentation* w = t.contains("window") ? FindWindow(s, t["window"]) : nullptr;
    if (!w || !t.contains("control")) return false;
    const ControlPresentation* c = FindControl(*w, t["control"]);
    if (!c) return false;
    if (t.contains("equals")) return c->text == t["equals"].get<std::string>();
    if (t.contains("contains")) return c->text.find(t["contains"].get<std::string>()) != std::string::npos;
    return true;
  }
  if (cond.contains("log")) {
    const std::string what = cond["log"].get<std::string>();
    const std::uint64_t after = cond.value("after", std::uint64_t{0});
    // The match carries the entries that led up to it: waiting for "end" is how a client
    // reads the log of a program that ends by itself, since the reply still reaches it.
    json upTo = json::array();
    for (const PresentationLogEntry& e : s.log) {
      if (e.sequence <= after) continue;
      upTo.push_back(LogEntryToJson(e));
      if (e.what == what) {
        detail = LogEntryToJson(e);
        detail["log"] = std::move(upTo);
        return true;
      }
    }
    return false;
  }
  throw RequestError{"unknown condition " + Shown(cond)};
}

json Handle(const json& req) {
  if (!req.is_object() || !req.contains("op") || !req["op"].is_string()) throw RequestError{"\"op\" is missing"};
  const std::string op = req["op"].get<std::string>();
  if (op == "hello") return {{"ok", true}, {"protocol", 1}, {"pid", static_cast<long>(::getpid())}};
  const PresentationState s = ReadPresentation();
  if (op == "state") {
    json windows = json::array(), messages = json::array();
    for (const auto& w : s.windows) windows.push_back(WindowToJson(w));
    for (const auto& m : s.messages) messages.push_back(MessageToJson(m));
    json popups = json::array();
    for (const auto& p : s.popups) popups.push_back(PopupToJson(p));
    return {{"ok", true}, {"revision", s.revision}, {"windows", windows}, {"messages", messages}, {"popups", popups}};
  }
  if (op == "windows") {
    json windows = json::array();
    for (const auto& w : s.windows) windows.push_back(WindowToJson(w));
    return {{"ok", true}, {"windows", windows}};
  }
  if (op == "window") return {{"ok", true}, {"window", WindowToJson(NeedWindow(s, req))}};
  if (op == "messages") {
    json messages = json::array();
    for (const auto& m : s.messages) messages.push_back(MessageToJson(m));
    return {{"ok", true}, {"messages", messages}};
  }
  if (op == "log") {
    const std::uint64_t after = req.value("after", std::uint64_t{0});
    json entries = json::array();
    for (const auto& e : s.log) {
      if (e.sequence > after) entries.push_back(LogEntryToJson(e));
    }
    return {{"ok", true}, {"log", entries}};
  }
  if (op == "press") {
    const WindowPresentation& w = NeedWindow(s, req);
    return Result(ViewInput::Press(w.id, NeedControl(w, req, "control")));
  }
  if (op == "menu") {
    const WindowPresentation& w = NeedWindow(s, req);
    std::optional<std::string> clipboard;
    if (req.contains("clipboard")) clipboard = req["clipboard"].get<std::string>();
    return Result(ViewInput::Press(w.id, NeedControl(w, req, "item", true), clipboard));
  }
  if (op == "type") {
    const WindowPresentation& w = NeedWindow(s, req);
    if (!req.contains("text") || !req["text"].is_string()) throw RequestError{"\"text\" is missing"};
    return Result(ViewInput::Type(w.id, NeedControl(w, req, "control"), req["text"].get<std::string>(),
                                  req.value("accept", true)));
  }
  if (op == "select") {
    const WindowPresentation& w = NeedWindow(s, req);
    const LONG field = NeedControl(w, req, "control");
    const ControlPresentation& c = NeedControlOf(w, field);
    const LONG start = req.value("start", LONG{0});
    const LONG end = req.value("end", static_cast<LONG>(c.text.size()));
    return Result(ViewInput::Select(w.id, field, start, end));
  }
  if (op == "key") {
    const WindowPresentation& w = NeedWindow(s, req);
    const LONG field = req.contains("control") ? NeedControl(w, req, "control") : 0;
    if (!req.contains("code")) throw RequestError{"\"code\" is missing"};
    const LONG code = req["code"].get<LONG>();
    LONG ch = 0;
    if (req.contains("char")) {
      const std::string c = req["char"].get<std::string>();
      ch = c.empty() ? 0 : static_cast<unsigned char>(c[0]);
    }
    return Result(ViewInput::Key(w.id, field, code, ch));
  }
  if (op == "popups") {
    json popups = json::array();
    for (const auto& p : s.popups) popups.push_back(PopupToJson(p));
    return {{"ok", true}, {"popups", popups}};
  }
  if (op == "pick" || op == "click") {
    const WindowPresentation& w = NeedWindow(s, req);
    const LONG field = NeedControl(w, req, "control");
    const LONG item = ItemOf(NeedControlOf(w, field), req, op == "click");
    LONG button = kKeyLeftMouse;
    const std::string b = req.value("button", std::string("left"));
    if (b == "right") {
      button = kKeyRightMouse;
    } else if (b != "left") {
      throw RequestError{"\"button\" must be \"left\" or \"right\""};
    }
    const LONG count = op == "pick" ? 1 : req.value("count", 1);
    return Result(ViewInput::Click(w.id, field, item, button, count));
  }
  if (op == "thumb") {
    const WindowPresentation& w = NeedWindow(s, req);
    if (!req.contains("position")) throw RequestError{"\"position\" is missing"};
    return Result(ViewInput::Thumb(w.id, NeedControl(w, req, "control"), req["position"].get<LONG>()));
  }
  if (op == "scroll") {
    const WindowPresentation& w = NeedWindow(s, req);
    const std::string part = req.value("part", std::string());
    ScrollPart p;
    if (part == "line-up") {
      p = ScrollPart::kLineUp;
    } else if (part == "line-down") {
      p = ScrollPart::kLineDown;
    } else if (part == "page-up") {
      p = ScrollPart::kPageUp;
    } else if (part == "page-down") {
      p = ScrollPart::kPageDown;
    } else {
      throw RequestError{"\"part\" must be line-up, line-down, page-up or page-down"};
    }
    return Result(ViewInput::Scroll(w.id, NeedControl(w, req, "control"), p));
  }
  if (op == "column") {
    const WindowPresentation& w = NeedWindow(s, req);
    if (!req.contains("column") || !req.contains("width")) throw RequestError{"\"column\" and \"width\" are needed"};
    return Result(ViewInput::ColumnWidth(w.id, NeedControl(w, req, "control"), req["column"].get<LONG>(),
                                         req["width"].get<LONG>()));
  }
  if (op == "choose") {
    const PopupPresentation* p = FindPopup(s, req);
    if (p == nullptr) throw RequestError{"no popup menu is open"};
    if (!req.contains("item")) throw RequestError{"\"item\" is missing (0 or null dismisses the menu)"};
    return Result(ViewInput::AnswerPopup(p->id, PopupItem(*p, req["item"])));
  }
  if (op == "close") return Result(ViewInput::Close(NeedWindow(s, req).id));
  if (op == "activate") return Result(ViewInput::Activate(NeedWindow(s, req).id));
  if (op == "resize") {
    const WindowPresentation& w = NeedWindow(s, req);
    return Result(ViewInput::Resize(w.id, req.value("width", w.width), req.value("height", w.height)));
  }
  if (op == "move") {
    const WindowPresentation& w = NeedWindow(s, req);
    return Result(ViewInput::Move(w.id, req.value("x", 0), req.value("y", 0)));
  }
  if (op == "focus") {
    const WindowPresentation& w = NeedWindow(s, req);
    return Result(ViewInput::Focus(w.id, NeedControl(w, req, "control")));
  }
  if (op == "hover") {
    const WindowPresentation& w = NeedWindow(s, req);
    const LONG field = req.contains("control") && !req["control"].is_null() ? NeedControl(w, req, "control") : 0;
    return Result(ViewInput::Hover(w.id, field));
  }
  if (op == "answer") {
    const MessagePresentation* m = FindMessage(s, req);
    if (m == nullptr) throw RequestError{"no message box is open"};
    LONG button = m->defaultButton;
    if (req.contains("button")) {
      const json& b = req["button"];
      button = b.is_string() ? MessageButtonByName(b.get<std::string>()) : b.get<LONG>();
    }
    return Result(ViewInput::AnswerMessage(m->id, button));
  }
  if (op == "screenshot") {
    if (!req.contains("path") || !req["path"].is_string()) throw RequestError{"\"path\" is missing"};
    LONG window = 0, message = 0;
    if (req.contains("window")) {
      window = NeedWindow(s, req).id;
    } else {
      const MessagePresentation* m = FindMessage(s, req);
      if (m == nullptr) throw RequestError{"no message box is open"};
      message = m->id;
    }
    const std::string path = req["path"].get<std::string>();
    int width = 0, height = 0;
    std::string error;
    if (!RtSaveScreenshot(window, message, path, &width, &height, &error)) {
      throw RequestError{Utf8ToLatin1Replacing(error)};  // the view's words may hold the path
    }
    return {{"ok", true}, {"path", path}, {"width", width}, {"height", height}};
  }
  if (op == "wait") {
    if (!req.contains("until")) throw RequestError{"\"until\" is missing"};
    const int timeoutMs = req.value("timeout_ms", 10000);
    if (req["until"].is_object() && req["until"].contains("idle")) {
      // The program waits for a person. That changes nothing shown, so the revision does
      // not tell of it: it is waited for where the model notes it.
      if (req["until"]["idle"] != true) throw RequestError{"\"idle\" must be true"};
      if (WaitProgramIdle(timeoutMs)) return {{"ok", true}};
      return {{"ok", false}, {"error", "timeout"}};
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::uint64_t seen = 0;
    for (;;) {
      const PresentationState now = ReadPresentation();
      seen = now.revision;
      json detail;
      if (Holds(now, req["until"], detail)) {
        json reply = {{"ok", true}};
        if (!detail.is_null()) reply["match"] = detail;
        return reply;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {{"ok", false}, {"error", "timeout"}};
      WaitPresentationChange(seen, static_cast<int>(std::min<long>(left.count(), 200)));
    }
  }
  throw RequestError{"unknown op \"" + op + "\""};
}

}  // namespace

json WindowToJson(const WindowPresentation& w) {
  json controls = json::array();
  for (const auto& c : w.controls) controls.push_back(ControlToJson(c));
  json children = json::array();
  for (const auto& c : w.children) children.push_back({{"window", c.window}, {"title", c.title}});
  json j = {{"id", w.id},           {"module", w.module},      {"label", w.label},
            {"kind", w.kind},       {"thread", w.thread},      {"title", w.title},
            {"width", w.width},     {"height", w.height},      {"min_width", w.minWidth},
            {"min_height", w.minHeight}, {"centred", w.centred}, {"takes_input", w.takesInput},
            {"active", w.active},   {"focus", w.focus},        {"wait_cursor", w.waitCursor},
            {"controls", controls}, {"children", children},    {"status", w.statusTexts},
            {"status_widths", w.statusWidths}};
  if (w.parent) j["parent"] = w.parent;
  if (w.x) j["x"] = *w.x;
  if (w.y) j["y"] = *w.y;
  if (!w.icon.empty()) j["icon"] = Image(w.icon);
  if (!w.wallpaper.image.empty()) j["wallpaper"] = {{"image", w.wallpaper.image}, {"mode", w.wallpaper.mode}};
  if (!w.font.empty()) j["font"] = Font(w.font);
  if (w.background != kNoColour) j["background"] = w.background;
  if (w.hasToolbar) j["toolbar"] = Rect(w.toolbar);
  j["frame"] = {{"border", w.frame.border}, {"caption", w.frame.caption}, {"system_menu", w.frame.systemMenu},
                {"maximize_box", w.frame.maximizeBox}, {"minimize_box", w.frame.minimizeBox}};
  return j;
}

json MessageToJson(const MessagePresentation& m) {
  json buttons = json::array();
  for (LONG b = 1; b <= kButtonCancel; b <<= 1) {
    if (m.buttons & b) buttons.push_back(MessageButtonName(b));
  }
  return {{"id", m.id},           {"thread", m.thread},         {"text", m.text},
          {"caption", m.caption}, {"icon", Image(m.icon)},      {"buttons", buttons},
          {"button_values", m.buttons}, {"default", MessageButtonName(m.defaultButton)}};
}

json HandleAutomationRequest(const json& request) {
  json reply;
  try {
    // The request's texts in the programs' code page: selectors and expected texts then
    // compare with the model's bytes, and typed text reaches it as a person types it.
    std::string beyond;
    const std::optional<json> latin1 = JsonToLatin1(request, &beyond, kNotModelText);
    if (!latin1) {
      throw RequestError{"the text " + Utf8ToLatin1Replacing(json(beyond).dump()) +
                         " holds a character the programs' single-byte code page (Latin-1) cannot hold"};
    }
    reply = Handle(*latin1);
  } catch (const RequestError& e) {
    reply = {{"ok", false}, {"error", e.text}};
  } catch (const json::exception& e) {
    reply = {{"ok", false}, {"error", std::string("bad request: ") + e.what()}};
  }
  reply = JsonToUtf8(reply, kNotModelText);
  if (request.is_object() && request.contains("id")) reply["id"] = request["id"];
  return reply;
}

}  // namespace qx
