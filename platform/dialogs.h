#pragma once
// Message boxes.
#include <cstdint>
#include <string_view>

namespace platform {

inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr std::uint32_t kMbTaskModal = 0x2000;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // MessageBoxA without an owner window; returns when the user has dismissed it.
  virtual void ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t flags) = 0;
};

}  // namespace platform
