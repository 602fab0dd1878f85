// The Qt view on a real (virtual) display, driven end to end through the automation
// channel: the welcome window, the demonstration frame with its toolbar, menus, status bar
// and wallpaper, the reset message box, a child window on a thread of its own and the
// converter's small frame, a browse window with its list, sort tabs and a row's popup
// menu, and an update form of entries, each photographed from the screen. The pictures are checked for
// their size (the dialog units of the window's font) and for showing something, and are
// kept in the build tree (screenshots/) for a person to look at.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QThread>

#include <map>
#include <string>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/font_mapping.h"
#include "tests/harness/harness.h"

namespace qx {
namespace {

using nlohmann::json;
using testing::Ok;
using testing::ProgramRun;

std::string ScreenshotPath(const std::string& name) {
  QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
  return std::string(SCREENSHOT_DIR) + "/" + name + ".png";
}

// Takes a screenshot through the channel and reads it back.
QImage Shoot(ProgramRun& run, json request, const std::string& name) {
  const std::string path = ScreenshotPath(name);
  std::remove(path.c_str());
  request["op"] = "screenshot";
  request["path"] = path;
  const json reply = run.Request(request);
  EXPECT_TRUE(Ok(reply)) << name << ": " << reply.dump() << "\n" << run.Stderr();
  QImage picture(QString::fromStdString(path));
  EXPECT_FALSE(picture.isNull()) << name << ": no PNG at " << path;
  if (Ok(reply)) {
    EXPECT_EQ(picture.size(), QSize(reply["width"].get<int>(), reply["height"].get<int>())) << name;
  }
  return picture;
}

// Something is shown: no colour covers nearly the whole picture, and there are several.
void ExpectNotBlank(const QImage& picture, const std::string& name) {
  if (picture.isNull()) return;
  std::map<QRgb, int> counts;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) ++counts[picture.pixel(x, y)];
  }
  int most = 0;
  for (const auto& [colour, n] : counts) most = std::max(most, n);
  const int all = picture.width() * picture.height();
  EXPECT_GE(counts.size(), 3u) << name << " is blank";
  EXPECT_LT(most, all * 97 / 100) << name << " is nearly one colour";
}

// Pixels of the wallpaper's purple lettering.
int PurplePixels(const QImage& picture) {
  int n = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.red() > 90 && c.blue() > 90 && c.green() < c.red() / 2) ++n;
    }
  }
  return n;
}

int PixelsOf(const QImage& picture, QColor colour) {
  int n = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) n += picture.pixelColor(x, y) == colour ? 1 : 0;
  }
  return n;
}

int PixelsThatDiffer(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return n;
}

