#pragma once
// A window built like the start window (two group boxes with a button, an edit box and a
// label on the button-face colour), screen pixels, and a message pump for the skin tests.
#include <windows.h>

#include <string>

namespace skin_test {

struct TestWindow {
  HWND window = nullptr;
  HWND leftGroup = nullptr, rightGroup = nullptr;
  HWND startButton = nullptr, saveButton = nullptr;
  HWND tutorial = nullptr, processName = nullptr, label = nullptr;
};

// Shown at (left, top), 637 x 323, active.
TestWindow CreateTestWindow(int left, int top);
void DestroyTestWindow(TestWindow& w);

// The pixels the tests look at, where the start window's design places them.
struct Samples {
  COLORREF background, groupInside, buttonFace, editBorder, caption;
  bool operator==(const Samples&) const = default;
};
Samples Sample(const TestWindow& w);

// Dispatches the thread's messages for about `ms` milliseconds.
void Pump(DWORD ms);
// A pixel of the screen at a point of a window's client area, or of its frame (window
// coordinates).
COLORREF ClientPixel(HWND window, int x, int y);
COLORREF FramePixel(HWND window, int x, int y);
// Saves the window as it is on screen, frame included, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace skin_test
