// The skin library mapped from memory through the real loader host, dressing a window
// built like the start window, and fixture DLLs whose code runs from the mapped image.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <set>
#include <string>

#include "app/library_image.h"
#include "app/skin_attachment.h"
#include "skin/embedded_skin.h"
#include "tests/wine/skin_test_window.h"

namespace app {
// Fixture images embedded into this test (tests/wine/CMakeLists.txt).
std::span<const std::uint8_t> EmbeddedFixtureImports();
std::span<const std::uint8_t> EmbeddedFixtureRelocations();
std::span<const std::uint8_t> EmbeddedFixtureFailing();
std::span<const std::uint8_t> EmbeddedFixtureX86();
}  // namespace app

namespace {

using skin_test::ClientPixel;
using skin_test::FramePixel;
using skin_test::Pump;
using skin_test::Sample;
using skin_test::Samples;
using skin_test::TestWindow;

// The look of assets/skin.ctskin.
constexpr COLORREF kSkinWindow = RGB(0xF3, 0xF5, 0xF9);
constexpr COLORREF kSkinButtonFace = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kSkinEditBorder = RGB(0xC9, 0xD0, 0xDB);
constexpr COLORREF kSkinCaptionActive = RGB(0x1F, 0x24, 0x30);
constexpr COLORREF kSkinCaptionInactive = RGB(0x3A, 0x41, 0x50);

platform::LoaderHost& Host() { return platform::SystemLoaderHost(); }

std::uint64_t PreferredBase(std::span<const std::uint8_t> image) {
  const std::uint32_t nt = *reinterpret_cast<const std::uint32_t*>(&image[0x3C]);
  return *reinterpret_cast<const std::uint64_t*>(&image[nt + 24 + 24]);
}

MEMORY_BASIC_INFORMATION Query(std::uint64_t address) {
  MEMORY_BASIC_INFORMATION info = {};
  VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info);
  return info;
}

std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.insert(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool AnyModuleHolds(std::uint64_t address) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  bool holds = false;
  for (BOOL more = Module32First(snapshot, &module); more && !holds; more = Module32Next(snapshot, &module)) {
    const auto start = reinterpret_cast<std::uint64_t>(module.modBaseAddr);
    holds = address >= start && address < start + module.modBaseSize;
  }
  CloseHandle(snapshot);
  return holds;
}

std::string TempFolder() {
  char path[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, path);
  return std::string(path, length ? length - 1 : 0);
}

