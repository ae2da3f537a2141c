#pragma once
// A window proc's own data, stored in GWLP_USERDATA at WM_NCCREATE from the creation parameter.
#include <windows.h>

namespace ui::win32 {

template <typename Data>
Data* AttachedData(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams));
  return reinterpret_cast<Data*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace ui::win32
