#pragma once
// Processes on the fake platform: a list a test sets up and changes while the program runs.
#include <map>
#include <string>
#include <vector>

#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"
#include "platform/processes.h"

namespace fake {

struct FakeProcess {
  std::uint32_t id = 0;
  std::string exeName;          // as the narrow snapshot gives it (GBK)
  std::u16string wideExeName;   // as the wide snapshot gives it; empty: converted from exeName
  std::u16string imagePath;     // its executable's full path; empty: in a folder of its own, "C:\Apps\"
  bool openable = true;         // false: OpenProcess is refused (rights, protected process)
  bool refusesChanges = false;  // opened, but every change is refused
  std::uint64_t workingSetBytes = 50u << 20;
  std::uint64_t affinityMask = 0x3;
  std::uint32_t priorityClass = 0x20;  // NORMAL_PRIORITY_CLASS
  int trims = 0;
};

class FakeProcesses final : public platform::Processes {
 public:
  FakeProcesses(Scheduler& scheduler, Journal& journal) : scheduler_(scheduler), journal_(journal) {}

  // Adds a process with the next free id and returns that id.
  std::uint32_t Start(std::string exeName);
  FakeProcess& Add(FakeProcess process);
  void End(std::uint32_t id);
  void EndAll(std::string_view exeName);
  FakeProcess* Find(std::uint32_t id);
  std::vector<FakeProcess>& All() { return processes_; }

  bool failSnapshots = false;
  std::uint64_t processorCount = 2;  // an affinity mask naming processors beyond these is refused
  std::uint32_t ownId = 1;           // this program's own process
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

  // platform::Processes
  bool Snapshot(std::uint32_t flags, std::vector<platform::ProcessEntry>& entries) override;
  bool SnapshotWide(std::uint32_t flags, std::vector<platform::WideProcessEntry>& entries) override;
  // An openable process's snapshot name.
  std::optional<std::string> ExeNameOf(std::uint32_t id) override;
  std::optional<std::u16string> ImagePathOf(std::uint32_t id) override;
  std::uint32_t OwnProcessId() override { return ownId; }
  platform::ProcessHandle Open(std::uint32_t access, std::uint32_t id) override;
  bool EmptyWorkingSet(platform::ProcessHandle process) override;
  bool SetAffinityMask(platform::ProcessHandle process, std::uint64_t mask) override;
  bool SetPriorityClass(platform::ProcessHandle process, std::uint32_t priorityClass) override;
  std::uint64_t WorkingSetBytes(platform::ProcessHandle process) override;
  void Close(platform::ProcessHandle process) override;

 private:
  struct OpenHandle {
    std::uint32_t id;
    std::uint32_t access;
  };
  void Record(std::string what) { journal_.Add(scheduler_.Now(), std::move(what)); }
  std::string IdOf(platform::ProcessHandle process) const;
  // The process behind a handle, if it still runs and was opened with `access`.
  FakeProcess* Target(platform::ProcessHandle process, std::uint32_t access);

  Scheduler& scheduler_;
  Journal& journal_;
  std::vector<FakeProcess> processes_;
  std::map<platform::ProcessHandle, OpenHandle> handles_;
  platform::ProcessHandle nextHandle_ = 0x100;
  std::uint32_t nextId_ = 1000;
};

}  // namespace fake
