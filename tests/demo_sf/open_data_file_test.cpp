// OpenDataFile against real files in a temporary directory: the openings that succeed, the
// lock retry, missing files with and without creation, a layout mismatch, key data to
// rebuild, the failures that end the program, and the open mode of every opening.
#include "demo/open_data_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "demo/warnings.h"
#include "tests/demo_sf/sf_test_support.h"

namespace qx::sftest {
namespace {

constexpr LONG kEx = kIconExclamation;

class OpenDataFileTest : public ProgramThreadTest {
 protected:
  OpenDataFileTest() : name_(dir_ / "CUSTOMER"), file_(MakeCustomers(FileName(name_))) {}
  ~OpenDataFileTest() override {
    peer_.Do([&] { CLOSE(*file_); });
    CLOSE(*file_);
  }

  // The name every warning gives the file.
  std::string Shown() const { return name_ + ".TPS"; }

  // Opens as every caller of the program does.
  std::optional<LONG> OpenAsTheBrowsesDo() {
    return EndCode([&] { OpenDataFile(*file_, 1, 0, 0, 1); });
  }

  // A file whose key data must be rebuilt: records stored with APPEND, which suspends the keys.
  void MakeFileToRebuild(const std::vector<std::pair<LONG, const char*>>& records) {
    CREATE(*file_);
    OPEN(*file_, 0x12);
    for (const auto& [id, name] : records) ASSERT_EQ(AddCustomer(*file_, id, name, true), 0);
    CLOSE(*file_);
    OPEN(*file_, 0x42);
    ASSERT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt) << "the fixture needs a rebuild";
  }

  // The names read in CUS:ByName order on this thread's open instance.
  std::vector<std::string> NamesInKeyOrder() {
    std::vector<std::string> names;
    SETkey(file_->key(0));
    for (NEXT(*file_); RtErrorCode() == 0; NEXT(*file_)) names.emplace_back(file_->Record<Customer>().NAME.clipped());
    return names;
  }

  // The code another opener gets when it opens the file with 42h (and closes it again).
  LONG PeerSharedOpen() {
    return peer_.Do([&] {
      OPEN(*file_, 0x42);
      if (RtErrorCode() == 0) {
        CLOSE(*file_);
        RtClearError();
      }
    });
  }

  TempDir dir_;
  std::string name_;
  std::unique_ptr<FileDecl> file_;
  OtherOpener peer_;
};

TEST_F(OpenDataFileTest, AnOpenableFileOpensWithoutABox) {
  CREATE(*file_);
  EXPECT_FALSE(OpenAsTheBrowsesDo());
  EXPECT_EQ(AddCustomer(*file_, 1, "Ann"), 0) << "open for writing";
  EXPECT_FALSE(OpenAsTheBrowsesDo()) << "52 File Already Open counts as success";
  EXPECT_TRUE(view_.TakeBoxes().empty());
  CLOSE(*file_);
  EXPECT_EQ(RtErrorCode(), 0) << "still open after the second call";
}

TEST_F(OpenDataFileTest, ALockThatEndsDuringTheRetryIsWaitedFor) {
  CREATE(*file_);
  ASSERT_EQ(peer_.Do([&] {
              OPEN(*file_, 0x42);
              LOCK(*file_);
            }),
            0);
  // The first OPEN finds the file held; the holder lets go while the second one waits.
  // It holds the file for 6 seconds: longer than an OPEN waits of itself (1 s) and than
  // the store's ordinary wait (5 s), shorter than the 10 s that "Recover=10" grants the
  // second OPEN, so only that option lets the file open.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::seconds(6));
    peer_.Do([&] { UNLOCK(*file_); });
  });
  const auto ended = OpenAsTheBrowsesDo();
  release.join();
  EXPECT_FALSE(ended);
  EXPECT_TRUE(view_.TakeBoxes().empty());
  EXPECT_EQ(AddCustomer(*file_, 1, "Ann"), 0) << "the file is open";
}

TEST_F(OpenDataFileTest, AFileStillLockedAfterTheRetryEndsTheProgram) {
  CREATE(*file_);
  ASSERT_EQ(peer_.Do([&] {
              OPEN(*file_, 0x42);
              LOCK(*file_);
            }),
            0);
  EXPECT_EQ(OpenAsTheBrowsesDo(), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(),
              {{"File (" + Shown() + ") could not be opened.  Error: File Is Already Locked (32).", "File Access Error",
                kEx, kButtonOk, kButtonOk},
               HaltBox("Disk Error")},
              "locked twice");
}

