// The window model's shared state: every window with its controls and event queue, the
// open windows of each program thread, the active window, open message boxes, and the
// presentation log. Internal to runtime/win.
//
// Locking: one model mutex guards all of it. Program threads take it while they hold the
// runtime lock (order: runtime lock, then model mutex); views and the automation channel
// take it alone. Nothing waits for the runtime lock while holding the model mutex, and the
// view is called only after the model mutex has been released (ModelTransaction), so a view
// may call back into ViewInput from its own thread at any time.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "runtime/win/control.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view.h"

namespace qx {

constexpr LONG kMaxProgramThread = 64;

struct WindowModel {
  LONG id = 0;
  std::string kind;  // "window", "application", "mdi"
  const WindowDescription* desc = nullptr;
  LONG thread = 0;   // program thread that opened it; its events go there
  LONG parent = 0;   // MDI child: the frame it opened in
  bool open = false;
  bool openPending = false;       // EVENT:OpenWindow not yet taken: it comes before the queue
  bool closeDownPending = false;  // closed by an accepted EVENT:CloseWindow; CloseDown next
  std::uint64_t openSequence = 0;
  std::string title;
  std::optional<LONG> x, y;
  LONG width = 0, height = 0, minWidth = 0, minHeight = 0;
  // An MDI child: what its caption and border add to its width and height on the screen, in
  // its dialog units, as the view reports it (unknown: nullopt; none: headless).
  std::optional<std::pair<LONG, LONG>> decoration;
  // A frame: its children from back to front as it last arranged them (cascade), and how
  // many times it has; a view restacks them when the count grows.
  std::vector<LONG> arrangedOrder;
  std::uint64_t arrangement = 0;
  std::vector<std::unique_ptr<Control>> controls;  // creation order
  std::deque<Event> queue;
  LONG focus = 0;
  bool acceptAll = false;       // accept-all pass running
  size_t acceptAllNext = 0;     // next control index the pass looks at
  std::vector<std::string> statusTexts;

  Control* Find(LONG field) const;
  size_t IndexOf(LONG field) const;  // controls.size() when none
};

struct MessageState {
  MessagePresentation box;
  bool answered = false;
  LONG answer = 0;
  bool notice = false;  // the library's own (help without a help file); nobody waits for it
};

struct PopupState {
  PopupPresentation menu;
  bool answered = false;
  LONG answer = 0;
};

// What a program thread is doing, as far as whether it waits for a person (idle.cpp states
// the invariant): kRunning is anything but the waits named here.
enum class ThreadActivity { kEnded, kRunning, kEventWait, kMessageWait, kPopupWait, kOthersWait };

struct ThreadState {
  ThreadActivity activity = ThreadActivity::kEnded;
  LONG on = 0;  // the window (kEventWait), box (kMessageWait) or popup menu (kPopupWait)
};

class ModelTransaction;

class Model {
 public:
  static Model& Get();

  std::mutex mu;
  std::condition_variable cv;   // any change: events queued, boxes answered, windows closed
  std::mutex flushMu;           // keeps the view's calls in the order they were made

  std::map<LONG, std::unique_ptr<WindowModel>> windows;
  LONG nextWindowId = 1;
  std::array<std::vector<LONG>, kMaxProgramThread + 1> threadWindows;  // open, opening order
  std::array<int, kMaxProgramThread + 1> threadMessages{};  // open boxes per thread
  LONG activeWindow = 0;
  std::uint64_t openCounter = 0;
  std::map<LONG, MessageState> messages;
  LONG nextMessageId = 1;
  std::map<LONG, PopupState> popups;
  LONG nextPopupId = 1;
  std::array<int, kMaxProgramThread + 1> threadPopups{};  // open popup menus per thread
  std::array<ThreadState, kMaxProgramThread + 1> threadStates{};  // idle.cpp
  std::uint64_t revision = 0;
  std::deque<PresentationLogEntry> log;
  std::uint64_t logSequence = 0;
  std::string clipboard;
  bool waitCursor = false;
  View* view = nullptr;

