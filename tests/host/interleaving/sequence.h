#pragma once
// A sequence of the user's, the companion's and the game's actions, each at a virtual moment,
// replayed against the whole program on the fake platform. Its text form is what a failing
// run prints and what the regression cases hold, one step a line:
//
//   scene notice=1 game=game.exe companion=1 helpers=1 room=live cores=4 box=300
//   +1200 click Start.按钮1
//   @optimization#1+2500 close Panel
//
// "+N" runs a step N ms after the step before it; "@anchor#K+N" runs it N ms after the K-th
// call of the program that the anchor names, counted from the step before it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace interleaving {

// The world the program starts in.
struct Scene {
  bool noticeSeen = true;    // "C:\CHZS.txt" exists
  std::string game;          // the stored game name; empty: no settings file
  bool companion = true;     // the companion runs, with its window
  bool helpers = true;       // its two helper processes run
  std::string room = "live";  // the room-state file: live, not-live or none
  int cores = 4;
  std::uint32_t boxMs = 300;  // how long the user takes to dismiss a message box
};

// Calls of the program a step can wait for: the moments just before its waits.
enum class Anchor : std::uint8_t {
  None,
  HandOver,      // the start window hidden by the hand-over
  PanelCreated,  // the panel's window created
  Optimization,  // the start button disabled: the optimization's start begins
  Trim,          // a working set emptied
  Pin,           // an affinity set
  Retune,        // the re-tuning timer armed (its ticks come a minute apart)
  MessageBox,    // a message box shown
};

struct Step {
  Anchor anchor = Anchor::None;
  int occurrence = 1;
  std::uint32_t delayMs = 0;
  std::string verb;    // click, double-click, press, type, close, panel, second-instance,
                       // room, window, companion, helpers, foreground, game
  std::string object;  // a control ("Start.按钮1"), a window, or a variant of the verb
};

struct Sequence {
  Scene scene;
  std::vector<Step> steps;
};

// The journal prefix of an anchor's call.
std::string_view CallOf(Anchor anchor);

// The text form; texts are UTF-8 there, GBK in the program.
std::string ToText(const Sequence& sequence);
// Parses the text form (lines starting with '#' are comments); none, with the reason, when a
// line cannot be read.
std::optional<Sequence> ParseSequence(std::string_view text, std::string& error);

}  // namespace interleaving
