// Helpers shared by the window-model tests: run the loop of the calling thread's current
// window and record its events, with a bound on how many.
#pragma once

#include <string>
#include <vector>

#include "runtime/win/win.h"

namespace qx::wintest {

struct Seen {
  LONG event;
  LONG field;
  bool operator==(const Seen&) const = default;
};

inline std::string Describe(const std::vector<Seen>& seen) {
  std::string out;
  for (const Seen& s : seen) out += std::string(EventName(s.event)) + "(" + std::to_string(s.field) + ") ";
  return out;
}

// Runs the current window's loop until it ends or `max` events were seen, accepting every
// event; `refuse` lists events to refuse (pass result 1).
inline std::vector<Seen> RunLoop(size_t max = 50, std::vector<LONG> refuse = {}) {
  std::vector<Seen> seen;
  while (seen.size() < max && RtAccept()) {
    seen.push_back({RtEvent(), RtField()});
    bool refused = false;
    for (LONG r : refuse) refused = refused || r == RtEvent();
    RtEndAcceptPass(refused ? 1 : 0);
  }
  return seen;
}

}  // namespace qx::wintest
