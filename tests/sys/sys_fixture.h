// Shared fixture of the runtime/sys tests: a temporary directory of the test's own (tests
// run in parallel), small file helpers, and (from tests/support/processes.h) a way to run
// a check as an unprivileged user so that permission failures show even when the tests
// run as root.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/processes.h"

namespace qx::testing {

namespace fs = std::filesystem;

class SysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qx_sys_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    // Reachable by the unprivileged user of AsUnprivileged.
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    oldCwd_ = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(oldCwd_);
    // Give back write permission taken away by a test, so everything can be removed.
    for (auto it = fs::recursive_directory_iterator(root_); it != fs::recursive_directory_iterator(); ++it) {
      if (it->is_directory() && !it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add);
    }
    fs::remove_all(root_);
  }

  // The absolute host path of a name below the test's directory.
  std::string At(const std::string& rel) const { return rel.empty() ? root_.string() : (root_ / rel).string(); }

  void Write(const std::string& rel, const std::string& content) const {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel, std::ios::binary) << content;
  }

  std::string Read(const std::string& rel) const {
    std::ifstream in(root_ / rel, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  bool Exists(const std::string& rel) const { return fs::exists(fs::symlink_status(root_ / rel)); }

  // The names in a directory of the test, sorted, to show that nothing was left behind.
  std::vector<std::string> Listing(const std::string& rel = "") const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root_ / rel)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
  fs::path oldCwd_;
};

}  // namespace qx::testing
