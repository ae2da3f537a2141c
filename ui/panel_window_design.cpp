// PanelWindow: the small dark panel docked under the companion's window.
#include "ui/design.h"

namespace ui {
namespace {

constexpr Colour kSilver{0xC0C0C0};

constexpr ControlDesign Timer(std::string_view name, std::int32_t interval, HandlerId onTick) {
  return {.name = name, .kind = Kind::Timer, .visible = false, .interval = interval, .onTick = onTick};
}

constexpr ControlDesign kControls[] = {
    {.name = "透明标签1", .kind = Kind::Label, .left = 13, .top = 7, .width = 133, .height = 28, .text = "请开启直播",
     .font = Font{"微软雅黑", 14, kAnsiCharset}, .textColour = kSilver, .align = Align::Centre,
     .verticallyCentred = true},
    {.name = "图形按钮1", .kind = Kind::PictureButton, .left = 24, .top = 45, .width = 112, .height = 40,
     .handCursor = true, .normal = Picture::P2, .hover = Picture::P3, .pressed = Picture::P3,
     .onClick = HandlerId::StartOptimization},
    {.name = "列表框1", .kind = Kind::ListBox, .left = 168, .top = 9, .width = 112, .height = 88,
     .font = Font{"微软雅黑", 12}, .textColour = Colour{0xFFFFFF}, .backColour = Colour{0x303030},
     .singleLineFrame = true, .tabStop = true, .extraLineSpacing = 1},
    {.name = "透明标签2", .kind = Kind::Label, .left = 16, .top = 85, .width = 152, .height = 24,
     .font = Font{"微软雅黑", 9}, .textColour = kSilver, .verticallyCentred = true},
    Timer("时钟2", 0, HandlerId::DockTick),
    Timer("检测伴侣窗口", 100, HandlerId::ForegroundTick),
    Timer("时钟3", 0, HandlerId::LiveStatusTick),
    Timer("时钟4", 0, HandlerId::RetuneTick),
    Timer("时钟5", 0, HandlerId::CompanionGoneTick),
    Timer("定向进程", 0, HandlerId::CaptureGameProcess),
};

}  // namespace

extern const WindowDesign kPanelWindowDesign{
    .id = WindowId::Panel,
    .width = 290,
    .height = 110,
    .title = "",
    .dialogFrame = false,
    .systemMenu = false,
    .minimiseBox = false,
    .maximiseBox = false,
    .escCloses = false,
    .background = Picture::P1,
    .visibleOnceLoaded = true,
    .onCreated = HandlerId::PanelCreated,
    .controls = kControls,
};

}  // namespace ui
