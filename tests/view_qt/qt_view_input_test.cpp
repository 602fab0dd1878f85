// A person's input through the Qt widgets reaching the model: buttons, the close box,
// Enter on the default button, the pointer's message in the status bar, resizing (the
// view's own sizing is not reported back), typed text in Latin-1, and the clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/status_bar.h"
#include "tests/view_qt/qt_view_test_support.h"

namespace qx::qttest {
namespace {

// PLAIN open on a program thread that records its events, until the window closes.
struct PlainWindow {
  std::atomic<LONG> id{0};
  Journal journal;
  STRING<20> name;
  std::atomic<bool> ended{false};
  std::atomic<bool> refuseClose{false};
  std::string nameAtEnd;
  std::unique_ptr<Program> program;

  explicit PlainWindow(bool refusing = false) : refuseClose(refusing) {
    program = std::make_unique<Program>([this] {
      WindowRef w;
      LONG count = 3;
      RtNewWindow(w, "qtview$unit", "PLAIN", {name, count});
      id = w.id;
      RtOpenWindow(w);
      RunLoop(journal, &refuseClose);
      nameAtEnd = std::string(RtClipView(name.view()));
      RtDisposeWindow(w);
      ended = true;
    });
  }
  ~PlainWindow() {
    refuseClose = false;
    if (!ended) ViewInput::Close(id);
    program->Finish();
  }
};

TEST(QtViewInput, ButtonsCloseBoxAndEnterReachTheModel) {
  PlainWindow plain(/*refusing=*/true);
  WindowShell* shell = WaitForShell(plain.id);
  ASSERT_NE(shell, nullptr);
  auto* ok = qobject_cast<QPushButton*>(ControlWidget(shell, 1));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "&OK");
  EXPECT_EQ(ok->toolTip(), "Accept it");
  EXPECT_TRUE(ok->isDefault());

  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return plain.journal.Saw(kEventAccepted, 1); })) << "a click presses the button";

  shell->outer()->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return plain.journal.Count(kEventCloseWindow) == 1; }));
  QTest::qWait(50);
  EXPECT_TRUE(shell->outer()->isVisible()) << "the close box only asks; the program refused";

  ControlWidget(shell, 4)->setFocus();
  QTest::keyClick(ControlWidget(shell, 4), Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return plain.journal.Count(kEventAccepted) == 2;
  })) << "Enter presses the default button";
}

TEST(QtViewInput, PointerOnAControlShowsItsMessage) {
  PlainWindow plain;
  WindowShell* shell = WaitForShell(plain.id);
  ASSERT_NE(shell, nullptr);
  ASSERT_NE(shell->statusBar(), nullptr);
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(ControlWidget(shell, 1), &enter);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell->statusBar()->Texts().value(0) == "Accept this"; }));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(ControlWidget(shell, 1), &leave);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell->statusBar()->Texts().value(0).isEmpty(); }));
  EXPECT_EQ(shell->statusBar()->Texts().size(), 2);
}

TEST(QtViewInput, APersonsResizeIsReportedTheViewsOwnSizingIsNot) {
  PlainWindow plain;
  WindowShell* shell = WaitForShell(plain.id);
  ASSERT_NE(shell, nullptr);
  QTest::qWait(100);
  EXPECT_EQ(plain.journal.Count(kEventSized), 0) << "opening and sizing the window is nobody's act";
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  QWidget* body = shell->outer();
  body->resize(body->width() + units.ToPixelsX(40), body->height());
  EXPECT_TRUE(QTest::qWaitFor([&] { return plain.journal.Count(kEventSized) == 1; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell->presentation().width == 200; })) << shell->presentation().width;
  EXPECT_EQ(body->width(), units.ToPixelsX(200)) << "the model's answer does not move the window again";
  QTest::qWait(50);
  EXPECT_EQ(plain.journal.Count(kEventSized), 1);
}

// EDITOR open on a program thread: an entry and an Edit menu with copy and paste.
struct EditorWindow {
  std::atomic<LONG> id{0};
  Journal journal;
  STRING<20> name;
  std::atomic<bool> ended{false};
  std::string nameAtEnd;
  std::unique_ptr<Program> program;

  EditorWindow() {
    program = std::make_unique<Program>([this] {
      WindowRef w;
      RtNewWindow(w, "qtview$unit", "EDITOR", {name});
      id = w.id;
      RtOpenWindow(w);
      RunLoop(journal);
      nameAtEnd = std::string(RtClipView(name.view()));
      RtDisposeWindow(w);
      ended = true;
    });
  }
  ~EditorWindow() {
    if (!ended) ViewInput::Close(id);
    program->Finish();
  }
};

// Types `text` into `widget` a character at a time, as a keyboard with those keys would
// (QTest's own typing knows only ASCII).
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

QAction* MenuItem(WindowShell* shell, const QString& menu, const QString& item) {
  auto* body = qobject_cast<QMainWindow*>(shell->outer());
  for (QAction* m : body->menuBar()->actions()) {
    if (m->text() != menu || !m->menu()) continue;
    for (QAction* a : m->menu()->actions()) {
      if (a->text() == item) return a;
    }
  }
  return nullptr;
}

