// Window descriptions: parsing, the errors of a bad description, and the programs' own
// descriptions with the properties their windows must carry.
#include <gtest/gtest.h>

#include <map>

#include "runtime/win/description.h"

namespace qx {
namespace {

TEST(Description, NumbersInTheirWrittenForms) {
  struct Case {
    const char* json;
    LONG value;
  } cases[] = {{"16", 16}, {"\"16\"", 16}, {"\"10h\"", 16}, {"\"0x10\"", 16}, {"\"7C00h\"", 0x7C00},
               {"\"-1\"", -1}, {"-25", -25}, {"\"4000H\"", 0x4000}};
  for (const Case& c : cases) EXPECT_EQ(ParseDescriptionNumber(nlohmann::json::parse(c.json)), c.value) << c.json;
  for (const char* bad : {"\"\"", "\"h\"", "\"12x\"", "\"0x\"", "true", "\"1 2\""}) {
    EXPECT_THROW(ParseDescriptionNumber(nlohmann::json::parse(bad)), std::runtime_error) << bad;
  }
}

TEST(Description, BadDescriptionsNameWhatIsWrong) {
  struct Case {
    const char* text;
    const char* mentions;
  } cases[] = {
      {"{", "JSON"},
      {"{\"windows\": []}", "module"},
      {"{\"module\":\"m\",\"windows\":[{\"title\":\"x\"}]}", "label"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"kind\":\"dialog\"}]}", "dialog"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"controls\":[{\"name\":\"B\"}]}]}", "control B"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"controls\":[{\"kind\":\"button\",\"field\":\"x1\"}]}]}", "field"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"controls\":[{\"kind\":\"button\",\"justify\":\"up\"}]}]}", "up"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"controls\":[{\"kind\":\"list\",\"name\":\"L\",\"format\":\"64X\"}]}]}",
       "control L: \"format\": column 1"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"controls\":[{\"kind\":\"sheet\",\"tabs\":[{\"kind\":\"button\"}]}]}]}",
       "only tabs"},
      {"{\"module\":\"m\",\"windows\":[{\"label\":\"W\",\"controls\":[{\"kind\":\"list\",\"immediate\":1}]}]}", "immediate"},
  };
  for (const Case& c : cases) {
    try {
      ParseWindowDescriptions(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << e.what();
    }
  }
}

TEST(Description, TextsAreReadIntoTheProgramsCodePage) {
  // The file is UTF-8; the program's texts are Latin-1 bytes.
  auto windows = ParseWindowDescriptions(R"({"module":"m","windows":[{"label":"W","title":"Café",
      "controls":[{"kind":"prompt","text":"Zoë & Søren","message":"½ price","tip":"ÿ"}]}]})");
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].title, "Caf\xE9");
  const ControlDescription& c = windows[0].controls[0];
  EXPECT_EQ(c.text, "Zo\xEB & S\xF8ren");
  EXPECT_EQ(c.message, "\xBD price");
  EXPECT_EQ(c.tip, "\xFF");
  for (const char* beyond : {"10 €", "Ω", "😀"}) {
    const std::string text = std::string(R"({"module":"m","windows":[{"label":"W","title":")") + beyond + "\"}]}";
    try {
      ParseWindowDescriptions(text);
      ADD_FAILURE() << "accepted: " << beyond;
    } catch (const std::runtime_error& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("m window W: \"title\""), std::string::npos) << what;
      EXPECT_NE(what.find("Latin-1"), std::string::npos) << what;
    }
  }
}

TEST(Description, ColoursAndDefaults) {
  auto windows = ParseWindowDescriptions(R"({"module":"m","windows":[{"label":"W",
      "background":{"system":0},
      "controls":[{"kind":"prompt","colour":"#000080","background":{"red":1,"green":2,"blue":3},
                   "at":{"x":5}}]}]})");
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].background, 0x80000000u);
  const ControlDescription& c = windows[0].controls[0];
  EXPECT_EQ(c.colour, 0x800000u) << "navy as 00BBGGRR";
  EXPECT_EQ(c.background, 0x030201u);
  EXPECT_EQ(c.at.x, 5);
  EXPECT_FALSE(c.at.width.has_value()) << "a size left out is the default";
  EXPECT_EQ(windows[0].frame.border, "single");
}

