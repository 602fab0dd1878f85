// What the forms do once the person presses OK, and the ditto key: the history record
// brought back field by field, an insert that cannot be written, the answers to the
// integrity routines' failures (warnings 16 and 18), and a change refused because another
// opener changed the record meanwhile, with the person's own values recalled by Ctrl+'.
#include <gtest/gtest.h>

#include <deque>

#include "demo/integrity_update.h"
#include "runtime/text/picture.h"
#include "runtime/win/presentation.h"
#include "tests/demo_forms/form_run.h"

namespace qx::formtest {
namespace {

constexpr LONG kDitto = 0x2DE;  // Ctrl+'

std::string DateText(LONG day) { return Picture::Parse("@d17")->FormatNumber(day); }

const Values kAnn = {{"CUSID", "1"}, {"NAME", "Ann"}, {"SUBURB", "Kew"}, {"PHONE", "111"},
                     {"STARTDATE", "80000"}, {"NEWFIELD", "a"}, {"SYSID", "1"}};
const Values kBob = {{"CUSID", "2"}, {"NAME", "Bob"}, {"SUBURB", "Ryde"}, {"SYSID", "2"}};

// What the person types into each field for the record the history then keeps, and how the
// entry shows it.
struct Typed {
  std::string typed, shown;
};
const std::map<std::string, Typed> kHistoryValues = {
    {"CUSID", {"55", "55"}},       {"NAME", {"Hana", "Hana"}},   {"SUBURB", {"Hill", "Hill"}},
    {"PHONE", {"999", "999"}},     {"STARTDATE", {DateText(70000), DateText(70000)}}, {"NEWFIELD", {"hf", "hf"}},
};

using Completion = FormTest;

// Ctrl+' in an entry copies that entry's field, and only that one, from the record last
// completed in the form; OK then writes what the entries show.
TEST_F(Completion, TheDittoKeyCopiesTheFocusedFieldFromTheLastCompletedRecord) {
  for (const FormKind& kind : Forms()) {
    SCOPED_TRACE(kind.name);
    MakeFile(*kind.file, {kAnn, kBob});
    // Completing a change fills the history, whatever it writes.
    ASSERT_EQ(RunForm(kind, kChange, BrowseSelects(2), [&](Person& p) {
                for (const auto& [control, field] : kind.entries) p.Type(control, kHistoryValues.at(field).typed);
                p.Press(kind.ok);
                p.FormGone();
              }),
              1);
    std::map<LONG, std::string> before;
    const LONG response = RunForm(kind, kChange, BrowseSelects(1), [&](Person& p) {
      for (const auto& [control, field] : kind.entries) before[control] = p.Shown(control);
      for (const auto& [control, field] : kind.entries) {
        SCOPED_TRACE(field);
        p.Key(control, kDitto);
        EXPECT_EQ(p.Shown(control), kHistoryValues.at(field).shown);
        bool reached = false;
        for (const auto& [other, otherField] : kind.entries) {
          if (reached) {
            EXPECT_EQ(p.Shown(other), before[other]) << otherField << " is left alone";
          }
          reached = reached || other == control;
        }
      }
      p.Press(kind.ok);
      p.FormGone();
    });
    EXPECT_EQ(response, 1);
    EXPECT_EQ(Records(*kind.file), (std::vector<std::string>{"55 Hana Hill", "55 Hana Hill"}));
  }
}

// An insert that the file refuses (opened read-only by the browse here): warning 14, and the
// form stays open with the person's values and the focus on the first entry.
TEST_F(Completion, AnInsertThatCannotBeAddedKeepsTheFormOpen) {
  for (const FormKind& kind : Forms()) {
    if (kind.file == &Encrypt) continue;  // its insert is a fill-in: sysid_test.cpp
    SCOPED_TRACE(kind.name);
    MakeFile(*kind.file, {kAnn});
    BrowsePart browse = BrowseInserts();
    browse.before = [](const FormKind& k) {
      OPEN(*k.file, 0x40);
      ASSERT_EQ(RtErrorCode(), 0);
      k.useCount() = 1;
      GETfileptr(*k.file, 0);
      RtClearGroup(k.file->RecordBuffer(), k.file->layout(), 0);
    };
    const LONG response = RunForm(kind, kInsert, browse, [&](Person& p) {
      p.Type(6, "Zoe");
      p.Press(kind.ok);
      const json box = p.Answer("Record Insert Error", "OK");
      EXPECT_EQ(box["text"], "An error was experienced during the update of record.  Error: Access Denied (5).");
      EXPECT_EQ(p.Form()["focus"], 4);
      EXPECT_EQ(p.Shown(6), "Zoe");
      p.Press(kind.ok);  // and again, refused again
      p.Answer("Record Insert Error", "OK");
      p.Press(kind.cancel);
      p.FormGone();
    });
    EXPECT_EQ(response, 2);
    EXPECT_EQ(Records(*kind.file), (std::vector<std::string>{"1 Ann Kew"}));
  }
}

// Stand-ins for the integrity routines: each call takes the next scripted result, and notes
// whether the wait cursor was shown meanwhile.
std::deque<LONG> gResults;
int gCalls = 0;
bool gWaitCursorSeen = false;
LONG ScriptedRoutine() {
  ++gCalls;
  for (const WindowPresentation& w : ReadPresentation().windows) gWaitCursorSeen = gWaitCursorSeen || w.waitCursor;
  if (gResults.empty()) return kIntegrityDone;
  const LONG r = gResults.front();
  gResults.pop_front();
  return r;
}

TEST_F(Completion, TheAnswersToAFailedChangeOrDelete) {
  struct Case {
    const char* what;
    LONG request;
    std::deque<LONG> results;
    const char* answer;  // to warning 16 or 18; nullptr: none is shown
    bool staysOpen;      // after the answer: the person then presses OK once more
    LONG response;
    int calls;
  } cases[] = {
      {"change failed, Yes", kChange, {1, 0}, "Yes", false, 1, 2},
      {"change failed, No", kChange, {1}, "No", false, 2, 1},
      {"change failed, Cancel", kChange, {1}, "Cancel", true, 1, 2},
      {"changed elsewhere", kChange, {2}, nullptr, true, 1, 2},
      {"delete failed, Yes", kDelete, {1, 0}, "Yes", false, 1, 2},
      {"delete failed, No", kDelete, {1}, "No", false, 2, 1},
      {"delete failed, Cancel", kDelete, {1}, "Cancel", false, 2, 1},
  };
  const FormKind& kind = Form("UpdateStandrd");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakeFile(*kind.file, {kAnn});
    UpdateFormMember member = *kind.member;
    member.integrityUpdate = &ScriptedRoutine;
    member.integrityDelete = &ScriptedRoutine;
    gResults = c.results;
    gCalls = 0;
    gWaitCursorSeen = false;
    const LONG response = RunForm(
        kind, c.request, BrowseSelects(1),
        [&](Person& p) {
          if (c.request == kDelete) {
            p.Answer("Confirm Delete", "OK");
          } else {
            p.Type(6, "Changed");
            p.Press(kind.ok);
          }
          if (c.answer != nullptr) {
            const json box = p.Answer("Record Update Error", c.answer);
            EXPECT_EQ(box["text"], std::string("An error was experienced ") +
                                       (c.request == kDelete ? "deleting" : "changing") +
                                       " this record.  Do you want to try to save again?");
            EXPECT_EQ(box["buttons"], json({"Yes", "No", "Cancel"}));
            EXPECT_EQ(box["default"], "Cancel");
          }
          if (c.staysOpen) {
            const json form = p.Form();
            EXPECT_EQ(form["focus"], 4);
            EXPECT_EQ(p.Shown(6), "Changed");
            EXPECT_FALSE(form["wait_cursor"]) << "the normal cursor is back";
            p.Press(kind.ok);
          }
          if (c.request == kChange) p.FormGone();
        },
        &member);
    EXPECT_EQ(response, c.response);
    EXPECT_EQ(gCalls, c.calls);
    EXPECT_TRUE(gWaitCursorSeen) << "the wait cursor shows while the routine runs";
  }
}

// Another opener changed the record after the browse read it: the change is refused with
// warning 38 and that opener's version is shown; Ctrl+' recalls the person's own value, and
// OK writes what is shown either way.
TEST_F(Completion, AChangeRefusedBecauseOfAnotherOpenerShowsItsVersion) {
  for (bool recall : {true, false}) {
    SCOPED_TRACE(recall ? "own value recalled" : "other version kept");
    const FormKind& kind = Form("UpdateEncrypt");
    MakeFile(Encrypt, {kAnn, kBob});
    const LONG response = RunForm(kind, kChange, BrowseSelects(2), [&](Person& p) {
      p.Form();
      OPEN(Encrypt, 0x42);  // the other opener, on the person's thread
      SETfile(Encrypt);
      NEXT(Encrypt);
      NEXT(Encrypt);
      SetRecord(Encrypt, {{"CUSID", "2"}, {"NAME", "Other"}, {"SUBURB", "Far"}, {"SYSID", "2"}});
      PUT(Encrypt);
      ASSERT_EQ(RtErrorCode(), 0);
      CLOSE(Encrypt);

      p.Type(6, "Mine");
      p.Press(13);
      p.Answer("Record Was Not Updated", "OK");
      EXPECT_EQ(p.Shown(6), "Other");
      EXPECT_EQ(p.Shown(8), "Far");
      if (recall) {
        p.Key(6, kDitto);
        EXPECT_EQ(p.Shown(6), "Mine");
        EXPECT_EQ(p.Shown(8), "Far");
      }
      p.Press(13);
      p.FormGone();
    });
    EXPECT_EQ(response, 1);
    EXPECT_EQ(Records(Encrypt), (std::vector<std::string>{"1 Ann Kew", recall ? "2 Mine Far" : "2 Other Far"}));
  }
}

// A record another opener deleted after the browse read it cannot be deleted: the integrity
// routine's warning 17, then warning 18, answered No.
TEST_F(Completion, ADeleteOfARecordGoneMeanwhileFails) {
  const FormKind& kind = Form("UpdateVarname");
  MakeFile(Varname, {kAnn, kBob});
  const LONG response = RunForm(kind, kDelete, BrowseSelects(1), [&](Person& p) {
    p.Act({{"op", "wait"}, {"until", {{"message", {{"caption", "Confirm Delete"}}}}}});  // the browse has read it
    OPEN(Varname, 0x42);
    SETfile(Varname);
    NEXT(Varname);
    DELETE(Varname);
    ASSERT_EQ(RtErrorCode(), 0);
    CLOSE(Varname);
    p.Answer("Confirm Delete", "OK");
    p.Answer("Delete Operation Error", "OK");
    p.Answer("Record Update Error", "No");
  });
  EXPECT_EQ(response, 2);
  EXPECT_EQ(Records(Varname), (std::vector<std::string>{"2 Bob Ryde"}));
}

}  // namespace
}  // namespace qx::formtest
