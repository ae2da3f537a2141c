#pragma once
// Replays a sequence against the whole program on the fake platform, from start-up on, and
// checks after every step and every handler what must hold at any moment:
// - the program ends only as it may (its last window closed, or the companion gone), with
//   exit code 0 and its cleanup run once; and it does end: once its last window is gone, and
//   within a second of the companion's end;
// - the log 列表框1 is never shortened and holds only its allowed lines, in their places;
// - the optimization starts at most once; timers run only at their intervals;
// - no process handle is open between calls, no wait's timer once the handlers have returned;
// - after each docking tick the panel is where the companion window says.
#include <string>

#include "tests/host/interleaving/sequence.h"

namespace interleaving {

// The first thing that did not hold, or empty when everything held.
std::string Replay(const Sequence& sequence);

}  // namespace interleaving
