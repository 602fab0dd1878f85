// The frame's menu bar and toolbar as the running qxmora presents them: every menu entry
// (text, status-bar message, standard action, the menu it belongs to) and every toolbar
// control (position, text, message, tip, icon, font, justification), in creation order,
// with the toolbar's own place and height.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e_actions/frame_run.h"

namespace qx::testing {
namespace {

// Colours as the window library keeps them: blue in the high byte, red in the low one.
constexpr LONG kNavy = 0x800000;
constexpr LONG kBlue = 0xFF0000;

// What a row of the tables fixes of a control; what it does not name must be absent.
const char* const kFixedKeys[] = {"field", "kind",   "name", "menu",      "separator",  "text", "message", "tip",
                                  "std",   "at",     "icon", "font",      "justify",    "transparent",
                                  "read_only", "picture"};

json Fixed(const json& control) {
  json out = json::object();
  for (const char* key : kFixedKeys) {
    if (control.contains(key)) out[key] = control[key];
  }
  if (out.contains("at") && out["at"].empty()) out.erase("at");
  return out;
}

struct MenuRow {
  LONG field;
  const char* kind;  // "menu" or "item"
  const char* name;
  const char* text;
  const char* message;  // "" for none
  LONG std;             // standard action; 0 for none
  LONG menu;            // the menu an item belongs to
};

json Expected(const MenuRow& r) {
  json j = {{"field", r.field}, {"kind", r.kind}, {"name", r.name}, {"text", r.text}};
  if (*r.message) j["message"] = r.message;
  if (r.std) j["std"] = r.std;
  if (r.menu) j["menu"] = r.menu;
  return j;
}

TEST(FrameControls, TheMenuBarAndTheToolbarHoldWhatTheFrameDescribes) {
  const MenuRow menus[] = {
      {-1, "menu", "FileMenu", "&File", "", 0, 0},
      {-2, "item", "PrintSetupItem", "&Print Setup ...", "Setup printer", 0x10, -1},
      {0, "item", "", "", "", 0, -1},  // the separator
      {-3, "item", "ExitItem", "E&xit", "Exit this application", 0x0F, -1},
      {-4, "menu", "EditMenu", "&Edit", "", 0, 0},
      {-5, "item", "CutItem", "Cu&t", "Remove item to Windows Clipboard", 0x0A, -4},
      {-6, "item", "CopyItem", "&Copy", "Copy item to Windows Clipboard", 0x0B, -4},
      {-7, "item", "PasteItem", "&Paste", "Paste contents of Windows Clipboard", 0x0C, -4},
      {-8, "menu", "BrowseMenu", "&Browse", "", 0, 0},
      {-9, "item", "BrowseStandrdItem", "Browse Standard File", "Browse Standrd", 0, -8},
      {-10, "item", "BrowseEncryptItem", "Browse Encrypted File", "Browse Encrypt", 0, -8},
      {-11, "item", "BrowseVeryLongNameItem", "Browse Very-Long-Named File", "Browse VeryLongName", 0, -8},
      {-12, "item", "BrowseVarnameItem", "Browse Named with Variable File", "Browse Varname", 0, -8},
      {-13, "menu", "WindowMenu", "&Window", "Create and Arrange windows", 1, 0},
      {-14, "item", "TileItem", "T&ile", "Make all open windows visible", 2, -13},
      {-15, "item", "CascadeItem", "&Cascade", "Stack all open windows", 3, -13},
      {-16, "item", "ArrangeIconsItem", "&Arrange Icons", "Align all window icons", 4, -13},
      {-17, "menu", "HelpMenu", "&Help", "Windows Help", 0, 0},
      {-18, "item", "HelpContentsItem", "&Contents", "View the contents of the help file", 5, -17},
      {-19, "item", "HelpSearchItem", "&Search for Help On...", "Search for help on a subject", 7, -17},
      {-20, "item", "HelpOnHelpItem", "&How to Use Help", "How to use Windows Help", 6, -17},
  };
  auto button = [](LONG field, const char* name, json at, const char* text, const char* message, const char* tip,
                   const char* icon, LONG colour, const char* justify) {
    return json{{"field", field},
                {"kind", "button"},
                {"name", name},
                {"at", at},
                {"text", text},
                {"message", message},
                {"tip", tip},
                {"icon", {{"resource", icon}}},
                {"font", {{"face", "Arial"}, {"size", 8}, {"weight", 700}, {"colour", colour}}},
                {"justify", justify}};
  };
  const std::vector<json> toolbar = {
      button(-21, "ResetDataButton", {{"x", 7}, {"y", 2}, {"width", 76}, {"height", 23}}, "Reset Old Data Files",
             "Reset Garblexed files", "Reset Garblexed files", "ICON32527.ICO", kNavy, "left"),
      button(-22, "ConvertButton", {{"x", 221}, {"y", 2}, {"width", 93}, {"height", 23}},
             "2. Convert Data      Files There", "Run Conversion for /Data Directory",
             "Run Conversion for /Data Directory", "ICON32529.ICO", kBlue, "left"),
      button(-23, "FrameCloseButton", {{"x", 365}, {"y", 2}, {"width", 58}, {"height", 23}}, "Close",
             "Exit Program", "Exit Program", "ICON32526.ICO", kNavy, "right"),
      {{"field", -24},
       {"kind", "prompt"},
       {"name", "WorkingDirPrompt"},
       {"at", {{"x", 179}, {"y", 26}}},
       {"text", "Working Directory:"},
       {"font", {{"weight", 700}, {"colour", kBlue}}},
       {"transparent", true}},
      {{"field", -25},
       {"kind", "string"},
       {"name", "WorkingDirString"},
       {"at", {{"x", 19}, {"y", 34}, {"width", 392}, {"height", 10}}},
       {"picture", "@s255"},
       {"font", {{"colour", kNavy}}},
       {"justify", "centre"},
       {"transparent", true},
       {"read_only", true}},
      button(-26, "SetDataPathButton", {{"x", 115}, {"y", 2}, {"width", 104}, {"height", 23}},
             "1. Change Working    Directory to /Data", "Set Data Path to /DataDirectory",
             "Set Data Path to /Data Directory", "ICON32528.ICO", kBlue, "right"),
  };

  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const json w = frame->run().Window(kFrame);
  ASSERT_TRUE(w.is_object());
  EXPECT_EQ(w["toolbar"], json({{"x", 0}, {"y", 0}, {"height", 44}})) << "the full width, 44 units high";

  std::vector<json> menuBar, tools;
  for (const json& c : w["controls"]) {
    if (c["area"] == "menu") menuBar.push_back(c);
    if (c["area"] == "toolbar") tools.push_back(c);
  }
  ASSERT_EQ(menuBar.size(), std::size(menus));
  for (size_t i = 0; i < menuBar.size(); ++i) {
    json expected = Expected(menus[i]);
    if (menus[i].field == 0) expected["separator"] = true;
    EXPECT_EQ(Fixed(menuBar[i]), expected) << "menu entry " << i + 1;
  }
  ASSERT_EQ(tools.size(), toolbar.size());
  for (size_t i = 0; i < tools.size(); ++i) {
    json actual = Fixed(tools[i]);
    if (actual["name"] == "WorkingDirString") {
      EXPECT_EQ(tools[i]["text"], frame->directory()) << "the working directory, through its picture";
      actual.erase("text");
    }
    EXPECT_EQ(actual, toolbar[i]) << "toolbar control " << i + 1;
  }
}

}  // namespace
}  // namespace qx::testing