// The browse window over a queue of 300 people, its row's popup menu and the update form
// the menu's Insert opens.
void BrowseAndForm(ProgramRun& run) {
  const json browse = run.WaitFor({{"window", "Browse the Encrypted File"}});
  ASSERT_TRUE(browse.is_object()) << run.Stderr();
  ASSERT_TRUE(Ok(run.Request({{"op", "pick"}, {"window", "BROWSE"}, {"control", "BrowseList"}, {"row", 3}})));
  ASSERT_TRUE(Ok(run.Request({{"op", "key"}, {"window", "BROWSE"}, {"control", "BrowseList"}, {"code", 0x22}})));
  const json list = run.Window("BROWSE")["controls"][0]["list"];
  EXPECT_EQ(list["row_count"], 300);
  EXPECT_EQ(list["selected_row"], 3 + list["visible_rows"].get<int>()) << "PageDown moved the selection a page";
  const QImage picture = Shoot(run, {{"window", "BROWSE"}}, "browse");
  const DialogUnits sans(QtFontFor("MS Sans Serif", 8, 0, false));
  EXPECT_EQ(picture.size(), QSize(sans.ToPixelsX(358), sans.ToPixelsY(188)));
  ExpectNotBlank(picture, "browse");
  const int rowPixels = sans.ToPixelsY(9);
  EXPECT_GT(PixelsOf(picture, QColor(0x80, 0x80, 0x80)), sans.ToPixelsX(50) * rowPixels * 6)
      << "the grey Sys ID cells of the rows not selected";
  const QColor highlight = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
  EXPECT_GT(PixelsOf(picture, highlight), sans.ToPixelsX(300) * rowPixels / 2) << "the selected row";

  // A right click on a row: the program's popup menu, drawn over the window.
  ASSERT_TRUE(Ok(run.Request(
      {{"op", "click"}, {"window", "BROWSE"}, {"control", "BrowseList"}, {"row", 12}, {"button", "right"}})));
  const json popup = run.WaitFor({{"popup", true}});
  ASSERT_TRUE(popup.is_object()) << run.Stderr();
  EXPECT_TRUE(popup["items"][1]["greyed"].get<bool>());
  QImage withMenu;
  for (int tries = 0; tries < 40; ++tries) {
    withMenu = Shoot(run, {{"window", "BROWSE"}}, "browse-popup");
    if (PixelsThatDiffer(withMenu, picture) > 2000) break;
    QThread::msleep(100);
  }
  EXPECT_GT(PixelsThatDiffer(withMenu, picture), 2000) << "the menu shows over the window";
  ASSERT_TRUE(Ok(run.Request({{"op", "choose"}, {"item", "&Insert"}})));

  // The update form: entries on its one tab, typed into as a person would.
  const json form = run.WaitFor({{"window", "Update the Encrypt File"}});
  ASSERT_TRUE(form.is_object()) << run.Stderr();
  ASSERT_TRUE(Ok(run.Request({{"op", "type"}, {"window", "FORM"}, {"control", "NameEntry"},
                              {"text", "Zo\u00eb Bront\u00eb"}, {"accept", false}})));
  ASSERT_TRUE(Ok(run.Request({{"op", "type"}, {"window", "FORM"}, {"control", "SuburbEntry"},
                              {"text", "Brunswick East"}, {"accept", false}})));
  const json typed = run.Window("FORM");
  bool named = false;
  for (const json& c : typed["controls"]) named = named || c["text"] == "Zo\u00eb Bront\u00eb";
  EXPECT_TRUE(named) << "typed and read back through the channel in UTF-8: " << typed.dump();
  const QImage formPicture = Shoot(run, {{"window", "FORM"}}, "form");
  EXPECT_EQ(formPicture.size(), QSize(sans.ToPixelsX(173), sans.ToPixelsY(112)));
  ExpectNotBlank(formPicture, "form");
  ASSERT_TRUE(Ok(run.Request({{"op", "press"}, {"window", "FORM"}, {"control", "OkButton"}})));
  ASSERT_TRUE(Ok(run.Request({{"op", "wait"}, {"until", {{"no_window", "FORM"}}}})));
  ASSERT_TRUE(Ok(run.Request({{"op", "press"}, {"window", "BROWSE"}, {"control", "CloseButton"}})));
}

