// The list's widget with the window model: it draws the rows, columns, header and colours
// of the presentation at the window's dialog units, keeps the scroll bar where the model
// says, and turns keys, clicks, the scroll bar, the wheel and column drags into ViewInput
// calls without moving anything itself.
#include <gtest/gtest.h>

#include <QCursor>
#include <QMouseEvent>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include "runtime/view/qt/colour_mapping.h"
#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/list_widget.h"
#include "tests/view_qt/qt_view_forms_support.h"

namespace qx::qttest {
namespace {

constexpr LONG kList = 1, kChange = 2, kSheet = 3, kStep = 9;
constexpr int kEntries = 20;

// BROWSE with an immediate list over a queue of kEntries people; its first column has
// white text on grey, the list's own colours when selected. Delete and a double click are
// alert keys of the list.
struct BrowseProgram {
  LONG id = 0, normalFg = 0, normalBg = 0, selectedFg = 0, selectedBg = 0;
  STRING<20> name, suburb;
  RtQueue queue{{"ID", id},          {"NFG", normalFg}, {"NBG", normalBg}, {"SFG", selectedFg},
                {"SBG", selectedBg}, {"NAME", name},    {"SUBURB", suburb}};
  WindowProgram program{[this](WindowRef& w) {
                          for (LONG i = 1; i <= kEntries; ++i) {
                            id = i;
                            normalFg = 0xFFFFFF;
                            normalBg = 0x808080;
                            selectedFg = selectedBg = -1;
                            name = "Name " + std::to_string(i);
                            suburb = "Suburb " + std::to_string(i);
                            RtQueueAdd(queue);
                          }
                          RtNewWindow(w, "qtview$unit", "BROWSE", {queue});
                          RtOpenWindow(w);
                          RtSetProperty(kList, kPropAlertKeys, std::to_string(kKeyMouseLeft2), 252);
                          RtSetProperty(kList, kPropAlertKeys, std::to_string(kKeyDelete), 254);
                        },
                        kStep};
};

struct Opened {
  WindowShell* shell = nullptr;
  ListWidget* list = nullptr;
};

Opened Open(BrowseProgram& browse) {
  Opened o;
  o.shell = WaitForShell(browse.program.id);
  if (o.shell == nullptr) return o;
  o.list = dynamic_cast<ListWidget*>(ControlWidget(o.shell, kList));
  // The alert keys set after opening have reached the view.
  (void)QTest::qWaitFor([&] {
    for (const ControlPresentation& c : o.shell->presentation().controls) {
      if (c.field == kList) return c.alertKeys.size() == 2;
    }
    return false;
  });
  return o;
}

const ListPresentation& ListOf(WindowShell* shell) {
  for (const ControlPresentation& c : shell->presentation().controls) {
    if (c.field == kList) return *c.list;
  }
  static const ListPresentation none;
  return none;
}

QColor PixelAt(QWidget* w, QPoint at) { return w->grab().toImage().pixelColor(at); }

TEST(QtViewList, DrawsTheRowsColumnsAndColoursItIsGiven) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  const ListPresentation& list = ListOf(o.shell);
  ASSERT_EQ(list.visibleRows, 8) << "(100 - 2 border - 10 header - 10 bar) / 9";
  ASSERT_EQ(list.rows.size(), 8u);

  // Each edge where its dialog units put it, from the control's top (no rounded heights
  // added up).
  EXPECT_EQ(o.list->HeaderRect().top(), units.ToPixelsY(1));
  EXPECT_EQ(o.list->HeaderRect().bottom() + 1, units.ToPixelsY(1 + 10));
  for (int r = 0; r < 8; ++r) {
    const QRect row = o.list->RowRect(r);
    EXPECT_EQ(row.top(), units.ToPixelsY(1 + 10 + 9 * r)) << "row " << r;
    EXPECT_EQ(row.bottom() + 1, units.ToPixelsY(1 + 10 + 9 * (r + 1))) << "row " << r;
  }
  EXPECT_TRUE(o.list->RowRect(8).isEmpty()) << "only the rows of the presentation";
  const int left = o.list->RowsArea().left();
  EXPECT_EQ(o.list->ColumnRight(0), left + units.ToPixelsX(40));
  EXPECT_EQ(o.list->ColumnRight(1), left + units.ToPixelsX(40) + units.ToPixelsX(80));
  EXPECT_EQ(o.list->ColumnRight(2), o.list->ColumnRight(1) + units.ToPixelsX(60));

