#include "optimizer/game_target.h"

#include <vector>

#include "optimizer/game_process_settings.h"
#include "optimizer/process_names.h"
#include "optimizer/process_operations.h"
#include "ui/message_box.h"

namespace optimizer {

namespace start = ui::start;
namespace panel = ui::panel;

namespace {

constexpr std::string_view kExeSuffix = ".exe";
constexpr std::int32_t kCaptureIntervalMs = 5000;
constexpr std::string_view kRunAsAdministrator = "\r\n请右键选择“以管理员身份运行”本助手后再试！";

bool WriteGameProcessName(platform::Files& files, std::string_view name) {
  return files.WriteIniString(kGameSettingsFile, kGameSettingsSection, kGameSettingsKey, name);
}

void CancelTarget(ui::Context& context) {
  if (!WriteGameProcessName(context.os.files, "")) {
    ui::ShowInformation(context.os.dialogs, std::string("指定进程优化取消失败！") + std::string(kRunAsAdministrator));
    return;
  }
  ui::ShowInformation(context.os.dialogs, kSaveCancelledMessage);
  context.windows.SetText(start::编辑框3, kGameProcessPlaceholder);
  context.windows.SetText(start::透明标签5, GameTargetText(""));
}

}  // namespace

std::string StoredGameProcessName(std::string_view fieldText) {
  const bool hasSuffix = fieldText.size() >= kExeSuffix.size() &&
                         NamesMatchIgnoringAsciiCase(fieldText.substr(fieldText.size() - kExeSuffix.size()), kExeSuffix);
  return hasSuffix ? std::string(fieldText) : std::string(fieldText) + std::string(kExeSuffix);
}

std::string GameTargetText(std::string_view storedName) {
  if (storedName.empty()) return "当前未指定游戏进程，只优化直播伴侣";
  return "当前定向优化的游戏进程：" + std::string(storedName);
}

void ClearPlaceholder(ui::Context& context) {
  if (context.windows.Text(start::编辑框3) == kGameProcessPlaceholder) context.windows.SetText(start::编辑框3, "");
}

void SaveGameProcess(ui::Context& context) {
  const std::string text = context.windows.Text(start::编辑框3);
  if (text == kGameProcessPlaceholder || context.windows.Text(start::编辑框3).empty()) return CancelTarget(context);
  const std::string stored = StoredGameProcessName(text);
  if (!WriteGameProcessName(context.os.files, stored)) {
    ui::ShowInformation(context.os.dialogs, "游戏进程：" + stored + "  保存失败！" + std::string(kRunAsAdministrator));
    return;
  }
  ui::ShowInformation(context.os.dialogs, "游戏进程：" + stored +
                                              "  保存成功！请确认输入准确，否则当前功能无效！\r\n"
                                              "如果输入空白，则表示无需对游戏进程定向优化！");
  context.windows.SetText(start::透明标签5, GameTargetText(stored));
}

void CaptureGameProcess(ui::Context& context) {
  const std::string name = ReadGameProcessName(context.os.files);
  if (name.empty()) {
    context.windows.SetInterval(panel::定向进程, 0);
    return;
  }
  std::vector<std::uint32_t> ids;
  // The narrow snapshot gives '?' for a character without a GBK form, so a stored name with
  // '?' (typed with such a character) matches there while no process has that name; the wide
  // lookup then finds none, as it does for a game that ended between the two snapshots.
  if (!ProcessExists(context.os.processes, name) || FindProcessIds(context.os.processes, name, ids) <= 0) {
    context.windows.SetInterval(panel::定向进程, kCaptureIntervalMs);
    return;
  }
  context.windows.SetInterval(panel::定向进程, 0);  // the capture happens once
  for (std::uint32_t id : ids) RaisePriority(context.os.processes, id);
  context.windows.AppendLine(panel::列表框1, kCapturedLogLine);
}

}  // namespace optimizer
