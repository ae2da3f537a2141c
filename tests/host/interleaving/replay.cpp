#include "tests/host/interleaving/replay.h"

#include <algorithm>
#include <map>
#include <memory>

#include "app/startup.h"
#include "monitor/companion.h"
#include "monitor/docking.h"
#include "monitor/live_status.h"
#include "monitor/presence.h"
#include "optimizer/game_process_settings.h"
#include "optimizer/game_target.h"
#include "optimizer/optimization_run.h"
#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace interleaving {

namespace {

using ui::WindowId;
namespace panel = ui::panel;
using testing_support::kRoomStatePath;

constexpr std::uint64_t kLongestRun = 15 * 60 * 1000;  // virtual; a run normally stops much sooner
// After the last step: long enough for a handler that a step interrupted to finish (the
// optimization's start waits 5.4 s), and for the live check to notice an end.
constexpr std::uint64_t kSettleMs = 6000;
constexpr std::uint64_t kAnchorGivesUpMs = 8000;
constexpr std::uint64_t kLiveCheckMs = 1000;  // the companion's end is noticed within a tick of the live check
constexpr platform::Rect kCompanionRect{100, 100, 900, 700};

// The intervals the timers may be given (0 is never written through StartTimer).
const std::map<std::string, std::string> kTimerIntervals = {
    {"Panel.时钟2", "10"},   {"Panel.检测伴侣窗口", "100"}, {"Panel.时钟3", "1000"},
    {"Panel.时钟4", "60000"}, {"Panel.时钟5", "5000"},      {"Panel.定向进程", "5000"},
};

std::string RoomState(std::string_view status) { return R"({"roomStore":{"status":)" + std::string(status) + "}}"; }

std::string TypedText(std::string_view variant) {
  if (variant == "empty") return "";
  if (variant == "blanks") return "   ";
  if (variant == "long") return std::string(10240, 'g');
  if (variant == "chinese") return "原神";
  if (variant == "beyond-gbk") return "游戏?";  // what the field reads of a character GBK lacks
  if (variant == "game") return "game";
  return "game.exe";
}

// Thrown to stop the run at the first thing that does not hold.
struct Broken {};

class Replayer {
 public:
  explicit Replayer(const Sequence& sequence) : sequence_(sequence) {}

  std::string Run() {
    SetUpScene();
    world_.windows.afterEvent = [this](ui::ControlId control, ui::EventKind event, int outerHandlers) {
      AfterHandler(control, event, outerHandlers);
    };
    world_.At(0, [this] { Arm(0); });
    try {
      CheckTheEnd(testing_support::RunProgram(world_, kLongestRun));
    } catch (const Broken&) {
      world_.session.RunCleanupOnce();
    }
    return failure_;
  }

 private:
  void SetUpScene() {
    const Scene& scene = sequence_.scene;
    if (scene.noticeSeen) world_.files.Write(app::kNoticeMarkerFile, "");
    if (!scene.game.empty()) world_.files.Write(optimizer::kGameSettingsFile, "[id]\r\nid2=" + scene.game + "\r\n");
    if (scene.room != "none") world_.files.Write(kRoomStatePath, RoomState(scene.room == "live" ? "2" : "4"));
    world_.processes.processorCount = static_cast<std::uint64_t>(scene.cores);
    world_.dialogs.readingTimeMs = scene.boxMs;
    const std::uint32_t explorer = world_.processes.Start("explorer.exe");
    other_ = world_.desktop.Add({.processId = explorer, .className = "CabinetWClass", .title = u"文件夹", .rect = {0, 0, 800, 600}});
    if (scene.companion) StartCompanion();
    if (scene.helpers) StartHelpers();
  }

  // --- the steps, one after the other -------------------------------------------------