  // ---- with `mu` held ----
  WindowModel* FindWindow(LONG id) const;
  // The thread's current window: the one it opened last that is still open; nullptr if none.
  WindowModel* CurrentWindowOf(LONG thread) const;
  bool TakesInput(const WindowModel& w) const;
  // Whether a loop waiting on window `id` has something to take (an event, the opening, the
  // closing, an accept-all step) or nothing left to wait for (the window is gone or closed).
  bool EventReady(LONG id) const;
  // Whether every program thread waits for a person (idle.cpp).
  bool Idle() const;
  // Notes what program thread `thread` does now; 0 (not a program thread) is not noted.
  // Wakes the waiters on `cv` when the program is idle after it.
  void SetThreadActivity(LONG thread, ThreadActivity activity, LONG on = 0);
  void QueueEvent(WindowModel& w, const Event& e, bool front);
  // Makes `w` the active window; EVENT:GainFocus when it was not.
  void Activate(ModelTransaction& t, WindowModel& w);
  // The focused control of `w`, edited since it was shown, is accepted (EVENT:Accepted
  // queued for it), as when the person leaves it.
  void CommitFocusedEdit(WindowModel& w);
  // Closes an open window (no events for it); the thread's earlier window becomes current,
  // a frame's MDI children get EVENT:CloseWindow.
  void CloseOpenWindow(ModelTransaction& t, WindowModel& w);
  void AddLog(const std::string& what, LONG window, const std::string& detail);
  // Logs `w` opening ("open") or closing ("close"): a window shown only for a moment
  // leaves this trace for the automation channel.
  void LogWindow(const char* what, const WindowModel& w);
  // The window whose status bar shows messages for `w` (itself or its frame); may be null.
  WindowModel* StatusBarFor(WindowModel& w) const;
  void ShowControlMessage(ModelTransaction& t, WindowModel& w, LONG field);
  WindowPresentation Present(const WindowModel& w) const;
  MessagePresentation PresentMessage(const MessageState& m) const;
  void Touch() {
    ++revision;
    cv.notify_all();
  }
  // Opens a notice box of the library's own (no thread waits for it).
  void OpenNotice(ModelTransaction& t, const std::string& text, const std::string& caption, LONG icon);
  void RunStandardAction(ModelTransaction& t, WindowModel& w, LONG action, LONG field,
                         const std::optional<std::string>& clipboard);
  // An MDI child opening without a position: placed as windows cascade, one step right and
  // down from the child of its frame opened last, back in the top-left corner when it would
  // leave the workspace there (a window too big to stay inside steps through the first
  // third of the workspace).
  void PlaceNewChild(WindowModel& child);
};

// The calling program thread waits for a person (or for the other threads) for the scope's
// life: construct it with the model mutex held, just before the condition wait, and let it
// end with the mutex held again, just after; the thread is kRunning again then.
class PersonWait {
 public:
  PersonWait(Model& m, ThreadActivity activity, LONG on);
  ~PersonWait();
  PersonWait(const PersonWait&) = delete;
  PersonWait& operator=(const PersonWait&) = delete;

 private:
  Model& m_;
  LONG thread_;
};

// Waits for a view's DrawnAck.
class Completion {
 public:
  void Done();
  // True when done within `timeoutMs`.
  bool Wait(int timeoutMs);

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  bool done_ = false;
};

// One change of the model: holds the model mutex from construction to Commit (or the end
// of the scope), collects what the view must hear, and calls the view after releasing the
// mutex, in commit order.
class ModelTransaction {
 public:
  ModelTransaction();
  ~ModelTransaction();
  ModelTransaction(const ModelTransaction&) = delete;
  ModelTransaction& operator=(const ModelTransaction&) = delete;

  Model& model() { return model_; }
  std::unique_lock<std::mutex>& lock() { return lock_; }
  void Dirty(LONG window) { dirty_.insert(window); }
  void DirtyAll();
  void Closed(LONG window) { closed_.push_back(window); dirty_.erase(window); }
  void MessageOpened(LONG id) { openedMessages_.push_back(id); }
  void MessageClosed(LONG id) { closedMessages_.push_back(id); }
  void PopupOpened(LONG id) { openedPopups_.push_back(id); }
  void PopupClosed(LONG id) { closedPopups_.push_back(id); }
  // A view call of its own (beep, print set-up ...), run after the window calls.
  void Call(std::function<void(View&)> call) { calls_.push_back(std::move(call)); }
  // The view acknowledges drawing `window`; Commit returns the completion to wait for.
  void WantDrawn(LONG window) { ackWindow_ = window; dirty_.insert(window); }
  // Releases the mutex and calls the view. Returns the completion of WantDrawn (null when
  // none was asked for or no view is installed).
  std::shared_ptr<Completion> Commit();

 private:
  Model& model_;
  std::unique_lock<std::mutex> lock_;
  bool committed_ = false;
  std::set<LONG> dirty_;
  std::vector<LONG> closed_;
  std::vector<LONG> openedMessages_, closedMessages_;
  std::vector<LONG> openedPopups_, closedPopups_;
  std::vector<std::function<void(View&)>> calls_;
  LONG ackWindow_ = 0;
};

// Waits, outside the runtime lock, for a view's acknowledgement (bounded: a view that never
// answers is reported on stderr and the program goes on).
void WaitForDrawn(const std::shared_ptr<Completion>& drawn);

// The calling thread's loops (accept.cpp): forget those that have ended (a new window
// opens), or all of them (the thread's program life ends).
void DropEndedAcceptLoops();
void ResetAcceptLoops();

// The calling thread's program thread number (0 for a thread that is not one).
LONG CurrentProgramThread();

}  // namespace qx
