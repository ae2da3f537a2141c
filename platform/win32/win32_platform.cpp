#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_parts.h"

namespace platform::win32 {

platform::Platform& RealPlatform() {
  static Win32Processes processes;
  static Win32Desktop desktop;
  static Win32Files files;
  static Win32Dialogs dialogs;
  static Win32MessageLoop loop;
  static Win32Session session;
  static platform::Platform platform{processes, desktop, files, dialogs, loop, session};
  return platform;
}

}  // namespace platform::win32
