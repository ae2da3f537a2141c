// StartWindow: instructions, the game-process field and the button that goes on to the panel.
#include "ui/design.h"

namespace ui {
namespace {

constexpr Font kYaHei12{"微软雅黑", 12};
constexpr Colour kBlack{0x000000};
constexpr Colour kSilver{0xC0C0C0};

constexpr std::string_view kTutorial =
    "伴侣优化助手使用教程：\r\n"
    "1.先打开直播伴侣\r\n"
    "2.以管理员身份运行直播伴侣助手\r\n"
    "3.点击开播\r\n"
    "4.进入游戏\r\n"
    "5.点击开始优化（一定要开启直播后点，会自己识别你开播状态）\r\n"
    "6.直播伴侣最小化，插件会跟随最小化\r\n"
    "7.直播伴侣退出，插件会跟随一起退出\r\n"
    "（如果效果无效，可重启软件，并对定向游戏进行优化！）\r\n";

constexpr std::string_view kHint =
    "(不包含.exe)\r\n"
    "保存一次下次自动识别\r\n"
    "如果不想优化游戏，清空内容保存即可！";

constexpr int kGroupBox2 = start::分组框2.index;
constexpr int kGroupBox1 = start::分组框1.index;

constexpr ControlDesign kControls[] = {
    {.name = "分组框2", .kind = Kind::GroupBox, .left = 8, .top = 8, .width = 248, .height = 192,
     .text = "插件控制", .font = kYaHei12, .textColour = kBlack},
    {.name = "按钮1", .kind = Kind::Button, .parent = kGroupBox2, .left = 62, .top = 117, .width = 112, .height = 40,
     .tabStop = true, .handCursor = true, .face = Picture::S1, .onClick = HandlerId::HandOverToPanel},
    {.name = "透明标签2", .kind = Kind::Label, .parent = kGroupBox2, .left = 46, .top = 166, .width = 152, .height = 24,
     .font = Font{"微软雅黑", 9}, .textColour = kSilver, .verticallyCentred = true},
    {.name = "编辑框2", .kind = Kind::EditBox, .left = 264, .top = 16, .width = 360, .height = 184, .text = kTutorial,
     .font = kYaHei12, .textColour = kBlack, .backColour = Colour{0xFFFFFF}, .multiLine = true, .sunkenFrame = true,
     .disabled = true, .tabStop = true},
    {.name = "分组框1", .kind = Kind::GroupBox, .left = 16, .top = 208, .width = 608, .height = 80,
     .text = "定向游戏优化区", .font = kYaHei12, .textColour = kBlack},
    {.name = "透明标签3", .kind = Kind::Label, .parent = kGroupBox1, .left = 32, .top = 24, .width = 80, .height = 24,
     .text = "游戏进程名：", .font = kYaHei12, .textColour = kBlack, .verticallyCentred = true},
    {.name = "编辑框3", .kind = Kind::EditBox, .parent = kGroupBox1, .left = 112, .top = 24, .width = 160, .height = 24,
     .text = "请输入进程名称..", .textColour = Colour{0x808080}, .backColour = Colour{0xFFFFFF}, .sunkenFrame = true,
     .tabStop = true, .onLeftButtonDown = HandlerId::ClearPlaceholder},
    {.name = "按钮2", .kind = Kind::Button, .parent = kGroupBox1, .left = 280, .top = 18, .width = 86, .height = 32,
     .text = "保 存", .align = Align::Centre, .tabStop = true, .onClick = HandlerId::SaveGameProcess},
    {.name = "透明标签4", .kind = Kind::Label, .parent = kGroupBox1, .left = 367, .top = 11, .width = 233, .height = 55,
     .text = kHint, .font = kYaHei12, .textColour = kBlack, .align = Align::Centre, .wordWrap = true},
    {.name = "透明标签5", .kind = Kind::Label, .parent = kGroupBox1, .left = 160, .top = 60, .width = 312, .height = 16,
     .font = Font{"微软雅黑", 10}, .textColour = kBlack, .verticallyCentred = true},
};

}  // namespace

extern const WindowDesign kStartWindowDesign{
    .id = WindowId::Start,
    .width = 637,
    .height = 323,
    .title = "澄禾直播伴侣优化助手V2.0",
    .dialogFrame = true,
    .systemMenu = true,
    .minimiseBox = true,
    .maximiseBox = false,
    .escCloses = true,
    .background = Picture::None,
    .visibleOnceLoaded = true,
    .onCreated = HandlerId::PrepareStartWindow,
    .controls = kControls,
};

}  // namespace ui
