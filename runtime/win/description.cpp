// Parsing window descriptions and finding them among the embedded resources; see
// description.h and DESCRIPTIONS.md.
#include "runtime/win/description.h"

#include <cctype>
#include <map>
#include <mutex>
#include <stdexcept>

#include "runtime/sys/resources.h"
#include "runtime/text/strings.h"
#include "runtime/win/list_format.h"

namespace qx {
namespace {

using nlohmann::json;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

// A description's text (UTF-8, as the JSON file holds it) in the model's single-byte code
// page, Latin-1: U+0000 to U+00FF become the byte of the same value. The parser has already
// refused text that is no UTF-8; a character beyond Latin-1 is a description error.
std::string Latin1(const std::string& utf8, const char* key, const std::string& where) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
      out += static_cast<char>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
      ++i;
      continue;
    }
    size_t length = 1;
    while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80) ++length;
    Fail(where, std::string("\"") + key + "\": \"" + utf8.substr(i, length) +
                    "\" is not in the single-byte code page (Latin-1) of the program's texts");
  }
  return out;
}

std::string Str(const json& j, const char* key, const std::string& where) {
  if (!j.contains(key)) return {};
  if (!j[key].is_string()) Fail(where, std::string("\"") + key + "\" must be a text");
  return Latin1(j[key].get<std::string>(), key, where);
}

bool Flag(const json& j, const char* key, bool fallback, const std::string& where) {
  if (!j.contains(key)) return fallback;
  if (!j[key].is_boolean()) Fail(where, std::string("\"") + key + "\" must be true or false");
  return j[key].get<bool>();
}

LONG Num(const json& j, const char* key, LONG fallback, const std::string& where) {
  if (!j.contains(key)) return fallback;
  try {
    return ParseDescriptionNumber(j[key]);
  } catch (const std::runtime_error& e) {
    Fail(where, std::string("\"") + key + "\": " + e.what());
  }
}

// "#RRGGBB", {"red":r,"green":g,"blue":b}, {"system":n}, or a number (00BBGGRR).
ULONG Colour(const json& j, const char* key, const std::string& where) {
  if (!j.contains(key)) return kNoColour;
  const json& c = j[key];
  if (c.is_string()) {
    const std::string s = c.get<std::string>();
    if (s.size() == 7 && s[0] == '#') {
      const unsigned long rgb = std::stoul(s.substr(1), nullptr, 16);
      const ULONG r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
      return r | (g << 8) | (b << 16);
    }
    return static_cast<ULONG>(Num(j, key, 0, where));
  }
  if (c.is_object()) {
    if (c.contains("system")) return kSystemColourBit | static_cast<ULONG>(Num(c, "system", 0, where));
    const ULONG r = static_cast<ULONG>(Num(c, "red", 0, where));
    const ULONG g = static_cast<ULONG>(Num(c, "green", 0, where));
    const ULONG b = static_cast<ULONG>(Num(c, "blue", 0, where));
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
  }
  return static_cast<ULONG>(Num(j, key, 0, where));
}

DialogRect Rect(const json& j, const std::string& where) {
  DialogRect r;
  if (!j.contains("at")) return r;
  const json& a = j["at"];
  if (!a.is_object()) Fail(where, "\"at\" must be an object of x, y, width, height");
  if (a.contains("x")) r.x = Num(a, "x", 0, where);
  if (a.contains("y")) r.y = Num(a, "y", 0, where);
  if (a.contains("width")) r.width = Num(a, "width", 0, where);
  if (a.contains("height")) r.height = Num(a, "height", 0, where);
  return r;
}

FontDescription Font(const json& j, const std::string& where) {
  FontDescription f;
  if (!j.contains("font")) return f;
  const json& o = j["font"];
  if (!o.is_object()) Fail(where, "\"font\" must be an object");
  f.face = Str(o, "face", where);
  f.size = Num(o, "size", 0, where);
  f.weight = Num(o, "weight", 0, where);
  if (Flag(o, "bold", false, where)) f.weight = 700;
  f.italic = Flag(o, "italic", false, where);
  f.colour = Colour(o, "colour", where);
  return f;
}

ImageSource Image(const json& j, const char* key, const std::string& where) {
  ImageSource src;
  if (!j.contains(key)) return src;
  const json& v = j[key];
  if (v.is_object()) {
    if (v.contains("system")) src.systemIcon = Num(v, "system", 0, where);
    src.resource = Str(v, "resource", where);
  } else if (v.is_string()) {
    src.resource = v.get<std::string>();
  } else {
    Fail(where, std::string("\"") + key + "\" must be a resource name or {\"system\": n}");
  }
  return src;
}

