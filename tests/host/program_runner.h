#pragma once
// Runs the whole program on a fake world until it ends or until a virtual time.
#include <cstdint>

#include "platform/fake/world.h"

namespace testing_support {

struct RunResult {
  bool ended = false;  // the program ended its process (else the run reached its stop time)
  int exitCode = -1;
  std::uint64_t endedAt = 0;
};

RunResult RunProgram(fake::World& world, std::uint64_t stopTime);

}  // namespace testing_support
