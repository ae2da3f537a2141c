#pragma once
// The optimization the user starts once a broadcast is live, and its re-tuning every minute.
#include "ui/context.h"

namespace optimizer {

inline constexpr std::string_view kNotLiveMessage = "请先开启直播";
inline constexpr std::string_view kNotLiveCaption = "助手提示：";
inline constexpr std::string_view kStartedLogLine = "已开启自动优化";
inline constexpr std::string_view kInitialisingText = "正在初始化";
inline constexpr std::string_view kRetunedLogLine = "持续优化中...";

// The click of 图形按钮1.
void StartOptimization(ui::Context& context);
// 时钟4, every minute once the optimization has started.
void RetuneTick(ui::Context& context);

}  // namespace optimizer
