// The skin on the real program under Wine: the program maps its skin library from memory
// and leaves no file of it, the start window wears the skin, the panel after the hand-over
// shows its own colours, and a program whose skin image is damaged still starts and works.
// Each program is run once, from the notice to its end with the companion; the tests look
// at what the runs showed.
#include <gmock/gmock.h>

#include <cwctype>
#include <map>

#include "app/startup.h"  // before <windows.h>, whose macros clash with the window model's names
#include "skin/embedded_skin.h"
#include "tests/wine/harness/harness.h"

#include <tlhelp32.h>

namespace {

using namespace harness;
using testing::IsEmpty;
namespace start = ui::start;
namespace panel = ui::panel;

// The look of assets/skin.ctskin.
constexpr COLORREF kSkinWindow = RGB(0xF3, 0xF5, 0xF9);
constexpr COLORREF kSkinButtonBorder = RGB(0xC9, 0xD0, 0xDB);
constexpr COLORREF kSkinEditBorder = RGB(0xC9, 0xD0, 0xDB);
constexpr COLORREF kSkinCaptionActive = RGB(0x1F, 0x24, 0x30);
constexpr COLORREF kSkinCaptionInactive = RGB(0x3A, 0x41, 0x50);
// The panel's own colours: its background picture P1 and the face of P2.
constexpr COLORREF kPanelBackground = RGB(0x22, 0x22, 0x22);
constexpr COLORREF kP2Face = RGB(0xFF, 0x2D, 0x66);

constexpr int kStartTimeoutMs = 20000;

// Pixels of the start window where the skin shows: the title bar, the inside of 分组框2,
// 按钮2's outline, 编辑框3's frame. (Wine's own theme gives buttons a white face, as the
// skin does: the outline tells them apart.)
struct StartWindowLook {
  COLORREF caption = CLR_INVALID, groupInside = CLR_INVALID, buttonBorder = CLR_INVALID, editBorder = CLR_INVALID;
};

StartWindowLook LookOf(HWND window) {
  const RECT frame = WindowRectOf(window);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  const RECT group = WindowRectOf(FindControl(window, start::分组框2));
  const RECT button = WindowRectOf(FindControl(window, start::按钮2));
  const RECT edit = WindowRectOf(FindControl(window, start::编辑框3));
  return {PixelAt({frame.left + 400, (frame.top + client.y) / 2}), PixelAt({group.left + 30, group.top + 50}),
          PixelAt({button.left, (button.top + button.bottom) / 2}), PixelAt({edit.left, (edit.top + edit.bottom) / 2})};
}

// Every file of the folders where the program could have written the library: its own
// folder, %TEMP%, C:\ (also the folder the harness starts it in) and this test's folder;
// with size and time of the last write.
using FolderListing = std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>>;

FolderListing ListWatchedFolders() {
  const std::wstring program = ProgramPath();
  wchar_t temp[MAX_PATH] = {}, here[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  GetCurrentDirectoryW(MAX_PATH, here);
  FolderListing files;
  for (std::wstring folder : {program.substr(0, program.rfind(L'\\')), std::wstring(temp), std::wstring(L"C:"),
                              std::wstring(here)}) {
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const ULONGLONG size = ULONGLONG{found.nFileSizeHigh} << 32 | found.nFileSizeLow;
      const ULONGLONG written = ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32 | found.ftLastWriteTime.dwLowDateTime;
      files[folder + L"\\" + found.cFileName] = {size, written};
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return files;
}

std::vector<std::wstring> NewOrChanged(const FolderListing& before, const FolderListing& after) {
  std::vector<std::wstring> changed;
  for (const auto& [path, state] : after) {
    const auto earlier = before.find(path);
    if (earlier == before.end() || earlier->second != state) changed.push_back(path);
  }
  return changed;
}

struct Module {
  std::wstring name;
  std::uint64_t base, size;
};

std::vector<Module> ModulesOf(DWORD processId) {
  std::vector<Module> modules;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return modules;
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
    modules.push_back({module.szModule, reinterpret_cast<std::uint64_t>(module.modBaseAddr), module.modBaseSize});
  CloseHandle(snapshot);
  return modules;
}

// A range of the process's memory that begins with the skin library's headers as they lie
// in its image (up to ImageBase, which the mapping rewrites), and the kind of its memory.
struct LibraryCopy {
  std::uint64_t base;
  DWORD type;
};

std::optional<LibraryCopy> FindSkinLibraryCopy(DWORD processId) {
  const auto image = app::EmbeddedSkinImage();
  const std::uint32_t nt = *reinterpret_cast<const std::uint32_t*>(&image[0x3C]);
  const std::size_t headerBytes = nt + 24 + 24;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  std::optional<LibraryCopy> copy;
  MEMORY_BASIC_INFORMATION info{};
  std::vector<std::uint8_t> bytes(headerBytes);
  for (auto* at = static_cast<char*>(nullptr); !copy && VirtualQueryEx(process, at, &info, sizeof info) == sizeof info;
       at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    SIZE_T read = 0;
    if (info.State == MEM_COMMIT && info.BaseAddress == info.AllocationBase && info.RegionSize >= headerBytes &&
        ReadProcessMemory(process, info.BaseAddress, bytes.data(), headerBytes, &read) && read == headerBytes &&
        std::equal(bytes.begin(), bytes.end(), image.begin()))
      copy = LibraryCopy{reinterpret_cast<std::uint64_t>(info.BaseAddress), info.Type};
  }
  CloseHandle(process);
  return copy;
}

// What one run of a program showed, from its start beside the companion to its end.
struct ProgramRun {
  std::optional<std::wstring> notice;
  bool startWindowShown = false;
  StartWindowLook look;
  std::vector<std::wstring> filesWritten;  // while the start window wore the skin
  std::vector<Module> modules;
  std::optional<LibraryCopy> skinCopy;
  bool panelShown = false;
  COLORREF panelBackground = CLR_INVALID, panelButtonFace = CLR_INVALID;
  std::optional<DWORD> exitCode;
};

// What the start window shows and the program holds while the skin is attached.
void LookAtStartWindow(HWND window, DWORD processId, const FolderListing& before, const std::wstring& screenshot,
                       ProgramRun& run) {
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // painted
  run.filesWritten = NewOrChanged(before, ListWatchedFolders());
  run.look = LookOf(window);
  const RECT frame = WindowRectOf(window);
  SaveScreenshot(screenshot, &frame);
  run.modules = ModulesOf(processId);
  run.skinCopy = FindSkinLibraryCopy(processId);
}

void LookAtPanel(HWND panelWindow, ProgramRun& run) {
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // painted
  const RECT rect = WindowRectOf(panelWindow);
  run.panelBackground = PixelAt({rect.left + 5, rect.top + 100});
  const RECT button = WindowRectOf(FindControl(panelWindow, panel::图形按钮1));
  run.panelButtonFace = PixelAt({button.left + 8, button.top + 20});
}

// Starts the program beside the companion, takes it through the notice and the start
// window to the panel, and ends the companion.
ProgramRun RunProgram(const std::wstring& program, const std::wstring& screenshot) {
  ResetScene();
  std::vector<Process> companion = StartCompanion();
  const FolderListing before = ListWatchedFolders();
  ProgramRun run;
  // The pointer stays where the display put it, at the screen's middle: over the start
  // window's tutorial, which has no look of its own under the mouse, and away from the panel.
  Process process = StartProgram(program);
  if (const auto box = WaitForMessageBox(process.Id(), kStartTimeoutMs)) {
    run.notice = box->text;
    PressOk(*box);
  }
  HWND window = nullptr;
  run.startWindowShown =
      WaitFor([&] { return (window = FindStartWindow(process.Id())) && IsWindowVisible(window); }, kStartTimeoutMs);
  if (!run.startWindowShown) return run;
  LookAtStartWindow(window, process.Id(), before, screenshot, run);

  ClickButton(FindControl(window, start::按钮1));
  HWND panelWindow = nullptr;
  run.panelShown =
      WaitFor([&] { return (panelWindow = FindPanel(process.Id())) && IsWindowVisible(panelWindow); }, 10000);
  if (run.panelShown) LookAtPanel(panelWindow, run);
  SendCompanionCommand("exit");
  run.exitCode = process.WaitForExit(5000);
  return run;
}

class SkinScenario : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    skinned = RunProgram(ProgramPath(), L"skin-start-window");
    damaged = RunProgram(DamagedSkinProgramPath(), L"skin-start-window-damaged");
    ResetScene();
  }
  static inline ProgramRun skinned, damaged;
};

bool NamesSkin(const std::wstring& name) {
  std::wstring lower = name;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower.find(L"skin") != std::wstring::npos;
}

TEST_F(SkinScenario, TheSkinLibraryIsMappedFromMemoryAndNeverWritten) {
  ASSERT_TRUE(skinned.startWindowShown);
  EXPECT_THAT(skinned.filesWritten, IsEmpty());
  ASSERT_TRUE(skinned.skinCopy) << "the library's headers lie in the program's memory";
  EXPECT_EQ(skinned.skinCopy->type, static_cast<DWORD>(MEM_PRIVATE)) << "not a mapped file";
  ASSERT_FALSE(skinned.modules.empty());
  for (const Module& module : skinned.modules) {
    SCOPED_TRACE(module.name);
    EXPECT_FALSE(NamesSkin(module.name));
    EXPECT_FALSE(skinned.skinCopy->base >= module.base && skinned.skinCopy->base < module.base + module.size);
  }
}

TEST_F(SkinScenario, TheStartWindowWearsTheSkin) {
  ASSERT_TRUE(skinned.startWindowShown);
  ASSERT_TRUE(damaged.startWindowShown);
  const StartWindowLook& dressed = skinned.look;
  const StartWindowLook& plain = damaged.look;
  EXPECT_TRUE(dressed.caption == kSkinCaptionActive || dressed.caption == kSkinCaptionInactive)
      << std::hex << dressed.caption;
  EXPECT_EQ(dressed.groupInside, kSkinWindow);
  EXPECT_EQ(dressed.buttonBorder, kSkinButtonBorder);
  EXPECT_EQ(dressed.editBorder, kSkinEditBorder);
  EXPECT_NE(plain.caption, dressed.caption);
  EXPECT_NE(plain.groupInside, dressed.groupInside);
  EXPECT_NE(plain.buttonBorder, dressed.buttonBorder);
  EXPECT_NE(plain.editBorder, dressed.editBorder);
}

TEST_F(SkinScenario, AfterTheHandOverThePanelShowsItsOwnColours) {
  for (const ProgramRun* run : {&skinned, &damaged}) {
    SCOPED_TRACE(run == &skinned ? "skinned" : "damaged skin");
    ASSERT_TRUE(run->panelShown);
    EXPECT_EQ(run->panelBackground, kPanelBackground) << std::hex << run->panelBackground;
    EXPECT_EQ(run->panelButtonFace, kP2Face) << std::hex << run->panelButtonFace;
  }
}

TEST_F(SkinScenario, WithADamagedSkinImageTheProgramStartsAndWorksWithoutTheSkin) {
  EXPECT_EQ(damaged.notice, std::optional<std::wstring>(Wide(app::kNoticeMessage)));
  ASSERT_TRUE(damaged.startWindowShown);
  EXPECT_EQ(damaged.look.groupInside, GetSysColor(COLOR_BTNFACE)) << "the window's own colour";
  EXPECT_FALSE(damaged.skinCopy) << "nothing of a mapping that failed is left";
  EXPECT_TRUE(damaged.panelShown);
  EXPECT_EQ(damaged.exitCode, std::optional<DWORD>(0));
  EXPECT_EQ(skinned.exitCode, std::optional<DWORD>(0));
}

}  // namespace