TEST(QtViewOnADisplay, TheProgramsWindowsAsAPersonSeesThem) {
  ProgramRun::Options options;
  options.env = {{"QXRT_VIEW", "qt"}, {"QT_QPA_PLATFORM", "xcb"}};
  std::string error;
  auto run = ProgramRun::Start(XVFB_TEST_PROGRAM, options, &error);
  ASSERT_TRUE(run) << error;

  // The welcome window: no caption, a single border, its dialog units in Arial 8.
  ASSERT_TRUE(run->WaitFor({{"window", "$ZELTWELCOME"}}).is_object()) << run->Stderr();
  EXPECT_EQ(run->Stderr().find("headless"), std::string::npos) << "the Qt view is in use: " << run->Stderr();
  const QImage welcome = Shoot(*run, {{"window", "$ZELTWELCOME"}}, "welcome");
  const DialogUnits arial(QtFontFor("Arial", 8, 0, false));
  EXPECT_EQ(welcome.size(), QSize(arial.ToPixelsX(110) + 2, arial.ToPixelsY(34) + 2));
  ExpectNotBlank(welcome, "welcome");
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "$ZELTWELCOME"}})));

  // The demonstration frame: toolbar, menus, status bar, the wallpaper in its workspace.
  const json frame = run->WaitFor({{"window", "Demo of Quorvane Data File Converter"}});
  ASSERT_TRUE(frame.is_object()) << run->Stderr();
  ASSERT_TRUE(Ok(run->Request({{"op", "hover"}, {"window", "P1$APPFRAME"}, {"control", "ConvertButton"}})));
  const QImage demo = Shoot(*run, {{"window", "P1$APPFRAME"}}, "frame");
  const DialogUnits sans(QtFontFor("MS Sans Serif", 8, 0, false));
  EXPECT_EQ(demo.width(), sans.ToPixelsX(429));
  EXPECT_GT(demo.height(), sans.ToPixelsY(262)) << "the client area and the menu bar above it";
  EXPECT_LT(demo.height(), sans.ToPixelsY(262) + 40);
  ExpectNotBlank(demo, "frame");
  EXPECT_GT(PurplePixels(demo), 1000) << "the wallpaper's lettering is in the workspace";
  EXPECT_EQ(run->Window("P1$APPFRAME")["status"][0], "Run Conversion for /Data Directory");

  // The reset button's message box, answered through the channel.
  ASSERT_TRUE(Ok(run->Request({{"op", "press"}, {"window", "P1$APPFRAME"}, {"control", "ResetDataButton"}})));
  const json box = run->WaitFor({{"message", {{"text_contains", "reset successfully"}}}});
  ASSERT_TRUE(box.is_object()) << run->Stderr();
  const QImage message = Shoot(*run, {{"message", box["id"]}}, "message");
  ExpectNotBlank(message, "message");
  EXPECT_GT(message.width(), message.height());
  EXPECT_FALSE(run->Window("P1$APPFRAME")["takes_input"]);
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", box["id"]}})));
  ASSERT_TRUE(Ok(run->Request({{"op", "wait"}, {"until", {{"takes_input", "P1$APPFRAME"}}}})));

  // A child window on a thread of its own, inside the frame.
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", "BrowseStandrdItem"}})));
  const json child = run->WaitFor({{"window", {{"kind", "mdi"}}}});
  ASSERT_TRUE(child.is_object()) << run->Stderr();
  EXPECT_EQ(child["thread"], 2);
  const QImage childPicture = Shoot(*run, {{"window", child["id"]}}, "child");
  EXPECT_GT(childPicture.width(), sans.ToPixelsX(200)) << "the client and the border around it";
  EXPECT_GT(childPicture.height(), sans.ToPixelsY(90)) << "and the caption above it";
  ExpectNotBlank(childPicture, "child");
  Shoot(*run, {{"window", "P1$APPFRAME"}}, "frame-with-child");

  // Exit closes the frame and the child; the converter's small frame follows.
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", "Exit"}})));
  ASSERT_TRUE(run->WaitFor({{"window", "Quorvane Converter"}}).is_object()) << run->Stderr();
  EXPECT_TRUE(Ok(run->Request({{"op", "wait"}, {"until", {{"no_window", {{"kind", "mdi"}}}}}})))
      << "the child window closes with its frame";
  const QImage converter = Shoot(*run, {{"window", "Quorvane Converter"}}, "converter");
  const DialogUnits plain(QtFontFor("", 8, 0, false));
  EXPECT_EQ(converter.size(), QSize(plain.ToPixelsX(99), plain.ToPixelsY(27)));
  ExpectNotBlank(converter, "converter");
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "Quorvane Converter"}})));

  BrowseAndForm(*run);
  EXPECT_EQ(run->WaitForExit(), 0) << run->Stderr();
}

}  // namespace
}  // namespace qx

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Fonts and their metrics as the program sees them on the same display.
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
