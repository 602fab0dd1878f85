// The integrity delete and update routines against the four real data files in a
// temporary directory, with another opener on a thread of its own: clean deletes and
// updates, a record deleted or changed by the other opener since it was read, the file's
// lock held by the other opener, a transaction that cannot be framed or committed, and the
// warnings each failure shows. After every routine no transaction is open.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "demo/data_files.h"
#include "demo/integrity_delete.h"
#include "demo/integrity_update.h"
#include "demo/warnings.h"
#include "runtime/store/file.h"
#include "runtime/sys/error_state.h"
#include "tests/demo_files/fixtures.h"
#include "tests/support/program_thread.h"

namespace qx {
namespace testing {
// Failures show a customer by its fields, not its bytes.
void PrintTo(const Customer& c, std::ostream* os) {
  *os << "{" << c.cusid << " '" << c.name << "' '" << c.suburb << "' '" << c.phone << "' " << c.startdate << " '"
      << c.newfield << "' " << c.sysid << "}";
}
}  // namespace testing

namespace {

using testing::Box;
using testing::ExpectBoxes;
using testing::Customer;

constexpr LONG kEx = kIconExclamation;
constexpr LONG kOk = kButtonOk;

// One data file with its two routines.
struct FileCase {
  const char* label;
  FileDecl* file;
  LONG (*remove)();
  LONG (*update)();
  void (*setName)(std::string_view);  // puts a name into the calling thread's record buffer
};

const FileCase kFiles[] = {
    {"Standrd", &Standrd, IntegrityDeleteStandrd, IntegrityUpdateStandrd, [](std::string_view n) { STD().NAME = n; }},
    {"Encrypt", &Encrypt, IntegrityDeleteEncrypt, IntegrityUpdateEncrypt, [](std::string_view n) { ENC().NAME = n; }},
    {"VeryLongName", &VeryLongName, IntegrityDeleteVeryLongName, IntegrityUpdateVeryLongName,
     [](std::string_view n) { VLN().NAME = n; }},
    {"Varname", &Varname, IntegrityDeleteVarname, IntegrityUpdateVarname, [](std::string_view n) { VAR().NAME = n; }},
};
const FileCase& kStandrd = kFiles[0];

// Record pointers of the fixture's records, in the order they were added.
constexpr int64_t kAnn = 1, kBob = 2, kCy = 3;

const std::vector<Customer>& Customers() {
  static const std::vector<Customer> customers = {
      {1, "Ann", "Carlton", "03 1111", 70000, "", "a", 0},
      {2, "Bob", "Fitzroy", "03 2222", 70001, "", "b", 0},
      {3, "Cy", "Kew", "", 0, "", "", 0},
  };
  return customers;
}

// The fixture's records as `file` holds them.
std::vector<Customer> Expected(const FileDecl& file) {
  std::vector<Customer> out;
  for (const Customer& c : Customers()) out.push_back(testing::Project(c, file.layout()));
  return out;
}

Box Warning(std::string text, const char* caption) { return Box{std::move(text), caption, kEx, kOk, kOk}; }

Box Warning17(const std::string& e, const std::string& label) {
  return Warning("An error (" + e + ") was experienced when attempting to delete a record from the file " + label + ".",
                 "Delete Operation Error");
}
Box Warning15(const std::string& e, const std::string& label) {
  return Warning("An error (" + e +
                     ") was experienced when attempting to update a record from the file.  Probable Cause: " + label +
                     ".",
                 "Update Operation Error");
}
Box Warning34(const std::string& e, const std::string& change, const std::string& label) {
  std::string lower = change;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return Warning("Error: (" + e + ") attempting to frame the " + lower + " transaction on " + label + ".  " + change +
                     " transaction cancelled.",
                 "Transaction Framing Error");
}
const Box kWarning38 = Warning(
    "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+' "
    "to recall your changes.",
    "Record Was Not Updated");

class IntegrityTest : public testing::ProgramThreadTest {
 protected:
  IntegrityTest() { ShowWarning(0); }  // nothing kept from before
  ~IntegrityTest() override {
    view_.OnBox(nullptr);
    peer_.Do([] {
      for (const FileCase& c : kFiles) CLOSE(*c.file);
    });
    for (const FileCase& c : kFiles) CLOSE(*c.file);
  }