  // Row 1 is selected: the system highlight where its cells have none of their own;
  // row 2 shows its first cell's own grey.
  const QColor highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
  const QRect first = o.list->RowRect(0), second = o.list->RowRect(1);
  EXPECT_EQ(PixelAt(o.list, QPoint(left + 3, first.center().y())), highlight);
  EXPECT_EQ(PixelAt(o.list, QPoint(o.list->ColumnRight(1) - 3, first.center().y())), highlight);
  EXPECT_EQ(PixelAt(o.list, QPoint(left + 3, second.center().y())), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(PixelAt(o.list, QPoint(o.list->ColumnRight(1) - 3, second.center().y())),
            QApplication::palette().color(QPalette::Base));
  EXPECT_NE(PixelAt(o.list, QPoint(o.list->ColumnRight(0) - 1, second.center().y())), QColor(0x80, 0x80, 0x80))
      << "the first column's right border";

  // The scroll bar is the program's: 0 to 100, its thumb where PropThumb puts it.
  QScrollBar* bar = o.list->verticalBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_TRUE(o.list->horizontalBar()->isVisible());
  struct ThumbCase {
    const char* thumb;
    int drawn;
  } thumbs[] = {{"37", 37}, {"101", 100}, {"0", 0}};
  for (const ThumbCase& t : thumbs) {
    ASSERT_TRUE(browse.program.Do([&] { RtSetProperty(kList, kPropThumb, t.thumb); }));
    EXPECT_EQ(bar->value(), t.drawn) << "PropThumb " << t.thumb;
  }
  ASSERT_TRUE(browse.program.Do([] { RtSetProperty(kList, kPropScrollBar, "0"); }));
  EXPECT_FALSE(bar->isVisible()) << "hidden when the program takes it away";
  EXPECT_EQ(o.list->RowsArea().right(), o.list->contentsRect().right()) << "the rows take its room";

  // The program pages: the rows follow the queue as it is redrawn.
  ASSERT_TRUE(browse.program.Do([&] {
    RtQueueGet(browse.queue, 1);
    RtQueueDelete(browse.queue);
  }));
  ASSERT_FALSE(ListOf(o.shell).rows.empty());
  EXPECT_EQ(ListOf(o.shell).rows[0].cells[1].text, "Name 2");
}

TEST(QtViewList, EveryRowTheModelCountsIsWhollyShown) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  struct Size {
    LONG width, height;
  };
  // The browses' lists (Standard, Variable, Very-Long-Named), then every height around them.
  std::vector<Size> sizes = {{342, 124}, {216, 111}, {342, 119}};
  for (LONG height = 95; height <= 135; ++height) sizes.push_back({224, height});
  for (const Size& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
    // The last row the model counts is the selected one.
    ASSERT_TRUE(browse.program.Do([&] {
      RtSetProperty(kList, kPropWidth, std::to_string(s.width));
      RtSetProperty(kList, kPropHeight, std::to_string(s.height));
      RtSetProperty(kList, kPropSelectedRow, RtGetProperty(kList, kPropVisibleRows));
    }));
    const ListPresentation& list = ListOf(o.shell);
    ASSERT_GT(list.visibleRows, 0);
    ASSERT_EQ(list.rows.size(), static_cast<size_t>(list.visibleRows));
    ASSERT_TRUE(list.rows.back().selected);
    EXPECT_EQ(o.list->height(), units.ToPixelsY(static_cast<int>(s.height)));
    const QRect rows = o.list->RowsArea();
    EXPECT_TRUE(o.list->contentsRect().contains(rows)) << "inside the frame";
    EXPECT_LT(o.list->HeaderRect().bottom(), rows.top());
    EXPECT_LT(rows.bottom(), o.list->horizontalBar()->geometry().top());
    for (int r = 0; r < list.visibleRows; ++r) {
      const QRect row = o.list->RowRect(r);
      EXPECT_TRUE(rows.contains(row)) << "row " << r + 1 << " " << row.top() << "-" << row.bottom()
                                      << " in rows " << rows.top() << "-" << rows.bottom();
      EXPECT_GE(row.height(), units.ToPixelsY(9) - 1);
    }
  }
}

TEST(QtViewList, KeysBecomeTheModelsEvents) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  o.list->setFocus();
  struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    LONG event, field, code, ch;
  } cases[] = {
      {Qt::Key_Up, Qt::NoModifier, "", kEventScrollUp, kList, kKeyUp, 0},
      {Qt::Key_Down, Qt::NoModifier, "", kEventScrollDown, kList, kKeyDown, 0},
      {Qt::Key_PageUp, Qt::NoModifier, "", kEventPageUp, kList, kKeyPageUp, 0},
      {Qt::Key_PageDown, Qt::NoModifier, "", kEventPageDown, kList, kKeyPageDown, 0},
      {Qt::Key_Home, Qt::NoModifier, "", kEventScrollTop, kList, kKeyHome, 0},
      {Qt::Key_End, Qt::NoModifier, "", kEventScrollBottom, kList, kKeyEnd, 0},
      {Qt::Key_PageUp, Qt::ControlModifier, "", kEventScrollTop, kList, kKeyCtrlPageUp, 0},
      {Qt::Key_PageDown, Qt::ControlModifier, "", kEventScrollBottom, kList, kKeyCtrlPageDown, 0},
      {Qt::Key_K, Qt::NoModifier, "k", kEventAlertKey, kList, 0x4B, 'k'},      // the locator's letters
      {Qt::Key_K, Qt::ShiftModifier, "K", kEventAlertKey, kList, 0x14B, 'K'},
      {Qt::Key_Delete, Qt::NoModifier, "", kEventAlertKey, kList, kKeyDelete, 0},  // an alert key
      {Qt::Key_Return, Qt::NoModifier, "\r", kEventAccepted, kChange, -1, -1},     // the default button
  };
  for (const KeyCase& c : cases) {
    const size_t before = browse.program.log.size();
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
    QApplication::sendEvent(o.list, &press);
    ASSERT_TRUE(WaitForEvents(browse.program.log, before)) << "key " << c.key;
    const std::vector<Heard> heard = browse.program.log.Since(before);
    EXPECT_EQ(heard[0].event, c.event) << "key " << c.key;
    EXPECT_EQ(heard[0].field, c.field) << "key " << c.key;
    if (c.code >= 0) {
      EXPECT_EQ(heard[0].code, c.code) << "key " << c.key;
    }
    if (c.ch >= 0) {
      EXPECT_EQ(heard[0].ch, c.ch) << "key " << c.key;
    }
  }
  Settle();
  EXPECT_EQ(ListOf(o.shell).selectedRow, 1) << "an immediate list moves nothing by itself";
  EXPECT_EQ(ListOf(o.shell).topRow, 1);
}

