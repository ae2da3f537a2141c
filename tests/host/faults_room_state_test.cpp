// The room-state file while the companion rewrites it: deleted, locked, half-written or
// replaced between two reads. The status line keeps what it last knew until a whole
// document is read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "monitor/live_status.h"
#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using monitor::kLiveText;
using monitor::kNotLiveText;
using testing_support::CompanionScene;
using testing_support::kRoomStatePath;
using testing_support::RunProgram;
namespace panel = ui::panel;

std::string Bytes(std::u8string_view utf8) { return std::string(utf8.begin(), utf8.end()); }

const std::string kNotLiveDocument = Bytes(u8R"({"roomStore":{"title":"今晚上分","status":4}})");

// What the program finds at the path in place of a whole document.
struct Fault {
  const char* what;
  std::function<void(fake::FakeFiles&)> stage;
};

void Replace(fake::FakeFiles& files, std::string content) { files.Write(kRoomStatePath, std::move(content)); }

std::string Utf16(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

TEST(RoomStateFaults, TheStatusLineKeepsItsLastValueUntilAWholeDocumentIsRead) {
  std::string oversized = kNotLiveDocument;
  oversized.insert(1, "\"pad\":\"" + std::string(3u << 20, 'x') + "\",");
  const Fault faults[] = {
      {"deleted", [](auto& files) { files.Remove(kRoomStatePath); }},
      {"locked by the companion", [](auto& files) { files.Find(kRoomStatePath)->readable = false; }},
      {"a folder in its place", [](auto& files) { files.MakeDirectory(kRoomStatePath); }},
      {"truncated to nothing", [](auto& files) { Replace(files, ""); }},
      {"half written after the new status", [](auto& files) { Replace(files, Bytes(u8R"({"roomStore":{"status":4,"ti)")); }},
      {"cut inside the status", [](auto& files) { Replace(files, Bytes(u8R"({"roomStore":{"status":)")); }},
      {"cut inside a Chinese character", [](auto& files) { Replace(files, kNotLiveDocument.substr(0, 25)); }},
      {"written over space of zeros",
       [](auto& files) { Replace(files, Bytes(u8R"({"roomStore":{"status":4)") + std::string(64, '\0')); }},
      {"zeros only", [](auto& files) { Replace(files, std::string(4096, '\0')); }},
      {"binary", [](auto& files) { Replace(files, std::string("\x1F\x8B\x08\0\0\0\0\0\x02\xFF", 10)); }},
      {"UTF-16", [](auto& files) { Replace(files, Utf16(u"{\"roomStore\":{\"status\":4}}")); }},
      {"a document without roomStore", [](auto& files) { Replace(files, Bytes(u8R"({"settingStore":{"status":4}})")); }},
      {"roomStore deeper down", [](auto& files) { Replace(files, Bytes(u8R"({"user":{"roomStore":{"status":4}}})")); }},
      {"an array", [](auto& files) { Replace(files, "[4]"); }},
      {"a bare number", [](auto& files) { Replace(files, "4"); }},
      {"null", [](auto& files) { Replace(files, "null"); }},
      {"code instead of a value",
       [](auto& files) { Replace(files, Bytes(u8R"({"roomStore":{"status":(function(){return 4})()}})")); }},
      {"larger than the program reads", [&](auto& files) { Replace(files, oversized); }},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    CompanionScene scene;
    scene.HandOverAt(0);
    scene.GoLiveAt(500);
    scene.world.At(1500, [&] { fault.stage(scene.world.files); });
    scene.world.At(5500, [&] { scene.WriteRoomState(u8R"({"roomStore":{"title":"今晚上分","status":4}})"); });
    std::vector<std::string> seen;
    for (std::uint64_t time : {1400, 2400, 5400, 6400})
      scene.world.At(time, [&] { seen.push_back(scene.world.windows.Control(panel::透明标签1).text); });
    const auto run = RunProgram(scene.world, 6500);
    EXPECT_FALSE(run.ended);
    EXPECT_THAT(seen, testing::ElementsAre(kLiveText, kLiveText, kLiveText, kNotLiveText));
  }
}

TEST(RoomStateFaults, AWholeDocumentWithABrokenCharacterInATextIsStillRead) {
  CompanionScene scene;
  scene.HandOverAt(0);
  scene.WriteRoomState(u8R"({"roomStore":{"status":2}})");
  // The title's last character lost its final byte: the text holds a replacement character.
  scene.world.At(1500, [&] {
    scene.world.files.Write(kRoomStatePath, "{\"roomStore\":{\"title\":\"\xE4\xBB\x8A\xE6\x99\",\"status\":4}}");
  });
  RunProgram(scene.world, 2500);
  EXPECT_EQ(scene.world.windows.Control(panel::透明标签1).text, kNotLiveText);
}

}  // namespace
