// The test harness; see harness.h.
#include "tests/harness/harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace qx::testing {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

std::unique_ptr<ProgramRun> ProgramRun::Start(const std::string& binary, const Options& options, std::string* error) {
  std::unique_ptr<ProgramRun> run(new ProgramRun);
  char tmpl[] = "/tmp/qxrun-XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) {
    if (error) *error = "mkdtemp failed";
    return nullptr;
  }
  run->base_ = tmpl;
  run->work_ = run->base_ + "/work";
  run->socket_ = run->base_ + "/automation.sock";
  run->stderrPath_ = run->base_ + "/stderr.txt";
  std::filesystem::create_directory(run->work_);
  for (const auto& [name, content] : options.files) {
    std::ofstream(run->work_ + "/" + name, std::ios::binary) << content;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    if (error) *error = "fork failed";
    return nullptr;
  }
  if (pid == 0) {
    if (::chdir(run->work_.c_str()) != 0) ::_exit(126);
    const int err = ::open(run->stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0) {
      ::dup2(err, 2);
      ::close(err);
    }
    const int devnull = ::open("/dev/null", O_RDONLY);
    if (devnull >= 0) ::dup2(devnull, 0);
    ::setenv("QXRT_VIEW", "headless", 1);
    if (options.automation) {
      ::setenv("QXRT_AUTOMATION", run->socket_.c_str(), 1);
    } else {
      ::unsetenv("QXRT_AUTOMATION");
    }
    for (const auto& [name, value] : options.env) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<std::string> args{binary};
    args.insert(args.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
  }
  run->pid_ = pid;
  if (options.automation && !run->Connect(10000)) {
    if (error) *error = "the program's automation channel did not answer; stderr: " + run->Stderr();
    return nullptr;
  }
  return run;
}

bool ProgramRun::Connect(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (MsLeft(end) > 0) {
    if (WaitForExit(0) != -1) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socket_.c_str(), sizeof(addr.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
      fd_ = fd;
      return true;
    }
    ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

ProgramRun::~ProgramRun() {
  Disconnect();
  if (pid_ > 0 && !exited_) {
    ::kill(pid_, SIGKILL);
    int status;
    ::waitpid(pid_, &status, 0);
  }
  std::error_code ec;
  if (!base_.empty()) std::filesystem::remove_all(base_, ec);
}

void ProgramRun::Disconnect() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

nlohmann::json ProgramRun::Request(const nlohmann::json& request, int timeoutMs) {
  if (fd_ < 0) return {{"ok", false}, {"error", "not connected"}};
  const std::string line = request.dump() + "\n";
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return {{"ok", false}, {"error", "send failed"}};
    sent += static_cast<size_t>(n);
  }
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const size_t nl = pending_.find('\n');
    if (nl != std::string::npos) {
      const std::string reply = pending_.substr(0, nl);
      pending_.erase(0, nl + 1);
      try {
        return nlohmann::json::parse(reply);
      } catch (const nlohmann::json::exception&) {
        return {{"ok", false}, {"error", "reply is not JSON: " + reply}};
      }
    }
    pollfd p{fd_, POLLIN, 0};
    const int left = MsLeft(end);
    if (left == 0 || ::poll(&p, 1, left) <= 0) return {{"ok", false}, {"error", "no reply"}};
    char chunk[65536];
    const ssize_t n = ::read(fd_, chunk, sizeof chunk);
    if (n <= 0) return {{"ok", false}, {"error", "channel closed"}};
    pending_.append(chunk, static_cast<size_t>(n));
  }
}

nlohmann::json ProgramRun::WaitFor(const nlohmann::json& condition, int timeoutMs) {
  nlohmann::json reply = Request({{"op", "wait"}, {"until", condition}, {"timeout_ms", timeoutMs}}, timeoutMs + 5000);
  if (!reply.value("ok", false)) return nullptr;
  return reply.contains("match") ? reply["match"] : nlohmann::json(true);
}

bool ProgramRun::WaitIdle(int timeoutMs) { return !WaitFor({{"idle", true}}, timeoutMs).is_null(); }

nlohmann::json ProgramRun::Window(const nlohmann::json& selector) {
  nlohmann::json reply = Request({{"op", "window"}, {"window", selector}});
  return reply.value("ok", false) ? reply["window"] : nlohmann::json();
}

int ProgramRun::WaitForExit(int timeoutMs) {
  if (exited_) return exitCode_;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      exited_ = true;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exitCode_;
    }
    if (MsLeft(end) == 0) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string ProgramRun::Stderr() const {
  std::ifstream in(stderrPath_, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

nlohmann::json Control(const nlohmann::json& window, const std::string& name) {
  if (!window.is_object()) return nullptr;
  for (const nlohmann::json& c : window["controls"]) {
    if (c["name"] == name) return c;
  }
  return nullptr;
}

}  // namespace qx::testing
