#include "tests/host/interleaving/generator.h"

#include <string>
#include <utility>
#include <vector>

#include "tests/host/interleaving/vocabulary.h"

namespace interleaving {

namespace {

template <typename T>
T Pick(Source& source, const std::vector<T>& choices) {
  return choices[source.Below(static_cast<std::uint32_t>(choices.size()))];
}

// Mostly short gaps, so that steps fall inside the program's waits of 10 to 2000 ms; now and
// then a long one, over a minute's re-tune.
std::uint32_t Gap(Source& source) {
  const std::uint32_t bucket = source.Below(100);
  if (bucket < 30) return source.Below(20);
  if (bucket < 55) return 20 + source.Below(380);
  if (bucket < 82) return 400 + source.Below(2600);
  if (bucket < 98) return 3000 + source.Below(9000);
  return 12000 + source.Below(55000);
}

Scene MakeScene(Source& source) {
  Scene scene;
  scene.noticeSeen = source.Below(4) != 0;
  scene.game = Pick<std::string>(source, {"", "game.exe", "原神.exe"});
  scene.companion = source.Below(10) != 0;
  scene.helpers = source.Below(3) != 0;
  scene.room = Pick<std::string>(source, {"live", "live", "not-live", "none"});
  scene.cores = Pick<int>(source, {2, 4});
  scene.boxMs = Pick<std::uint32_t>(source, {0, 300, 3000});
  return scene;
}

// The verbs, each as often as its weight says.
std::string_view PickVerb(Source& source) {
  static const std::vector<std::pair<std::string_view, std::uint32_t>> weights = {
      {"click", 26},  {"double-click", 4}, {"press", 6},     {"type", 7},      {"close", 3},
      {"panel", 3},   {"second-instance", 1}, {"room", 12},  {"window", 14},   {"companion", 3},
      {"helpers", 3}, {"foreground", 6},   {"game", 5},
  };
  std::uint32_t total = 0;
  for (const auto& [verb, weight] : weights) total += weight;
  std::uint32_t draw = source.Below(total);
  for (const auto& [verb, weight] : weights) {
    if (draw < weight) return verb;
    draw -= weight;
  }
  return weights.front().first;
}

// Half of the clicks go to the three buttons that do something.
std::string PickObject(Source& source, std::string_view verb) {
  if ((verb == "click" || verb == "double-click") && source.Below(2) == 0)
    return Pick<std::string>(source, {"Start.按钮1", "Start.按钮2", "Panel.图形按钮1"});
  return Pick(source, FindVerb(verb)->objects);
}

Step MakeStep(Source& source) {
  Step step;
  if (source.Below(6) == 0) {
    step.anchor = static_cast<Anchor>(1 + source.Below(static_cast<std::uint32_t>(Anchor::MessageBox)));
    step.occurrence = 1 + static_cast<int>(source.Below(3));
    // The retune's waits come a minute after its timer is armed; the others' within seconds.
    step.delayMs = step.anchor == Anchor::Retune ? 60000 + source.Below(1200) : source.Below(2500);
  } else {
    step.delayMs = Gap(source);
  }
  step.verb = std::string(PickVerb(source));
  step.object = PickObject(source, step.verb);
  return step;
}

}  // namespace

std::uint32_t ByteSource::Below(std::uint32_t bound) {
  std::uint32_t value = 0;
  for (std::uint64_t range = 1; range < bound && !bytes_.empty(); range <<= 8) {
    value = value << 8 | bytes_.front();
    bytes_ = bytes_.subspan(1);
  }
  return value % bound;
}

Sequence Generate(Source& source) {
  Sequence sequence{MakeScene(source), {}};
  // Most runs go the typical way first: the hand-over, then the start once the status line
  // has had a second to read the room; the steps that follow then meet a running optimization.
  if (source.Below(10) < 7) {
    sequence.steps.push_back({.delayMs = source.Below(2000), .verb = "click", .object = "Start.按钮1"});
    sequence.steps.push_back({.delayMs = 1000 + source.Below(2500), .verb = "click", .object = "Panel.图形按钮1"});
  }
  const std::uint32_t count = source.Below(20);
  for (std::uint32_t i = 0; i < count; ++i) sequence.steps.push_back(MakeStep(source));
  return sequence;
}

}  // namespace interleaving
