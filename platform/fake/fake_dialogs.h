#pragma once
// Message boxes on the fake platform: each is recorded, stays open for a while of virtual
// time with the thread's messages dispatched (a modal loop, as on Windows), then is dismissed.
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"

namespace fake {

struct ShownBox {
  std::uint64_t time;
  std::string text;
  std::string caption;
  std::uint32_t flags;
};

class FakeDialogs final : public platform::Dialogs {
 public:
  FakeDialogs(Scheduler& scheduler, Journal& journal) : scheduler_(scheduler), journal_(journal) {}

  std::vector<ShownBox> shown;
  std::uint64_t readingTimeMs = 0;  // how long the user takes to press OK

  void ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override;

 private:
  Scheduler& scheduler_;
  Journal& journal_;
};

}  // namespace fake
