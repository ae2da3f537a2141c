// Message boxes through user32.
#include <windows.h>

#include <string>

#include "platform/win32/win32_parts.h"

namespace platform::win32 {

void Win32Dialogs::ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t flags) {
  MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), flags);
}

}  // namespace platform::win32
