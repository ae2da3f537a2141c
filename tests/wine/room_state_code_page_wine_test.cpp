// The room-state file on a PC whose ANSI code page is not 936, below a user's folder named in
// Chinese. ctest runs these in a Wine prefix of their own, made for a user named "主播小運" in
// the C.UTF-8 locale, where the ANSI code page is 1252 (tests/wine/CMakeLists.txt).
// The monitor's headers come first: they name a window member that windows.h would turn into
// a macro.
#include "monitor/live_status.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "script/script_engine.h"
#include "script/script_json.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace {

std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::wstring AppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
  return folder;
}

void WriteRoomState(const std::string& utf8) {
  const std::wstring companion = AppDataFolder() + L"\\webcast_mate";
  CreateDirectoryW(companion.c_str(), nullptr);
  CreateDirectoryW((companion + L"\\WBStore").c_str(), nullptr);
  HANDLE file = CreateFileW((companion + L"\\WBStore\\roomStore.json").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

// What the panel reads each second, through the real platform.
monitor::RoomStateReading ReadTheUsersRoomState() {
  platform::Files& files = platform::win32::RealPlatform().files;
  return monitor::ReadRoomState(
      files.ReadWholeFile(monitor::RoomStatePath(files.AppDataFolder()), monitor::kMaxRoomStateBytes));
}

// A room title ending in a character whose GBK form ends in the byte of a backslash.
const std::string kLiveWithTitle = Utf8(u8R"({"roomStore":{"title":"今晚好運","status":2}})");

// The scene holds both faults of the ANSI code page: the folder's ANSI form names no folder,
// and the document taken to GBK and into the engine through that code page is spoilt.
TEST(RoomStateCodePage, TheSceneIsOneWhereTheAnsiCodePageFails) {
  EXPECT_EQ(GetACP(), 1252u);
  char ansiFolder[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, ansiFolder, CSIDL_APPDATA, FALSE));
  EXPECT_EQ(GetFileAttributesA(ansiFolder), INVALID_FILE_ATTRIBUTES) << ansiFolder;
  EXPECT_NE(GetFileAttributesW(AppDataFolder().c_str()), INVALID_FILE_ATTRIBUTES);

  const auto json = script::CreateScriptJson(script::CreateDuktapeEngine);
  json->Parse(platform::FromUtf16(platform::MultiByteToUtf16(platform::kUtf8CodePage, kLiveWithTitle)));
  EXPECT_EQ(json->GetText("roomStore.status"), "");
}

TEST(RoomStateCodePage, TheStatusIsReadBelowTheUsersFolder) {
  struct Case {
    const char* what;
    std::string document;
    std::string_view statusLine;
  };
  const Case cases[] = {
      {"live", kLiveWithTitle, monitor::kLiveText},
      {"not live", Utf8(u8R"({"roomStore":{"title":"好運","status":4}})"), monitor::kNotLiveText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRoomState(c.document);
    EXPECT_EQ(ReadTheUsersRoomState().statusLine, c.statusLine);
  }
}

}  // namespace