TEST_F(OpenDataFileTest, MissingFile) {
  struct Case {
    const char* what;
    BYTE createAllowed, missingIsError;
    bool created;
    std::vector<Box> boxes;
  };
  const Box creationError{"Error: (File Not Found (2)) creating " + Shown() + ".  Press OK to end this application.",
                          "File Creation Error", kEx, kButtonOk, kButtonOk};
  const Box accessError{"File (" + Shown() + ") could not be opened.  Error: File Not Found (2).", "File Access Error",
                        kEx, kButtonOk, kButtonOk};
  const Case cases[] = {
      {"creation allowed", 1, 0, true, {}},
      {"creation not allowed", 0, 0, false, {creationError, HaltBox("File Creation Error!")}},
      {"only 1 allows creation", 2, 0, false, {creationError, HaltBox("File Creation Error!")}},
      {"missing is an error, whatever creation says", 1, 1, false, {accessError, HaltBox("Disk Error")}},
      {"missing is an error without creation", 0, 1, false, {accessError, HaltBox("Disk Error")}},
  };
  for (const Case& c : cases) {
    CLOSE(*file_);
    std::filesystem::remove(Shown());
    view_.TakeBoxes();
    const auto ended = EndCode([&] { OpenDataFile(*file_, c.createAllowed, c.missingIsError, 0, 1); });
    EXPECT_EQ(ended, c.boxes.empty() ? std::nullopt : std::optional<LONG>(0)) << c.what;
    ExpectBoxes(view_.TakeBoxes(), c.boxes, c.what);
    EXPECT_EQ(std::filesystem::exists(Shown()), c.created) << c.what;
    if (c.created) {
      EXPECT_EQ(NamesInKeyOrder(), std::vector<std::string>{}) << c.what << ": open and empty";
      EXPECT_EQ(AddCustomer(*file_, 1, "Ann"), 0) << c.what << ": in the declared layout";
    }
  }
}

TEST_F(OpenDataFileTest, AMissingFileThatCannotBeCreatedEndsTheProgram) {
  auto uncreatable = MakeCustomers(FileName(name_), CustomerKeys(), /*create=*/false);
  EXPECT_EQ(EndCode([&] { OpenDataFile(*uncreatable, 1, 0, 0, 1); }), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(),
              {{"Error: (No Create Attribute (54)) creating " + Shown() + ".  Press OK to end this application.",
                "File Creation Error", kEx, kButtonOk, kButtonOk},
               HaltBox("File Creation Error!")},
              "the error of CREATE");
}

TEST_F(OpenDataFileTest, ACreatedFileThatCannotBeOpenedEndsTheProgram) {
  // The declared name is a variable read at every use: it names the file until the file
  // exists, then a place in a directory that does not exist.
  const std::string elsewhere = dir_ / "gone/CUSTOMER";
  auto moving = MakeCustomers(FileName(std::function<std::string()>(
      [&] { return std::filesystem::exists(Shown()) ? elsewhere : name_; })));
  EXPECT_EQ(EndCode([&] { OpenDataFile(*moving, 1, 0, 0, 1); }), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(),
              {{"Error: (Path Not Found (3)) opening created file:" + elsewhere +
                    ".TPS.  Press OK to end this application.",
                "File Creation Error", kEx, kButtonOk, kButtonOk},
               HaltBox("File Creation Error!")},
              "the error of the OPEN after CREATE");
  EXPECT_TRUE(std::filesystem::exists(Shown())) << "the created file stays";
}

TEST_F(OpenDataFileTest, ALayoutMismatchEndsTheProgram) {
  auto older = MakeCustomers(FileName(name_), {MakeKey("CUS:ByName", {"CUS:NAME"}, true)});
  CREATE(*older);
  ASSERT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(OpenAsTheBrowsesDo(), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(),
              {{"Error: (Invalid Record Declaration (47)) accessing " + Shown() + ".  Press OK to end this application.",
                "Invalid File", kEx, kButtonOk, kButtonOk},
               HaltBox("Invalid File!")},
              "47");
}

Box RebuildQuestion(const std::string& shown) {
  return {shown + " key file is invalid.  Do you want to rebuild the key?", "Invalid Key", kIconQuestion,
          kButtonYes + kButtonNo, kButtonYes};
}

TEST_F(OpenDataFileTest, KeyDataRebuiltAfterYes) {
  MakeFileToRebuild({{2, "Zoe"}, {1, "Ann"}});
  view_.AnswerBoxes({kButtonYes});
  EXPECT_FALSE(OpenAsTheBrowsesDo());
  ExpectBoxes(view_.TakeBoxes(), {RebuildQuestion(Shown())}, "46 answered Yes");
  EXPECT_EQ(NamesInKeyOrder(), (std::vector<std::string>{"Ann", "Zoe"})) << "open, and its keys work";
}

TEST_F(OpenDataFileTest, KeyDataNotRebuiltAfterNo) {
  MakeFileToRebuild({{1, "Ann"}});
  view_.AnswerBoxes({kButtonNo});
  EXPECT_EQ(OpenAsTheBrowsesDo(), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(), {RebuildQuestion(Shown()), HaltBox("Invalid Key!")}, "46 answered No");
  OPEN(*file_, 0x42);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt) << "nothing was rebuilt";
}

