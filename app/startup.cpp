#include "app/startup.h"

#include "optimizer/game_process_settings.h"
#include "optimizer/game_suggestions.h"
#include "optimizer/game_target.h"
#include "optimizer/pumped_waits.h"
#include "platform/text.h"
#include "skin/embedded_skin.h"
#include "ui/message_box.h"

namespace app {

using ui::WindowId;
namespace start = ui::start;

namespace {
constexpr std::int32_t kHandOverDelayMs = 300;
constexpr std::string_view kElevatedText = "已以管理员身份运行，可以优化伴侣";
constexpr std::string_view kNotElevatedText = "未以管理员身份运行，优化可能无效";

// What the streamer should know before going on: whether the program may tune the
// companion's processes, and which game it will raise.
void ShowStartWindowInformation(ui::Context& context, std::string_view storedGame) {
  context.windows.SetText(start::透明标签2, context.os.session.IsElevated() ? kElevatedText : kNotElevatedText);
  context.windows.SetText(start::透明标签5, optimizer::GameTargetText(storedGame));
}

}  // namespace

void GuardSingleInstance(platform::Platform& os) {
  // An event this process may not open is another instance's too: one started as
  // administrator, met by one that is not.
  if (os.session.OpenNamedEvent(kInstanceEventName) != platform::NamedEvent::Absent) {
    ui::ShowInformation(os.dialogs, kAlreadyRunningMessage);
    os.session.EndProcess(0);
  }
  os.session.CreateNamedEvent(kInstanceEventName);
}

bool FileExists(platform::Files& files, std::string_view path) {
  if (path.empty()) return false;
  const auto attributes = files.FindFirst(platform::ToUtf16(path));
  return attributes && (*attributes & platform::kDirectoryAttribute) == 0;
}

void PrepareStartWindow(ui::Context& context, SkinLibrary& skin) {
  platform::Platform& os = context.os;
  GuardSingleInstance(os);
  AttachSkin(skin, EmbeddedSkinData());
  if (!FileExists(os.files, kNoticeMarkerFile)) ui::ShowInformation(os.dialogs, kNoticeMessage, kNoticeCaption);
  if (FileExists(os.files, optimizer::kGameSettingsFile))
    context.windows.SetText(start::编辑框3, optimizer::ReadGameProcessName(os.files));
  const std::string stored = optimizer::ReadGameProcessName(os.files);
  if (stored.empty()) context.windows.SetText(start::编辑框3, optimizer::kGameProcessPlaceholder);
  context.windows.OfferSuggestions(start::编辑框3, [&os] { return optimizer::GameSuggestions(os.processes, os.files); });
  ShowStartWindowInformation(context, stored);
}

void HandOverToPanel(ui::Context& context, SkinLibrary& skin) {
  ui::Model& windows = context.windows;
  optimizer::PumpedDelay(context.os.loop, kHandOverDelayMs);
  // Inside the wait the user may have closed the start window, or a second click may have
  // done the hand-over already: then there is nothing left to hand over.
  if (!windows.IsLoaded(WindowId::Start) || windows.IsLoaded(WindowId::Panel)) return;
  windows.SetVisible(WindowId::Start, false);
  DetachSkin(skin);  // the panel is made without it
  context.os.files.CreateEmptyFile(kNoticeMarkerFile);
  windows.Load(WindowId::Panel);
  windows.Destroy(WindowId::Start);
}

}  // namespace app
