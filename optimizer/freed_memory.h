#pragma once
// What a trim took from the companion's processes, shown on the panel's information line.
#include <cstdint>
#include <string>

#include "platform/processes.h"
#include "ui/context.h"

namespace optimizer {

// The sum of the working sets of the companion's processes, in bytes.
std::uint64_t CompanionWorkingSetBytes(platform::Processes& processes);
// The panel's line for a trim that took the working sets from `before` to `after` bytes.
std::string FreedMemoryText(std::uint64_t before, std::uint64_t after);
void ShowFreedMemory(ui::Context& context, std::uint64_t before, std::uint64_t after);

}  // namespace optimizer
