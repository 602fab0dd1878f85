// The entry's widget with the window model: its length, justification and offset from the
// description, every edit handed to the model at once, the text the model hands back shown
// (but not a copy made before the person's latest edit), Enter and alert keys reported,
// read-only entries, select-all on focus and a paste of what the code page cannot hold.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include "runtime/text/picture.h"
#include "runtime/view/qt/dialog_units.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/form_controls.h"
#include "tests/view_qt/qt_view_forms_support.h"

namespace qx::qttest {
namespace {

constexpr LONG kIdEntry = 4, kNameEntry = 6, kDateEntry = 8, kNoteEntry = 9, kOk = 13, kStep = 14;

struct Form {
  LONG cusId = 42;
  STRING<20> name, note;
  LONG startDate = 0;
  WindowProgram program{[this](WindowRef& w) {
                          name = "Ann";
                          note = "Kept";
                          RtNewWindow(w, "qtview$unit", "FORM", {cusId, name, startDate, note});
                          RtOpenWindow(w);
                        },
                        kStep};
};

QLineEdit* Entry(WindowShell* shell, LONG field) { return qobject_cast<QLineEdit*>(ControlWidget(shell, field)); }

// The entry's text as the model holds it now.
std::string ModelText(LONG window, LONG field) {
  for (const WindowPresentation& w : ReadPresentation().windows) {
    if (w.id != window) continue;
    for (const ControlPresentation& c : w.controls) {
      if (c.field == field) return c.text;
    }
  }
  return "?";
}

void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

TEST(QtViewEntry, LengthFromThePicture) {
  struct Case {
    const char* picture;
    int length;
  } cases[] = {
      {"@n-14", 14}, {"@S20", 20}, {"@s255", 255}, {"@n-14@", 14}, {"@n", 0}, {"", 0}, {"@x3", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryMaxLength(c.picture), c.length) << c.picture;
  EXPECT_EQ(EntryMaxLength("@d17"), static_cast<int>(Picture::Parse("@d17")->width()));
}

TEST(QtViewEntry, ShowsItsVariableJustifiedAsDescribed) {
  Form form;
  WindowShell* shell = WaitForShell(form.program.id);
  ASSERT_NE(shell, nullptr);
  QLineEdit* id = Entry(shell, kIdEntry);
  QLineEdit* name = Entry(shell, kNameEntry);
  QLineEdit* note = Entry(shell, kNoteEntry);
  ASSERT_TRUE(id && name && note && Entry(shell, kDateEntry));
  EXPECT_EQ(id->text(), "42");
  EXPECT_EQ(name->text(), "Ann");
  EXPECT_EQ(id->maxLength(), 14);
  EXPECT_EQ(name->maxLength(), 20);
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  EXPECT_EQ(id->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(id->textMargins().right(), units.ToPixelsX(1)) << "offset 1 from the right edge";
  EXPECT_EQ(name->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  EXPECT_TRUE(note->isReadOnly());
  EXPECT_TRUE(id->isVisible()) << "on the sheet's only tab, which is selected";

  ASSERT_TRUE(form.program.Do([&] { form.name = "Zo\xEB"; }));
  EXPECT_EQ(name->text(), QString::fromUtf8("Zo\u00eb")) << "the program's value, redrawn";

  note->setFocus(Qt::TabFocusReason);
  TypeText(note, "x");
  EXPECT_EQ(note->text(), "Kept") << "read-only";
  EXPECT_EQ(ModelText(form.program.id, kNoteEntry), "Kept");
}

TEST(QtViewEntry, EditsReachTheModelWhichAcceptsOrRejects) {
  Form form;
  WindowShell* shell = WaitForShell(form.program.id);
  ASSERT_NE(shell, nullptr);
  QLineEdit* id = Entry(shell, kIdEntry);
  ASSERT_NE(id, nullptr);
  EventLog& log = form.program.log;
  id->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell->presentation().focus == kIdEntry; })) << "the focus is reported";
  EXPECT_EQ(id->selectedText(), "42") << "the whole text is selected on the way in";
  for (const char* typed : {"1", "2", "x"}) {
    TypeText(id, typed);
    EXPECT_EQ(ModelText(form.program.id, kIdEntry), id->text().toStdString()) << "after typing " << typed;
  }
  EXPECT_EQ(id->text(), "12x");

  // Leaving it: the picture refuses the text; the person's text stays.
  size_t before = log.size();
  Entry(shell, kNameEntry)->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.Saw(kEventRejected, kIdEntry, before); }));
  Settle();
  EXPECT_EQ(id->text(), "12x");

  // Enter accepts the entry, then presses the default button; the model hands back the
  // value as the picture shows it.
  id->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell->presentation().focus == kIdEntry; }));
  id->selectAll();
  TypeText(id, "0077");
  before = log.size();
  QTest::keyClick(id, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.Saw(kEventAccepted, kOk, before); }));
  EXPECT_TRUE(log.Saw(kEventAccepted, kIdEntry, before));
  EXPECT_TRUE(QTest::qWaitFor([&] { return id->text() == "77"; })) << id->text().toStdString() << " model " << ModelText(form.program.id, kIdEntry);
  LONG value = 0;
  ASSERT_TRUE(form.program.Do([&] { value = form.cusId; }));
  EXPECT_EQ(value, 77);
}