TEST_F(OpenDataFileTest, AFailedRebuildEndsTheProgram) {
  MakeFileToRebuild({{1, "Ann"}, {1, "Bob"}});  // the same ID twice in a key without duplicates
  EXPECT_EQ(OpenAsTheBrowsesDo(), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(),
              {RebuildQuestion(Shown()),
               {"Error: (Creates Duplicate Key (40)) repairing key for " + Shown() +
                    ".  Press OK to end this application.",
                "Key Rebuild Error", kEx, kButtonOk, kButtonOk},
               HaltBox("Error Rebuilding Key!")},
              "rebuild failing");
}

TEST_F(OpenDataFileTest, AFailedOpeningAfterTheRebuildEndsTheProgram) {
  MakeFileToRebuild({{1, "Ann"}});
  // The declared name is a variable: once the rebuild has read it, it names a place in a
  // directory that does not exist.
  const std::string elsewhere = dir_ / "gone/CUSTOMER";
  int readsAfterYes = -1;
  view_.OnBox([&](const Box& b) {
    if (b.caption == "Invalid Key") readsAfterYes = 0;
  });
  auto moving = MakeCustomers(FileName(std::function<std::string()>([&] {
    return readsAfterYes < 0 || readsAfterYes++ == 0 ? name_ : elsewhere;
  })));
  EXPECT_EQ(EndCode([&] { OpenDataFile(*moving, 1, 0, 0, 1); }), std::optional<LONG>(0));
  ExpectBoxes(view_.TakeBoxes(),
              {RebuildQuestion(Shown()),
               {"File (" + elsewhere + ".TPS) could not be opened.  Error: Path Not Found (3).", "File Access Error", kEx,
                kButtonOk, kButtonOk},
               HaltBox("Disk Error")},
              "reopening failing");
  view_.OnBox(nullptr);
  OPEN(*file_, 0x42);
  EXPECT_EQ(RtErrorCode(), 0) << "the rebuild itself was done";
}

TEST_F(OpenDataFileTest, OtherFailuresAreReportedAndEndTheProgram) {
  struct Case {
    const char* what;
    std::function<void()> make;
    std::string e;
  } cases[] = {
      {"another opener denies all",
       [&] {
         CREATE(*file_);
         peer_.Do([&] { OPEN(*file_, 0x12); });
       },
       "Access Denied (5)"},
      {"not a data file",
       [&] { std::ofstream(Shown()) << "this is not a data file"; },
       "Invalid Data File (36)"},
      {"a damaged file: the driver's message and code",
       [&] {
         CREATE(*file_);
         ASSERT_EQ(::truncate(Shown().c_str(), 60), 0);
       },
       "the file is shorter than its header says: it is damaged (qx)"},
  };
  for (const Case& c : cases) {
    peer_.Do([&] { CLOSE(*file_); });
    std::filesystem::remove(Shown());
    c.make();
    view_.TakeBoxes();
    EXPECT_EQ(OpenAsTheBrowsesDo(), std::optional<LONG>(0)) << c.what;
    ExpectBoxes(view_.TakeBoxes(),
                {{"File (" + Shown() + ") could not be opened.  Error: " + c.e + ".", "File Access Error", kEx,
                  kButtonOk, kButtonOk},
                 HaltBox("Disk Error")},
                c.what);
  }
}

TEST_F(OpenDataFileTest, EveryOpeningUsesTheSameMode) {
  // With SharedAccess 0 the given mode (22h: others may only read) is used, also after
  // CREATE and after BUILDfile; otherwise 42h, whatever the given mode says. Another
  // opener that wants to write tells them apart.
  struct Case {
    const char* what;
    BYTE sharedAccess;
    bool missing;  // else a file whose key data must be rebuilt
    LONG peer;
  } cases[] = {
      {"22h after CREATE", 0, true, kAccessDenied},
      {"22h after BUILDfile", 0, false, kAccessDenied},
      {"42h after CREATE", 1, true, 0},
      {"42h after BUILDfile", 1, false, 0},
  };
  for (const Case& c : cases) {
    CLOSE(*file_);
    std::filesystem::remove(Shown());
    if (!c.missing) MakeFileToRebuild({{1, "Ann"}});
    view_.TakeBoxes();
    view_.AnswerBoxes({kButtonYes});
    EXPECT_FALSE(EndCode([&] { OpenDataFile(*file_, 1, 0, 0x22, c.sharedAccess); })) << c.what;
    EXPECT_EQ(view_.TakeBoxes().size(), c.missing ? 0u : 1u) << c.what;
    EXPECT_EQ(PeerSharedOpen(), c.peer) << c.what;
  }
  CLOSE(*file_);
  CREATE(*file_);
  EXPECT_FALSE(EndCode([&] { OpenDataFile(*file_, 1, 0, 0x22, 0); }));
  EXPECT_EQ(PeerSharedOpen(), kAccessDenied) << "22h at the first opening";
}

}  // namespace
}  // namespace qx::sftest