TEST(QtViewInput, TypedTextGoesToTheModelInLatin1) {
  EditorWindow editor;
  WindowShell* shell = WaitForShell(editor.id);
  ASSERT_NE(shell, nullptr);
  auto* entry = qobject_cast<QLineEdit*>(ControlWidget(shell, 1));
  ASSERT_NE(entry, nullptr) << "a kind that takes typed text gets a line entry";
  entry->setFocus();
  Type(entry, QString::fromUtf8("Zo\u00eb \u20ac5"));
  EXPECT_EQ(entry->text(), QString::fromUtf8("Zo\u00eb 5")) << "the euro sign is beyond Latin-1 and refused";
  QTest::keyClick(entry, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return editor.journal.Saw(kEventAccepted, 1); }));
  ViewInput::Close(editor.id);
  ASSERT_TRUE(QTest::qWaitFor([&] { return editor.ended.load(); }));
  EXPECT_EQ(editor.nameAtEnd, "Zo\xEB 5");
}

TEST(QtViewInput, CutCopyAndPasteGoThroughTheSystemClipboard) {
  EditorWindow editor;
  WindowShell* shell = WaitForShell(editor.id);
  ASSERT_NE(shell, nullptr);
  ASSERT_EQ(ViewInput::Focus(editor.id, 1), InputResult::kDone);
  auto* entry = qobject_cast<QLineEdit*>(ControlWidget(shell, 1));
  QAction* paste = MenuItem(shell, "&Edit", "&Paste");
  QAction* copy = MenuItem(shell, "&Edit", "&Copy");
  ASSERT_TRUE(entry && paste && copy);
  QGuiApplication::clipboard()->setText(QString::fromUtf8("Caf\u00e9 \u2603"));
  paste->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return entry->text() == QString::fromUtf8("Caf\u00e9 ?"); }))
      << entry->text().toStdString() << ": what Latin-1 cannot hold is replaced";
  QGuiApplication::clipboard()->clear();
  ASSERT_EQ(ViewInput::Select(editor.id, 1, 0, 4), InputResult::kDone);
  copy->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == QString::fromUtf8("Caf\u00e9"); }))
      << "the model's copy is mirrored to the system clipboard";
}

// The selection as the model holds it.
std::pair<LONG, LONG> ModelSelection(LONG window, LONG field) {
  for (const WindowPresentation& w : ReadPresentation().windows) {
    for (const ControlPresentation& c : w.controls) {
      if (w.id == window && c.field == field) return {c.selectionStart, c.selectionEnd};
    }
  }
  return {-1, -1};
}

std::string ModelText(LONG window, LONG field) {
  for (const WindowPresentation& w : ReadPresentation().windows) {
    for (const ControlPresentation& c : w.controls) {
      if (w.id == window && c.field == field) return c.text;
    }
  }
  return "?";
}

TEST(QtViewInput, TheEditMenuActsOnTheEntrysSelectionAsItsOwnKeysDo) {
  constexpr LONG kNote = 2;
  EditorWindow editor;
  WindowShell* shell = WaitForShell(editor.id);
  ASSERT_NE(shell, nullptr);
  auto* entry = qobject_cast<QLineEdit*>(ControlWidget(shell, kNote));
  QAction* cut = MenuItem(shell, "&Edit", "Cu&t");
  QAction* copy = MenuItem(shell, "&Edit", "&Copy");
  QAction* paste = MenuItem(shell, "&Edit", "&Paste");
  ASSERT_TRUE(entry && cut && copy && paste);
  entry->setFocus(Qt::MouseFocusReason);
  Type(entry, "Hello world");
  ASSERT_TRUE(QTest::qWaitFor([&] { return ModelText(editor.id, kNote) == "Hello world"; }));

  // The person's selection reaches the model; Copy takes just that.
  entry->setSelection(6, 5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ModelSelection(editor.id, kNote) == std::make_pair<LONG, LONG>(6, 11); }));
  copy->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == "world"; }));

  // Nothing selected: Copy leaves the clipboard alone; Paste goes in at the caret.
  entry->setCursorPosition(5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ModelSelection(editor.id, kNote) == std::make_pair<LONG, LONG>(5, 5); }));
  QGuiApplication::clipboard()->setText(", big");
  copy->trigger();
  QTest::qWait(50);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), ", big");
  paste->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return entry->text() == "Hello, big world"; })) << entry->text().toStdString();
  EXPECT_EQ(entry->cursorPosition(), 10) << "the caret after what was pasted";
  EXPECT_FALSE(entry->hasSelectedText());

  // Cut takes the selection out, as Ctrl+X would.
  entry->setSelection(0, 7);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ModelSelection(editor.id, kNote) == std::make_pair<LONG, LONG>(0, 7); }));
  cut->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return entry->text() == "big world"; })) << entry->text().toStdString();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hello, ");
  EXPECT_EQ(ModelText(editor.id, kNote), "big world");
  // And the entry's own keys do the same on the same selection.
  entry->setSelection(0, 3);
  QTest::keyClick(entry, Qt::Key_X, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ModelText(editor.id, kNote) == " world"; }));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "big");
}

}  // namespace
}  // namespace qx::qttest