  // Writes the fixture's records to the file and opens it on this thread as the forms do
  // (42h, or `mode`).
  void Prepare(const FileCase& c, LONG mode = 0x42) {
    ASSERT_EQ(testing::WriteFile(*c.file, Customers()), 0);
    OPEN(*c.file, mode);
    ASSERT_EQ(RtErrorCode(), 0);
  }

  // Reads a record as the browse does before it calls the form: under WATCH.
  static void ReadUnderWatch(FileDecl& file, int64_t record) {
    WATCH(file);
    GETfileptr(file, record);
    ASSERT_EQ(RtErrorCode(), 0);
  }

  // The records another opener reads, in record order: only what is committed.
  std::vector<Customer> Stored(FileDecl& file) {
    std::vector<Customer> out;
    const LONG code = peer_.Do([&] {
      OPEN(file, 0x42);
      if (RtErrorCode() != 0) return;
      SETfile(file);
      for (NEXT(file); RtErrorCode() == 0; NEXT(file)) out.push_back(testing::BufferedCustomer(file));
      CLOSE(file);
    });
    EXPECT_EQ(code, 0) << "the other opener could not read the file";
    return out;
  }

  // The other opener reads the record and changes its name (or, with an empty name,
  // deletes it), outside any transaction.
  void ChangeElsewhere(const FileCase& c, int64_t record, std::string_view name) {
    const LONG code = peer_.Do([&] {
      OPEN(*c.file, 0x42);
      GETfileptr(*c.file, record);
      if (RtErrorCode() != 0) return;
      if (name.empty()) {
        DELETE(*c.file);
      } else {
        c.setName(name);
        PUT(*c.file);
      }
      if (RtErrorCode() != 0) return;
      CLOSE(*c.file);
    });
    ASSERT_EQ(code, 0);
  }

  static void ExpectNoTransaction() {
    ROLLBACK();
    EXPECT_EQ(RtErrorCode(), kLogoutNotActive) << "a transaction was left open";
  }

  testing::TempDir dir_;
  testing::ScopedChdir in_{dir_.path()};
  testing::OtherOpener peer_;
};

TEST_F(IntegrityTest, ACleanUpdateAndDeleteAreCommittedWithoutABox) {
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.label);
    Prepare(c);
    std::vector<Customer> expected = Expected(*c.file);

    ReadUnderWatch(*c.file, kBob);
    c.setName("Bobby");
    EXPECT_EQ(c.update(), kIntegrityDone);
    ExpectNoTransaction();
    expected[1].name = "Bobby";
    EXPECT_EQ(Stored(*c.file), expected);
    EXPECT_EQ(testing::BufferedCustomer(*c.file), expected[1]);
    EXPECT_EQ(SavedPosition.clipped(), POSITIONfile(*c.file)) << "kept, and the record is still current";

    // Still the current record, with its own write noted: a further change is no conflict.
    c.setName("Robert");
    EXPECT_EQ(c.update(), kIntegrityDone);
    expected[1].name = "Robert";

    ReadUnderWatch(*c.file, kCy);
    EXPECT_EQ(c.remove(), kIntegrityDone);
    ExpectNoTransaction();
    expected.pop_back();
    EXPECT_EQ(Stored(*c.file), expected);
    POSITIONfile(*c.file);
    EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "no current record after a delete";

    EXPECT_TRUE(view_.TakeBoxes().empty());
  }
}

TEST_F(IntegrityTest, ARecordDeletedElsewhereSinceItWasReadFailsWithWarning17) {
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.label);
    Prepare(c);
    ReadUnderWatch(*c.file, kBob);
    ChangeElsewhere(c, kBob, "");

    EXPECT_EQ(c.remove(), kIntegrityFailed);
    ExpectBoxes(view_.TakeBoxes(), {Warning17("Record Not Available (33)", c.label)}, c.label);
    ExpectNoTransaction();
    const std::vector<Customer> all = Expected(*c.file);
    EXPECT_EQ(Stored(*c.file), (std::vector<Customer>{all[0], all[2]})) << "the others untouched";
    EXPECT_EQ(SavedErrorCode, 0) << "the warning took the kept error";
  }
}

