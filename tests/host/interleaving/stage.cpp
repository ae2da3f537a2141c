#include "tests/host/interleaving/stage.h"

#include <algorithm>

#include "app/startup.h"
#include "monitor/companion.h"
#include "optimizer/game_process_settings.h"
#include "tests/host/companion_scene.h"

namespace interleaving {

namespace {

using ui::WindowId;
using testing_support::kRoomStatePath;

constexpr platform::Rect kCompanionRect{100, 100, 900, 700};

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

ui::ControlId Control(std::string_view name) {
  for (WindowId window : {WindowId::Start, WindowId::Panel}) {
    const auto& controls = ui::DesignOf(window).controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ui::ControlId id{window, static_cast<std::uint8_t>(i)};
      if (fake::NameOf(id) == name) return id;
    }
  }
  return ui::start::按钮1;  // the vocabulary holds only names of controls
}

}  // namespace

Stage::Stage(fake::World& world, const Scene& scene) : world_(world), scene_(scene) {
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

void Stage::Perform(const Step& step) {
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
  // A second instance is a process of its own: it meets the first one's event and ends, and
  // nothing of it reaches the first one (the replay checks the event after every step).
  if (verb == "second-instance") return;
  if (verb == "room") return Room(object);
  if (verb == "window") return Window(object);
  if (verb == "companion") return object == "end" ? EndCompanion() : StartCompanion();
  if (verb == "helpers") return object == "end" ? EndHelpers() : StartHelpers();
  if (verb == "foreground") return Foreground(object);
  if (verb == "game") return Game(object);
}

// A window the user can reach: on screen, not minimised.
bool Stage::Shown(WindowId window) const {
  const fake::FakeWindow& w = world_.windows.Window(window);
  return w.exists && w.visible && !w.minimised;
}

void Stage::UserPoints(std::string_view verb, ui::ControlId control) {
  if (!Shown(control.window)) return;
  if (verb == "press") return world_.windows.PressLeftButton(control);
  world_.windows.Click(control);
  if (verb == "double-click") world_.windows.Click(control);
}

// Alt+F4, Esc, the close box or the taskbar button's close: a window on screen, even
// minimised (its taskbar button remains).
void Stage::CloseWindow(WindowId window) {
  const fake::FakeWindow& w = world_.windows.Window(window);
  if (w.exists && w.visible) world_.windows.Close(window);
}

void Stage::Room(std::string_view change) {
  if (change == "live") world_.files.Write(kRoomStatePath, RoomState("2"));
  else if (change == "not-live") world_.files.Write(kRoomStatePath, RoomState("\"4\""));
  else if (change == "deleted") world_.files.Remove(kRoomStatePath);
  else if (change == "half") world_.files.Write(kRoomStatePath, R"({"roomStore":{"sta)");
  else if (change == "other") world_.files.Write(kRoomStatePath, RoomState("3"));
  else if (change == "garbage") world_.files.Write(kRoomStatePath, std::string("\xFF\xFE\x00{roomStore}", 14));
  else if (fake::FakeFile* file = world_.files.Find(kRoomStatePath)) file->readable = change == "unlocked";
}

void Stage::Window(std::string_view change) {
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

platform::WindowHandle Stage::AddCompanionWindow(std::uint32_t process) {
  return world_.desktop.Add({.processId = process, .className = std::string(monitor::kCompanionWindowClass),
                             .title = u"直播伴侣", .rect = kCompanionRect});
}

void Stage::StartCompanion() {
  if (companion_) return;
  companion_ = world_.processes.Start(std::string(monitor::kCompanionExe));
  window_ = AddCompanionWindow(companion_);
  world_.desktop.foreground = window_;
  companionGoneSince_ = fake::kForever;
}

// The user closes the companion: its process and its windows go.
void Stage::EndCompanion() {
  if (!companion_) return;
  world_.processes.End(companion_);
  world_.desktop.Remove(window_);
  world_.desktop.Remove(second_);
  companion_ = 0;
  second_ = 0;
  companionGoneSince_ = world_.Now();
}

void Stage::StartHelpers() {
  if (world_.processes.All().end() != std::find_if(world_.processes.All().begin(), world_.processes.All().end(),
                                                   [](const fake::FakeProcess& p) { return p.exeName == monitor::kCompanionAiExe; }))
    return;
  world_.processes.Start(std::string(monitor::kCompanionAiExe));
  world_.processes.Start(std::string(monitor::kCompanionMediaExe));
}

void Stage::EndHelpers() {
  world_.processes.EndAll(monitor::kCompanionAiExe);
  world_.processes.EndAll(monitor::kCompanionMediaExe);
}

void Stage::Foreground(std::string_view which) {
  if (which == "companion") world_.desktop.foreground = world_.desktop.Find(window_) ? window_ : 0;
  else if (which == "second") world_.desktop.foreground = second_;
  else if (which == "other") world_.desktop.foreground = other_;
  else world_.desktop.foreground = 0;
}

void Stage::Game(std::string_view change) {
  const std::string name = scene_.game.empty() ? "game.exe" : scene_.game;
  if (change == "start") world_.processes.Start(name);
  else world_.processes.EndAll(name);
}

}  // namespace interleaving
