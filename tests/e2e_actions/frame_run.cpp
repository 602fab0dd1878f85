// Running qxmora for the action tests; see frame_run.h.
#include "tests/e2e_actions/frame_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace qx::testing {

namespace {

// Starts $QX_TEST_PROGRAM in $QX_TEST_START, with the environment it was given.
const char kLauncher[] = "#!/bin/sh\ncd \"$QX_TEST_START\" && exec \"$QX_TEST_PROGRAM\"\n";

}  // namespace

std::unique_ptr<FrameRun> FrameRun::Start(ProgramRun::Options options, const std::string& binary) {
  std::unique_ptr<FrameRun> frame(new FrameRun);
  return frame->Launch(std::move(options), binary, "") ? std::move(frame) : nullptr;
}

std::unique_ptr<FrameRun> FrameRun::StartIn(const std::string& start, ProgramRun::Options options) {
  std::unique_ptr<FrameRun> frame(new FrameRun);
  const std::string launcher = frame->tools_ / "launch";
  WriteBytes(launcher, kLauncher);
  ::chmod(launcher.c_str(), 0755);
  options.env.push_back({"QX_TEST_START", start});
  options.env.push_back({"QX_TEST_PROGRAM", QXMORA_PATH});
  return frame->Launch(std::move(options), launcher, start) ? std::move(frame) : nullptr;
}

bool FrameRun::Launch(ProgramRun::Options options, const std::string& binary, const std::string& start) {
  options.env.push_back({"XDG_CONFIG_HOME", config_.path()});
  std::string error;
  run_ = ProgramRun::Start(binary, options, &error);
  if (!run_) {
    ADD_FAILURE() << error;
    return false;
  }
  start_ = std::filesystem::canonical(start.empty() ? run_->directory() : start).string();
  if (run_->WaitFor({{"takes_input", kFrame}}).is_null()) {
    ADD_FAILURE() << "the frame did not come up: " << run_->Stderr();
    return false;
  }
  return true;
}

json FrameRun::Press(const std::string& button) {
  return run_->Request({{"op", "press"}, {"window", kFrame}, {"control", button}});
}

json FrameRun::Choose(const std::string& item) {
  return run_->Request({{"op", "menu"}, {"window", kFrame}, {"item", item}});
}

json FrameRun::OpenBrowse(const BrowseItem& item) {
  std::vector<LONG> before;
  for (const json& w : ChildWindows()) before.push_back(w["id"]);
  if (!Ok(Choose(item.item))) return nullptr;
  json opened;
  UntilChildren([&](const std::vector<json>& children) {
    for (const json& w : children) {
      if (w["title"] == item.title && std::find(before.begin(), before.end(), w["id"].get<LONG>()) == before.end()) {
        opened = w;
        return true;
      }
    }
    return false;
  });
  return opened;
}

std::string FrameRun::Toolbar() {
  const json text = Control(run_->Window(kFrame), "WorkingDirString")["text"];
  return text.is_string() ? text.get<std::string>() : std::string();
}

bool FrameRun::UntilToolbar(const std::string& directory) {
  return !run_->WaitFor({{"text", {{"window", kFrame}, {"control", "WorkingDirString"}, {"equals", directory}}}}).is_null();
}

std::vector<json> FrameRun::ChildWindows() {
  std::vector<json> out;
  const json reply = run_->Request({{"op", "windows"}});
  for (const json& w : reply.value("windows", json::array())) {
    if (w["kind"] == "mdi") out.push_back(w);
  }
  return out;
}

bool FrameRun::UntilChildren(const std::function<bool(const std::vector<json>&)>& holds) {
  for (int i = 0; i < 500; ++i) {
    if (holds(ChildWindows())) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

std::string FrameRun::CurrentDirectory() const {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/" + std::to_string(run_->pid()) + "/cwd", ec).string();
}

std::vector<pid_t> FrameRun::Children() const {
  std::vector<pid_t> out;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    std::ifstream in(entry.path() / "stat");
    std::string line;
    if (!std::getline(in, line)) continue;
    // "pid (comm) state ppid ...": the name may hold blanks and parentheses.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 1));
    std::string state;
    pid_t parent = 0;
    rest >> state >> parent;
    if (parent == run_->pid()) out.push_back(static_cast<pid_t>(std::stol(entry.path().filename().string())));
  }
  return out;
}

bool FrameRun::UntilNoChildren() const {
  for (int i = 0; i < 1500; ++i) {
    if (Children().empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

bool FrameRun::UntilConverterEnded() const {
  for (int i = 0; i < 1500 && !std::filesystem::exists(Ini()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::filesystem::exists(Ini()) && UntilNoChildren();
}

void WriteOrig(const std::string& start, const std::vector<Customer>& customers) {
  std::filesystem::create_directory(start + "/Orig");
  for (const DemonstrationFile& f : kDemonstrationFiles) {
    ASSERT_EQ(WriteOldFile(f.old, start + "/Orig/" + f.name, customers), 0) << f.name;
  }
}

std::pair<std::string, std::string> CurrentFile(FileDecl& decl, const std::vector<Customer>& customers) {
  TempDir stage;
  {
    ScopedChdir in(stage.path());
    EXPECT_EQ(WriteFile(decl, customers), 0) << decl.label();
  }
  const std::vector<std::string> names = Names(stage.path());
  EXPECT_EQ(names.size(), 1u) << decl.label();
  if (names.empty()) return {};
  return {names[0], FileBytes(stage / names[0])};
}

}  // namespace qx::testing
