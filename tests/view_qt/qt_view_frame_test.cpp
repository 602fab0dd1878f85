// The application frame: menu bar, toolbar with its icon button, status bar, the workspace
// with a child window of another thread (its controls shown inside the frame), the window
// list, tile, and a standard action that closes the frame; child windows placed, tiled and
// cascaded as the model says, and the active window kept when a child closes.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPushButton>
#include <QScrollBar>

#include <mutex>
#include <vector>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/status_bar.h"
#include "runtime/view/qt/workspace_area.h"
#include "tests/view_qt/qt_view_test_support.h"

namespace qx::qttest {
namespace {

std::atomic<LONG> gChildId{0};
Journal gChildJournal;

void ChildProcedure() {
  WindowRef child;
  RtNewMdiWindow(child, "qtview$unit", "CHILD");
  gChildId = child.id;
  RtOpenWindow(child);
  RunLoop(gChildJournal);
  RtDisposeWindow(child);
}

QMenu* Menu(QMainWindow* body, const QString& title) {
  for (QAction* a : body->menuBar()->actions()) {
    if (a->text() == title) return a->menu();
  }
  return nullptr;
}

QStringList Texts(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

TEST(QtViewFrame, MenusToolbarWorkspaceAndChildWindows) {
  std::atomic<LONG> id{0};
  Journal journal;
  Program program([&] {
    WindowRef frame;
    RtNewAppFrame(frame, "qtview$unit", "FRAME");
    id = frame.id;
    RtOpenWindow(frame);
    while (RtAccept()) {
      journal.Add(RtEvent(), RtField());
      if (RtAccepted() == -2) RtStart(&ChildProcedure, 50000);
      RtEndAcceptPass(0);
    }
    RtExitAccept(0);
    RtDisposeWindow(frame);
    RtEndProgram();
  });
  WindowShell* frame = WaitForShell(id);
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(frame->isFrame());
  auto* body = qobject_cast<QMainWindow*>(frame->outer());
  ASSERT_NE(body, nullptr);
  EXPECT_FALSE(body->windowIcon().isNull());

  // Menus as described, with their access keys and separators.
  QStringList titles;
  for (QAction* a : body->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Window"}));
  QMenu* file = Menu(body, "&File");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Texts(file), QStringList({"&Own", "&Print Setup ...", "-", "E&xit"}));

  // The toolbar button: icon beside its text, its tip, its message under the pointer.
  auto* tool = qobject_cast<QPushButton*>(ControlWidget(frame, -21));
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->toolTip(), "Use the tool");
  EXPECT_TRUE(tool->font().bold());
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(tool, &enter);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->statusBar()->Texts().value(0) == "A tool"; }));
  QTest::mouseClick(tool, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return journal.Saw(kEventAccepted, -21); }));

  // An item of the program's own starts a child window on thread 2, inside the workspace.
  file->actions().at(0)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gChildId.load() != 0; }));
  WindowShell* child = WaitForShell(gChildId);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(frame->workspace()->subWindowList().size(), 1);
  EXPECT_EQ(child->outer()->parentWidget(), frame->workspace()->viewport());
  auto* childButton = qobject_cast<QPushButton*>(ControlWidget(child, 1));
  ASSERT_NE(childButton, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return childButton->isVisible(); })) << "the child's controls are shown";

  auto* sub = qobject_cast<QMdiSubWindow*>(child->outer());
  ASSERT_NE(sub, nullptr);
  const QRect inside = sub->widget()->geometry();
  EXPECT_FALSE(sub->widget()->isWindow());
  EXPECT_GT(inside.top(), 0) << "the window's client is below its title bar";
  EXPECT_GT(inside.width(), sub->width() - 12) << "and fills the window";
  EXPECT_GT(inside.bottom(), sub->height() - 12);
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  EXPECT_EQ(inside.size(), QSize(units.ToPixelsX(150), units.ToPixelsY(80))) << "its size is the client's, as described";
  QTest::mouseClick(childButton, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return gChildJournal.Saw(kEventAccepted, 1); })) << "the child's own thread hears it";

  // The window list names the open child; tile fills the workspace with it.
  QMenu* windows = Menu(body, "&Window");
  ASSERT_NE(windows, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Texts(windows).contains("&1 Child"); })) << Texts(windows).join("|").toStdString();
  windows->actions().at(0)->trigger();  // Tile
  EXPECT_TRUE(QTest::qWaitFor([&] { return child->outer()->pos() == QPoint(0, 0); }));

  // Arrange icons lines the minimized child up along the workspace's bottom edge.
  sub->showMinimized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return sub->isMinimized(); }));
  sub->move(40, 10);
  windows->actions().at(1)->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return sub->pos().x() == 0 && sub->geometry().bottom() == frame->workspace()->viewport()->rect().bottom();
  })) << sub->geometry().x() << "," << sub->geometry().y();
  sub->showNormal();

  // Print set-up: the platform's page set-up dialog over the frame.
  file->actions().at(1)->trigger();
  QPageSetupDialog* setup = nullptr;
  EXPECT_TRUE(QTest::qWaitFor([&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<QPageSetupDialog*>(w); d && d->isVisible()) setup = d;
    }
    return setup != nullptr;
  }));
  if (setup) setup->reject();

  // Exit: the standard action closes the frame, and the child with it.
  file->actions().at(3)->trigger();
  ASSERT_TRUE(program.Finish());
  EXPECT_TRUE(QTest::qWaitFor([&] { return TheView().desktop().Shell(id) == nullptr; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return TheView().desktop().Shell(gChildId) == nullptr; }));
}

