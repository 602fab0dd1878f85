// The socket side of the automation channel; see channel.h.
#include "runtime/view/automation/channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "runtime/view/automation/protocol.h"

namespace qx {

std::unique_ptr<AutomationChannel> AutomationChannel::Open(const std::string& path, std::string* error) {
  sockaddr_un addr{};
  if (path.empty() || path.size() >= sizeof(addr.sun_path)) {
    if (error) *error = "socket path empty or too long: " + path;
    return nullptr;
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    if (error) *error = std::string("socket: ") + std::strerror(errno);
    return nullptr;
  }
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  ::unlink(path.c_str());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) {
    if (error) *error = "cannot listen on " + path + ": " + std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<AutomationChannel>(new AutomationChannel(fd, path));
}

AutomationChannel::AutomationChannel(int listenFd, std::string path) : listenFd_(listenFd), path_(std::move(path)) {
  if (::pipe2(wakeFd_, O_CLOEXEC) != 0) wakeFd_[0] = wakeFd_[1] = -1;
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

AutomationChannel::~AutomationChannel() {
  stopping_ = true;
  if (wakeFd_[1] >= 0) {
    const char c = 0;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_[1], &c, 1);
  }
  acceptor_.join();
  std::vector<std::thread> servers;
  {
    std::lock_guard<std::mutex> lock(mu_);
    servers.swap(servers_);
  }
  for (auto& t : servers) t.join();
  ::close(listenFd_);
  if (wakeFd_[0] >= 0) ::close(wakeFd_[0]);
  if (wakeFd_[1] >= 0) ::close(wakeFd_[1]);
  ::unlink(path_.c_str());
}

bool AutomationChannel::WaitForClient(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!ClientAttached()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void AutomationChannel::Drain(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (answering_.load() > 0 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void AutomationChannel::OnLastClientGone(std::function<void()> handler) {
  std::lock_guard<std::mutex> lock(mu_);
  onGone_ = std::move(handler);
}

void AutomationChannel::AcceptLoop() {
  while (!stopping_) {
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFd_[0], POLLIN, 0}};
    if (::poll(fds, wakeFd_[0] >= 0 ? 2 : 1, 200) <= 0) continue;
    if (fds[1].revents) break;
    const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++clients_;
    std::lock_guard<std::mutex> lock(mu_);
    servers_.emplace_back([this, client] { Serve(client); });
  }
}

void AutomationChannel::Serve(int fd) {
  std::string buffer;
  char chunk[4096];
  while (!stopping_) {
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, 200);
    if (ready == 0) continue;
    if (ready < 0) break;
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n <= 0) break;
    buffer.append(chunk, static_cast<size_t>(n));
    size_t nl;
    while ((nl = buffer.find('\n')) != std::string::npos) {
      const std::string line = buffer.substr(0, nl);
      buffer.erase(0, nl + 1);
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      nlohmann::json reply;
      ++answering_;
      try {
        const nlohmann::json request = nlohmann::json::parse(line);
        reply = HandleAutomationRequest(request);
      } catch (const nlohmann::json::exception& e) {
        reply = {{"ok", false}, {"error", std::string("request is not JSON: ") + e.what()}};
      }
      std::string out = reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
      size_t sent = 0;
      while (sent < out.size()) {
        const ssize_t w = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (w <= 0) break;
        sent += static_cast<size_t>(w);
      }
      --answering_;
    }
  }
  ::close(fd);
  if (--clients_ == 0) {
    std::function<void()> gone;
    {
      std::lock_guard<std::mutex> lock(mu_);
      gone = onGone_;
    }
    if (gone) gone();
  }
}

}  // namespace qx
