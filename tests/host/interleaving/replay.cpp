#include "tests/host/interleaving/replay.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "app/startup.h"
#include "monitor/companion.h"
#include "monitor/docking.h"
#include "monitor/presence.h"
#include "optimizer/game_target.h"
#include "optimizer/optimization_run.h"
#include "tests/host/interleaving/stage.h"
#include "tests/host/program_runner.h"

namespace interleaving {

namespace {

using ui::WindowId;
namespace panel = ui::panel;

constexpr std::uint64_t kLongestRun = 15 * 60 * 1000;  // virtual; a run normally stops much sooner
// After the last step: long enough for a handler that a step interrupted to finish (the
// optimization's start waits 5.4 s), and for the live check to notice an end.
constexpr std::uint64_t kSettleMs = 6000;
constexpr std::uint64_t kAnchorGivesUpMs = 8000;
constexpr std::uint64_t kLiveCheckMs = 1000;  // the companion's end is noticed within a tick of the live check

// The intervals the timers may be given (0 is never written through StartTimer).
const std::map<std::string, std::string> kTimerIntervals = {
    {"Panel.时钟2", "10"},   {"Panel.检测伴侣窗口", "100"}, {"Panel.时钟3", "1000"},
    {"Panel.时钟4", "60000"}, {"Panel.时钟5", "5000"},      {"Panel.定向进程", "5000"},
};

// Thrown to stop the run at the first thing that does not hold.
struct Broken {};

class Replayer {
 public:
  explicit Replayer(const Sequence& sequence) : sequence_(sequence) {}

  std::string Run() {
    world_.windows.afterEvent = [this](ui::ControlId control, ui::EventKind event, int outerHandlers) {
      AfterHandler(control, event, outerHandlers);
    };
    world_.journal.When("CreateEvent", [this] { guarded_ = true; });
    world_.At(0, [this] { Arm(0); });
    try {
      CheckTheEnd(testing_support::RunProgram(world_, kLongestRun));
    } catch (const Broken&) {
      world_.session.RunCleanupOnce();
    }
    return failure_;
  }

 private:
  // --- the steps, one after the other -------------------------------------------------

  void Arm(std::size_t index) {
    if (index == sequence_.steps.size()) {
      world_.clock.SetStopTime(world_.Now() + kSettleMs);
      return;
    }
    const Step& step = sequence_.steps[index];
    auto perform = [this, index] {
      stage_.Perform(sequence_.steps[index]);
      CheckNow();
      Arm(index + 1);
    };
    if (step.anchor == Anchor::None) {
      world_.At(world_.Now() + step.delayMs, perform);
      return;
    }
    // The anchor's call, or, should it not come, the step runs at once a while later.
    auto fired = std::make_shared<bool>(false);
    world_.journal.When(std::string(CallOf(step.anchor)), [this, fired, perform, delay = step.delayMs] {
      if (*fired) return;
      *fired = true;
      world_.At(world_.Now() + delay, perform);
    }, step.occurrence);
    world_.At(world_.Now() + kAnchorGivesUpMs, [fired, perform] {
      if (*fired) return;
      *fired = true;
      perform();
    });
  }

  // --- what must hold --------------------------------------------------------------------

  void Fail(std::string what) {
    if (failure_.empty()) failure_ = "at " + std::to_string(world_.Now()) + " ms: " + std::move(what);
    throw Broken{};
  }

  void AfterHandler(ui::ControlId control, ui::EventKind event, int outerHandlers) {
    if (event == ui::EventKind::Tick && control == panel::时钟2) CheckDocking();
    if (outerHandlers == 0 && world_.clock.OpenOneShotTimers() != 0)
      Fail("a wait's timer is left open after its handler returned");
    CheckNow();
  }

  void CheckNow() {
    if (world_.processes.OpenHandles() != 0) Fail("a process handle is left open");
    // A second instance started now would meet the event once the guard has made it.
    if (guarded_ && !world_.session.namedEvents.count(std::string(app::kInstanceEventName)))
      Fail("a second instance would not find the first one's event");
    if (world_.windows.Window(WindowId::Panel).exists) CheckLog(world_.windows.Control(panel::列表框1).lines);
  }

