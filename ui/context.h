#pragma once
// What every handler works with: the platform and the windows.
#include "platform/platform.h"
#include "ui/model.h"

namespace ui {

struct Context {
  platform::Platform& os;
  Model& windows;
};

}  // namespace ui
