// The application frame: menu bar, toolbar with its icon button, status bar, the workspace
// with a child window of another thread (its controls shown inside the frame), the window
// list, tile, and a standard action that closes the frame.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPushButton>

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

}  // namespace
}  // namespace qx::qttest