  void Arm(std::size_t index) {
    if (index == sequence_.steps.size()) {
      world_.clock.SetStopTime(world_.Now() + kSettleMs);
      return;
    }
    const Step& step = sequence_.steps[index];
    auto perform = [this, index] {
      Perform(sequence_.steps[index]);
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

  void Perform(const Step& step) {
    const std::string& verb = step.verb;
    const std::string& object = step.object;
    if (verb == "click" || verb == "double-click" || verb == "press") return UserPoints(verb, Control(object));
    if (verb == "type") {
      if (Shown(WindowId::Start)) world_.windows.Type(ui::start::编辑框3, TypedText(object));
      return;
    }
    if (verb == "close") return CloseWindow(object == "Start" ? WindowId::Start : WindowId::Panel);
    if (verb == "panel") {
      if (object == "minimise") world_.windows.MinimiseByUser(WindowId::Panel);
      else world_.windows.CoverWithAnotherTopmostWindow(WindowId::Panel);
      return;
    }
    if (verb == "second-instance") return SecondInstance();
    if (verb == "room") return Room(object);
    if (verb == "window") return Window(object);
    if (verb == "companion") return object == "end" ? EndCompanion() : StartCompanion();
    if (verb == "helpers") return object == "end" ? EndHelpers() : StartHelpers();
    if (verb == "foreground") return Foreground(object);
    if (verb == "game") return Game(object);
  }

  static ui::ControlId Control(std::string_view name) {
    for (WindowId window : {WindowId::Start, WindowId::Panel}) {
      const auto& controls = ui::DesignOf(window).controls;
      for (std::size_t i = 0; i < controls.size(); ++i) {
        const ui::ControlId id{window, static_cast<std::uint8_t>(i)};
        if (fake::NameOf(id) == name) return id;
      }
    }
    return ui::start::按钮1;  // the vocabulary holds only names of controls
  }

  // A window the user can reach: on screen, not minimised.
  bool Shown(WindowId window) const {
    const fake::FakeWindow& w = world_.windows.Window(window);
    return w.exists && w.visible && !w.minimised;
  }

  void UserPoints(std::string_view verb, ui::ControlId control) {
    if (!Shown(control.window)) return;
    if (verb == "press") return world_.windows.PressLeftButton(control);
    world_.windows.Click(control);
    if (verb == "double-click") world_.windows.Click(control);
  }

  // Alt+F4, Esc, the close box or the taskbar button's close: a window on screen, even
  // minimised (its taskbar button remains).
  void CloseWindow(WindowId window) {
    const fake::FakeWindow& w = world_.windows.Window(window);
    if (w.exists && w.visible) world_.windows.Close(window);
  }

  void SecondInstance() {
    // A second instance finds the first one's event once its guard has run, and ends.
    if (world_.journal.Count("CreateEvent") > 0 && !world_.session.namedEvents.count(std::string(app::kInstanceEventName)))
      Fail("a second instance would not see the first one's event");
  }

  void Room(std::string_view change) {
    if (change == "live") world_.files.Write(kRoomStatePath, RoomState("2"));
    else if (change == "not-live") world_.files.Write(kRoomStatePath, RoomState("\"4\""));
    else if (change == "deleted") world_.files.Remove(kRoomStatePath);
    else if (change == "half") world_.files.Write(kRoomStatePath, R"({"roomStore":{"sta)");
    else if (change == "other") world_.files.Write(kRoomStatePath, RoomState("3"));
    else if (change == "garbage") world_.files.Write(kRoomStatePath, std::string("\xFF\xFE\x00{roomStore}", 14));
    else if (fake::FakeFile* file = world_.files.Find(kRoomStatePath)) file->readable = change == "unlocked";
  }

  void Window(std::string_view change) {
    if (change == "open") {
      if (!world_.desktop.Find(window_) && companion_) window_ = AddCompanionWindow(companion_);
      return;
    }
    if (change == "second") {
      if (!second_ && companion_) second_ = AddCompanionWindow(companion_);
      return;
    }
    if (change == "no-second") {
      world_.desktop.Remove(second_);
      second_ = 0;
      return;
    }
    fake::FakeOtherWindow* window = world_.desktop.Find(window_);
    if (!window) return;
    if (change == "move") window->rect = {window->rect.left + 37, window->rect.top + 23, window->rect.right + 37, window->rect.bottom + 23};
    else if (change == "minimise") window->rect = {-32000, -32000, -31840, -31972};
    else if (change == "maximise") window->zoomed = true;
    else if (change == "hide") window->visible = false;
    else if (change == "show") window->visible = true;
    else if (change == "restore") { window->zoomed = false; window->rect = kCompanionRect; }
    else if (change == "cover-screen") window->rect = {0, 0, 1920, 1080};
    else if (change == "below-screen") window->rect = {100, 900, 900, 40000};
    else if (change == "retitle") window->title = u"直播伴侣 - 设置";
    else if (change == "title") window->title = u"直播伴侣";
    else if (change == "close") world_.desktop.Remove(window_);
  }

  platform::WindowHandle AddCompanionWindow(std::uint32_t process) {
    return world_.desktop.Add({.processId = process, .className = std::string(monitor::kCompanionWindowClass),
                               .title = u"直播伴侣", .rect = kCompanionRect});
  }

  void StartCompanion() {
    if (companion_) return;
    companion_ = world_.processes.Start(std::string(monitor::kCompanionExe));
    window_ = AddCompanionWindow(companion_);
    world_.desktop.foreground = window_;
    companionGoneSince_ = fake::kForever;
  }

  // The user closes the companion: its process and its windows go.
  void EndCompanion() {
    if (!companion_) return;
    world_.processes.End(companion_);
    world_.desktop.Remove(window_);
    world_.desktop.Remove(second_);
    companion_ = 0;
    second_ = 0;
    companionGoneSince_ = world_.Now();
  }

  void StartHelpers() {
    if (world_.processes.All().end() != std::find_if(world_.processes.All().begin(), world_.processes.All().end(),
                                                     [](const fake::FakeProcess& p) { return p.exeName == monitor::kCompanionAiExe; }))
      return;
    world_.processes.Start(std::string(monitor::kCompanionAiExe));
    world_.processes.Start(std::string(monitor::kCompanionMediaExe));
  }

  void EndHelpers() {
    world_.processes.EndAll(monitor::kCompanionAiExe);
    world_.processes.EndAll(monitor::kCompanionMediaExe);
  }

  void Foreground(std::string_view which) {
    if (which == "companion") world_.desktop.foreground = world_.desktop.Find(window_) ? window_ : 0;
    else if (which == "second") world_.desktop.foreground = second_;
    else if (which == "other") world_.desktop.foreground = other_;
    else world_.desktop.foreground = 0;
  }

  void Game(std::string_view change) {
    const std::string name = sequence_.scene.game.empty() ? "game.exe" : sequence_.scene.game;
    if (change == "start") world_.processes.Start(name);
    else world_.processes.EndAll(name);
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
      if (!windowsGone && companion_ != 0 && !refused) Fail("the program ended with its windows and the companion there");
      return;
    }
    if (!world_.windows.Window(WindowId::Start).exists && !world_.windows.Window(WindowId::Panel).exists)
      Fail("the program runs on without a window");
    const bool watching = journal.Count("StartTimer Panel.时钟3") > 0;
    if (watching && world_.Now() - std::min(companionGoneSince_, world_.Now()) > kLiveCheckMs)
      Fail("the program runs on a second after the companion's end");
  }

  const Sequence& sequence_;
  fake::World world_;
  std::string failure_;
  std::uint32_t companion_ = 0;
  platform::WindowHandle window_ = 0, second_ = 0, other_ = 0;
  std::uint64_t companionGoneSince_ = fake::kForever;
  std::vector<std::string> log_;
  bool startLogged_ = false;
};

}  // namespace

std::string Replay(const Sequence& sequence) { return Replayer(sequence).Run(); }

}  // namespace interleaving