  // Before the start: "直播伴侣已启动". From the start on: the re-tunes' lines above
  // "已开启自动优化", and the capture's line at most once, at the end. Never shorter.
  void CheckLog(const std::vector<std::string>& lines) {
    if (lines == log_) return;
    const bool cleared = lines.size() < log_.size();
    if (cleared && (startLogged_ || lines.size() != 1)) Fail("the log was shortened");
    std::size_t i = 0;
    while (i < lines.size() && lines[i] == optimizer::kRetunedLogLine) ++i;
    const bool before = i == 0 && lines.size() <= 1 && (lines.empty() || lines[0] == monitor::kStartedLogLine);
    const bool after = i < lines.size() && lines[i] == optimizer::kStartedLogLine &&
                       (lines.size() == i + 1 || (lines.size() == i + 2 && lines[i + 1] == optimizer::kCapturedLogLine));
    if (!(startLogged_ ? after : before || after)) Fail("the log holds a line out of place: " + lines.back());
    startLogged_ = startLogged_ || after;
    log_ = lines;
  }

  // Right after a docking tick the panel is where the companion window says.
  void CheckDocking() {
    platform::Desktop& desktop = world_.desktop;
    const platform::WindowHandle companion =
        desktop.FindTopLevelWindow(monitor::kCompanionWindowClass, monitor::kCompanionWindowTitle);
    const fake::FakeWindow& panel = world_.windows.Window(WindowId::Panel);
    if (!companion || !panel.exists) return;
    const platform::Rect rect = desktop.WindowRect(companion);
    const auto screen = [&desktop] { return monitor::ScreenSize{desktop.ScreenWidth(), desktop.ScreenHeight()}; };
    switch (monitor::DecideDocking(rect, desktop.TopLevelStates(companion), screen)) {
      case monitor::DockOutcome::Away:
        if (!panel.visible || !panel.minimised) Fail("the panel is not minimised beside a companion window away");
        break;
      case monitor::DockOutcome::Big:
        if (panel.visible) Fail("the panel shows beside a companion window that fills the screen");
        break;
      case monitor::DockOutcome::Docked:
        if (!panel.visible || panel.minimised || panel.rect.left != std::clamp(rect.left, -32627, 32627) ||
            panel.rect.top != std::clamp(rect.bottom, -32627, 32627))
          Fail("the panel is not docked under the companion window");
        break;
    }
    if (panel.active) Fail("docking activated the panel");
  }

  void CheckTheEnd(const testing_support::RunResult& run) {
    const fake::Journal& journal = world_.journal;
    if (journal.Count("EndProcess") > 1 || world_.session.cleanupRuns != 1) Fail("the cleanup did not run exactly once");
    if (journal.Count("Disable Panel.图形按钮1") > 1 || journal.Count("ClearLines") > 1)
      Fail("the optimization started twice");
    for (const std::string& start : journal.Matching("StartTimer ")) {
      const std::size_t space = start.rfind(' ');
      const auto allowed = kTimerIntervals.find(start.substr(11, space - 11));
      if (allowed == kTimerIntervals.end() || allowed->second != start.substr(space + 1))
        Fail("a timer was given another interval: " + start);
    }
    if (run.ended) {
      if (run.exitCode != 0) Fail("the program ended with exit code " + std::to_string(run.exitCode));
      // Its last window closed; the companion gone; or the companion missing as the panel was
      // made, which ends the program once the user has read so.
      const bool windowsGone =
          !world_.windows.Window(WindowId::Start).exists && !world_.windows.Window(WindowId::Panel).exists;
      const bool refused = !world_.dialogs.shown.empty() && world_.dialogs.shown.back().text == monitor::kCompanionMissingMessage;
      if (!windowsGone && stage_.CompanionRuns() && !refused) Fail("the program ended with its windows and the companion there");
      return;
    }
    if (!world_.windows.Window(WindowId::Start).exists && !world_.windows.Window(WindowId::Panel).exists)
      Fail("the program runs on without a window");
    const bool watching = journal.Count("StartTimer Panel.时钟3") > 0;
    if (watching && world_.Now() - std::min(stage_.CompanionGoneSince(), world_.Now()) > kLiveCheckMs)
      Fail("the program runs on a second after the companion's end");
  }

  const Sequence& sequence_;
  fake::World world_;
  Stage stage_{world_, sequence_.scene};
  bool guarded_ = false;  // the single-instance guard has made its event
  std::string failure_;
  std::vector<std::string> log_;
  bool startLogged_ = false;
};

}  // namespace

std::string Replay(const Sequence& sequence) { return Replayer(sequence).Run(); }

}  // namespace interleaving