TEST(WineSkin, DressesTheWindowsWhileAttachedAndGivesThemBackTheirLook) {
  const auto tempBefore = FileNames(TempFolder()), hereBefore = FileNames(".");
  TestWindow start = skin_test::CreateTestWindow(100, 100);
  const Samples plain = Sample(start);
  ASSERT_EQ(plain.background, GetSysColor(COLOR_BTNFACE));
  skin_test::SaveWindowPicture(start.window, "skin_start_window_plain.bmp");

  app::SkinLibrary skin{Host(), app::EmbeddedSkinImage(), std::nullopt};
  app::AttachSkin(skin, app::EmbeddedSkinData());
  Pump(300);
  ASSERT_TRUE(skin.mapped);
  const Samples dressed = Sample(start);
  EXPECT_EQ(dressed.background, kSkinWindow);
  EXPECT_EQ(dressed.groupInside, kSkinWindow);
  EXPECT_EQ(dressed.buttonFace, kSkinButtonFace);
  EXPECT_EQ(dressed.editBorder, kSkinEditBorder);
  EXPECT_TRUE(dressed.caption == kSkinCaptionActive || dressed.caption == kSkinCaptionInactive) << std::hex << dressed.caption;
  EXPECT_TRUE(skin_test::SaveWindowPicture(start.window, "skin_start_window.bmp"));
  if (const char* hold = std::getenv("CT_SKIN_HOLD_MS")) Pump(static_cast<DWORD>(std::atoi(hold)));

  // The library was mapped from memory: no loaded module holds it, and no file appeared.
  const MEMORY_BASIC_INFORMATION mapped = Query(skin.mapped->base);
  EXPECT_EQ(mapped.Type, static_cast<DWORD>(MEM_PRIVATE));
  EXPECT_FALSE(AnyModuleHolds(skin.mapped->base));
  EXPECT_EQ(FileNames(TempFolder()), tempBefore);
  auto expectedHere = hereBefore;
  expectedHere.insert({"skin_start_window_plain.bmp", "skin_start_window.bmp"});
  EXPECT_EQ(FileNames("."), expectedHere);

  // Windows created while attached wear the skin too.
  TestWindow second = skin_test::CreateTestWindow(200, 480);
  EXPECT_EQ(ClientPixel(second.window, 4, 4), kSkinWindow);
  EXPECT_EQ(ClientPixel(second.saveButton, 8, 8), kSkinButtonFace);
  skin_test::DestroyTestWindow(second);

  // A colour shift reaches the windows; no shift gives the skin's own colours back.
  app::AdjustSkinColour(skin, 180, 0);
  Pump(200);
  const COLORREF shifted = ClientPixel(start.window, 4, 4);
  EXPECT_NE(shifted, kSkinWindow);
  EXPECT_GT(GetRValue(shifted), GetBValue(shifted));  // the cool grey turned warm
  app::AdjustSkinColour(skin, 0, 0);
  Pump(200);
  EXPECT_EQ(ClientPixel(start.window, 4, 4), kSkinWindow);

  app::DetachSkin(skin);
  SetForegroundWindow(start.window);
  Pump(300);
  const Samples undressed = Sample(start);
  EXPECT_EQ(undressed.background, plain.background);
  EXPECT_EQ(undressed.groupInside, plain.groupInside);
  EXPECT_EQ(undressed.buttonFace, plain.buttonFace);
  EXPECT_EQ(undressed.editBorder, plain.editBorder);
  EXPECT_NE(undressed.caption, kSkinCaptionActive);
  EXPECT_NE(undressed.caption, kSkinCaptionInactive);
  EXPECT_EQ(GetPropW(start.saveButton, L"ct.skin.kind"), nullptr);
  EXPECT_EQ(GetWindowLongW(start.saveButton, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

  // The panel comes after the detach: it keeps its own colours.
  TestWindow panel = skin_test::CreateTestWindow(200, 480);
  EXPECT_EQ(ClientPixel(panel.window, 4, 4), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetPropW(panel.window, L"ct.skin.kind"), nullptr);
  skin_test::DestroyTestWindow(panel);
  EXPECT_EQ(Query(skin.mapped->base).State, static_cast<DWORD>(MEM_COMMIT));  // still mapped
  skin_test::DestroyTestWindow(start);
}

TEST(WineSkin, CopesWithCallsInAnyOrderAndMoreThanOnce) {
  TestWindow start = skin_test::CreateTestWindow(100, 100);
  app::SkinLibrary skin{Host(), app::EmbeddedSkinImage(), std::nullopt};
  app::AdjustSkinColour(skin, 40, 40);  // maps, but attaches nothing
  app::DetachSkin(skin);
  Pump(100);
  EXPECT_EQ(ClientPixel(start.window, 4, 4), GetSysColor(COLOR_BTNFACE));
  app::AttachSkin(skin, app::EmbeddedSkinData());
  app::AttachSkin(skin, app::EmbeddedSkinData());
  Pump(200);
  EXPECT_EQ(ClientPixel(start.window, 4, 4), kSkinWindow);
  app::DetachSkin(skin);
  app::DetachSkin(skin);
  Pump(200);
  EXPECT_EQ(ClientPixel(start.window, 4, 4), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ClientPixel(start.saveButton, 8, 8), GetSysColor(COLOR_BTNFACE));
  skin_test::DestroyTestWindow(start);
}

// A point at the middle of a caption button, counted in buttons from the right edge.
POINT CaptionButton(HWND window, int fromRight) {
  RECT r;
  GetWindowRect(window, &r);
  const int border = GetSystemMetrics(SM_CXFIXEDFRAME), width = GetSystemMetrics(SM_CXSIZE);
  return POINT{r.right - border - width * fromRight - width / 2, r.top + border + GetSystemMetrics(SM_CYCAPTION) / 2};
}

// Pumps messages until `done` holds, for two seconds at most.
template <typename Condition>
bool WaitUntil(Condition done) {
  for (int waited = 0; waited < 2000; waited += 50) {
    if (done()) return true;
    Pump(50);
  }
  return done();
}

void ClickAt(POINT at) {
  SetCursorPos(at.x, at.y);
  Pump(100);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  // Both at once: the press runs the caption button's tracking loop on this very thread.
  SendInput(2, input, sizeof(INPUT));
  Pump(300);
}

TEST(WineSkin, CaptionButtonsThatTheSkinDrawsWork) {
  TestWindow start = skin_test::CreateTestWindow(100, 100);
  app::SkinLibrary skin{Host(), app::EmbeddedSkinImage(), std::nullopt};
  app::AttachSkin(skin, app::EmbeddedSkinData());
  Pump(200);
  const auto hitAt = [&](POINT at) { return SendMessageW(start.window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)); };
  EXPECT_EQ(hitAt(CaptionButton(start.window, 0)), HTCLOSE);
  EXPECT_EQ(hitAt(CaptionButton(start.window, 2)), HTMINBUTTON);

  ClickAt(CaptionButton(start.window, 2));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(start.window) != FALSE; }));
  ShowWindow(start.window, SW_RESTORE);
  SetForegroundWindow(start.window);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(start.window) && GetForegroundWindow() == start.window; }));
  ClickAt(CaptionButton(start.window, 0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(start.window); }));  // closed: its procedure destroys it
  app::DetachSkin(skin);
}

