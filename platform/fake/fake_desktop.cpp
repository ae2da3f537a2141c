#include "platform/fake/fake_desktop.h"

#include <algorithm>

#include "platform/text.h"

namespace fake {

platform::WindowHandle FakeDesktop::Add(FakeOtherWindow window) {
  if (window.handle == 0) {
    window.handle = nextHandle_;
    nextHandle_ += 2;
  }
  windows_.push_back(std::move(window));
  return windows_.back().handle;
}

FakeOtherWindow* FakeDesktop::Find(platform::WindowHandle handle) {
  const auto found = std::find_if(windows_.begin(), windows_.end(),
                                  [handle](const FakeOtherWindow& w) { return w.handle == handle; });
  return found == windows_.end() ? nullptr : &*found;
}

void FakeDesktop::Remove(platform::WindowHandle handle) {
  std::erase_if(windows_, [handle](const FakeOtherWindow& w) { return w.handle == handle; });
  if (foreground == handle) foreground = 0;
}

platform::WindowHandle FakeDesktop::ForegroundWindow() {
  Record("ForegroundWindow");
  return foreground;
}

std::uint32_t FakeDesktop::WindowProcessId(platform::WindowHandle window) {
  Record("WindowProcessId");
  const FakeOtherWindow* found = Find(window);
  return found ? found->processId : 0;
}

std::string FakeDesktop::WindowClassName(platform::WindowHandle window) {
  Record("WindowClassName");
  const FakeOtherWindow* found = Find(window);
  return found ? found->className.substr(0, 259) : std::string();
}

std::u16string FakeDesktop::WindowTitle(platform::WindowHandle window) {
  Record("WindowTitle");
  const FakeOtherWindow* found = Find(window);
  return found ? found->title : std::u16string();
}

platform::WindowHandle FakeDesktop::FindTopLevelWindow(std::string_view className, std::string_view title) {
  Record("FindWindow");
  const std::u16string wideTitle = platform::MultiByteToUtf16(platform::kAnsiCodePage, title);
  for (const auto& window : windows_)
    if (window.className == className && window.title == wideTitle) return window.handle;
  return 0;
}

platform::Rect FakeDesktop::WindowRect(platform::WindowHandle window) {
  Record("WindowRect");
  const FakeOtherWindow* found = Find(window);
  return found && !failRectReads ? found->rect : platform::Rect{};
}

platform::WindowStates FakeDesktop::TopLevelStates(platform::WindowHandle window) {
  Record("TopLevelStates");
  const FakeOtherWindow* found = Find(window);
  if (!found) return {};
  return {.visible = found->visible, .maximised = found->zoomed};
}

}  // namespace fake
