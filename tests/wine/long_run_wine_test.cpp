// The program over a long run under Wine, live and optimizing beside the stand-in companion:
// its handle, GDI and USER object counts and its memory stay flat, and the panel stays docked.
// CT_LONG_RUN_SECONDS sets the run's length: ctest runs a short one, and the ten-minute one
// under the configuration "long" (ctest --preset windows -C long -L long).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "tests/wine/optimizing_scene.h"

namespace {

using namespace harness;

int RunSeconds() {
  const char* chosen = std::getenv("CT_LONG_RUN_SECONDS");
  return chosen ? std::max(20, std::atoi(chosen)) : 40;
}

template <typename Read>
std::vector<std::uint64_t> Values(const std::vector<ProcessCounts>& samples, Read read) {
  std::vector<std::uint64_t> values;
  for (const ProcessCounts& sample : samples) values.push_back(read(sample));
  return values;
}

std::uint64_t Largest(const std::vector<std::uint64_t>& values) { return *std::max_element(values.begin(), values.end()); }

std::uint64_t Median(std::vector<std::uint64_t> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST(LongRun, ObjectCountsAndMemoryStayFlat) {
  std::string failure;
  OptimizingScene scene = StartOptimizingScene(failure);
  ASSERT_TRUE(scene.run.panel) << failure;
  const DWORD program = scene.run.program.Id();
  Sleep(10000);  // past the first re-tune and the pages every path touches once

  const int seconds = RunSeconds(), every = std::max(2, seconds / 30);
  std::vector<ProcessCounts> samples;
  for (int second = 0; second <= seconds; second += every) {
    const auto counts = CountsOf(program);
    ASSERT_TRUE(counts) << "the program ended after " << second << " s";
    samples.push_back(*counts);
    Sleep(static_cast<DWORD>(every) * 1000);
  }
  EXPECT_TRUE(IsWindowVisible(scene.run.panel));
  EXPECT_EQ(WindowRectOf(scene.run.panel).top, WindowRectOf(FindCompanionWindow()).bottom) << "still docked";

  // The first and the last third of the run, compared.
  const std::size_t third = samples.size() / 3;
  const std::vector<ProcessCounts> first(samples.begin(), samples.begin() + third);
  const std::vector<ProcessCounts> last(samples.end() - third, samples.end());
  // A sample may fall inside a tick that holds a file or a process open.
  constexpr std::uint64_t kTransientHandles = 3;
  const std::pair<const char*, std::function<std::uint64_t(const ProcessCounts&)>> counts[] = {
      {"handles", [](const ProcessCounts& c) { return c.handles; }},
      {"GDI objects", [](const ProcessCounts& c) { return c.gdiObjects; }},
      {"USER objects", [](const ProcessCounts& c) { return c.userObjects; }},
  };
  for (const auto& [what, read] : counts)
    EXPECT_LE(Largest(Values(last, read)), Largest(Values(first, read)) + kTransientHandles) << what;
  constexpr std::uint64_t kMemorySlack = 1u << 20;
  const std::pair<const char*, std::function<std::uint64_t(const ProcessCounts&)>> memory[] = {
      {"working set", [](const ProcessCounts& c) { return c.workingSet; }},
      {"private bytes", [](const ProcessCounts& c) { return c.privateBytes; }},
  };
  for (const auto& [what, read] : memory) {
    const std::uint64_t before = Median(Values(first, read)), after = Median(Values(last, read));
    EXPECT_LE(after, before + kMemorySlack) << what << ": " << before << " bytes, then " << after;
  }
  std::printf("over %d s: handles %lu to %lu, working set %.1f to %.1f MB, private %.1f to %.1f MB\n", seconds,
              samples.front().handles, samples.back().handles, samples.front().workingSet / 1048576.0,
              samples.back().workingSet / 1048576.0, samples.front().privateBytes / 1048576.0,
              samples.back().privateBytes / 1048576.0);
}

}  // namespace