// What the message box looked like while it was up; filled in by a timer of this thread.
struct MessageBoxSeen {
  HWND box = nullptr;
  COLORREF background = CLR_INVALID;
  COLORREF buttonFace = CLR_INVALID;
};
MessageBoxSeen g_messageBox;

BOOL CALLBACK FindOkButton(HWND child, LPARAM found) {
  if (GetDlgCtrlID(child) == IDOK) *reinterpret_cast<HWND*>(found) = child;
  return TRUE;
}

void CALLBACK LookAtMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", reinterpret_cast<LPCWSTR>(u"Text"));
  if (!box) return;
  KillTimer(nullptr, timer);
  HWND ok = nullptr;
  EnumChildWindows(box, FindOkButton, reinterpret_cast<LPARAM>(&ok));
  g_messageBox.box = box;
  g_messageBox.background = ClientPixel(box, 3, 3);
  if (ok) g_messageBox.buttonFace = ClientPixel(ok, 6, 6);
  skin_test::SaveWindowPicture(box, "skin_message_box.bmp");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// The start-up notice is shown while the start window's skin is attached.
TEST(WineSkin, MessageBoxShownWhileAttachedWearsTheSkinAndCloses) {
  app::SkinLibrary skin{Host(), app::EmbeddedSkinImage(), std::nullopt};
  app::AttachSkin(skin, app::EmbeddedSkinData());
  SetTimer(nullptr, 0, 300, LookAtMessageBox);
  const int answer = MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(u"注：本插件只能解决用直播伴侣直播时的卡顿问题。"),
                                 reinterpret_cast<LPCWSTR>(u"Text"), MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
  app::DetachSkin(skin);
  EXPECT_EQ(answer, IDOK);
  ASSERT_NE(g_messageBox.box, nullptr);
  EXPECT_EQ(g_messageBox.background, kSkinWindow);
  EXPECT_EQ(g_messageBox.buttonFace, kSkinButtonFace);
}