Justify ParseJustify(const std::string& s, const std::string& where) {
  if (s.empty()) return Justify::kDefault;
  if (s == "left") return Justify::kLeft;
  if (s == "right") return Justify::kRight;
  if (s == "centre" || s == "center") return Justify::kCentre;
  if (s == "decimal") return Justify::kDecimal;
  Fail(where, "unknown justification \"" + s + "\"");
}

ControlDescription Control(const json& j, const std::string& owner) {
  if (!j.is_object()) Fail(owner, "a control must be an object");
  ControlDescription c;
  c.raw = j;
  c.name = Str(j, "name", owner);
  const std::string where = owner + " control " + (c.name.empty() ? std::string("?") : c.name);
  c.kind = Str(j, "kind", where);
  c.separator = Flag(j, "separator", false, where);
  if (c.separator && c.kind.empty()) c.kind = "item";
  if (c.kind.empty()) Fail(where, "\"kind\" is missing");
  c.field = Num(j, "field", 0, where);
  c.at = Rect(j, where);
  c.text = Str(j, "text", where);
  c.picture = Str(j, "picture", where);
  c.message = Str(j, "message", where);
  c.tip = Str(j, "tip", where);
  c.icon = Image(j, "icon", where);
  c.font = Font(j, where);
  c.colour = Colour(j, "colour", where);
  c.background = Colour(j, "background", where);
  c.justify = ParseJustify(Str(j, "justify", where), where);
  c.justifyOffset = Num(j, "justify_offset", 0, where);
  c.attributes = Num(j, "attributes", 0, where);
  c.standardAction = Num(j, "std", 0, where);
  c.isDefault = Flag(j, "default", false, where);
  c.transparent = Flag(j, "transparent", false, where);
  c.readOnly = Flag(j, "read_only", false, where);
  c.disabled = Flag(j, "disabled", false, where);
  c.hidden = Flag(j, "hidden", false, where);
  c.bevel = Num(j, "bevel", -1, where);
  c.format = Str(j, "format", where);
  if (!c.format.empty()) {
    std::string error;
    if (!ParseListFormat(c.format, &error)) Fail(where, "\"format\": " + error);
  }
  c.immediate = Flag(j, "immediate", false, where);
  c.vScroll = Flag(j, "vscroll", false, where);
  c.hScroll = Flag(j, "hscroll", false, where);
  c.selectedColour = Colour(j, "selected_colour", where);
  c.selectedBackground = Colour(j, "selected_background", where);
  // A menu's "items", a sheet's "tabs", a tab's "controls": the controls that lie in it.
  for (const char* key : {"items", "tabs", "controls"}) {
    if (!j.contains(key)) continue;
    if (!j[key].is_array()) Fail(where, std::string("\"") + key + "\" must be a list");
    for (const json& item : j[key]) c.items.push_back(Control(item, where));
  }
  if (c.kind == "sheet") {
    for (const ControlDescription& tab : c.items) {
      if (tab.kind != "tab") Fail(where, "a sheet holds only tabs, not \"" + tab.kind + "\"");
    }
  }
  return c;
}

std::vector<ControlDescription> Controls(const json& j, const char* key, const std::string& where) {
  std::vector<ControlDescription> out;
  if (!j.contains(key)) return out;
  if (!j[key].is_array()) Fail(where, std::string("\"") + key + "\" must be a list");
  for (const json& c : j[key]) out.push_back(Control(c, where));
  return out;
}

