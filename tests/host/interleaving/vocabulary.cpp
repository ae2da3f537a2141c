#include "tests/host/interleaving/vocabulary.h"

#include <algorithm>

#include "platform/fake/fake_windows.h"
#include "ui/design.h"

namespace interleaving {

namespace {

// Every control the user can point at (timers are not among them), as "Window.name".
std::vector<std::string> Controls() {
  std::vector<std::string> names;
  for (ui::WindowId window : {ui::WindowId::Start, ui::WindowId::Panel}) {
    const auto& controls = ui::DesignOf(window).controls;
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i].kind != ui::Kind::Timer) names.push_back(fake::NameOf(ui::ControlId{window, static_cast<std::uint8_t>(i)}));
  }
  return names;
}

std::vector<Verb> MakeVerbs() {
  const std::vector<std::string> controls = Controls();
  return {
      {"click", controls},
      {"double-click", controls},
      {"press", controls},
      {"type", {"empty", "blanks", "long", "chinese", "beyond-gbk", "game", "game.exe"}},
      {"close", {"Start", "Panel"}},
      {"panel", {"minimise", "cover"}},
      {"second-instance", {""}},
      {"room", {"live", "not-live", "deleted", "half", "other", "garbage", "locked", "unlocked"}},
      {"window", {"move", "minimise", "maximise", "hide", "show", "restore", "cover-screen", "below-screen", "retitle",
                  "title", "second", "no-second", "close", "open"}},
      {"companion", {"end", "start"}},
      {"helpers", {"end", "start"}},
      {"foreground", {"companion", "second", "other", "none"}},
      {"game", {"start", "end"}},
  };
}

}  // namespace

std::span<const Verb> Verbs() {
  static const std::vector<Verb> verbs = MakeVerbs();
  return verbs;
}

const Verb* FindVerb(std::string_view name) {
  for (const Verb& verb : Verbs())
    if (verb.name == name) return &verb;
  return nullptr;
}

bool IsKnown(std::string_view verb, std::string_view object) {
  const Verb* found = FindVerb(verb);
  return found && std::find(found->objects.begin(), found->objects.end(), object) != found->objects.end();
}

}  // namespace interleaving
