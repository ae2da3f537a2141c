#pragma once
// Other programs' windows and the screen on the fake platform.
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"

namespace fake {

struct FakeOtherWindow {
  platform::WindowHandle handle = 0;  // 0: given the next free handle
  std::uint32_t processId = 0;
  std::string className;
  std::u16string title;
  platform::Rect rect;
  bool zoomed = false;
  bool visible = true;
};

class FakeDesktop final : public platform::Desktop {
 public:
  FakeDesktop(Scheduler& scheduler, Journal& journal) : scheduler_(scheduler), journal_(journal) {}

  platform::WindowHandle Add(FakeOtherWindow window);
  FakeOtherWindow* Find(platform::WindowHandle handle);
  void Remove(platform::WindowHandle handle);

  platform::WindowHandle foreground = 0;
  std::int32_t screenWidth = 1920;
  std::int32_t screenHeight = 1080;
  bool failRectReads = false;
  bool recordQueries = false;  // journal every query (off: ticks run 110 times a second)

  // platform::Desktop
  platform::WindowHandle ForegroundWindow() override;
  std::uint32_t WindowProcessId(platform::WindowHandle window) override;
  std::string WindowClassName(platform::WindowHandle window) override;
  std::u16string WindowTitle(platform::WindowHandle window) override;
  platform::WindowHandle FindTopLevelWindow(std::string_view className, std::string_view title) override;
  platform::Rect WindowRect(platform::WindowHandle window) override;
  platform::WindowStates TopLevelStates(platform::WindowHandle window) override;
  std::int32_t ScreenWidth() override { return screenWidth; }
  std::int32_t ScreenHeight() override { return screenHeight; }

 private:
  void Record(std::string what) {
    if (recordQueries) journal_.Add(scheduler_.Now(), std::move(what));
  }

  Scheduler& scheduler_;
  Journal& journal_;
  std::vector<FakeOtherWindow> windows_;
  platform::WindowHandle nextHandle_ = 0x10010;
};

}  // namespace fake