TEST_F(IntegrityTest, ARecordChangedElsewhereSinceItWasReadIsShownAgainUnderWatch) {
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.label);
    Prepare(c);
    std::vector<Customer> expected = Expected(*c.file);
    ReadUnderWatch(*c.file, kBob);
    ChangeElsewhere(c, kBob, "Theirs");
    expected[1].name = "Theirs";

    c.setName("Mine");
    EXPECT_EQ(c.update(), kIntegrityChangedElsewhere);
    ExpectBoxes(view_.TakeBoxes(), {kWarning38}, c.label);
    ExpectNoTransaction();
    EXPECT_EQ(testing::BufferedCustomer(*c.file), expected[1]) << "the other opener's version in the buffer";
    EXPECT_EQ(Stored(*c.file), expected) << "nothing of ours written";

    // The version shown is read under WATCH: one more change elsewhere is caught again ...
    ChangeElsewhere(c, kBob, "Theirs again");
    expected[1].name = "Theirs again";
    c.setName("Mine again");
    EXPECT_EQ(c.update(), kIntegrityChangedElsewhere);
    EXPECT_EQ(testing::BufferedCustomer(*c.file), expected[1]);
    EXPECT_EQ(Stored(*c.file), expected);
    EXPECT_EQ(view_.TakeBoxes().size(), 1u);

    // ... and without one, writing the version shown succeeds.
    c.setName("Mine at last");
    EXPECT_EQ(c.update(), kIntegrityDone);
    expected[1].name = "Mine at last";
    EXPECT_EQ(Stored(*c.file), expected);
    EXPECT_TRUE(view_.TakeBoxes().empty());
    ExpectNoTransaction();
  }
}

TEST_F(IntegrityTest, AnUpdateOnAnotherThreadDuringWarning38DoesNotRedirectTheReRead) {
  const FileCase& c = kStandrd;
  Prepare(c);
  GETfileptr(*c.file, kAnn);
  const std::string annPosition = POSITIONfile(*c.file);
  ReadUnderWatch(*c.file, kBob);
  const std::string bobPosition = POSITIONfile(*c.file);
  ChangeElsewhere(c, kBob, "Theirs");
  // While the box waits, another browse thread's update takes the program-wide position.
  view_.OnBox([&](const Box&) { SavedPosition = annPosition; });

  c.setName("Mine");
  EXPECT_EQ(c.update(), kIntegrityChangedElsewhere);
  EXPECT_EQ(testing::BufferedCustomer(*c.file).name, "Theirs") << "Bob read again, not Ann";
  EXPECT_EQ(POSITIONfile(*c.file), bobPosition);
  std::vector<Customer> expected = Expected(*c.file);
  expected[1].name = "Theirs";
  c.setName("Mine again");
  EXPECT_EQ(c.update(), kIntegrityDone);
  expected[1].name = "Mine again";
  EXPECT_EQ(Stored(*c.file), expected) << "Ann untouched";
}

TEST_F(IntegrityTest, APutThatFailsOtherwiseShowsWarning15WithTheFile) {
  // Read without WATCH and deleted elsewhere: PUT finds the record gone (33), not changed.
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.label);
    Prepare(c);
    GETfileptr(*c.file, kBob);
    ChangeElsewhere(c, kBob, "");
    c.setName("Mine");
    EXPECT_EQ(c.update(), kIntegrityFailed);
    ExpectBoxes(view_.TakeBoxes(), {Warning15("Record Not Available (33)", c.label)}, c.label);
    ExpectNoTransaction();
    const std::vector<Customer> all = Expected(*c.file);
    EXPECT_EQ(Stored(*c.file), (std::vector<Customer>{all[0], all[2]}));
  }
}

TEST_F(IntegrityTest, ATransactionThatCannotBeFramedShowsWarning34) {
  // Opened without write access (40h), the file cannot take part in a transaction.
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.label);
    Prepare(c, 0x40);
    ReadUnderWatch(*c.file, kBob);
    c.setName("Mine");
    EXPECT_EQ(c.update(), kIntegrityFailed);
    EXPECT_EQ(c.remove(), kIntegrityFailed);
    ExpectBoxes(view_.TakeBoxes(),
                {Warning34("Unable To Log Transaction (48)", "Update", c.label),
                 Warning34("Unable To Log Transaction (48)", "Delete", c.label)},
                c.label);
    ExpectNoTransaction();
    EXPECT_EQ(Stored(*c.file), Expected(*c.file));
  }
}

