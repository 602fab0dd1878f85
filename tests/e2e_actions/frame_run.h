// Starting the real qxmora for the tests of its frame actions, and what those tests look
// at: the frame's toolbar, the browse windows, the program's current directory, the
// programs it has started, and the demonstration files the reset restores.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/demo_files/fixtures.h"
#include "tests/harness/harness.h"

namespace qx::testing {

using nlohmann::json;

inline constexpr const char* kFrame = "P1$APPFRAME";

// The browse windows' titles, by the Browse menu item that starts them.
struct BrowseItem {
  const char* item;
  const char* title;
};
inline constexpr BrowseItem kBrowseItems[] = {
    {"BrowseStandrdItem", "Browse Standard File"},
    {"BrowseEncryptItem", "Browse Encrypted File"},
    {"BrowseVeryLongNameItem", "Browse Very-Long-Named File"},
    {"BrowseVarnameItem", "Browse Named with Variable File"},
};

// The old-layout demonstration files of the reset: their name in the start directory, in
// Data and in Orig, and the layout they have.
struct DemonstrationFile {
  const char* name;
  OldFile old;
};
inline constexpr DemonstrationFile kDemonstrationFiles[] = {
    {"Encrypt.TPS", OldFile::kEncrypt},
    {"Standrd.TPS", OldFile::kStandrd},
    {"Var.TPS", OldFile::kVarname},
    {"VeryLong.TPS", OldFile::kVeryLong},
};

// One run of qxmora. The run has a configuration directory of its own, in which the qxshift
// that the convert action starts keeps "qxshift.INI".
class FrameRun {
 public:
  // Starts `binary` (the real qxmora unless told otherwise) headless with the automation
  // channel and waits until its frame takes input. Nothing, with a test failure, when it
  // does not come up.
  static std::unique_ptr<FrameRun> Start(ProgramRun::Options options = {}, const std::string& binary = QXMORA_PATH);
  // The same, with the program started in `start` rather than in the harness's fresh
  // directory.
  static std::unique_ptr<FrameRun> StartIn(const std::string& start, ProgramRun::Options options = {});

  ProgramRun& run() { return *run_; }
  // The working directory the program was started in, every component as the file
  // system spells it.
  const std::string& directory() const { return start_; }
  std::string Ini() const { return config_ / "qxshift.INI"; }

  // A person's acts on the frame; each returns the channel's reply.
  json Press(const std::string& button);
  json Choose(const std::string& item);
  // Chooses `item` of the Browse menu and waits for one more window titled `title`;
  // returns it, or null.
  json OpenBrowse(const BrowseItem& item);

  // The working directory as the toolbar shows it.
  std::string Toolbar();
  // Waits until the toolbar shows `directory` (10 s at most).
  bool UntilToolbar(const std::string& directory);
  // The open MDI child windows (the browses and their forms), in opening order.
  std::vector<json> ChildWindows();
  // Polls the windows until `holds` is true of the open MDI children (10 s at most).
  bool UntilChildren(const std::function<bool(const std::vector<json>&)>& holds);
  // The program's current directory, as the system has it.
  std::string CurrentDirectory() const;
  // The processes the program has started that have not ended (or not been reaped).
  std::vector<pid_t> Children() const;
  // Waits until the program has no child process left (30 s at most).
  bool UntilNoChildren() const;
  // Waits until the real qxshift has run to its end, which it marks by writing its INI
  // file, and has ended by itself (30 s at most).
  bool UntilConverterEnded() const;

 private:
  FrameRun() = default;
  // Starts `binary` in the harness's directory, or `start` when it is not empty; false,
  // with a test failure, when the frame does not come up.
  bool Launch(ProgramRun::Options options, const std::string& binary, const std::string& start);
  TempDir config_, tools_;
  std::unique_ptr<ProgramRun> run_;
  std::string start_;
};

// Makes `start`/Orig and writes the four old-layout demonstration files into it, holding
// `customers`.
void WriteOrig(const std::string& start, const std::vector<Customer>& customers);

// A data file of today's layout of `decl`, holding `customers`: its name as the store
// creates it ("STANDRD.TPS") and its bytes, to be put into a working directory.
std::pair<std::string, std::string> CurrentFile(FileDecl& decl, const std::vector<Customer>& customers);

}  // namespace qx::testing
