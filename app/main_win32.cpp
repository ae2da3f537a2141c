// The program's entry on Windows: the real platform and the Win32 windows.
#include "ui/win32/win32_backend.h"

#include "app/program.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::SetPreTranslate(&ui::win32::PreTranslateDialogKeys);
  app::RunProgram(platform::win32::RealPlatform(), ui::win32::Win32Backend());
  return 0;
}