// ---- Child windows the frame arranges ----

std::mutex gKidsMu;
std::vector<LONG> gKids;  // the child windows opened, in order

void Opened(LONG id) {
  std::lock_guard<std::mutex> lock(gKidsMu);
  gKids.push_back(id);
}

std::vector<LONG> Kids() {
  std::lock_guard<std::mutex> lock(gKidsMu);
  return gKids;
}

void PlainChild() {
  WindowRef child;
  RtNewMdiWindow(child, "qtview$unit", "CHILD");
  RtOpenWindow(child);
  Opened(child.id);
  Journal journal;
  RunLoop(journal);
  RtDisposeWindow(child);
}

// A child that opens a second window of its thread over itself, as a browse opens its form,
// and goes on once the person has closed that one.
void ChildWithSecondWindow() {
  WindowRef first;
  RtNewMdiWindow(first, "qtview$unit", "CHILD");
  RtOpenWindow(first);
  Opened(first.id);
  bool opened = false;
  while (RtAccept()) {
    if (RtEvent() == kEventOpenWindow && !opened) {
      opened = true;
      WindowRef second;
      RtNewMdiWindow(second, "qtview$unit", "CHILD");
      RtOpenWindow(second);
      Opened(second.id);
      Journal journal;
      RunLoop(journal);
      RtDisposeWindow(second);
    }
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(first);
}

// The frame on the program's first thread; its Own item starts a child procedure on a
// thread of its own.
class FrameRun {
 public:
  FrameRun() {
    std::lock_guard<std::mutex> lock(gKidsMu);
    gKids.clear();
  }
  ~FrameRun() {
    if (id.load() != 0) ViewInput::Press(id, -3);  // Exit
    program_.Finish();
  }
  // Starts `procedure` and waits until the view shows the `windows` it opens.
  bool Start(void (*procedure)(), size_t windows) {
    next_ = procedure;
    const size_t before = Kids().size();
    if (ViewInput::Press(id, -2) != InputResult::kDone) return false;
    return QTest::qWaitFor([&] {
      const std::vector<LONG> kids = Kids();
      if (kids.size() < before + windows) return false;
      for (LONG k : kids) {
        WindowShell* s = TheView().desktop().Shell(k);
        if (s == nullptr || !s->outer()->isVisible()) return false;
      }
      return true;
    });
  }

  std::atomic<LONG> id{0};

 private:
  std::atomic<void (*)()> next_{nullptr};
  Program program_{[this] {
    WindowRef frame;
    RtNewAppFrame(frame, "qtview$unit", "FRAME");
    id = frame.id;
    RtOpenWindow(frame);
    while (RtAccept()) {
      if (RtAccepted() == -2) RtStart(next_.load(), 50000);
      RtEndAcceptPass(0);
    }
    RtExitAccept(0);
    RtDisposeWindow(frame);
    RtEndProgram();
  }};
};

WindowPresentation Presented(LONG id) {
  for (const WindowPresentation& w : ReadPresentation().windows) {
    if (w.id == id) return w;
  }
  return {};
}

QWidget* Outer(LONG id) {
  WindowShell* s = TheView().desktop().Shell(id);
  return s ? s->outer() : nullptr;
}

TEST(QtViewFrame, AClosingChildLeavesTheActiveWindowToTheModel) {
  FrameRun run;
  WindowShell* frame = WaitForShell(run.id);
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(run.Start(&PlainChild, 1));
  ASSERT_TRUE(run.Start(&ChildWithSecondWindow, 2));
  const std::vector<LONG> kids = Kids();  // A, then B and the window B opened over itself
  ASSERT_EQ(kids.size(), 3u);
  WorkspaceArea* area = frame->workspace();
  ASSERT_TRUE(QTest::qWaitFor([&] { return area->activeSubWindow() == Outer(kids[2]); }));

  ASSERT_EQ(ViewInput::Close(kids[2]), InputResult::kDone);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Outer(kids[2]) == nullptr; }));
  QTest::qWait(200);  // whatever the workspace does by itself, it has done
  EXPECT_TRUE(Presented(kids[1]).active) << "the model: the closed window's thread goes on in B";
  EXPECT_FALSE(Presented(kids[0]).active) << "not the window the workspace would choose";
  EXPECT_EQ(area->activeSubWindow(), Outer(kids[1])) << "the view shows the model's choice";
  EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).back(), Outer(kids[1])) << "in front";
}

