#include "platform/fake/fake_dialogs.h"

namespace fake {

void FakeDialogs::ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t flags) {
  shown.push_back({scheduler_.Now(), std::string(text), std::string(caption), flags});
  journal_.Add(scheduler_.Now(), "MessageBox " + std::string(caption) + " " + std::string(text));
  const std::uint64_t dismissAt = scheduler_.Now() + readingTimeMs;
  for (;;) {
    while (scheduler_.PeekHead() == platform::QueueHead::Message) scheduler_.DispatchHead();
    if (scheduler_.Now() >= dismissAt) return;
    scheduler_.WaitForInput(static_cast<std::uint32_t>(dismissAt - scheduler_.Now()));
  }
}

}  // namespace fake