// The centre of the scroll bar's thumb, as the style draws it.
QPoint ThumbCentre(QScrollBar* bar) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.subControls = QStyle::SC_All;
  option.orientation = bar->orientation();
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.singleStep = bar->singleStep();
  option.pageStep = bar->pageStep();
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar).center();
}

TEST(QtViewList, ClicksScrollBarAndWheelAreReportedNotActedOn) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  EventLog& log = browse.program.log;
  const ListPresentation& list = ListOf(o.shell);
  ASSERT_GE(list.rows.size(), 3u);

  // A person's double click as the window system delivers it: press, release, the second
  // press, the double click, release.
  const auto doubleClick = [&](QPoint at) {
    const QPointF local(at), global(o.list->mapToGlobal(at));
    struct Step {
      QEvent::Type type;
      quint64 time;
    } steps[] = {{QEvent::MouseButtonPress, 1000}, {QEvent::MouseButtonRelease, 1040},
                 {QEvent::MouseButtonPress, 1120}, {QEvent::MouseButtonDblClick, 1120},
                 {QEvent::MouseButtonRelease, 1160}};
    for (const Step& s : steps) {
      const Qt::MouseButtons held = s.type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
      QMouseEvent e(s.type, local, global, Qt::LeftButton, held, Qt::NoModifier);
      e.setTimestamp(s.time);
      QApplication::sendEvent(o.list, &e);
    }
  };
  struct ClickCase {
    int row;
    std::function<void(QPoint)> act;
    std::vector<std::pair<LONG, LONG>> events;  // event, key code
  } clicks[] = {
      {1, [&](QPoint at) { QTest::mouseClick(o.list, Qt::LeftButton, Qt::NoModifier, at); },
       {{kEventNewSelection, kKeyLeftMouse}}},
      {2, [&](QPoint at) { QTest::mouseClick(o.list, Qt::RightButton, Qt::NoModifier, at); },
       {{kEventNewSelection, kKeyRightMouse}}},
      {0, doubleClick,
       {{kEventNewSelection, kKeyLeftMouse}, {kEventNewSelection, kKeyMouseLeft2}, {kEventAlertKey, kKeyMouseLeft2}}},
      {-1, [&](QPoint) {
         ASSERT_TRUE(browse.program.Do([&] { RtQueueFree(browse.queue); }));
         QTest::mouseClick(o.list, Qt::RightButton, Qt::NoModifier, o.list->RowsArea().center());
       },
       {{kEventNewSelection, kKeyRightMouse}}},  // an empty list's right click: for its popup menu
  };
  for (const ClickCase& c : clicks) {
    const size_t before = log.size();
    c.act(c.row >= 0 ? o.list->RowRect(c.row).center() : QPoint());
    (void)QTest::qWaitFor([&] { return log.size() >= before + c.events.size(); });
    Settle();
    const std::vector<Heard> heard = log.Since(before);
    ASSERT_EQ(heard.size(), c.events.size()) << "row " << c.row;
    for (size_t i = 0; i < heard.size(); ++i) {
      EXPECT_EQ(heard[i].event, c.events[i].first) << "row " << c.row << " event " << i;
      EXPECT_EQ(heard[i].code, c.events[i].second) << "row " << c.row << " event " << i;
    }
    if (c.row >= 0) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return ListOf(o.shell).selectedRow == list.rows[c.row].entry; }))
          << "the model selects the row clicked";
    }
  }

  // The bar's arrows and shaft: reported; the thumb stays where the program has it.
  QScrollBar* bar = o.list->verticalBar();
  struct BarCase {
    QAbstractSlider::SliderAction action;
    LONG event;
  } parts[] = {
      {QAbstractSlider::SliderSingleStepAdd, kEventScrollDown},
      {QAbstractSlider::SliderSingleStepSub, kEventScrollUp},
      {QAbstractSlider::SliderPageStepAdd, kEventPageDown},
      {QAbstractSlider::SliderPageStepSub, kEventPageUp},
  };
  ASSERT_TRUE(browse.program.Do([] { RtSetProperty(kList, kPropThumb, "50"); }));
  for (const BarCase& p : parts) {
    const size_t before = log.size();
    bar->triggerAction(p.action);
    EXPECT_EQ(bar->value(), 50) << "action " << p.action;
    ASSERT_TRUE(WaitForEvents(log, before));
    EXPECT_EQ(log.Since(before)[0].event, p.event) << "action " << p.action;
  }

  // The wheel turns as the arrows do, one line a notch, also over the bar.
  struct WheelCase {
    QWidget* over;
    int delta;
    std::vector<LONG> events;
  } wheels[] = {
      {o.list, -120, {kEventScrollDown}},
      {o.list, 240, {kEventScrollUp, kEventScrollUp}},
      {bar, -120, {kEventScrollDown}},
  };
  for (const WheelCase& w : wheels) {
    const size_t before = log.size();
    const QPointF at = QPointF(w.over->rect().center());
    QWheelEvent turn(at, w.over->mapToGlobal(at), QPoint(), QPoint(0, w.delta), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.over, &turn);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() >= before + w.events.size(); }));
    const std::vector<Heard> heard = log.Since(before);
    ASSERT_EQ(heard.size(), w.events.size());
    for (size_t i = 0; i < heard.size(); ++i) EXPECT_EQ(heard[i].event, w.events[i]);
    EXPECT_EQ(bar->value(), 50);
  }
}

