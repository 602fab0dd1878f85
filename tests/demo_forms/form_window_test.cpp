// The window each form builds: its description (size, frame, help id), the controls with
// their pictures and places, the entries bound to the record's fields in order with the
// ditto key as their alert key, the title chosen by the request, the minimum size and the
// resize support.
#include <gtest/gtest.h>

#include <map>

#include "runtime/text/picture.h"
#include "runtime/win/description.h"
#include "tests/demo_forms/form_run.h"

namespace qx::formtest {
namespace {

constexpr LONG kDay = 80000;  // a day number in 2019

std::string DateText(LONG day) { return Picture::Parse("@d17")->FormatNumber(day); }

// A record with a distinct value in every field any form shows.
const Values kFullRecord = {{"CUSID", "7"},     {"NAME", "Ann"}, {"SUBURB", "Kew"},     {"PHONE", "555 0101"},
                            {"STARTDATE", "80000"}, {"NEWFIELD", "nf"}, {"SYSID", "3"}};

// How an entry of each field is made and what it shows of kFullRecord.
struct EntryLook {
  std::string picture;
  LONG width;
  bool right;
  std::string shown;
};
const std::map<std::string, EntryLook> kEntryLooks = {
    {"CUSID", {"@n-14", 64, true, "7"}},       {"NAME", {"@S20", 84, false, "Ann"}},
    {"SUBURB", {"@s20", 84, false, "Kew"}},    {"PHONE", {"@s20", 84, false, "555 0101"}},
    {"STARTDATE", {"@d17", 104, true, DateText(kDay)}}, {"NEWFIELD", {"@s20", 84, false, "nf"}},
};
const std::map<std::string, std::string> kPromptTexts = {
    {"CUSID", "Cus ID:"}, {"NAME", "&Name:"},         {"SUBURB", "Suburb:"},
    {"PHONE", "Phone:"},  {"STARTDATE", "Start Date:"}, {"NEWFIELD", "New Field:"},
};

json At(LONG x, LONG y, LONG w, LONG h) { return {{"x", x}, {"y", y}, {"width", w}, {"height", h}}; }

std::map<LONG, json> ByField(const json& window) {
  std::map<LONG, json> out;
  for (const json& c : window["controls"]) out[c["field"].get<LONG>()] = c;
  return out;
}

using FormWindow = FormTest;

TEST_F(FormWindow, EachFormShowsItsRecordInItsControls) {
  for (const FormKind& kind : Forms()) {
    SCOPED_TRACE(kind.name);
    MakeFile(*kind.file, {kFullRecord});
    view_.Forget();
    const LONG response = RunForm(kind, kChange, BrowseSelects(1), [&](Person& p) {
      const json w = p.Form();
      EXPECT_EQ(w["module"], kind.module);
      EXPECT_EQ(w["label"], "P1$QUICKWINDOW");
      EXPECT_EQ(w["kind"], "mdi");
      EXPECT_TRUE(w.contains("parent")) << "a child of the frame";
      EXPECT_EQ(w["title"], "Changing a Record");
      EXPECT_EQ(w["width"], kind.width);
      EXPECT_EQ(w["height"], kind.height);
      EXPECT_EQ(w["min_width"], kind.width) << "it cannot be made smaller than it opened";
      EXPECT_EQ(w["min_height"], kind.height);
      EXPECT_EQ(w["frame"]["border"], "resizable");
      EXPECT_EQ(w["focus"], 4) << "the first prompt passes the focus to the first entry";

      std::map<LONG, json> c = ByField(w);
      EXPECT_EQ(c.size(), 2 + 2 * kind.entries.size() + kind.barePrompts.size() + 3);
      EXPECT_EQ(c[1]["kind"], "sheet");
      EXPECT_EQ(c[1]["name"], "FormSheet");
      EXPECT_EQ(c[1]["at"], At(4, 4, kind.sheetWidth, kind.sheetHeight));
      EXPECT_EQ(c[2]["kind"], "tab");
      EXPECT_EQ(c[2]["text"], "General");
      LONG y = 20;
      for (const auto& [control, field] : kind.entries) {
        SCOPED_TRACE(field);
        const json& prompt = c[control - 1];
        EXPECT_EQ(prompt["kind"], "prompt");
        EXPECT_EQ(prompt["text"], kPromptTexts.at(field));
        EXPECT_EQ(prompt["at"]["x"], 8);
        EXPECT_EQ(prompt["at"]["y"], y);
        EXPECT_EQ(prompt["parent"], 2);
        const json& entry = c[control];
        const EntryLook& look = kEntryLooks.at(field);
        EXPECT_EQ(entry["kind"], "entry");
        EXPECT_EQ(entry["parent"], 2);
        EXPECT_EQ(entry["picture"], look.picture);
        EXPECT_EQ(entry["at"], At(61, y, look.width, 10));
        EXPECT_EQ(entry.value("justify", ""), look.right ? "right" : "");
        EXPECT_EQ(entry.value("justify_offset", 0), look.right ? 1 : 0);
        EXPECT_EQ(entry["text"], look.shown) << "bound to its own field";
        EXPECT_EQ(entry["alert_keys"], json::array({0x2DE})) << "the ditto key";
        y += 14;
      }
      for (const auto& [control, text] : kind.barePrompts) {
        EXPECT_EQ(c[control]["kind"], "prompt");
        EXPECT_EQ(c[control]["text"], text);
        EXPECT_EQ(c[control]["at"]["x"], 8);
        EXPECT_EQ(c[control]["at"]["y"], y);
        y += 14;
      }
      const LONG buttons[] = {kind.ok, kind.cancel, kind.help};
      const char* texts[] = {"OK", "Cancel", "Help"};
      for (int i = 0; i < 3; ++i) {
        const json& b = c[buttons[i]];
        EXPECT_EQ(b["kind"], "button");
        EXPECT_EQ(b["text"], texts[i]);
        EXPECT_EQ(b["at"], At(kind.buttonsX[i], kind.buttonsY, 45, 14));
        EXPECT_FALSE(b.contains("parent")) << "the window's, not the tab's";
      }
      EXPECT_EQ(c[kind.ok].value("default", false), true);
      EXPECT_EQ(c[kind.help]["std"], 8) << "context help";
      p.Press(kind.cancel);
    });
    EXPECT_EQ(response, 2);
    EXPECT_TRUE(view_.Shown(std::string(kind.module) + "/P1$QUICKWINDOW"));

    const WindowDescription* d = FindWindowDescription(kind.module, "P1$QUICKWINDOW");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->title, std::string("Update the ") + (kind.name + 6) + " File");
    EXPECT_EQ(d->helpId, kind.name);
    EXPECT_TRUE(d->sizeEvents);
    EXPECT_TRUE(d->threeD);
    EXPECT_EQ(d->font.face, "MS Sans Serif");
  }
}

TEST_F(FormWindow, AnInsertIsTitledAddingARecord) {
  const FormKind& kind = Form("UpdateVarname");
  MakeFile(*kind.file, {});
  RunForm(kind, kInsert, BrowseInserts(), [&](Person& p) {
    EXPECT_EQ(p.Form()["title"], "Adding a Record");
    p.Press(kind.cancel);
  });
}

// The person cannot make a form smaller than it opened; enlarged, its buttons keep their
// size and their distance from the nearer edges, and the rest grows with the window.
TEST_F(FormWindow, ResizingKeepsTheMinimumAndMovesTheButtons) {
  for (const FormKind& kind : Forms()) {
    SCOPED_TRACE(kind.name);
    MakeFile(*kind.file, {kFullRecord});
    RunForm(kind, kChange, BrowseSelects(1), [&](Person& p) {
      p.Resize(kind.width - 40, kind.height - 30);
      json w = p.Form();
      EXPECT_EQ(w["width"], kind.width);
      EXPECT_EQ(w["height"], kind.height);

      p.Resize(kind.width * 2, kind.height + 20);
      std::map<LONG, json> c = ByField(p.Form());  // once the form has handled EVENT:Sized
      EXPECT_EQ(c[1]["at"]["width"], kind.sheetWidth * 2) << "the sheet scales";
      EXPECT_EQ(c[4]["at"]["x"], 122) << "an entry moves in proportion";
      const json& ok = c[kind.ok]["at"];
      const json& help = c[kind.help]["at"];
      EXPECT_EQ(ok["x"], kind.buttonsX[0]) << "OK is nearer the left edge";
      EXPECT_EQ(help["x"], kind.buttonsX[2] + kind.width) << "Help keeps its distance from the right edge";
      EXPECT_EQ(help["y"], kind.buttonsY + 20) << "and from the bottom";
      EXPECT_EQ(help["width"], 45);
      p.Press(kind.cancel);
    });
  }
}

}  // namespace
}  // namespace qx::formtest
