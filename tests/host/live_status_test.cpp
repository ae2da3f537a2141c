// The status line read from the companion's room-state file, and the end of the program
// when the companion has gone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "monitor/live_status.h"
#include "platform/text.h"
#include "script/script_engine.h"
#include "script/script_json.h"
#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing::ElementsAre;
using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace panel = ui::panel;

std::string Bytes(std::u8string_view utf8) { return std::string(utf8.begin(), utf8.end()); }

class LiveStatusTest : public testing::Test {
 protected:
  void SetUp() override { scene.HandOverAt(0); }
  std::string StatusLine() const { return scene.world.windows.Control(panel::透明标签1).text; }
  // The status line at each of these times.
  std::vector<std::string> StatusLineAt(std::initializer_list<std::uint64_t> times, std::uint64_t runUntil) {
    std::vector<std::string> seen;
    for (std::uint64_t time : times) scene.world.At(time, [&] { seen.push_back(StatusLine()); });
    RunProgram(scene.world, runUntil);
    return seen;
  }
  CompanionScene scene;
};

TEST_F(LiveStatusTest, TheStatusMemberDecidesTheLine) {
  struct Case {
    const char* what;
    std::optional<std::string> file;  // none: no file
    const char* line;
  };
  const std::string unchanged = "请开启直播";
  const Case cases[] = {
      {"live, a number", Bytes(u8R"({"roomStore":{"status":2}})"), "检测到已开播"},
      {"live, a string", Bytes(u8R"({"roomStore":{"status":"2"}})"), "检测到已开播"},
      {"not live", Bytes(u8R"({"roomStore":{"status":4}})"), "您还未开播"},
      {"Chinese texts and nesting", Bytes(u8R"({"a":{"标题":"直播"},"roomStore":{"title":"今晚","x":{"status":4},"status":2}})"),
       "检测到已开播"},
      {"line and paragraph separators in a title", Bytes(u8"{\"roomStore\":{\"title\":\"上分\u2028\u2029\",\"status\":2}}"),
       "检测到已开播"},
      {"a byte-order mark first", "\xEF\xBB\xBF" + Bytes(u8R"({"roomStore":{"status":2}})"), "检测到已开播"},
      {"status 3", Bytes(u8R"({"roomStore":{"status":3}})"), unchanged.c_str()},
      {"status 2.0", Bytes(u8R"({"roomStore":{"status":"2.0"}})"), unchanged.c_str()},
      {"no roomStore", Bytes(u8R"({"status":2})"), unchanged.c_str()},
      {"no file", std::nullopt, unchanged.c_str()},
      {"an empty file", "", unchanged.c_str()},
      {"half written", Bytes(u8R"({"roomStore":{"status":2,"ti)"), unchanged.c_str()},
      {"not JSON", "roomStore.status = 2", unchanged.c_str()},
      {"script instead of JSON", "{roomStore: {status: 2}}", unchanged.c_str()},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), unchanged.c_str()},
      {"a zero byte before the document", std::string("\0{\"roomStore\":{\"status\":2}}", 28), unchanged.c_str()},
  };
  for (const Case& c : cases) {
    CompanionScene fresh;
    fresh.HandOverAt(0);
    if (c.file) fresh.world.files.Write(testing_support::kRoomStatePath, *c.file);
    RunProgram(fresh.world, 2500);
    EXPECT_EQ(fresh.world.windows.Control(panel::透明标签1).text, c.line) << c.what;
  }
}

TEST_F(LiveStatusTest, TheLineFollowsTheStatusWithinASecond) {
  scene.WriteRoomState(u8R"({"roomStore":{"status":4}})");
  scene.GoLiveAt(3000);
  scene.world.At(6000, [this] { scene.WriteRoomState(u8R"({"roomStore":{"status":4}})"); });
  scene.world.At(9000, [this] { scene.world.files.Remove(testing_support::kRoomStatePath); });
  EXPECT_THAT(StatusLineAt({2900, 4000, 7000, 12000}, 12500),
              ElementsAre("您还未开播", "检测到已开播", "您还未开播", "您还未开播"));
}

TEST_F(LiveStatusTest, AFileTooLargeIsNotReadAndChangesNothing) {
  std::string huge = Bytes(u8R"({"roomStore":{"status":2},"pad":")");
  huge.append(3u << 20, 'x');
  huge += "\"}";
  scene.world.files.Write(testing_support::kRoomStatePath, huge);
  EXPECT_THAT(StatusLineAt({3000}, 3100), ElementsAre("请开启直播"));
  EXPECT_EQ(scene.world.files.bytesRead, 0u);
}

TEST_F(LiveStatusTest, ALockedFileChangesNothing) {
  scene.WriteRoomState(u8R"({"roomStore":{"status":2}})");
  scene.world.files.Find(testing_support::kRoomStatePath)->readable = false;
  EXPECT_THAT(StatusLineAt({3000}, 3100), ElementsAre("请开启直播"));
}

