// Finding processes by name and tuning them, on fake processes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "optimizer/process_names.h"
#include "optimizer/process_operations.h"
#include "tests/host/panel_scene.h"

namespace {

using namespace optimizer;
using testing::ElementsAre;
using testing_support::PanelScene;

TEST(ProcessNames, NarrowNameRules) {
  struct Case {
    const char* name;
    const char* wanted;
    bool exact;
    bool ignoringCase;
  };
  const Case cases[] = {
      {"mate-ai.exe", "mate-ai.exe", true, true},
      {"MATE-AI.EXE", "mate-ai.exe", false, true},
      {"mate-ai.exe", "mate-ai.ex", false, false},
      {"mate_ai.exe", "mate-ai.exe", false, false},
      {"@", "`", false, false},  // differ by the case bit, but are no letters
      {"[", "{", false, false},
      {"1", "Q", false, false},
      {"直播伴侣.exe", "直播伴侣.exe", true, true},
      {"直播伴侣.EXE", "直播伴侣.exe", false, true},
      {"直播伴侶.exe", "直播伴侣.exe", false, false},
      // Two double-byte characters whose trail bytes are 'A' and 'a': different characters.
      {"\xB0\x41.exe", "\xB0\x61.exe", false, false},
      {"", "", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NamesMatchExactly(c.name, c.wanted), c.exact) << c.name << " / " << c.wanted;
    EXPECT_EQ(NamesMatchIgnoringAsciiCase(c.name, c.wanted), c.ignoringCase) << c.name << " / " << c.wanted;
  }
}

TEST(ProcessNames, WideNamesIgnoreOnlyAsciiCase) {
  EXPECT_TRUE(NamesMatchIgnoringAsciiCase(u"MediaSDK_Server.EXE", u"mediasdk_server.exe"));
  EXPECT_TRUE(NamesMatchIgnoringAsciiCase(u"直播伴侣.Exe", u"直播伴侣.exe"));
  EXPECT_FALSE(NamesMatchIgnoringAsciiCase(u"\u00C9.exe", u"\u00E9.exe"));  // É, é: not ASCII
  EXPECT_FALSE(NamesMatchIgnoringAsciiCase(u"a.exe", u"a.exe "));
}

class ProcessOperationsTest : public testing::Test {
 protected:
  std::vector<std::string> CallsOn(const std::string& id) const {
    std::vector<std::string> calls;
    for (const auto& entry : scene.world.journal.Entries())
      if (entry.what.ends_with(" " + id) || entry.what.find(" " + id + " ") != std::string::npos) calls.push_back(entry.what);
    return calls;
  }
  PanelScene scene;
  fake::FakeProcesses& processes = scene.world.processes;
};

TEST_F(ProcessOperationsTest, EachOperationOpensWithItsRightsAndClosesItsHandle) {
  const std::uint32_t id = processes.Start("直播伴侣.exe");
  processes.processorCount = 4;
  const std::string text = std::to_string(id);
  TrimWorkingSet(processes, id);
  RestrictAffinity(processes, id);
  EXPECT_TRUE(RaisePriority(processes, id));
  EXPECT_THAT(CallsOn(text), ElementsAre("Open 0x1F0FFF " + text, "EmptyWorkingSet " + text, "Close " + text,
                                         "Open 0x1F0FFF " + text, "SetAffinityMask " + text + " 0xE", "Close " + text,
                                         "Open 0x200 " + text, "SetPriorityClass " + text + " 0x80", "Close " + text));
  EXPECT_EQ(processes.Find(id)->affinityMask, 0xEu);
  EXPECT_EQ(processes.Find(id)->priorityClass, 0x80u);
  EXPECT_EQ(processes.OpenHandles(), 0);
}

TEST_F(ProcessOperationsTest, EachLookupTakesItsOwnKindOfSnapshot) {
  processes.Start("mate-ai.exe");
  ProcessExists(processes, "mate-ai.exe");
  std::vector<std::uint32_t> ids;
  FindProcessIds(processes, "mate-ai.exe", ids);
  TrimNamedProcesses(processes, "mate-ai.exe");
  TrimAllWorkingSets(processes);
  EXPECT_THAT(scene.world.journal.Matching("Snapshot"),
              ElementsAre("Snapshot 0xF", "SnapshotWide 0xF", "Snapshot 0x2", "Snapshot 0xF"));
}

TEST_F(ProcessOperationsTest, CapitalLettersAreFoundButNotTrimmedByName) {
  const std::uint32_t shouting = processes.Start("MATE-AI.EXE");
  const std::uint32_t quiet = processes.Start("mate-ai.exe");
  EXPECT_TRUE(ProcessExists(processes, "mate-ai.exe"));
  std::vector<std::uint32_t> ids{99};
  EXPECT_EQ(FindProcessIds(processes, "mate-ai.exe", ids), 2);
  EXPECT_THAT(ids, ElementsAre(shouting, quiet));
  TrimNamedProcesses(processes, "mate-ai.exe");
  EXPECT_EQ(processes.Find(shouting)->trims, 0);
  EXPECT_EQ(processes.Find(quiet)->trims, 1);
}

TEST_F(ProcessOperationsTest, WhatCannotBeOpenedOrChangedIsPassedOver) {
  processes.ownId = processes.Start("companion-tuner.exe");
  processes.Add({.exeName = "System", .openable = false});
  const std::uint32_t stubborn = processes.Add({.exeName = "直播伴侣.exe", .refusesChanges = true}).id;
  const std::uint32_t game = processes.Start("game.exe");
  TrimAllWorkingSets(processes);
  EXPECT_EQ(processes.Find(processes.ownId)->trims, 1) << "the program's own process is trimmed too";
  EXPECT_EQ(processes.Find(game)->trims, 1);
  EXPECT_FALSE(TrimWorkingSet(processes, stubborn));
  EXPECT_FALSE(RaisePriority(processes, 4242)) << "a process that has ended";
  RestrictAffinity(processes, game);  // 0xE names processors a 2-core machine lacks
  EXPECT_EQ(processes.Find(game)->affinityMask, 0x3u);
  EXPECT_EQ(processes.OpenHandles(), 0);
}

TEST_F(ProcessOperationsTest, ASnapshotThatFailsFindsNothing) {
  processes.Start("直播伴侣.exe");
  processes.failSnapshots = true;
  std::vector<std::uint32_t> ids{1, 2};
  EXPECT_FALSE(ProcessExists(processes, "直播伴侣.exe"));
  EXPECT_EQ(FindProcessIds(processes, "直播伴侣.exe", ids), -1);
  EXPECT_TRUE(ids.empty());
  TrimAllWorkingSets(processes);
  TrimNamedProcesses(processes, "直播伴侣.exe");
  EXPECT_EQ(scene.world.journal.Count("Open"), 0u);
}

TEST_F(ProcessOperationsTest, PinningShowsThePanelAndMakesItsPausesWhateverItFinds) {
  struct Case {
    const char* what;
    int processes;
    bool snapshotFails;
    std::uint64_t lasts;
  };
  const Case cases[] = {
      {"nothing matches", 0, false, 4000},
      {"the snapshot fails", 1, true, 4000},
      {"two processes", 2, false, 4040},  // 10 ms after each process, each pass
  };
  for (const Case& c : cases) {
    PanelScene fresh;
    for (int i = 0; i < c.processes; ++i) fresh.world.processes.Start("直播伴侣.exe");
    fresh.world.processes.failSnapshots = c.snapshotFails;
    fresh.world.processes.processorCount = 4;
    PinNamedProcesses(fresh.context, "直播伴侣.exe", 2, 2000);
    EXPECT_EQ(fresh.world.Now(), c.lasts) << c.what;
    EXPECT_TRUE(fresh.world.windows.Window(ui::WindowId::Panel).visible) << c.what;
    EXPECT_EQ(fresh.world.journal.Count("SetAffinityMask"), c.snapshotFails ? 0u : 2u * c.processes) << c.what;
  }
}

TEST_F(ProcessOperationsTest, APinPassWithoutPauseDoesNotWaitWhenNothingMatches) {
  PinNamedProcesses(scene.context, "mate-ai.exe", 1, 0);
  EXPECT_EQ(scene.world.Now(), 0u);
  EXPECT_TRUE(scene.world.windows.Window(ui::WindowId::Panel).visible);
}

TEST_F(ProcessOperationsTest, AProcessThatEndsDuringThePinWaitsIsSimplyNotOpened) {
  processes.processorCount = 4;
  const std::uint32_t first = processes.Start("直播伴侣.exe");
  const std::uint32_t second = processes.Start("直播伴侣.exe");
  scene.world.At(5, [&] { processes.End(second); });
  PinNamedProcesses(scene.context, "直播伴侣.exe", 1, 0);
  EXPECT_EQ(processes.Find(first)->affinityMask, 0xEu);
  EXPECT_EQ(scene.world.journal.Count("Open 0x1F0FFF " + std::to_string(second)), 1u);
  EXPECT_EQ(scene.world.journal.Count("SetAffinityMask " + std::to_string(second)), 0u);
  EXPECT_EQ(processes.OpenHandles(), 0);
}

}  // namespace