WindowDescription Window(const json& j, const std::string& module) {
  WindowDescription w;
  w.raw = j;
  w.module = module;
  w.label = Str(j, "label", module);
  const std::string where = module + " window " + w.label;
  if (w.label.empty()) Fail(where, "\"label\" is missing");
  w.kind = Str(j, "kind", where);
  if (w.kind.empty()) w.kind = "window";
  if (w.kind != "window" && w.kind != "application" && w.kind != "mdi") {
    Fail(where, "unknown window kind \"" + w.kind + "\"");
  }
  w.title = Str(j, "title", where);
  w.at = Rect(j, where);
  w.centred = Flag(j, "centred", false, where);
  w.font = Font(j, where);
  if (j.contains("frame")) {
    const json& f = j["frame"];
    w.frame.border = Str(f, "border", where);
    if (w.frame.border.empty()) w.frame.border = "single";
    w.frame.caption = Flag(f, "caption", true, where);
    w.frame.systemMenu = Flag(f, "system_menu", false, where);
    w.frame.maximizeBox = Flag(f, "maximize_box", false, where);
    w.frame.minimizeBox = Flag(f, "minimize_box", false, where);
  }
  w.background = Colour(j, "background", where);
  w.icon = Image(j, "icon", where);
  if (j.contains("wallpaper")) {
    const json& p = j["wallpaper"];
    w.wallpaper.image = Str(p, "image", where);
    w.wallpaper.mode = Num(p, "mode", 1, where);
  }
  if (j.contains("status_bar")) {
    for (const json& width : j["status_bar"]) w.statusBar.push_back(ParseDescriptionNumber(width));
  }
  w.menuBar = Controls(j, "menu_bar", where);
  if (j.contains("toolbar")) {
    const json& t = j["toolbar"];
    w.toolbar.present = true;
    w.toolbar.at = Rect(t, where + " toolbar");
    w.toolbar.controls = Controls(t, "controls", where + " toolbar");
  }
  w.controls = Controls(j, "controls", where);
  w.helpId = Str(j, "help_id", where);
  w.sizeEvents = Flag(j, "size_events", false, where);
  w.threeD = Flag(j, "three_d", false, where);
  return w;
}

struct Catalogue {
  std::mutex mu;
  bool loaded = false;
  // module (lower case) -> label (lower case) -> description
  std::map<std::string, std::map<std::string, std::unique_ptr<WindowDescription>>> modules;
};

Catalogue& TheCatalogue() {
  static Catalogue catalogue;
  return catalogue;
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && RtSameIgnoringCase(s.substr(s.size() - tail.size()), tail);
}

}  // namespace

LONG ParseDescriptionNumber(const json& value) {
  if (value.is_number_integer()) return value.get<LONG>();
  if (value.is_number_unsigned()) return static_cast<LONG>(value.get<ULONG>());
  if (!value.is_string()) throw std::runtime_error("expected a number");
  std::string s = value.get<std::string>();
  if (s.empty()) throw std::runtime_error("empty number");
  bool negative = false;
  std::string body = s;
  if (body[0] == '-') {
    negative = true;
    body = body.substr(1);
  }
  int base = 10;
  if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
    base = 16;
    body = body.substr(2);
  } else if (body.size() > 1 && (body.back() == 'h' || body.back() == 'H')) {
    base = 16;
    body.pop_back();
  }
  if (body.empty()) throw std::runtime_error("not a number: \"" + s + "\"");
  for (char c : body) {
    if (!(base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c)))) {
      throw std::runtime_error("not a number: \"" + s + "\"");
    }
  }
  const unsigned long long v = std::stoull(body, nullptr, base);
  const LONG n = static_cast<LONG>(static_cast<ULONG>(v));
  return negative ? -n : n;
}

std::vector<WindowDescription> ParseWindowDescriptions(std::string_view text) {
  json doc;
  try {
    doc = json::parse(text);
  } catch (const json::exception& e) {
    throw std::runtime_error(std::string("window description is not valid JSON: ") + e.what());
  }
  if (!doc.is_object() || !doc.contains("module") || !doc["module"].is_string()) {
    throw std::runtime_error("window description without \"module\"");
  }
  const std::string module = doc["module"].get<std::string>();
  std::vector<WindowDescription> out;
  if (doc.contains("windows")) {
    if (!doc["windows"].is_array()) throw std::runtime_error(module + ": \"windows\" must be a list");
    for (const json& w : doc["windows"]) out.push_back(Window(w, module));
  }
  return out;
}

const WindowDescription* FindWindowDescription(std::string_view module, std::string_view label) {
  Catalogue& cat = TheCatalogue();
  std::lock_guard<std::mutex> lock(cat.mu);
  if (!cat.loaded) {
    cat.loaded = true;
    for (std::string_view name : RtResourceNames()) {
      if (!EndsWith(name, ".windows.json")) continue;
      for (WindowDescription& w : ParseWindowDescriptions(*RtFindResource(name))) {
        auto owned = std::make_unique<WindowDescription>(std::move(w));
        auto& slot = cat.modules[RtLower(owned->module)][RtLower(owned->label)];
        slot = std::move(owned);
      }
    }
  }
  auto m = cat.modules.find(RtLower(module));
  if (m == cat.modules.end()) return nullptr;
  auto w = m->second.find(RtLower(label));
  return w == m->second.end() ? nullptr : w->second.get();
}

}  // namespace qx