TEST(QtViewList, TheThumbIsReportedWhenDroppedNotWhileDragged) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  EventLog& log = browse.program.log;
  QScrollBar* bar = o.list->verticalBar();
  const QPoint grip = ThumbCentre(bar);
  const size_t before = log.size();
  QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, grip);
  QTest::mouseMove(bar, grip + QPoint(0, 30));
  QTest::mouseMove(bar, grip + QPoint(0, 60));
  const int dragged = bar->sliderPosition();
  EXPECT_GT(dragged, 0);
  // A presentation arriving meanwhile leaves the thumb in the person's hand.
  ASSERT_TRUE(browse.program.Do([] { RtSetProperty(kList, kPropThumb, "5"); }));
  EXPECT_EQ(bar->sliderPosition(), dragged);
  EXPECT_EQ(log.size(), before) << "nothing is reported while the thumb is dragged";
  QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, grip + QPoint(0, 60));
  ASSERT_TRUE(WaitForEvents(log, before));
  EXPECT_EQ(log.Since(before)[0].event, kEventScrollDrag);
  std::string thumb;
  ASSERT_TRUE(browse.program.Do([&] { thumb = RtGetProperty(browse.program.window(), kList, kPropThumb); }));
  EXPECT_EQ(thumb, std::to_string(dragged)) << "PropThumb holds where it was dropped";
  EXPECT_EQ(bar->value(), dragged);
}

