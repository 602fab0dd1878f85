// The automation channel: a local Unix-domain socket through which a test or any script
// reads what the program shows and acts on it as a person would. Requests and replies are
// single lines of JSON (the README's "The automation channel"). It reads the model's presentation state and injects
// input through ViewInput, so it works beside either view.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <mutex>
#include <vector>

namespace qx {

// The environment variable that names the socket; the process entry opens the channel
// when it is set.
inline constexpr const char* kAutomationVariable = "QXRT_AUTOMATION";

class AutomationChannel {
 public:
  // Listens on `path` (an existing socket file there is replaced). Nothing, with `error`
  // set, when the socket cannot be made.
  static std::unique_ptr<AutomationChannel> Open(const std::string& path, std::string* error);
  ~AutomationChannel();  // stops serving and removes the socket file
  AutomationChannel(const AutomationChannel&) = delete;
  AutomationChannel& operator=(const AutomationChannel&) = delete;

  // True while at least one client is connected.
  bool ClientAttached() const { return clients_.load() > 0; }
  // Waits until a client has connected, at most `timeoutMs`; true when one has.
  bool WaitForClient(int timeoutMs);
  // Called (on the channel's thread) each time the last client disconnects.
  void OnLastClientGone(std::function<void()> handler);
  // Waits, at most `timeoutMs`, until no request is being answered, so that a request that
  // ends the program, and a "wait" that the end fulfils (such as the log's "end"), still
  // get their replies before the process ends. A "wait" the end does not fulfil holds the
  // end for the whole time-out.
  void Drain(int timeoutMs);

 private:
  AutomationChannel(int listenFd, std::string path);
  void AcceptLoop();
  void Serve(int fd);

  int listenFd_;
  int wakeFd_[2] = {-1, -1};
  std::string path_;
  std::atomic<int> clients_{0};
  std::atomic<int> answering_{0};
  std::atomic<bool> stopping_{false};
  std::mutex mu_;
  std::function<void()> onGone_;
  std::vector<std::thread> servers_;
  std::thread acceptor_;
};

}  // namespace qx