TEST(QtViewEntry, ACopyMadeBeforeTheLatestEditDoesNotUndoIt) {
  Form form;
  WindowShell* shell = WaitForShell(form.program.id);
  ASSERT_NE(shell, nullptr);
  QLineEdit* name = Entry(shell, kNameEntry);
  ASSERT_NE(name, nullptr);
  name->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell->presentation().focus == kNameEntry; }));
  Settle();
  // What the view would be handed if a change of the program's, made before the typing,
  // were still on its way.
  WindowPresentation older;
  for (const WindowPresentation& w : ReadPresentation().windows) {
    if (w.id == form.program.id) older = w;
  }
  ASSERT_EQ(older.revision, shell->revision());
  name->end(false);
  TypeText(name, "e");
  ASSERT_EQ(name->text(), "Anne");
  TheView().desktop().ShowWindow(older, nullptr);
  EXPECT_EQ(name->text(), "Anne");
  Settle();
  EXPECT_EQ(name->text(), "Anne");
  EXPECT_EQ(ModelText(form.program.id, kNameEntry), "Anne");
}

TEST(QtViewEntry, AlertKeysGoToTheModelPastesAreMadeToFit) {
  Form form;
  WindowShell* shell = WaitForShell(form.program.id);
  ASSERT_NE(shell, nullptr);
  QLineEdit* name = Entry(shell, kNameEntry);
  ASSERT_NE(name, nullptr);
  ASSERT_TRUE(form.program.Do([] { RtSetProperty(kNameEntry, kPropAlertKeys, std::to_string(kKeyCtrlQuote), 255); }));
  name->setFocus(Qt::TabFocusReason);
  const size_t before = form.program.log.size();
  QTest::keyClick(name, Qt::Key_Apostrophe, Qt::ControlModifier);
  ASSERT_TRUE(WaitForEvents(form.program.log, before));
  const Heard heard = form.program.log.Since(before)[0];
  EXPECT_EQ(heard.event, kEventAlertKey);
  EXPECT_EQ(heard.field, kNameEntry);
  EXPECT_EQ(heard.code, kKeyCtrlQuote);
  EXPECT_EQ(name->text(), "Ann") << "the ditto key types nothing itself";

  name->clear();
  QGuiApplication::clipboard()->setText(QString::fromUtf8("Caf\u00e9 \u2603"));
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), QString::fromUtf8("Caf\u00e9 ?"));
  EXPECT_EQ(ModelText(form.program.id, kNameEntry), "Caf\xE9 ?");
}

}  // namespace
}  // namespace qx::qttest
