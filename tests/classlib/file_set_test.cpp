// qxshift's file set on the class library: each file manager's keys in their order with
// components that refer into the file's record buffer, the auto-number flag, the "%File"
// name (for Varname the current value of VarnameFileName), the references and the
// library's list of file managers, and that building and tearing the set down touches no
// data file.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "classlib/message_table.h"
#include "converter/file_set.h"
#include "converter/program_module.h"
#include "demo/data_files.h"
#include "tests/demo_files/fixtures.h"
#include "tests/support/program_thread.h"

namespace qx {
namespace {

using testing::OldFile;

class FileSetTest : public testing::ProgramThreadTest {
 protected:
  FileSetTest() : in_(dir_.path()) {
    ProgramModuleInit(0);
    ProgramErrors.Init();
  }
  ~FileSetTest() override {
    ProgramErrors.Shutdown();
    ProgramModuleInit(1);
  }

  testing::TempDir dir_;

 private:
  testing::ScopedChdir in_;
};

struct ExpectedManager {
  FileManager& manager;
  FileDecl& file;
  FileManager*& fileRef;
  RelationManager& relation;
  RelationManager*& relationRef;
  const char* name;  // "%File"
  size_t length;
  // Per key, in order: its name and its components as registered.
  std::vector<std::pair<const char*, std::vector<const char*>>> keys;
  BYTE hasAutoInc;
};

std::vector<ExpectedManager> Expected() {
  return {
      {StandrdFileManager, Standrd, StandrdFileManagerRef, StandrdRelationManager, StandrdRelationManagerRef,
       "Standrd", 44,
       {{"STD:ByName", {"UPPER(STD:NAME)"}}, {"STD:ByID", {"STD:CUSID"}}}, 0},
      {EncryptFileManager, Encrypt, EncryptFileManagerRef, EncryptRelationManager, EncryptRelationManagerRef,
       "Encrypt", 72,
       {{"ENC:ByName", {"UPPER(ENC:NAME)"}},
        {"ENC:ByPhone", {"UPPER(ENC:PHONE)"}},
        {"ENC:BySuburb", {"UPPER(ENC:SUBURB)"}},
        {"ENC:ByID", {"ENC:CUSID"}},
        {"ENC:BySysID", {"ENC:SYSID"}}},
       1},
      {VeryLongNameFileManager, VeryLongName, VeryLongNameFileManagerRef, VeryLongNameRelationManager,
       VeryLongNameRelationManagerRef, "VeryLongName", 88, {{"VLN:ByName", {"UPPER(VLN:NAME)"}}}, 0},
      {VarnameFileManager, Varname, VarnameFileManagerRef, VarnameRelationManager, VarnameRelationManagerRef,
       "variable.tps", 44,
       {{"VAR:ByName", {"UPPER(VAR:NAME)"}},
        {"VAR:BySuburb", {"UPPER(VAR:SUBURB)"}},
        {"VAR:ByID", {"VAR:CUSID"}},
        {"VAR:ByNameSuburb", {"UPPER(VAR:NAME)", "UPPER(VAR:SUBURB)"}},
        {"VAR:ByCusIDName", {"VAR:CUSID", "UPPER(VAR:NAME)"}},
        {"VAR:ByCusIDNameSuburb", {"VAR:CUSID", "UPPER(VAR:NAME)", "UPPER(VAR:SUBURB)"}}},
       0},
  };
}

TEST_F(FileSetTest, EachFileManagerHoldsItsKeysInOrderOverItsRecordBuffer) {
  FileSetInit();
  for (const ExpectedManager& e : Expected()) {
    SCOPED_TRACE(e.file.label());
    const FileManager& m = e.manager;
    EXPECT_EQ(m.FILE, &e.file);
    EXPECT_EQ(m.ERRORS, &ProgramErrors);
    EXPECT_EQ(m.BUFFER.address, e.file.RecordBuffer());
    EXPECT_EQ(m.BUFFER.length, e.length);
    EXPECT_EQ(m.CREATE, 1);
    EXPECT_EQ(m.LOCKRECOVER, 10);
    EXPECT_EQ(m.OPENMODE, 0x42);
    EXPECT_EQ(m.LAZYOPEN, 1);
    EXPECT_EQ(m.HASAUTOINC, e.hasAutoInc);
    ASSERT_TRUE(m.KEYS);
    ASSERT_EQ(m.KEYS->size(), e.keys.size());
    for (size_t k = 0; k < e.keys.size(); ++k) {
      const KeyDescription& d = m.KEYS->at(k);
      SCOPED_TRACE(e.keys[k].first);
      EXPECT_EQ(d.DESCRIPTION.clipped(), e.keys[k].first);
      EXPECT_EQ(d.KEY, &e.file.key(k));
      EXPECT_EQ(d.AUTOINC, std::string_view(e.keys[k].first) == "ENC:BySysID" ? 1 : 0);
      EXPECT_EQ(d.DUPS, 1);
      EXPECT_EQ(d.NOCASE, 1);
      ASSERT_EQ(d.FIELDS.size(), e.keys[k].second.size());
      for (size_t c = 0; c < d.FIELDS.size(); ++c) {
        EXPECT_EQ(d.FIELDS[c].NAME, e.keys[k].second[c]);
        // The component is the field itself, inside this file's record buffer.
        const std::string field = e.file.key(k).def().components[c];
        const FieldDef& f = e.file.layout().fields()[static_cast<size_t>(e.file.layout().FindField(field))];
        EXPECT_EQ(d.FIELDS[c].FIELD.address, e.file.RecordBuffer() + f.offset) << field;
        EXPECT_EQ(d.FIELDS[c].FIELD.width, f.width);
      }
    }
  }
  FileSetShutdown();
}

TEST_F(FileSetTest, TheFileNameOfVarnameFollowsItsVariable) {
  FileSetInit();
  for (const ExpectedManager& e : Expected()) EXPECT_EQ(e.manager.GetName(), e.name);
  EXPECT_EQ(VarnameFileManager.FILENAMEVALUE.clipped(), "variable.tps") << "as Init read it";
  EXPECT_EQ(VeryLongNameFileManager.FILENAMEVALUE.clipped(), "VeryLongName") << "the label, not VERYLONG";

  ProgramErrors.AddMessages(EncodeMessageTable({{900, kLevelNotify, "About", "File %File"}}));
  const STRING<256> saved = VarnameFileName;
  VarnameFileName = "renamed.tps";
  EXPECT_EQ(VarnameFileManager.GetName(), "renamed.tps");
  EXPECT_EQ(VarnameFileManager.Throw(900), kLevelNotify);
  EXPECT_EQ(VeryLongNameFileManager.Throw(900), kLevelNotify);
  VarnameFileName = saved;
  const std::vector<testing::Box> boxes = view_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "File renamed.tps");
  EXPECT_EQ(boxes[1].text, "File VeryLongName");
  FileSetShutdown();
}

TEST_F(FileSetTest, ReferencesAndTheListOfFileManagersFollowTheSetsLife) {
  const std::vector<ExpectedManager> expected = Expected();
  for (const ExpectedManager& e : expected) {
    EXPECT_EQ(e.fileRef, nullptr);
    EXPECT_EQ(e.relationRef, nullptr);
  }
  FileSetInit();
  std::vector<FileManager*> inOrder;
  for (const ExpectedManager& e : expected) {
    SCOPED_TRACE(e.file.label());
    inOrder.push_back(&e.manager);
    EXPECT_EQ(e.fileRef, &e.manager);
    EXPECT_EQ(e.relationRef, &e.relation);
    EXPECT_EQ(e.relation.ME, &e.manager);
    EXPECT_EQ(e.relation.USELOGOUT, 1);
    ASSERT_TRUE(e.relation.RELATIONS);
    EXPECT_TRUE(e.relation.RELATIONS->empty());
  }
  EXPECT_EQ(FileManagers(), inOrder);

  FileSetShutdown();
  EXPECT_TRUE(FileManagers().empty());
  for (const ExpectedManager& e : expected) {
    SCOPED_TRACE(e.file.label());
    EXPECT_EQ(e.fileRef, nullptr);
    EXPECT_EQ(e.relationRef, nullptr);
    EXPECT_FALSE(e.manager.KEYS);
    EXPECT_FALSE(e.relation.RELATIONS);
  }
}

// Every inotify event on a directory's entries while it lives ("OPEN STANDRD.TPS" ...).
class EntryWatch {
 public:
  explicit EntryWatch(const std::string& dir) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, dir.c_str(), IN_ALL_EVENTS);
  }
  ~EntryWatch() { ::close(fd_); }
  EntryWatch(const EntryWatch&) = delete;
  EntryWatch& operator=(const EntryWatch&) = delete;
  std::vector<std::string> Events() {
    std::vector<std::string> out;
    alignas(inotify_event) char buf[8192];
    for (ssize_t n; (n = ::read(fd_, buf, sizeof buf)) > 0;) {
      for (char* p = buf; p < buf + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        if (e->len > 0) out.push_back(std::to_string(e->mask) + " " + e->name);
        p += sizeof(inotify_event) + e->len;
      }
    }
    return out;
  }

 private:
  int fd_;
};

TEST_F(FileSetTest, BuildingAndTearingDownTouchesNoDataFile) {
  struct Case {
    const char* what;
    bool filesThere;
  } cases[] = {{"all four missing", false}, {"old files there, one held by another opener", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir dir;
    testing::ScopedChdir in(dir.path());
    std::unique_ptr<FileDecl> holder;
    if (c.filesThere) {
      for (OldFile kind : testing::kAllOldFiles) {
        ASSERT_EQ(testing::WriteOldFile(kind, dir / testing::DemoFileName(kind), testing::SampleCustomers()), 0);
      }
      holder = testing::OldDecl(OldFile::kStandrd, dir / "Standrd.TPS");
      OPEN(*holder, 0x42);
      LOCK(*holder);
      ASSERT_EQ(RtErrorCode(), 0);
    }
    const std::vector<std::string> before = testing::Names(dir.path());
    EntryWatch watch(dir.path());
    FileSetInit();
    FileSetShutdown();
    EXPECT_TRUE(watch.Events().empty()) << ::testing::PrintToString(watch.Events());
    if (holder) CLOSE(*holder);
    EXPECT_EQ(testing::Names(dir.path()), before);
  }
}

}  // namespace
}  // namespace qx
