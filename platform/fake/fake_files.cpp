#include "platform/fake/fake_files.h"

#include <sstream>
#include <vector>

#include "platform/text.h"

namespace fake {

namespace {

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  std::istringstream stream(content);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool IsSection(std::string_view line, std::string_view section) {
  line = Trim(line);
  return line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
         SameIgnoringAsciiCase(Trim(line.substr(1, line.size() - 2)), section);
}

// GetPrivateProfileString drops one pair of matching quotes around a value.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

bool IsKey(std::string_view line, std::string_view key) {
  const auto equals = line.find('=');
  return equals != std::string_view::npos && SameIgnoringAsciiCase(Trim(line.substr(0, equals)), key);
}

}  // namespace

std::u16string FakeFiles::Wide(std::string_view path) {
  return platform::MultiByteToUtf16(platform::kGbkCodePage, path);
}

std::u16string FakeFiles::Key(std::u16string_view path) {
  std::u16string key(path);
  for (char16_t& c : key) {
    if (c == u'/') c = u'\\';
    else if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  while (key.size() > 3 && key.back() == u'\\') key.pop_back();
  return key;
}

FakeFile* FakeFiles::Find(std::u16string_view path) {
  const auto found = files_.find(Key(path));
  return found == files_.end() ? nullptr : &found->second;
}

bool FakeFiles::MayWrite(std::string_view path) {
  const std::u16string key = Key(Wide(path));
  const auto slash = key.rfind(u'\\');
  const std::u16string folder = slash == std::u16string::npos ? std::u16string() : key.substr(0, slash == 2 ? 3 : slash);
  const FakeFile* existing = Find(path);
  return !readOnlyFolders_.count(folder) && !(existing && (existing->directory || !existing->readable));
}

std::optional<std::uint32_t> FakeFiles::FindFirst(const std::u16string& path) {
  const FakeFile* file = Find(path);
  if (!file) return std::nullopt;
  return file->directory ? platform::kDirectoryAttribute : 0x20u;  // FILE_ATTRIBUTE_ARCHIVE
}

bool FakeFiles::CreateEmptyFile(std::string_view path) {
  Record("CreateEmptyFile " + std::string(path));
  if (!MayWrite(path)) return false;
  Write(path, {});
  return true;
}

std::optional<std::string> FakeFiles::ReadWholeFile(const std::u16string& path, std::uint64_t maxBytes) {
  const FakeFile* file = Find(path);
  if (!file || file->directory || !file->readable || file->content.size() > maxBytes) return std::nullopt;
  bytesRead += file->content.size();
  return file->content;
}

std::string FakeFiles::ReadIniString(std::string_view path, std::string_view section, std::string_view key,
                                     std::uint32_t bufferSize) {
  Record("ReadIniString " + std::string(path) + " [" + std::string(section) + "] " + std::string(key));
  const FakeFile* file = Find(path);
  if (!file || file->directory || !file->readable || bufferSize == 0) return {};
  bool inSection = false;
  for (const std::string& line : Lines(file->content)) {
    if (Trim(line).starts_with('[')) {
      inSection = IsSection(line, section);
    } else if (inSection && IsKey(line, key)) {
      const std::string_view value = Unquoted(Trim(std::string_view(line).substr(line.find('=') + 1)));
      return std::string(value.substr(0, bufferSize - 1));
    }
  }
  return {};
}

bool FakeFiles::WriteIniString(std::string_view path, std::string_view section, std::string_view key,
                               std::string_view value) {
  Record("WriteIniString " + std::string(path) + " [" + std::string(section) + "] " + std::string(key) + "=" +
         std::string(value));
  if (!MayWrite(path)) return false;
  const FakeFile* existing = Find(path);
  std::vector<std::string> lines = existing ? Lines(existing->content) : std::vector<std::string>{};
  const std::string entry = std::string(key) + "=" + std::string(value);
  std::size_t sectionAt = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (IsSection(lines[i], section)) sectionAt = i;
  if (sectionAt == lines.size()) {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
  } else {
    std::size_t end = sectionAt + 1;
    while (end < lines.size() && !Trim(lines[end]).starts_with('[')) ++end;
    std::size_t at = sectionAt + 1;
    while (at < end && !IsKey(lines[at], key)) ++at;
    if (at < end) lines[at] = entry;
    else lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), entry);
  }
  std::string content;
  for (const auto& line : lines) content += line + "\r\n";
  Write(path, content);
  return true;
}

}  // namespace fake