TEST_F(IntegrityTest, AnotherOpenerHoldingTheLockPastTheWaitCancelsTheChange) {
  const FileCase& c = kStandrd;
  Prepare(c);
  ASSERT_EQ(peer_.Do([&] {
              OPEN(*c.file, 0x42);
              LOGOUT(1, *c.file);
            }),
            0);
  struct Attempt {
    const char* change;
    LONG (*routine)();
  } attempts[] = {{"Update", c.update}, {"Delete", c.remove}};
  for (const Attempt& a : attempts) {
    SCOPED_TRACE(a.change);
    ReadUnderWatch(*c.file, kBob);
    c.setName("Mine");
    EXPECT_EQ(a.routine(), kIntegrityFailed);
    ExpectBoxes(view_.TakeBoxes(), {Warning34("Unable To Log Transaction (48)", a.change, c.label)}, a.change);
    ExpectNoTransaction();
  }
  ASSERT_EQ(peer_.Do([&] {
              ROLLBACK();
              CLOSE(*c.file);
            }),
            0);
  EXPECT_EQ(Stored(*c.file), Expected(*c.file)) << "nothing written";
}

TEST_F(IntegrityTest, ALockReleasedWithinTheWaitIsWaitedFor) {
  const FileCase& c = kStandrd;
  Prepare(c);
  ASSERT_EQ(peer_.Do([&] {
              OPEN(*c.file, 0x42);
              LOGOUT(1, *c.file);
            }),
            0);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    peer_.Do([&] {
      COMMIT();
      CLOSE(*c.file);
    });
  });
  ReadUnderWatch(*c.file, kBob);
  c.setName("Mine");
  const LONG result = c.update();
  release.join();
  EXPECT_EQ(result, kIntegrityDone);
  EXPECT_TRUE(view_.TakeBoxes().empty());
  std::vector<Customer> expected = Expected(*c.file);
  expected[1].name = "Mine";
  EXPECT_EQ(Stored(*c.file), expected);
}

// Another connection to the data file that keeps a read transaction open: it holds the
// file's shared lock, which a commit must wait for, past the store's wait.
class LingeringReader {
 public:
  explicit LingeringReader(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    ok_ = sqlite3_exec(db_, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~LingeringReader() {
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
  }
  bool ok() const { return ok_; }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

TEST_F(IntegrityTest, ACommitThatFailsIsReportedAndNothingChanges) {
  const FileCase& c = kStandrd;
  Prepare(c);
  struct Attempt {
    const char* what;
    LONG (*routine)();
    const char* textEnd;  // the warning's text after E
    const char* caption;
  } attempts[] = {
      {"update", c.update, ") was experienced when attempting to update a record from the file.  Probable Cause: Standrd.",
       "Update Operation Error"},
      {"delete", c.remove, ") was experienced when attempting to delete a record from the file Standrd.",
       "Delete Operation Error"},
  };
  for (const Attempt& a : attempts) {
    SCOPED_TRACE(a.what);
    ReadUnderWatch(*c.file, kBob);
    c.setName("Mine");
    LONG result;
    {
      LingeringReader reader(dir_ / "STANDRD.TPS");
      ASSERT_TRUE(reader.ok());
      result = a.routine();
    }
    EXPECT_EQ(result, kIntegrityFailed) << "reported, not taken for done";
    const std::vector<Box> boxes = view_.TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, a.caption);
    const std::string& text = boxes[0].text;
    const std::string end = a.textEnd;
    ASSERT_GT(text.size(), std::string("An error (").size() + end.size());
    EXPECT_EQ(text.rfind("An error (", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << text;
    EXPECT_EQ(text.find("LOGOUT Not Active"), std::string::npos) << "the commit's error, not the rollback's";
    ExpectNoTransaction();
    EXPECT_EQ(Stored(*c.file), Expected(*c.file));
  }
}

}  // namespace
}  // namespace qx
