#pragma once
// Finding processes by executable name and changing how the system treats them. No
// operation reports a failure: a process that cannot be opened or changed is passed over.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/processes.h"
#include "ui/context.h"

namespace optimizer {

// Logical processors 1, 2 and 3, on every machine.
inline constexpr std::uint64_t CompanionAffinityMask = 0xE;
inline constexpr std::uint32_t kHighPriorityClass = 0x80;
// PROCESS_ALL_ACCESS in its older, narrower form: for trimming and the affinity.
inline constexpr std::uint32_t kTuningAccess = 0x1F0FFF;
inline constexpr std::uint32_t kSetInformationAccess = 0x0200;

// A running process with this name (ASCII case ignored).
bool ProcessExists(platform::Processes& processes, std::string_view name);
// The ids of the processes with this name (ASCII case ignored), in snapshot order, into
// `ids`; their count, or -1 when no snapshot could be taken.
int FindProcessIds(platform::Processes& processes, std::string_view name, std::vector<std::uint32_t>& ids);
bool TrimWorkingSet(platform::Processes& processes, std::uint32_t id);
// Every process the user may open, this program's own included.
void TrimAllWorkingSets(platform::Processes& processes);
// The processes with exactly this name.
void TrimNamedProcesses(platform::Processes& processes, std::string_view name);
void RestrictAffinity(platform::Processes& processes, std::uint32_t id);
// Shows the panel, then pins the processes with this name to CompanionAffinityMask, `passes`
// times, 10 ms after each process and `pauseMs` after each pass, dispatching messages meanwhile.
void PinNamedProcesses(ui::Context& context, std::string_view name, int passes, std::int64_t pauseMs);
bool RaisePriority(platform::Processes& processes, std::uint32_t id);

}  // namespace optimizer
