// Message boxes: the buttons in the platform's order with the default one asked for, the
// icon, Escape and the close box, and the asking thread's windows holding still meanwhile;
// popup menus answered with the item chosen or none.
#include <gtest/gtest.h>

#include <QDialog>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "runtime/view/qt/message_dialog.h"
#include "tests/view_qt/qt_view_test_support.h"

namespace qx::qttest {
namespace {

MessageDialog* WaitForBox() {
  MessageDialog* box = nullptr;
  (void)QTest::qWaitFor(
      [&] {
        const PresentationState s = ReadPresentation();
        box = s.messages.empty() ? nullptr : TheView().desktop().Message(s.messages.front().id);
        return box != nullptr && box->isVisible();
      },
      10000);
  return box;
}

QStringList ButtonNames(QDialog* box) {
  QStringList names;
  for (QPushButton* b : box->findChildren<QPushButton*>()) names << b->objectName();
  return names;
}

TEST(QtViewMessages, ButtonsDefaultAndEscape) {
  struct Case {
    LONG buttons, defaultButton;
    QStringList order;
    LONG escape;  // what Escape answers; 0: nothing, then the default button is clicked
    LONG answer;
  } cases[] = {
      {kButtonOk, 0, {"OK"}, kButtonOk, kButtonOk},
      {kButtonNo + kButtonYes, kButtonNo, {"Yes", "No"}, 0, kButtonNo},
      {kButtonCancel + kButtonNo + kButtonYes, kButtonYes, {"Yes", "No", "Cancel"}, kButtonCancel, kButtonCancel},
      {kButtonIgnore + kButtonRetry + kButtonAbort, kButtonRetry, {"Abort", "Retry", "Ignore"}, 0, kButtonRetry},
      {kButtonCancel + kButtonOk, kButtonOk, {"OK", "Cancel"}, kButtonCancel, kButtonCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order.join(",").toStdString());
    std::atomic<LONG> answer{0};
    Program program([&] { answer = RtMessage("Line one|Line two", "Asking", kIconQuestion, c.buttons, c.defaultButton); });
    MessageDialog* box = WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Asking");
    EXPECT_EQ(box->findChild<QLabel*>("text")->text(), "Line one\nLine two");
    EXPECT_EQ(ButtonNames(box), c.order);
    QPushButton* defaultButton = nullptr;
    for (QPushButton* b : box->findChildren<QPushButton*>()) {
      if (b->isDefault()) defaultButton = b;
    }
    ASSERT_NE(defaultButton, nullptr);
    EXPECT_EQ(defaultButton->objectName(), c.order.contains(MessageButtonName(c.defaultButton))
                                               ? QString(MessageButtonName(c.defaultButton))
                                               : c.order.front());
    QTest::keyClick(box, Qt::Key_Escape);
    if (c.escape == 0) {
      QTest::qWait(50);
      EXPECT_TRUE(box->isVisible()) << "Escape has nothing to answer";
      QTest::keyClick(defaultButton, Qt::Key_Return);
    }
    ASSERT_TRUE(program.Finish());
    EXPECT_EQ(answer.load(), c.answer);
  }
}

TEST(QtViewMessages, TheAskingThreadsWindowIgnoresClicksMeanwhile) {
  std::atomic<LONG> id{0};
  std::atomic<LONG> answer{0};
  Journal journal;
  Program program([&] {
    WindowRef w;
    LONG count = 0;
    STRING<20> name;
    RtNewWindow(w, "qtview$unit", "PLAIN", {name, count});
    id = w.id;
    RtOpenWindow(w);
    answer = RtMessage("Wait", "Box", kIconStop, kButtonOk);
    RunLoop(journal);
    RtDisposeWindow(w);
  });
  MessageDialog* box = WaitForBox();
  ASSERT_NE(box, nullptr);
  WindowShell* shell = TheView().desktop().Shell(id);
  ASSERT_NE(shell, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !shell->takesInput(); }));
  auto* ok = qobject_cast<QPushButton*>(ControlWidget(shell, 1));
  QTest::mousePress(ok, Qt::LeftButton);
  EXPECT_FALSE(ok->isDown()) << "the press never reached the button";
  QTest::mouseRelease(ok, Qt::LeftButton);
  EXPECT_TRUE(ok->isEnabled()) << "the window keeps its look";
  box->Press(kButtonOk);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answer.load() == kButtonOk; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell->takesInput(); }));
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return journal.Saw(kEventAccepted, 1); }));
  EXPECT_EQ(journal.Count(kEventAccepted), 1) << "the click while the box was open did nothing";
  ViewInput::Close(id);
  ASSERT_TRUE(program.Finish());
}

TEST(QtViewMessages, PopupMenusAnswerTheItemChosenOrNone) {
  std::atomic<LONG> id{0};
  std::atomic<LONG> first{-1}, second{-1};
  Program program([&] {
    WindowRef w;
    LONG count = 0;
    STRING<20> name;
    RtNewWindow(w, "qtview$unit", "PLAIN", {name, count});
    id = w.id;
    RtOpenWindow(w);
    first = RtPopup("&Insert|~&Change|&Delete");
    second = RtPopup("&Insert|&Delete");
    RtDisposeWindow(w);
  });
  QMenu* menu = WaitForPopup();
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* a : menu->actions()) texts << a->text();
  EXPECT_EQ(texts, QStringList({"&Insert", "&Change", "&Delete"}));
  EXPECT_FALSE(menu->actions().at(1)->isEnabled()) << "a greyed item";
  menu->actions().at(2)->trigger();
  menu->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.load() != -1; }));
  EXPECT_EQ(first.load(), 3);
  menu = WaitForPopup();
  ASSERT_NE(menu, nullptr);
  QTest::keyClick(menu, Qt::Key_Escape);
  ASSERT_TRUE(program.Finish());
  EXPECT_EQ(second.load(), 0) << "dismissed";
}

}  // namespace
}  // namespace qx::qttest
