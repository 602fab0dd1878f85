// Whether the program waits for a person; see idle.h.
//
// THE QUESTION
//
// A person who acts on the program (a test, a script on the automation channel) needs to
// know when the program has finished reacting: when what is shown now is the outcome of
// every act so far and will stay so until the next act. The runtime lock does not tell.
// A program thread gives the lock up in every wait inside the platform, and most of those
// waits end by themselves: the view acknowledging a window the program asked to show
// (RtOpenWindow, RtDisplay), a child program (RtRun), a busy data file (OPEN, LOGOUT), an
// INI file's directory lock, other threads ending. Whoever takes the lock during such a
// wait sees a model that is about to change: an empty event queue, say, while the thread
// that just had a box answered has yet to select the control it means to focus.
//
// WHAT THE MODEL KEEPS
//
// Model::threadStates holds, for each program thread 1 to 64, what it does now:
//
//   kEnded       no thread under this number: never started, or ended (its windows are
//                closed and it touches the model no more)
//   kRunning     program code, or any wait inside the platform not named below
//   kEventWait   RtAccept waits for the next event of window `on`
//   kMessageWait RtMessage waits for the answer to box `on`
//   kPopupWait   RtPopup waits for the choice in popup menu `on`
//   kOthersWait  RtWaitOtherThreads waits for threads 2 to 64 to end
//
// kRunning is the default. A thread is kRunning from the moment RtStart reserves its
// number (before the OS thread exists and while it waits for the runtime lock) until it
// enters one of the four waits, and again from the moment it leaves one; it becomes kEnded
// once its windows are closed. So a wait added to the platform later counts as busy until
// someone decides otherwise here, which errs on the safe side.
//
// Every change of a thread's state is made with the model mutex held. The three waits on
// the model's condition variable (PersonWait) set their state in the same critical section
// as the first test of their condition and restore kRunning in the same one as the last,
// so a reader holding the mutex never sees a thread in a wait it has already left.
//
// THE INVARIANT
//
// The program is idle when some program thread lives (is not kEnded) and none is busy. A
// program none of whose threads lives has not started yet (the automation channel answers
// before the main thread begins) or has ended: it is not waiting for anyone. A thread is
// busy when it is
//
//   kRunning;
//   kEventWait and EventReady(on): an event is queued (by a person, by RtPost, by a window
//     closing), the opening or the closing is pending, or an accept-all pass is running.
//     The thread counts as busy from the moment the event is queued, not from the moment
//     it wakes;
//   kMessageWait or kPopupWait and the box or menu has been answered;
//   kOthersWait and no other thread is left (the wait is about to end). While some other
//     thread lives it is not busy: its own state decides, and idleness needs every thread
//     not busy.
//
// kEnded threads never are. With a thread alive and none busy, no program code runs, and
// none can start running except through an act from outside the program threads:
// ViewInput (a person at the view, the automation channel) queues an event, answers a box
// or a menu. Such an act makes the thread concerned busy in the same critical section.
// Nothing undoes that but the thread itself: a queue loses its events only to its own
// thread or with its window's closing (which ends the wait as well), and an answer is
// never taken back. Hence, once ProgramIdle() is true it stays true until
// someone acts, and a reader that sees it true sees the outcome of everything the program
// was given before.
//
// LIMITS
//
// A view that acts on its own counts as a person: the headless view answers boxes by
// default when no automation client is attached, the Qt view reports the sizes and moves
// the window system makes. Their acts come after the idleness they end. A thread that is
// not a program thread (number 0, such as a test calling the runtime directly) is not
// counted. A child program started by RtRun is not looked into: its parent is kRunning
// until it ends, even when the child itself waits for a person.
//
// WAKING THOSE WHO WAIT FOR IT
//
// Every change of the program towards idleness goes through SetThreadActivity (a thread
// enters a wait or ends); it wakes the waiters on the model's condition variable whenever
// the program is idle after the change, and WaitProgramIdle waits there. The revision is
// left alone: nothing visible changed, and views and tests wait for a revision to be shown.
#include "runtime/win/idle.h"

#include <chrono>

#include "runtime/win/model.h"

namespace qx {

bool Model::EventReady(LONG id) const {
  const WindowModel* w = FindWindow(id);
  return w == nullptr || !w->open || w->closeDownPending || w->openPending || w->acceptAll || !w->queue.empty();
}

bool Model::Idle() const {
  auto lives = [&](LONG n) { return threadStates[static_cast<size_t>(n)].activity != ThreadActivity::kEnded; };
  int started = 0;  // threads 2 to 64 that live
  for (LONG n = 2; n <= kMaxProgramThread; ++n) started += lives(n) ? 1 : 0;
  if (started == 0 && !lives(1)) return false;
  for (LONG n = 1; n <= kMaxProgramThread; ++n) {
    const ThreadState& s = threadStates[static_cast<size_t>(n)];
    switch (s.activity) {
      case ThreadActivity::kEnded:
        break;
      case ThreadActivity::kRunning:
        return false;
      case ThreadActivity::kEventWait:
        if (EventReady(s.on)) return false;
        break;
      case ThreadActivity::kMessageWait: {
        const auto it = messages.find(s.on);
        if (it == messages.end() || it->second.answered) return false;
        break;
      }
      case ThreadActivity::kPopupWait: {
        const auto it = popups.find(s.on);
        if (it == popups.end() || it->second.answered) return false;
        break;
      }
      case ThreadActivity::kOthersWait:
        if (started - (n >= 2 ? 1 : 0) == 0) return false;
        break;
    }
  }
  return true;
}

void Model::SetThreadActivity(LONG thread, ThreadActivity activity, LONG on) {
  if (thread < 1 || thread > kMaxProgramThread) return;
  threadStates[static_cast<size_t>(thread)] = ThreadState{activity, on};
  if (Idle()) cv.notify_all();
}

PersonWait::PersonWait(Model& m, ThreadActivity activity, LONG on) : m_(m), thread_(CurrentProgramThread()) {
  m_.SetThreadActivity(thread_, activity, on);
}

PersonWait::~PersonWait() { m_.SetThreadActivity(thread_, ThreadActivity::kRunning); }

bool ProgramIdle() {
  Model& m = Model::Get();
  std::lock_guard<std::mutex> lock(m.mu);
  return m.Idle();
}

bool WaitProgramIdle(int timeoutMs) {
  Model& m = Model::Get();
  std::unique_lock<std::mutex> lock(m.mu);
  return m.cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m.Idle(); });
}

}  // namespace qx
