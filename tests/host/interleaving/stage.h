#pragma once
// The fake world a sequence is replayed in: set up as its scene says, and changed by its
// steps as the user, the companion and the game would change it. An action the user could
// not take at that moment (a click on a hidden window) does nothing.
#include <cstdint>

#include "platform/fake/world.h"
#include "tests/host/interleaving/sequence.h"

namespace interleaving {

class Stage {
 public:
  Stage(fake::World& world, const Scene& scene);
  void Perform(const Step& step);

  bool CompanionRuns() const { return companion_ != 0; }
  // When the companion last ended; fake::kForever while it runs.
  std::uint64_t CompanionGoneSince() const { return companionGoneSince_; }

 private:
  void UserPoints(std::string_view verb, ui::ControlId control);
  void CloseWindow(ui::WindowId window);
  void Room(std::string_view change);
  void Window(std::string_view change);
  platform::WindowHandle AddCompanionWindow(std::uint32_t process);
  void StartCompanion();
  void EndCompanion();
  void StartHelpers();
  void EndHelpers();
  void Foreground(std::string_view which);
  void Game(std::string_view change);
  bool Shown(ui::WindowId window) const;

  fake::World& world_;
  const Scene& scene_;
  std::uint32_t companion_ = 0;
  platform::WindowHandle window_ = 0, second_ = 0, other_ = 0;
  std::uint64_t companionGoneSince_ = fake::kForever;
};

}  // namespace interleaving
