// Two processes on one data file: access modes, a transaction holding another process's
// LOGOUT, WATCH and 89 across processes, and a process killed inside a transaction.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

// The helper process, spoken to line by line over pipes.
class Peer {
 public:
  explicit Peer(const std::string& fileName) {
    int toPeer[2], fromPeer[2];
    if (::pipe(toPeer) != 0 || ::pipe(fromPeer) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(toPeer[0], 0);
      ::dup2(fromPeer[1], 1);
      ::close(toPeer[1]);
      ::close(fromPeer[0]);
      ::execl(STORE_PEER_PATH, "store_peer", fileName.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(toPeer[0]);
    ::close(fromPeer[1]);
    in_ = ::fdopen(toPeer[1], "w");
    out_ = ::fdopen(fromPeer[0], "r");
  }
  ~Peer() {
    if (in_) std::fclose(in_);
    if (out_) std::fclose(out_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  // Sends a command and returns its answer line ("code [text]").
  std::string Say(const std::string& command) {
    std::fprintf(in_, "%s\n", command.c_str());
    std::fflush(in_);
    char buf[1024];
    if (!std::fgets(buf, sizeof buf, out_)) return "<no answer>";
    std::string s(buf);
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
  }
  void Kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* in_ = nullptr;
  FILE* out_ = nullptr;
};

class ProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_ = MakeStandrd(dir_ / "STANDRD");
    CREATE(*f_);
    ASSERT_EQ(RtErrorCode(), 0);
  }
  TempDir dir_;
  std::unique_ptr<FileDecl> f_;
};

TEST_F(ProcessesTest, AccessModesBetweenProcesses) {
  struct Case {
    const char* peer;
    LONG mine;
    LONG code;
  };
  const Case cases[] = {
      {"42", 0x42, 0}, {"22", 0x42, kAccessDenied}, {"42", 0x22, kAccessDenied}, {"22", 0x40, 0},
  };
  for (const auto& c : cases) {
    Peer peer(dir_ / "STANDRD");
    ASSERT_EQ(peer.Say(std::string("open ") + c.peer), "0");
    OPEN(*f_, c.mine);
    EXPECT_EQ(RtErrorCode(), c.code) << c.peer << " against " << std::hex << c.mine;
    if (RtErrorCode() == 0) CLOSE(*f_);
  }
  // A process that dies takes its share locks with it.
  Peer peer(dir_ / "STANDRD");
  ASSERT_EQ(peer.Say("open 12"), "0");
  OPEN(*f_, 0x42);
  EXPECT_EQ(RtErrorCode(), kAccessDenied);
  peer.Kill();
  OPEN(*f_, 0x42);
  EXPECT_EQ(RtErrorCode(), 0);
  CLOSE(*f_);
}

TEST_F(ProcessesTest, AnotherProcessesTransactionHoldsLogoutPastItsWait) {
  Peer peer(dir_ / "STANDRD");
  ASSERT_EQ(peer.Say("open 42"), "0");
  ASSERT_EQ(peer.Say("logout 2"), "0");
  ASSERT_EQ(peer.Say("add 1 Theirs"), "0");
  OPEN(*f_, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  LOGOUT(2, *f_);
  EXPECT_EQ(RtErrorCode(), kUnableToLogTransaction);
  SETfile(*f_);
  NEXT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "the uncommitted record is not seen";
  ASSERT_EQ(peer.Say("commit"), "0");
  LOGOUT(2, *f_);
  EXPECT_EQ(RtErrorCode(), 0);
  ROLLBACK();
  CLOSE(*f_);
}

TEST_F(ProcessesTest, WatchedPutAfterAnotherProcessChangedTheRecordIs89) {
  OPEN(*f_, 0x42);
  AddStandrd(*f_, 1, "Mine");
  const std::string pos = POSITIONfile(*f_);
  WATCH(*f_);
  REGETfile(*f_, pos);

  Peer peer(dir_ / "STANDRD");
  ASSERT_EQ(peer.Say("open 42"), "0");
  ASSERT_EQ(peer.Say("reget " + pos), "0");
  ASSERT_EQ(peer.Say("put Theirs"), "0");

  f_->Record<StandrdRecord>().NAME = "Changed";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordChanged);
  EXPECT_EQ(peer.Say("first"), "0 1 Theirs") << "nothing written by the failed PUT";
  CLOSE(*f_);
}

TEST_F(ProcessesTest, AProcessKilledInsideATransactionLeavesTheFileWhole) {
  OPEN(*f_, 0x42);
  AddStandrd(*f_, 1, "Kept");
  CLOSE(*f_);
  {
    Peer peer(dir_ / "STANDRD");
    ASSERT_EQ(peer.Say("open 42"), "0");
    ASSERT_EQ(peer.Say("logout 2"), "0");
    ASSERT_EQ(peer.Say("first"), "0 1 Kept");
    ASSERT_EQ(peer.Say("put Changed"), "0");
    for (int i = 0; i < 200; ++i) ASSERT_EQ(peer.Say("add " + std::to_string(i + 2) + " Half"), "0");
    peer.Kill();
  }
  OPEN(*f_, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  SETfile(*f_);
  const auto ids = ReadAll(*f_, [&] { NEXT(*f_); });
  EXPECT_EQ(ids, std::vector<LONG>{1});
  SETfile(*f_);
  NEXT(*f_);
  EXPECT_EQ(f_->Record<StandrdRecord>().NAME.clipped(), "Kept");
  CLOSE(*f_);
  EXPECT_EQ(dir_.Names(), std::vector<std::string>{"STANDRD.TPS"}) << "the journal was rolled back and removed";
}

}  // namespace
}  // namespace qx::testing
