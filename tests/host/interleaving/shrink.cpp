#include "tests/host/interleaving/shrink.h"

namespace interleaving {

Sequence Shrink(Sequence sequence, const std::function<bool(const Sequence&)>& fails) {
  for (bool dropped = true; dropped;) {
    dropped = false;
    for (std::size_t i = sequence.steps.size(); i-- > 0;) {
      Sequence shorter = sequence;
      shorter.steps.erase(shorter.steps.begin() + static_cast<std::ptrdiff_t>(i));
      if (!fails(shorter)) continue;
      sequence = std::move(shorter);
      dropped = true;
    }
  }
  return sequence;
}

}  // namespace interleaving
