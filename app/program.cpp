#include "app/program.h"

#include <memory>

#include "app/startup.h"
#include "skin/embedded_skin.h"
#include "monitor/docking.h"
#include "monitor/foreground.h"
#include "monitor/live_status.h"
#include "monitor/presence.h"
#include "optimizer/game_target.h"
#include "optimizer/optimization_run.h"
#include "platform/text.h"
#include "ui/context.h"

namespace app {

namespace {

void Dispatch(ui::Context& context, SkinLibrary& skin, ui::HandlerId handler) {
  switch (handler) {
    case ui::HandlerId::PrepareStartWindow: PrepareStartWindow(context, skin); break;
    case ui::HandlerId::HandOverToPanel: HandOverToPanel(context, skin); break;
    case ui::HandlerId::PanelCreated: monitor::PanelCreated(context); break;
    case ui::HandlerId::ForegroundTick: monitor::ForegroundTick(context); break;
    case ui::HandlerId::DockTick: monitor::DockTick(context); break;
    case ui::HandlerId::CompanionGoneTick: monitor::CompanionGoneTick(context); break;
    case ui::HandlerId::ClearPlaceholder: optimizer::ClearPlaceholder(context); break;
    case ui::HandlerId::SaveGameProcess: optimizer::SaveGameProcess(context); break;
    case ui::HandlerId::StartOptimization: optimizer::StartOptimization(context); break;
    case ui::HandlerId::RetuneTick: optimizer::RetuneTick(context); break;
    case ui::HandlerId::CaptureGameProcess: optimizer::CaptureGameProcess(context); break;
    case ui::HandlerId::LiveStatusTick: monitor::LiveStatusTick(context); break;
    case ui::HandlerId::None: break;
  }
}

// The windows, what the handlers reach them through, and the skin library, alive from
// start-up to the end. The skin library, once mapped, is never unmapped.
struct ProgramState {
  ProgramState(platform::Platform& os, ui::Backend& backend)
      : windows(backend, os.desktop, os.session, [this](ui::HandlerId handler) { Dispatch(context, skin, handler); }),
        context{os, windows},
        skin{os.loader, EmbeddedSkinImage(), std::nullopt} {}
  ui::Model windows;
  ui::Context context;
  SkinLibrary skin;
};

std::unique_ptr<ProgramState> program;

}  // namespace

void ExitCleanup() { program.reset(); }

void RunProgram(platform::Platform& os, ui::Backend& backend) {
  os.session.RegisterExitCleanup(&ExitCleanup);
  platform::TextCodePage = platform::kGbkCodePage;
  program = std::make_unique<ProgramState>(os, backend);
  program->windows.Load(ui::WindowId::Start);
  os.loop.RunUntilQuit();
  os.session.EndProcess(0);
}

}  // namespace app
