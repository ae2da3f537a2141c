// roomstatus [FILE]: what the panel makes of the companion's room-state file. Prints the
// text of "roomStore.status" as the program reads it on the first line (empty when there is
// none) and, on the second, what the status line would be set to (empty: left unchanged).
// FILE defaults to the current user's room-state file. Exit code 0 when the file could be
// read, 2 when it could not.
#include <cstdio>
#include <optional>
#include <string>

#include "monitor/live_status.h"
#include "platform/text.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/win32_platform.h"

namespace {

// The file named on the command line (taken wide, as it may hold Chinese), else the default.
std::u16string FileToRead(int, char**) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::u16string path;
  if (arguments && count > 1) {
    path = reinterpret_cast<const char16_t*>(arguments[1]);
  } else {
    path = monitor::RoomStatePath(platform::win32::RealPlatform().files.AppDataFolder());
  }
  LocalFree(arguments);
  return path;
}

std::optional<std::string> ReadBounded(const std::u16string& path) {
  return platform::win32::RealPlatform().files.ReadWholeFile(path, monitor::kMaxRoomStateBytes);
}

// The console takes the program's own code page.
std::string ForConsole(const std::string& text) { return text; }
std::string ForConsole(const std::u16string& path) { return platform::FromUtf16(path); }

}  // namespace
#else
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

std::optional<std::string> ReadBounded(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
      static_cast<std::uint64_t>(status.st_size) > monitor::kMaxRoomStateBytes)
    return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A Linux terminal reads UTF-8.
std::string ForConsole(const std::string& text) {
  return platform::Utf16ToMultiByte(platform::kUtf8CodePage, platform::ToUtf16(text));
}

// Paths are UTF-8 here.
std::string FileToRead(int argc, char** argv) {
  if (argc > 1) return argv[1];
  const char* appData = std::getenv("APPDATA");
  const std::u16string folder = platform::MultiByteToUtf16(platform::kUtf8CodePage, appData ? appData : "");
  return platform::Utf16ToMultiByte(platform::kUtf8CodePage, monitor::RoomStatePath(folder));
}

}  // namespace
#endif

int main(int argc, char** argv) {
  platform::TextCodePage = platform::kGbkCodePage;
  const auto path = FileToRead(argc, argv);
  const std::optional<std::string> bytes = ReadBounded(path);
  if (!bytes) {
    std::fprintf(stderr, "roomstatus: cannot read %s (missing, unreadable, or over %llu bytes)\n",
                 ForConsole(path).c_str(), static_cast<unsigned long long>(monitor::kMaxRoomStateBytes));
    return 2;
  }
  const monitor::RoomStateReading reading = monitor::ReadRoomState(bytes);
  std::printf("%s\n%s\n", ForConsole(reading.status).c_str(), ForConsole(std::string(reading.statusLine)).c_str());
  return 0;
}
