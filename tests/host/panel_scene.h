#pragma once
// A fake world with the windows model and the panel loaded, for testing single handlers and
// operations without running the whole program. Handlers bound in the designs do nothing
// here unless a test says otherwise.
#include <functional>

#include "platform/fake/world.h"
#include "ui/context.h"
#include "ui/model.h"

namespace testing_support {

class PanelScene {
 public:
  explicit PanelScene(bool loadPanel = true) {
    if (loadPanel) windows.Load(ui::WindowId::Panel);
  }
  // Runs the message loop (and so the timers) until `time`.
  void RunUntil(std::uint64_t time) {
    world.clock.SetStopTime(time);
    try {
      world.clock.RunUntilQuit();
    } catch (const fake::SimulationEnd&) {
    }
  }

  fake::World world;
  std::function<void(ui::HandlerId)> onHandler;
  platform::Platform os = world.Os();
  ui::Model windows{world.windows, world.desktop, world.session, [this](ui::HandlerId handler) {
                      if (onHandler) onHandler(handler);
                    }};
  ui::Context context{os, windows};
};

}  // namespace testing_support
