// UpdateEncrypt numbers its inserts: before its window opens it adds a placeholder that
// carries the next ENC:SYSID, fills it in with PUT when the person completes the form, and
// deletes it again when the insert is not completed. How the numbering reads the highest
// number, what it does when reading or adding fails, and what a failed fill-in does.
#include <gtest/gtest.h>

#include "tests/demo_forms/form_run.h"

namespace qx::formtest {
namespace {

const FormKind& EncryptKind() { return Form("UpdateEncrypt"); }

std::vector<Values> WithSysIds(const std::vector<LONG>& sysids) {
  std::vector<Values> out;
  for (size_t i = 0; i < sysids.size(); ++i) {
    out.push_back({{"CUSID", std::to_string(i + 1)}, {"NAME", "N" + std::to_string(i + 1)},
                   {"SYSID", std::to_string(sysids[i])}});
  }
  return out;
}

std::vector<std::string> SysIds() { return Records(Encrypt, {"SYSID"}); }

class SysIdNumbering : public FormTest {
 protected:
  // Completes an insert of a customer called `name`; returns the answer.
  LONG InsertNamed(const std::string& name) {
    return RunForm(EncryptKind(), kInsert, BrowseInserts(), [&](Person& p) {
      p.Type(6, name);
      p.Press(13);
      p.FormGone();
    });
  }
};

TEST_F(SysIdNumbering, AnInsertGetsTheHighestNumberPlusOne) {
  struct Case {
    const char* what;
    std::vector<LONG> sysids;
    std::string expected;
  } cases[] = {
      {"an empty file", {}, "1"},
      {"numbers out of order, lower ones free", {3, 9, 5}, "10"},
      {"records without a number (outside the key)", {0, 0}, "1"},
      {"the largest number", {2147483647}, "-2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakeFile(Encrypt, WithSysIds(c.sysids));
    const LONG response = RunForm(EncryptKind(), kInsert, BrowseInserts(), [&](Person& p) {
      p.Form();
      // The placeholder is in the file while the form is open: the browse's cleared record
      // with the new number.
      std::vector<std::string> rows = Records(Encrypt, {"SYSID", "NAME"});
      ASSERT_EQ(rows.size(), c.sysids.size() + 1);
      EXPECT_EQ(rows.back(), c.expected + " ");
      p.Type(6, "New");
      p.Press(13);
      p.FormGone();
    });
    EXPECT_EQ(response, 1);
    const std::vector<std::string> rows = Records(Encrypt, {"SYSID", "NAME"});
    ASSERT_EQ(rows.size(), c.sysids.size() + 1) << "the placeholder became the new record";
    EXPECT_EQ(rows.back(), c.expected + " New");
  }
}

// However the form is left without completing, the placeholder goes, and the next insert
// gets the same number again.
TEST_F(SysIdNumbering, AnInsertNotCompletedTakesItsPlaceholderAway) {
  const char* ways[] = {"Cancel", "close box", "frame closing"};
  for (const char* way : ways) {
    SCOPED_TRACE(way);
    MakeFile(Encrypt, WithSysIds({1, 2}));
    const LONG response = RunForm(EncryptKind(), kInsert, BrowseInserts(), [&](Person& p) {
      p.Type(6, "Gone");
      EXPECT_EQ(SysIds(), (std::vector<std::string>{"1", "2", "3"}));
      if (way == ways[0]) {
        p.Press(14);
      } else if (way == ways[1]) {
        p.Close();
      } else {
        p.Act({{"op", "close"}, {"window", "P1$APPFRAME"}});
      }
      p.FormGone();
    });
    EXPECT_EQ(response, 2);
    EXPECT_EQ(Records(Encrypt, {"SYSID", "NAME"}), (std::vector<std::string>{"1 N1", "2 N2"}));
    EXPECT_EQ(InsertNamed("Next"), 1);
    EXPECT_EQ(Records(Encrypt, {"SYSID", "NAME"}), (std::vector<std::string>{"1 N1", "2 N2", "3 Next"}));
  }
}

// A read of the highest number that fails with anything but "no record" stops the insert:
// warning 35, no window, nothing added, and the browse goes on.
TEST_F(SysIdNumbering, AFailedReadOfTheHighestNumberAddsNothing) {
  MakeFile(Encrypt, WithSysIds({1, 2}));
  BrowsePart browse = BrowseInserts();
  auto open = browse.before;
  browse.before = [open](const FormKind& kind) {
    open(kind);
    // A record appended in bulk suspends the keys: reading by ENC:BySysID fails with 46.
    SetRecord(Encrypt, {{"CUSID", "9"}, {"NAME", "Bulk"}, {"SYSID", "7"}});
    APPEND(Encrypt);
    ASSERT_EQ(RtErrorCode(), 0);
    RtClearGroup(Encrypt.RecordBuffer(), Encrypt.layout(), 0);
  };
  auto close = browse.after;
  browse.after = [close](const FormKind& kind) {
    BUILDfile(Encrypt);
    EXPECT_EQ(RtErrorCode(), 0);
    close(kind);
  };
  view_.Forget();
  const LONG response = RunForm(EncryptKind(), kInsert, browse, [&](Person& p) {
    const json box = p.Answer("Record Retrieval Error", "OK");
    EXPECT_EQ(box["text"],
              "Error: (Key File Must Be Rebuilt (46)) attempting to access a record from the Encrypt file.  Returning "
              "to previous window.");
  });
  EXPECT_EQ(response, 2);
  EXPECT_FALSE(view_.Shown("/P1$QUICKWINDOW"));
  EXPECT_EQ(SysIds(), (std::vector<std::string>{"1", "2", "7"}));
}

// Three failed ADDs of the placeholder in a row ask warning 25: Retry tries three more
// times, anything else gives up without a window.
TEST_F(SysIdNumbering, APlaceholderThatCannotBeAddedAsksToRetry) {
  struct Case {
    std::vector<const char*> answers;
  } cases[] = {{{"Cancel"}}, {{"Retry", "Cancel"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers.size());
    MakeFile(Encrypt, WithSysIds({4}));
    BrowsePart browse = BrowseInserts();
    browse.before = [](const FormKind& kind) {
      OPEN(Encrypt, 0x40);  // read only: every ADD is refused with 5
      ASSERT_EQ(RtErrorCode(), 0);
      kind.useCount() = 1;
      GETfileptr(Encrypt, 0);
      RtClearGroup(Encrypt.RecordBuffer(), Encrypt.layout(), 0);
    };
    view_.Forget();
    const LONG response = RunForm(EncryptKind(), kInsert, browse, [&](Person& p) {
      for (const char* answer : c.answers) {
        const json box = p.Answer("Auto Increment Error", answer);
        EXPECT_EQ(box["text"], "Attempts to automatically number this record have failed.  Error: Access Denied (5).");
        EXPECT_EQ(box["buttons"], json({"Retry", "Cancel"}));
        EXPECT_EQ(box["default"], "Cancel");
      }
    });
    EXPECT_EQ(response, 2);
    EXPECT_FALSE(view_.Shown("/P1$QUICKWINDOW"));
    EXPECT_EQ(SysIds(), (std::vector<std::string>{"4"}));
  }
}

// The placeholder deleted by another opener while the form is open: the fill-in fails,
// warning 14, and the form stays with the person's values until it is cancelled.
TEST_F(SysIdNumbering, AFillInThatFailsKeepsTheFormOpen) {
  MakeFile(Encrypt, WithSysIds({1}));
  const LONG response = RunForm(EncryptKind(), kInsert, BrowseInserts(), [&](Person& p) {
    p.Type(6, "Zoe");
    OPEN(Encrypt, 0x42);  // another opener, on the person's thread
    SETkey(ENC_BySysID);
    PREVIOUS(Encrypt);
    ASSERT_EQ(Field(Encrypt, "SYSID"), "2");
    DELETE(Encrypt);
    ASSERT_EQ(RtErrorCode(), 0);
    CLOSE(Encrypt);
    p.Press(13);
    const json box = p.Answer("Record Insert Error", "OK");
    EXPECT_EQ(box["text"], "An error was experienced during the update of record.  Error: Record Not Available (33).");
    const json form = p.Form();
    EXPECT_EQ(form["focus"], 4);
    EXPECT_EQ(p.Shown(6), "Zoe");
    p.Press(14);
    p.FormGone();
  });
  EXPECT_EQ(response, 2);
  EXPECT_EQ(SysIds(), (std::vector<std::string>{"1"}));
}

}  // namespace
}  // namespace qx::formtest