TEST_F(LiveStatusTest, WithoutAnApplicationDataFolderTheRelativePathIsTried) {
  scene.world.files.appDataFolder = u"";
  scene.world.files.Write("webcast_mate\\WBStore\\roomStore.json", Bytes(u8R"({"roomStore":{"status":2}})"));
  EXPECT_THAT(StatusLineAt({3000}, 3100), ElementsAre("检测到已开播"));
}

TEST_F(LiveStatusTest, TheProgramEndsWithinASecondOfTheCompanionWithoutATrim) {
  scene.world.At(5000, [this] { scene.world.processes.End(scene.companion); });
  const auto run = RunProgram(scene.world, 60000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_GT(run.endedAt, 5000u);
  EXPECT_LE(run.endedAt, 6000u);
  EXPECT_EQ(scene.world.journal.Count("EmptyWorkingSet"), 0u);
  EXPECT_EQ(scene.world.session.cleanupRuns, 1);
}

// The folder as the system keeps it, in UTF-16: the room-state file is found below a user's
// folder whatever its name, also one that GBK (or the system's ANSI code page) cannot write.
TEST(LiveStatusFolder, TheFileIsFoundBelowAnyUsersFolder) {
  for (const std::u16string folder : {u"C:\\Users\\streamer\\AppData\\Roaming", u"C:\\Users\\主播小乗\\AppData\\Roaming",
                                      u"C:\\Users\\김민준\\AppData\\Roaming"}) {
    SCOPED_TRACE(platform::Utf16ToMultiByte(platform::kUtf8CodePage, folder));
    CompanionScene scene;
    scene.HandOverAt(0);
    scene.world.files.appDataFolder = folder;
    scene.world.files.Write(folder + u"\\webcast_mate\\WBStore\\roomStore.json", Bytes(u8R"({"roomStore":{"status":2}})"));
    RunProgram(scene.world, 2500);
    EXPECT_EQ(scene.world.windows.Control(panel::透明标签1).text, monitor::kLiveText);
  }
}

TEST(RoomStatePath, ASeparatorIsAddedOnlyWhereTheFolderLacksOne) {
  struct Case {
    std::u16string_view folder;
    std::u16string_view path;
  };
  const Case cases[] = {
      {u"C:\\Users\\a\\AppData\\Roaming", u"C:\\Users\\a\\AppData\\Roaming\\webcast_mate\\WBStore\\roomStore.json"},
      {u"C:\\Roaming\\", u"C:\\Roaming\\webcast_mate\\WBStore\\roomStore.json"},
      // The GBK form of the last character ends in 0x5C; in UTF-16 it is no backslash.
      {u"C:\\乗", u"C:\\乗\\webcast_mate\\WBStore\\roomStore.json"},
      {u"", u"webcast_mate\\WBStore\\roomStore.json"},
  };
  for (const Case& c : cases) EXPECT_EQ(monitor::RoomStatePath(std::u16string(c.folder)), c.path);
}

TEST(RoomStateDocument, IsTheUtf8TextAsUtf16UpToTheFirstZero) {
  EXPECT_EQ(monitor::RoomStateDocument(Bytes(u8"直播伴侣")), u"直播伴侣");
  EXPECT_EQ(monitor::RoomStateDocument(std::string("ab\0cd", 5)), u"ab");
  EXPECT_EQ(monitor::RoomStateDocument(""), u"");
  EXPECT_EQ(monitor::RoomStateDocument("\xEF\xBB\xBF{}"), u"{}") << "a byte-order mark is left out";
  EXPECT_EQ(monitor::RoomStateDocument(Bytes(u8"a\u0E01b")), u"a\u0E01b") << "no GBK form, and none needed";
}

// An engine that cannot be made at one reading is made at the next: the status line does not
// stay as it is for the rest of the run.
TEST(RoomStateEngine, OneThatCouldNotBeMadeIsMadeAtTheNextReading) {
  static int attempts = 0;
  const script::EngineFactory failsTheFirstTime = [] {
    return attempts++ == 0 ? nullptr : script::CreateDuktapeEngine();
  };
  const auto json = script::CreateScriptJson(failsTheFirstTime);
  const std::string live = Bytes(u8R"({"roomStore":{"status":2}})");
  EXPECT_EQ(monitor::ReadRoomState(*json, live).statusLine, "") << "no engine yet";
  EXPECT_EQ(monitor::ReadRoomState(*json, live).statusLine, monitor::kLiveText);
  EXPECT_EQ(monitor::ReadRoomState(*json, Bytes(u8R"({"roomStore":{"status":4}})")).statusLine, monitor::kNotLiveText);
  EXPECT_EQ(attempts, 2) << "made once it could be, and kept";
}

}  // namespace
