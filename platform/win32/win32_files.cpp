// Files, the private-profile calls and the application-data folder, through kernel32 and shell32.
#include <windows.h>
#include <shlobj.h>

#include "platform/text.h"
#include "platform/win32/win32_parts.h"

namespace platform::win32 {

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace

std::optional<std::uint32_t> Win32Files::FindFirst(const std::u16string& path) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(path), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return found.dwFileAttributes;
}

bool Win32Files::CreateEmptyFile(std::string_view path) {
  HANDLE file = CreateFileW(Wide(ToUtf16(path)), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::optional<std::string> Win32Files::ReadWholeFile(const std::u16string& path, std::uint64_t maxBytes) {
  // Shared every way, so that the file's owner may rewrite, replace or delete it meanwhile.
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> content;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) <= maxBytes) {
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    DWORD read = 0;
    while (done < bytes.size() &&
           ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) && read > 0)
      done += read;
    bytes.resize(done);  // a file cut short while being read gives what was there
    content = std::move(bytes);
  }
  CloseHandle(file);
  return content;
}

std::string Win32Files::ReadIniString(std::string_view file, std::string_view section, std::string_view key,
                                      std::uint32_t bufferSize) {
  if (bufferSize == 0) return {};
  std::string buffer(bufferSize, '\0');
  const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "",
                                                buffer.data(), bufferSize, std::string(file).c_str());
  buffer.resize(length);
  return buffer;
}

bool Win32Files::WriteIniString(std::string_view file, std::string_view section, std::string_view key,
                                std::string_view value) {
  return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                    std::string(value).c_str(), std::string(file).c_str()) != 0;
}

std::u16string Win32Files::WindowsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

std::u16string Win32Files::AppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE)) return {};
  return reinterpret_cast<const char16_t*>(buffer);
}

}  // namespace platform::win32
