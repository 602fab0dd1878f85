// The three requests of every form: an insert typed in and completed, a change completed
// with and without alterations, a delete confirmed and refused; Cancel and the close box;
// the answer in CurrentResponse, the file, the record buffer and the history record after
// each, and the file's use count given back.
#include <gtest/gtest.h>

#include "demo/integrity_update.h"
#include "runtime/view/automation/protocol.h"
#include "tests/demo_forms/form_run.h"

namespace qx::formtest {
namespace {

// `part` with `check` run on the form's thread right after the call.
BrowsePart Checked(BrowsePart part, std::function<void(const FormKind&)> check) {
  auto after = part.after;
  part.after = [check, after](const FormKind& kind) {
    check(kind);
    if (after) after(kind);
  };
  return part;
}

const std::vector<Values> kThree = {{{"CUSID", "1"}, {"NAME", "Ann"}, {"SUBURB", "Kew"}, {"SYSID", "1"}},
                                    {{"CUSID", "2"}, {"NAME", "Bob"}, {"SUBURB", "Ryde"}, {"SYSID", "2"}},
                                    {{"CUSID", "3"}, {"NAME", "Cid"}, {"SUBURB", "Manly"}, {"SYSID", "3"}}};
const std::vector<std::string> kThreeRows = {"1 Ann Kew", "2 Bob Ryde", "3 Cid Manly"};

using FormRequests = FormTest;

TEST_F(FormRequests, AnInsertAddsWhatWasTypedIn) {
  for (const FormKind& kind : Forms()) {
    for (bool browseHasFile : {true, false}) {
      SCOPED_TRACE(std::string(kind.name) + (browseHasFile ? ", file open in the browse" : ", form opens the file"));
      MakeFile(*kind.file, kThree);
      const BrowsePart browse = Checked(browseHasFile ? BrowseInserts() : FormOpensFile(), [](const FormKind& k) {
        EXPECT_EQ(Field(*k.file, "NAME"), "Zoe") << "the new record stays in the buffer for the browse";
        EXPECT_EQ(FieldOf(*k.file, k.history, "NAME"), "Zoe") << "and is kept as the form's history";
        EXPECT_EQ(FieldOf(*k.file, k.history, "CUSID"), "12");
      });
      const LONG response = RunForm(kind, kInsert, browse, [&](Person& p) {
        p.Type(4, "12");
        p.Type(6, "Zoe");
        p.Type(8, "Ryde", false);  // still being edited: the accept-all pass takes it
        p.Press(kind.ok);
        p.FormGone();
        EXPECT_TRUE(p.boxes.empty());
      });
      EXPECT_EQ(response, 1);
      std::vector<std::string> rows = kThreeRows;
      rows.push_back("12 Zoe Ryde");
      EXPECT_EQ(Records(*kind.file), rows);
      if (kind.file == &Encrypt) {
        EXPECT_EQ(Records(Encrypt, {"SYSID"}), (std::vector<std::string>{"1", "2", "3", "4"}));
      }
    }
  }
}

// Counts the calls of the stand-in integrity routines of a test's own member.
int gUpdateCalls = 0;
LONG CountedUpdate() {
  ++gUpdateCalls;
  return kIntegrityDone;
}

TEST_F(FormRequests, AChangeWithoutAlterationWritesNothingAndCompletes) {
  for (const FormKind& kind : Forms()) {
    SCOPED_TRACE(kind.name);
    MakeFile(*kind.file, kThree);
    UpdateFormMember member = *kind.member;
    member.integrityUpdate = &CountedUpdate;
    gUpdateCalls = 0;
    const LONG response = RunForm(
        kind, kChange, BrowseSelects(2),
        [&](Person& p) {
          p.Type(6, "Bob");  // typed over with the same value
          p.Press(kind.ok);
          p.FormGone();
        },
        &member);
    EXPECT_EQ(response, 1);
    EXPECT_EQ(gUpdateCalls, 0) << "no write, no transaction";
  }
}

TEST_F(FormRequests, AChangeIsWrittenThroughTheIntegrityUpdate) {
  for (const FormKind& kind : Forms()) {
    SCOPED_TRACE(kind.name);
    MakeFile(*kind.file, kThree);
    const BrowsePart browse = Checked(BrowseSelects(2), [](const FormKind& k) {
      EXPECT_EQ(FieldOf(*k.file, k.history, "NAME"), "Bea");
      EXPECT_EQ(FieldOf(*k.file, k.history, "SUBURB"), "Ryde");
    });
    const LONG response = RunForm(kind, kChange, browse, [&](Person& p) {
      EXPECT_EQ(p.Shown(6), "Bob");
      p.Type(6, "Bea");
      p.Press(kind.ok);
      p.FormGone();
      EXPECT_TRUE(p.boxes.empty());
    });
    EXPECT_EQ(response, 1);
    EXPECT_EQ(Records(*kind.file), (std::vector<std::string>{"1 Ann Kew", "2 Bea Ryde", "3 Cid Manly"}));
  }
}

// Cancel and the close box leave without a question, whatever was typed.
TEST_F(FormRequests, CancelAndTheCloseBoxAnswerTwoAndWriteNothing) {
  for (const FormKind& kind : Forms()) {
    for (bool closeBox : {false, true}) {
      SCOPED_TRACE(std::string(kind.name) + (closeBox ? ", close box" : ", Cancel"));
      MakeFile(*kind.file, kThree);
      const LONG response = RunForm(kind, kChange, BrowseSelects(1), [&](Person& p) {
        p.Type(6, "Changed");
        p.Type(8, "Elsewhere", false);
        if (closeBox) {
          p.Close();
        } else {
          p.Press(kind.cancel);
        }
        p.FormGone();
        EXPECT_EQ(HandleAutomationRequest({{"op", "messages"}})["messages"], json::array()) << "nothing asked";
      });
      EXPECT_EQ(response, 2);
      EXPECT_EQ(Records(*kind.file), kThreeRows);
    }
  }
}

TEST_F(FormRequests, ADeleteIsConfirmedWithoutAWindow) {
  struct Case {
    const char* button;
    LONG response;
    std::vector<std::string> left;
  } cases[] = {
      {"OK", 1, {"1 Ann Kew", "3 Cid Manly"}},
      {"Cancel", 2, kThreeRows},
  };
  for (const FormKind& kind : Forms()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(kind.name) + " answered " + c.button);
      MakeFile(*kind.file, kThree);
      view_.Forget();
      const LONG response = RunForm(kind, kDelete, BrowseSelects(2), [&](Person& p) {
        const json box = p.Answer("Confirm Delete", c.button);
        EXPECT_EQ(box["text"],
                  "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.");
        EXPECT_EQ(box["buttons"], json({"OK", "Cancel"}));
        EXPECT_EQ(box["default"], "Cancel");
      });
      EXPECT_EQ(response, c.response);
      EXPECT_EQ(Records(*kind.file), c.left);
      EXPECT_FALSE(view_.Shown("/P1$QUICKWINDOW")) << "the form's window never opens for a delete";
    }
  }
}

// Nothing in the program asks a form for anything but 1, 2 or 3; another request opens
// nothing and is answered as cancelled.
TEST_F(FormRequests, AnUnknownRequestOpensNothing) {
  const FormKind& kind = Form("UpdateStandrd");
  MakeFile(*kind.file, kThree);
  view_.Forget();
  EXPECT_EQ(RunForm(kind, 0, BrowseSelects(1), [](Person&) {}), 2);
  EXPECT_FALSE(view_.Shown("/P1$QUICKWINDOW"));
  EXPECT_EQ(Records(*kind.file), kThreeRows);
}

}  // namespace
}  // namespace qx::formtest
