// The interleaving suite's sequences made from the fuzzer's bytes: every byte string is a
// sequence of the user's, the companion's and the game's actions, replayed against the whole
// program. A sequence that breaks a rule is shrunk and printed in the form the regression
// cases hold (tests/host/interleaving/regressions.txt).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/host/interleaving/generator.h"
#include "tests/host/interleaving/replay.h"
#include "tests/host/interleaving/shrink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  interleaving::ByteSource source({data, size});
  const interleaving::Sequence sequence = interleaving::Generate(source);
  if (interleaving::Replay(sequence).empty()) return 0;
  const interleaving::Sequence shrunk =
      interleaving::Shrink(sequence, [](const interleaving::Sequence& s) { return !interleaving::Replay(s).empty(); });
  std::fprintf(stderr, "%s\n%s", interleaving::Replay(shrunk).c_str(), interleaving::ToText(shrunk).c_str());
  std::abort();
}
