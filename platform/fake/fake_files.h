#pragma once
// Files and folders on the fake platform, with the private-profile (INI) calls over them.
// Paths compare as Windows compares them: ASCII case ignored, '/' the same as '\'.
#include <map>
#include <set>
#include <string>

#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"
#include "platform/files.h"

namespace fake {

struct FakeFile {
  std::string content;
  bool directory = false;
  bool readable = true;  // false: locked by another program or denied
};

class FakeFiles final : public platform::Files {
 public:
  FakeFiles(Scheduler& scheduler, Journal& journal) : scheduler_(scheduler), journal_(journal) {}

  void Write(std::string_view path, std::string content) { files_[Key(path)] = FakeFile{std::move(content)}; }
  void MakeDirectory(std::string_view path) { files_[Key(path)] = FakeFile{.directory = true}; }
  void Remove(std::string_view path) { files_.erase(Key(path)); }
  FakeFile* Find(std::string_view path);
  // Writes into this folder (not below it) are refused, as at the root of C: without rights.
  void MakeReadOnly(std::string_view folder) { readOnlyFolders_.insert(Key(folder)); }

  std::string appDataFolder = "C:\\users\\streamer\\AppData\\Roaming";
  std::u16string windowsFolder = u"C:\\windows";
  std::uint64_t bytesRead = 0;

  // platform::Files
  std::optional<std::uint32_t> FindFirst(const std::u16string& path) override;
  bool CreateEmptyFile(std::string_view path) override;
  std::optional<std::string> ReadWholeFile(std::string_view path, std::uint64_t maxBytes) override;
  std::string ReadIniString(std::string_view file, std::string_view section, std::string_view key,
                            std::uint32_t bufferSize) override;
  bool WriteIniString(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value) override;
  std::string AppDataFolder() override { return appDataFolder; }
  std::u16string WindowsFolder() override { return windowsFolder; }

 private:
  static std::string Key(std::string_view path);
  bool MayWrite(std::string_view path);
  void Record(std::string what) { journal_.Add(scheduler_.Now(), std::move(what)); }

  Scheduler& scheduler_;
  Journal& journal_;
  std::map<std::string, FakeFile> files_;
  std::set<std::string> readOnlyFolders_;
};

}  // namespace fake
