#pragma once
// Files and folders on the fake platform, with the private-profile (INI) calls over them.
// Paths compare as Windows compares them: ASCII case ignored, '/' the same as '\'. The
// system keeps them in UTF-16; a test names them in UTF-16 or as the program does, in GBK.
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

  void Write(std::u16string_view path, std::string content) { files_[Key(path)] = FakeFile{std::move(content)}; }
  void Write(std::string_view path, std::string content) { Write(Wide(path), std::move(content)); }
  void MakeDirectory(std::string_view path) { files_[Key(Wide(path))] = FakeFile{.directory = true}; }
  void Remove(std::string_view path) { files_.erase(Key(Wide(path))); }
  FakeFile* Find(std::u16string_view path);
  FakeFile* Find(std::string_view path) { return Find(Wide(path)); }
  // Writes into this folder (not below it) are refused, as at the root of C: without rights.
  void MakeReadOnly(std::string_view folder) { readOnlyFolders_.insert(Key(Wide(folder))); }

  std::u16string appDataFolder = u"C:\\users\\streamer\\AppData\\Roaming";
  std::u16string windowsFolder = u"C:\\windows";
  std::uint64_t bytesRead = 0;

  // platform::Files
  std::optional<std::uint32_t> FindFirst(const std::u16string& path) override;
  bool CreateEmptyFile(std::string_view path) override;
  std::optional<std::string> ReadWholeFile(const std::u16string& path, std::uint64_t maxBytes) override;
  std::string ReadIniString(std::string_view file, std::string_view section, std::string_view key,
                            std::uint32_t bufferSize) override;
  bool WriteIniString(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value) override;
  std::u16string AppDataFolder() override { return appDataFolder; }
  std::u16string WindowsFolder() override { return windowsFolder; }

 private:
  // A GBK path of the program's or a test's, as the system takes it.
  static std::u16string Wide(std::string_view path);
  static std::u16string Key(std::u16string_view path);
  bool MayWrite(std::string_view path);
  void Record(std::string what) { journal_.Add(scheduler_.Now(), std::move(what)); }

  Scheduler& scheduler_;
  Journal& journal_;
  std::map<std::u16string, FakeFile> files_;
  std::set<std::u16string> readOnlyFolders_;
};

}  // namespace fake