TEST(WineSkin, MappedFixtureRunsFromItsOwnRelocatedSectionsAndBoundImports) {
  const auto image = app::EmbeddedFixtureImports();
  // Hold the preferred base, so the image must be moved and relocated.
  const std::uint64_t preferred = PreferredBase(image);
  void* holder = VirtualAlloc(reinterpret_cast<void*>(preferred), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
  auto library = app::MapLibraryImage(Host(), image);
  ASSERT_TRUE(library);
  EXPECT_NE(library->base, preferred);
  EXPECT_EQ(Query(library->base).Type, static_cast<DWORD>(MEM_PRIVATE));

  const auto find = [&](const char* name) { return app::FindEntryPoint(Host(), *library, name); };
  using Text = const char* (*)();
  using Number = int (*)();
  using Pointer = void* (*)();
  const char* greeting = reinterpret_cast<Text>(find("FixtureGreeting"))();
  EXPECT_STREQ(greeting, "greetings from the mapped fixture");
  EXPECT_GE(reinterpret_cast<std::uint64_t>(greeting), library->base);
  EXPECT_EQ(reinterpret_cast<Number>(find("FixtureGreetingLength"))(), 33);
  EXPECT_EQ(reinterpret_cast<Number>(find("FixtureAttachCount"))(), 1);
  EXPECT_EQ(reinterpret_cast<Pointer>(find("FixtureNamedImport"))(),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "lstrlenA")));
  EXPECT_EQ(reinterpret_cast<Pointer>(find("FixtureOrdinalImport"))(),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comctl32.dll"), MAKEINTRESOURCEA(17))));
  EXPECT_EQ(find("fixturegreeting"), 0u);

  const std::uint64_t base = library->base;
  app::ReleaseLibraryImage(Host(), *library);
  EXPECT_EQ(Query(base).State, static_cast<DWORD>(MEM_FREE));
  if (holder) VirtualFree(holder, 0, MEM_RELEASE);
}

TEST(WineSkin, EveryRelocatedPointerOfAManyPageTableHolds) {
  const auto image = app::EmbeddedFixtureRelocations();
  void* holder = VirtualAlloc(reinterpret_cast<void*>(PreferredBase(image)), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
  auto library = app::MapLibraryImage(Host(), image);
  ASSERT_TRUE(library);
  using Count = int (*)();
  using PointerAt = const int* (*)(int);
  const auto pointerAt = reinterpret_cast<PointerAt>(app::FindEntryPoint(Host(), *library, "FixturePointer"));
  const int count = reinterpret_cast<Count>(app::FindEntryPoint(Host(), *library, "FixturePointerCount"))();
  ASSERT_EQ(count, 1024);
  EXPECT_EQ(*pointerAt(0), 1);
  EXPECT_EQ(*pointerAt(3), 4);
  int wrong = 0;
  for (int i = 1; i < count; ++i) wrong += pointerAt(i) != pointerAt(0) + i;
  EXPECT_EQ(wrong, 0);
  app::ReleaseLibraryImage(Host(), *library);
  if (holder) VirtualFree(holder, 0, MEM_RELEASE);
}

// The bases and sizes of the process's private ranges of address space.
std::set<std::pair<std::uint64_t, std::uint64_t>> PrivateRanges() {
  std::set<std::pair<std::uint64_t, std::uint64_t>> ranges;
  MEMORY_BASIC_INFORMATION info;
  for (auto* at = static_cast<char*>(nullptr); VirtualQuery(at, &info, sizeof info) == sizeof info;
       at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.Type == MEM_PRIVATE && info.State != MEM_FREE)
      ranges.emplace(reinterpret_cast<std::uint64_t>(info.AllocationBase), info.RegionSize);
  }
  return ranges;
}

TEST(WineSkin, EntryPointThatRefusesAttachLeavesNothingMapped) {
  const auto image = app::EmbeddedFixtureFailing();
  const auto before = PrivateRanges();
  EXPECT_FALSE(app::MapLibraryImage(Host(), image));
  EXPECT_EQ(PrivateRanges(), before);
}

TEST(WineSkin, AnImageOfAnotherMachineIsRefusedWithoutReservingAnything) {
  EXPECT_EQ(Host().Machine(), platform::kMachineAmd64);
  const auto before = PrivateRanges();
  EXPECT_FALSE(app::MapLibraryImage(Host(), app::EmbeddedFixtureX86()));
  EXPECT_EQ(PrivateRanges(), before);
}

}  // namespace
