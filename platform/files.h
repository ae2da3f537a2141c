#pragma once
// Files, folders and the private-profile (INI) calls.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::uint32_t kDirectoryAttribute = 0x10;

class Files {
 public:
  virtual ~Files() = default;
  // FindFirstFileW on the path, then FindClose: the match's attributes, or none.
  virtual std::optional<std::uint32_t> FindFirst(const std::u16string& path) = 0;
  // CreateFile(path, write, not shared, CREATE_ALWAYS) writing no bytes; true when created.
  virtual bool CreateEmptyFile(std::string_view path) = 0;
  // The whole file at a UTF-16 path (CreateFileW), or none when it is missing, unreadable, or
  // larger than maxBytes (a larger file is not read at all).
  virtual std::optional<std::string> ReadWholeFile(const std::u16string& path, std::uint64_t maxBytes) = 0;
  // GetPrivateProfileStringA with an empty default and a buffer of bufferSize bytes.
  virtual std::string ReadIniString(std::string_view file, std::string_view section, std::string_view key,
                                    std::uint32_t bufferSize) = 0;
  // WritePrivateProfileStringA: true when the platform accepted the write.
  virtual bool WriteIniString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value) = 0;
  // SHGetSpecialFolderPathW(CSIDL_APPDATA): the roaming application-data folder, or empty. In
  // UTF-16, as the system keeps it: the user's name in it may have no form in the ANSI code page.
  virtual std::u16string AppDataFolder() = 0;
  // GetWindowsDirectoryW: the Windows folder, or empty.
  virtual std::u16string WindowsFolder() = 0;
};

}  // namespace platform