TEST(QtViewFrame, ChildWindowsOpenCascadedAndTileAndCascadeInsideTheWorkspace) {
  FrameRun run;
  WindowShell* frame = WaitForShell(run.id);
  ASSERT_NE(frame, nullptr);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(run.Start(&PlainChild, 1));
  const std::vector<LONG> kids = Kids();
  ASSERT_EQ(kids.size(), 3u);
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  const auto pixels = [&](LONG x, LONG y) { return QPoint(units.ToPixelsX(x), units.ToPixelsY(y)); };

  // Each opens a step right and down from the one opened before it, none over another.
  for (size_t i = 0; i < kids.size(); ++i) {
    const WindowPresentation w = Presented(kids[i]);
    ASSERT_TRUE(w.x && w.y) << "the model places it";
    EXPECT_EQ(*w.x, 6 * static_cast<LONG>(i));
    EXPECT_EQ(*w.y, 12 * static_cast<LONG>(i));
    EXPECT_EQ(Outer(kids[i])->pos(), pixels(*w.x, *w.y)) << "and the view shows it there";
  }

  // Tile: every child, caption and border too, inside the workspace; no scroll bars.
  WorkspaceArea* area = frame->workspace();
  const QRect workspace = area->viewport()->rect();
  ASSERT_EQ(ViewInput::Press(run.id, -5), InputResult::kDone);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    for (LONG k : kids) {
      if (!workspace.contains(Outer(k)->geometry())) return false;
    }
    return true;
  })) << "workspace " << workspace.width() << "x" << workspace.height();
  for (LONG k : kids) {
    const QRect r = Outer(k)->geometry();
    EXPECT_TRUE(workspace.contains(r)) << k << ": " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_GT(r.width(), workspace.width() / 2 - 20) << "and about fills its cell";
  }
  QTest::qWait(50);
  EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(area->verticalScrollBar()->isVisible());

  // Cascade with the first child active: the others in their order, the active one last,
  // each stacked over the one before it.
  ASSERT_EQ(ViewInput::Activate(kids[0]), InputResult::kDone);
  ASSERT_TRUE(QTest::qWaitFor([&] { return area->activeSubWindow() == Outer(kids[0]); }));
  ASSERT_EQ(ViewInput::Press(run.id, -8), InputResult::kDone);
  const std::vector<LONG> order = {kids[1], kids[2], kids[0]};
  for (size_t i = 0; i < order.size(); ++i) {
    const QPoint at = pixels(6 * static_cast<LONG>(i), 12 * static_cast<LONG>(i));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Outer(order[i])->pos() == at; })) << "window " << i;
  }
  QList<QWidget*> expected;
  for (LONG k : order) expected << Outer(k);
  QList<QWidget*> stacked;
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::StackingOrder)) stacked << sub;
  EXPECT_EQ(stacked, expected) << "later captions are not covered";
  EXPECT_EQ(area->activeSubWindow(), Outer(kids[0]));
}

}  // namespace
}  // namespace qx::qttest