TEST(QtViewList, OnlyResizableColumnsCanBeDraggedWider) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  const int y = o.list->HeaderRect().center().y();
  // Column 1 ("M"): dragged 20 dialog units wider.
  const int edge = o.list->ColumnRight(0);
  QTest::mousePress(o.list, Qt::LeftButton, Qt::NoModifier, QPoint(edge, y));
  QTest::mouseMove(o.list, QPoint(edge + units.ToPixelsX(20), y));
  EXPECT_EQ(o.list->ColumnRight(0), edge + units.ToPixelsX(20)) << "drawn wider while dragged";
  QTest::mouseRelease(o.list, Qt::LeftButton, Qt::NoModifier, QPoint(edge + units.ToPixelsX(20), y));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ListOf(o.shell).columns[0].width == 60; }))
      << ListOf(o.shell).columns[0].width;
  EXPECT_EQ(o.list->ColumnRight(0), o.list->RowsArea().left() + units.ToPixelsX(60));
  // Column 3 has no "M": its edge takes no drag.
  const int third = o.list->ColumnRight(2);
  QTest::mousePress(o.list, Qt::LeftButton, Qt::NoModifier, QPoint(third, y));
  QTest::mouseMove(o.list, QPoint(third + 30, y));
  QTest::mouseRelease(o.list, Qt::LeftButton, Qt::NoModifier, QPoint(third + 30, y));
  Settle();
  EXPECT_EQ(ListOf(o.shell).columns[2].width, 60);
  EXPECT_EQ(o.list->ColumnRight(2), third);
}

TEST(QtViewList, ARowsPopupMenuOpensOverTheWindow) {
  BrowseProgram browse;
  const Opened o = Open(browse);
  ASSERT_NE(o.list, nullptr);
  const QRect window = o.shell->ScreenRect();
  struct Case {
    const char* where;
    QPoint pointer;
    bool atPointer;
    int choice;       // the action triggered, -1 = dismissed
    LONG answer;
  } cases[] = {
      {"pointer over the window", window.center() + QPoint(10, 5), true, 2, 3},
      {"pointer elsewhere", window.bottomRight() + QPoint(40, 40), false, -1, 0},
  };
  for (const Case& c : cases) {
    QCursor::setPos(c.pointer);
    std::atomic<LONG> answer{-1};
    ASSERT_TRUE(browse.program.Post([&] { answer = RtPopup("&Insert|~&Change|&Delete"); }));
    QPointer<QMenu> menu = WaitForPopup();
    ASSERT_NE(menu, nullptr) << c.where;
    if (c.atPointer) {
      EXPECT_EQ(menu->pos(), c.pointer) << c.where;
    } else {
      EXPECT_TRUE(window.contains(menu->pos())) << c.where << ": over the window, not where the pointer is";
    }
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_FALSE(menu->actions().at(1)->isEnabled()) << "the greyed item";
    if (c.choice >= 0) {
      menu->actions().at(c.choice)->trigger();
      menu->close();
    } else {
      QTest::keyClick(menu, Qt::Key_Escape);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer.load() == c.answer; })) << c.where << " " << answer.load();
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu.isNull() || !menu->isVisible(); }));
  }
}

}  // namespace
}  // namespace qx::qttest