TEST(Description, GlobalWindowsOfBothPrograms) {
  for (const char* module : {"qxmora$qxmora", "qxshift$qxshift"}) {
    for (const char* label : {"$ZELTWELCOME", "$ZELTKEYWIN"}) {
      const WindowDescription* w = FindWindowDescription(module, label);
      ASSERT_NE(w, nullptr) << module << " " << label;
      EXPECT_TRUE(w->centred);
      EXPECT_FALSE(w->at.x.has_value());
      EXPECT_EQ(w->at.width, 110);
      EXPECT_EQ(w->at.height, 34);
      EXPECT_EQ(w->font.face, "Arial");
      EXPECT_EQ(w->font.size, 8);
      EXPECT_FALSE(w->frame.caption);
      EXPECT_FALSE(w->frame.systemMenu);
      EXPECT_EQ(w->background, 0x80000000u);
      ASSERT_EQ(w->controls.size(), 3u);
      EXPECT_EQ(w->controls[0].kind, "panel");
      EXPECT_EQ(w->controls[0].bevel, 0);
      EXPECT_EQ(w->controls[1].icon.systemIcon, kIconInformation);
      EXPECT_TRUE(w->controls[2].transparent);
    }
    EXPECT_EQ(FindWindowDescription(module, "$ZELTWELCOME")->controls[2].text,
              "Checking Files for errors          Please Wait ...");
    EXPECT_EQ(FindWindowDescription(module, "$zeltkeywin")->controls[2].text, "Finishing conversion Please wait...");
    EXPECT_EQ(FindWindowDescription(module, "$ZELTKEYWIN")->controls[2].at.x, 36);
  }
}

TEST(Description, TheDemonstrationFrame) {
  const WindowDescription* w = FindWindowDescription("QXMORA$QXD001", "p1$appframe");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->kind, "application");
  EXPECT_EQ(w->title, "Demo of Quorvane Data File Converter");
  EXPECT_EQ(w->at.width, 429);
  EXPECT_EQ(w->at.height, 262);
  EXPECT_EQ(w->font.face, "MS Sans Serif");
  EXPECT_EQ(w->icon.resource, "JUMPPG.ICO");
  EXPECT_EQ(w->wallpaper.image, "bg.bmp");
  EXPECT_EQ(w->wallpaper.mode, 2);
  EXPECT_EQ(w->statusBar, (std::vector<LONG>{-1, 80, 120, 45}));
  EXPECT_EQ(w->frame.border, "resizable");
  ASSERT_EQ(w->menuBar.size(), 5u);
  // Every menu field from -1 to -20 once, with the standard actions of the menus.
  std::map<LONG, LONG> actions;
  for (const auto& menu : w->menuBar) {
    actions[menu.field] = menu.standardAction;
    for (const auto& item : menu.items) {
      if (!item.separator) actions[item.field] = item.standardAction;
    }
  }
  ASSERT_EQ(actions.size(), 20u);
  EXPECT_EQ(actions.begin()->first, -20);
  EXPECT_EQ(actions[-2], 0x10);
  EXPECT_EQ(actions[-3], 0x0F);
  EXPECT_EQ(actions[-5], 0x0A);
  EXPECT_EQ(actions[-13], 1);
  EXPECT_EQ(actions[-19], 7);
  EXPECT_EQ(actions[-9], 0) << "the browse items are the frame's own";
  EXPECT_EQ(w->menuBar[0].items[1].separator, true);
  ASSERT_TRUE(w->toolbar.present);
  EXPECT_EQ(w->toolbar.at.height, 44);
  ASSERT_EQ(w->toolbar.controls.size(), 6u);
  const ControlDescription& convert = w->toolbar.controls[1];
  EXPECT_EQ(convert.field, -22);
  EXPECT_EQ(convert.text, "2. Convert Data      Files There");
  EXPECT_EQ(convert.icon.resource, "ICON32529.ICO");
  EXPECT_EQ(convert.font.weight, 700);
  EXPECT_EQ(convert.font.colour, 0xFF0000u) << "blue";
  EXPECT_EQ(convert.attributes, 0x4000);
  const ControlDescription& dir = w->toolbar.controls[4];
  EXPECT_EQ(dir.kind, "string");
  EXPECT_EQ(dir.picture, "@s255");
  EXPECT_TRUE(dir.readOnly);
  EXPECT_EQ(dir.justify, Justify::kCentre);
  EXPECT_EQ(w->toolbar.controls[5].tip, "Set Data Path to /Data Directory");
  EXPECT_EQ(w->toolbar.controls[5].message, "Set Data Path to /DataDirectory");
}

TEST(Description, TheConverterFrame) {
  const WindowDescription* w = FindWindowDescription("qxshift$qxc001", "P1$APPFRAME");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->title, "Quorvane Converter");
  EXPECT_EQ(w->at.width, 99);
  EXPECT_EQ(w->at.height, 27);
  EXPECT_TRUE(w->frame.minimizeBox);
  EXPECT_FALSE(w->frame.maximizeBox);
  EXPECT_TRUE(w->menuBar.empty());
  EXPECT_TRUE(w->statusBar.empty());
  ASSERT_EQ(w->toolbar.controls.size(), 1u);
  EXPECT_EQ(w->toolbar.controls[0].text, "Files converted successfully or do not need conversion");
  EXPECT_EQ(w->toolbar.at.height, 200);
  EXPECT_EQ(FindWindowDescription("qxshift$qxc001", "P1$QUICKWINDOW"), nullptr);
  EXPECT_EQ(FindWindowDescription("nomodule", "P1$APPFRAME"), nullptr);
}

}  // namespace
}  // namespace qx
