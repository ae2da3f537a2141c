#pragma once
// The program's one kind of message: an information box with an OK button, no owner window,
// task-modal.
#include <string_view>

#include "platform/dialogs.h"

namespace ui {

inline constexpr std::string_view kDefaultCaption = "信息：";

inline void ShowInformation(platform::Dialogs& dialogs, std::string_view text,
                            std::string_view caption = kDefaultCaption) {
  dialogs.ShowMessageBox(text, caption, platform::kMbOk | platform::kMbIconInformation | platform::kMbTaskModal);
}

}  // namespace ui
