// Code-page conversions through the Windows API.
#include "platform/text.h"

#include <windows.h>

namespace platform {

std::uint32_t TextCodePage = kAnsiCodePage;

std::u16string MultiByteToUtf16(std::uint32_t codePage, std::string_view bytes) {
  const std::string zeroTerminated(bytes.substr(0, bytes.find('\0')));
  if (zeroTerminated.empty()) return {};
  const int units = MultiByteToWideChar(codePage, 0, zeroTerminated.c_str(), -1, nullptr, 0);
  if (units <= 1) return {};
  std::u16string result(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(codePage, 0, zeroTerminated.c_str(), -1, reinterpret_cast<wchar_t*>(result.data()), units);
  result.resize(static_cast<std::size_t>(units) - 1);
  return result;
}

std::string Utf16ToMultiByte(std::uint32_t codePage, std::u16string_view text) {
  const std::u16string zeroTerminated(text.substr(0, text.find(u'\0')));
  if (zeroTerminated.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(zeroTerminated.c_str());
  const int size = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide, -1, result.data(), size, nullptr, nullptr);
  result.resize(result.find('\0'));
  return result;
}

}  // namespace platform
