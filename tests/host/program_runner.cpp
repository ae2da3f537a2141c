#include "tests/host/program_runner.h"

#include "app/program.h"

namespace testing_support {

RunResult RunProgram(fake::World& world, std::uint64_t stopTime) {
  world.clock.SetStopTime(stopTime);
  platform::Platform os = world.Os();
  RunResult result;
  try {
    app::RunProgram(os, world.windows);
  } catch (const fake::ProcessEnded& end) {
    result = {true, end.code, world.Now()};
  } catch (const fake::SimulationEnd&) {
    result = {false, -1, world.Now()};
  }
  world.session.RunCleanupOnce();
  return result;
}

}  // namespace testing_support
