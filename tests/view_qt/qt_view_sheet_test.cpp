// The sheet's tab bar with the window model: the tabs as the presentation gives them
// (texts, disabled, colours), a tab shown only once the model selects it, disabled tabs
// that no click or key selects, controls on a tab shown with it, and the sheet beneath
// the controls on its face.
#include <gtest/gtest.h>

#include <QTabBar>

#include "tests/view_qt/qt_view_forms_support.h"

namespace qx::qttest {
namespace {

constexpr LONG kList = 1, kSheet = 3, kSuburbNote = 8, kStep = 9;

struct Browse {
  LONG id = 0;
  RtQueue queue{{"ID", id}};
  WindowProgram program{[this](WindowRef& w) {
                          RtNewWindow(w, "qtview$unit", "BROWSE", {queue});
                          RtOpenWindow(w);
                        },
                        kStep};
};

QTabBar* TabBarOf(WindowShell* shell) {
  QWidget* sheet = ControlWidget(shell, kSheet);
  return sheet ? sheet->findChild<QTabBar*>() : nullptr;
}

LONG SelectedTab(WindowShell* shell) {
  for (const ControlPresentation& c : shell->presentation().controls) {
    if (c.field == kSheet) return c.sheet->selected;
  }
  return -1;
}

// How many pixels of `colour` the tab bar draws inside tab `index`.
int PixelsInTab(QTabBar* bar, int index, QColor colour) {
  const QImage picture = bar->grab().toImage();
  const QRect tab = bar->tabRect(index);
  int n = 0;
  for (int y = tab.top(); y <= tab.bottom(); ++y) {
    for (int x = tab.left(); x <= tab.right(); ++x) n += picture.pixelColor(x, y) == colour ? 1 : 0;
  }
  return n;
}

// The darkest pixel the tab bar draws inside tab `index` (its label's ink).
int DarkestInTab(QTabBar* bar, int index) {
  const QImage picture = bar->grab().toImage();
  const QRect tab = bar->tabRect(index).adjusted(4, 4, -4, -4);
  int darkest = 255;
  for (int y = tab.top(); y <= tab.bottom(); ++y) {
    for (int x = tab.left(); x <= tab.right(); ++x) darkest = std::min(darkest, qGray(picture.pixel(x, y)));
  }
  return darkest;
}

TEST(QtViewSheet, ShowsTheTabsAsGiven) {
  Browse browse;
  WindowShell* shell = WaitForShell(browse.program.id);
  ASSERT_NE(shell, nullptr);
  QTabBar* bar = TabBarOf(shell);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->count(), 4);
  EXPECT_EQ(bar->tabText(0), "By &Name");
  EXPECT_EQ(bar->currentIndex(), 0);
  EXPECT_FALSE(bar->isTabEnabled(1));
  EXPECT_GT(DarkestInTab(bar, 1), DarkestInTab(bar, 0) + 60) << "a disabled tab is greyed";
  EXPECT_TRUE(bar->isTabEnabled(2));
  EXPECT_EQ(bar->tabTextColor(2), QColor(Qt::white));
  EXPECT_GT(PixelsInTab(bar, 2, QColor(0x80, 0x80, 0x80)), bar->tabRect(2).width() * 4) << "its grey background";
  EXPECT_EQ(PixelsInTab(bar, 0, QColor(0x80, 0x80, 0x80)), 0);

  // The sheet lies beneath the list and the buttons on its face.
  QWidget* sheet = ControlWidget(shell, kSheet);
  const QObjectList stack = sheet->parentWidget()->children();
  EXPECT_LT(stack.indexOf(sheet), stack.indexOf(ControlWidget(shell, kList)));
  EXPECT_LT(stack.indexOf(sheet), stack.indexOf(ControlWidget(shell, 2)));

  // The program hides a tab and disables another, as it may at any time.
  ASSERT_TRUE(browse.program.Do([] {
    RtSetProperty(6, kPropHidden, "1");
    RtSetProperty(4, kPropDisabled, "1");
  }));
  EXPECT_FALSE(bar->isTabVisible(2));
  EXPECT_FALSE(bar->isTabEnabled(0));
  EXPECT_EQ(bar->currentIndex(), 0) << "the program's selection stays, disabled or not";
}

TEST(QtViewSheet, ATabShowsOnlyWhenTheModelSelectsIt) {
  Browse browse;
  WindowShell* shell = WaitForShell(browse.program.id);
  ASSERT_NE(shell, nullptr);
  QTabBar* bar = TabBarOf(shell);
  ASSERT_NE(bar, nullptr);
  EventLog& log = browse.program.log;
  QWidget* note = ControlWidget(shell, kSuburbNote);
  EXPECT_FALSE(note->isVisible()) << "on a tab that is not selected";

  struct PickCase {
    const char* how;
    std::function<void()> act;
    int expected;  // tab index shown afterwards
    bool events;   // TabChanging and NewSelection reported
  } picks[] = {
      {"click on a disabled tab", [&] { QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center()); }, 0, false},
      {"click", [&] { QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(3).center()); }, 3, true},
      {"Left", [&] { QTest::keyClick(bar, Qt::Key_Left); }, 2, true},
      {"Left past the disabled tab", [&] { QTest::keyClick(bar, Qt::Key_Left); }, 0, true},
      {"Left at the first tab", [&] { QTest::keyClick(bar, Qt::Key_Left); }, 0, false},
      {"right button", [&] { QTest::mouseClick(bar, Qt::RightButton, Qt::NoModifier, bar->tabRect(3).center()); }, 0, false},
  };
  for (const PickCase& p : picks) {
    const size_t before = log.size();
    const int shownBefore = bar->currentIndex();
    p.act();
    EXPECT_EQ(bar->currentIndex(), shownBefore) << p.how << ": the bar does not select by itself";
    if (p.events) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return log.Saw(kEventNewSelection, kSheet, before); })) << p.how;
      EXPECT_TRUE(log.Saw(kEventTabChanging, kSheet, before)) << p.how;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->currentIndex() == p.expected; })) << p.how;
    Settle();
    EXPECT_EQ(bar->currentIndex(), p.expected) << p.how;
    EXPECT_EQ(SelectedTab(shell), p.expected + 1) << p.how;
    if (!p.events) {
      EXPECT_FALSE(log.Saw(kEventNewSelection, kSheet, before)) << p.how;
    }
  }

  // The program selects a tab: the bar shows it, and the controls on it with it.
  ASSERT_TRUE(browse.program.Do([] { RtSetProperty(kSheet, kPropSelectedRow, "4"); }));
  EXPECT_EQ(bar->currentIndex(), 3);
  EXPECT_TRUE(note->isVisible());
  ASSERT_TRUE(browse.program.Do([] { RtSetProperty(kSheet, kPropSelectedRow, "2"); }));
  EXPECT_EQ(bar->currentIndex(), 1) << "the program may select a disabled tab";
  EXPECT_FALSE(note->isVisible());
}

}  // namespace
}  // namespace qx::qttest
