#include "ui/design.h"

namespace ui {

extern const WindowDesign kStartWindowDesign;
extern const WindowDesign kPanelWindowDesign;

const WindowDesign& DesignOf(WindowId window) {
  return window == WindowId::Start ? kStartWindowDesign : kPanelWindowDesign;
}

const ControlDesign& DesignOf(ControlId control) { return DesignOf(control.window).controls[control.index]; }

}  // namespace ui
