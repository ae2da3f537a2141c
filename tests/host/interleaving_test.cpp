// The user's, the companion's and the game's actions at random moments, inside every kind of
// wait, replayed against the whole program in virtual time: every rule holds after every step.
// A failing seed prints its sequence, shrunk; kept in interleaving/regressions.txt it stays
// fixed. CT_INTERLEAVING_SEEDS and CT_INTERLEAVING_FIRST_SEED run other seeds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/host/interleaving/generator.h"
#include "tests/host/interleaving/replay.h"
#include "tests/host/interleaving/shrink.h"

namespace {

using namespace interleaving;

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  return value ? std::strtoull(value, nullptr, 10) : fallback;
}

// The found sequences, separated by blank lines.
std::vector<std::string> FoundSequences() {
  std::ifstream file(CT_INTERLEAVING_REGRESSIONS);
  std::vector<std::string> blocks(1);
  for (std::string line; std::getline(file, line);) {
    if (!line.empty()) blocks.back() += line + "\n";
    else if (!blocks.back().empty()) blocks.emplace_back();
  }
  if (blocks.back().empty()) blocks.pop_back();
  return blocks;
}

TEST(Interleaving, RandomSequencesKeepEveryRule) {
  const std::uint64_t first = FromEnvironment("CT_INTERLEAVING_FIRST_SEED", 1);
  const std::uint64_t count = FromEnvironment("CT_INTERLEAVING_SEEDS", 3000);
  int reported = 0;
  for (std::uint64_t seed = first; seed < first + count && reported < 3; ++seed) {
    SeededSource source(seed);
    const Sequence sequence = Generate(source);
    if (Replay(sequence).empty()) continue;
    const Sequence shrunk = Shrink(sequence, [](const Sequence& s) { return !Replay(s).empty(); });
    ADD_FAILURE() << "seed " << seed << ": " << Replay(shrunk) << "\n" << ToText(shrunk);
    ++reported;
  }
}

TEST(Interleaving, FoundSequencesStayFixed) {
  const std::vector<std::string> found = FoundSequences();
  ASSERT_FALSE(found.empty()) << CT_INTERLEAVING_REGRESSIONS;
  for (const std::string& text : found) {
    std::string error;
    const std::optional<Sequence> sequence = ParseSequence(text, error);
    ASSERT_TRUE(sequence) << error << "\n" << text;
    EXPECT_EQ(Replay(*sequence), "") << text;
  }
}

// What a failing run prints is what a regression case holds.
TEST(Interleaving, TheTextFormReadsBackAsTheSameSequence) {
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    SeededSource source(seed);
    const std::string text = ToText(Generate(source));
    std::string error;
    const std::optional<Sequence> read = ParseSequence(text, error);
    ASSERT_TRUE(read) << error << "\n" << text;
    EXPECT_EQ(ToText(*read), text);
  }
  std::string error;
  EXPECT_FALSE(ParseSequence("scene\n+10 click Start.nothing\n", error));
  EXPECT_FALSE(ParseSequence("+10 close Start\n", error)) << "no scene";
  EXPECT_FALSE(ParseSequence("scene\n@never#1+5 close Start\n", error));
}

}  // namespace
