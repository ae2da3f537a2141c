#pragma once
// Conversions between the program's GBK texts and UTF-16. Texts are C strings at heart:
// every conversion stops at the first zero byte or unit.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The process-wide code page of the program's texts; start-up sets it to 936 (GBK)
// before the first window exists. 0 means the system's ANSI code page.
extern std::uint32_t TextCodePage;

inline constexpr std::uint32_t kGbkCodePage = 936;
inline constexpr std::uint32_t kUtf8CodePage = 65001;
inline constexpr std::uint32_t kAnsiCodePage = 0;  // CP_ACP

// Bytes in a code page to UTF-16. Sequences the code page cannot decode come out as the
// platform makes them (U+FFFD or '?').
std::u16string MultiByteToUtf16(std::uint32_t codePage, std::string_view bytes);
// UTF-16 to bytes in a code page; a character without a form there becomes '?'.
std::string Utf16ToMultiByte(std::uint32_t codePage, std::u16string_view text);

// A lead byte of a double-byte character in code page 936: it and the byte after it are one
// character, and the second byte may look like an ASCII letter or symbol.
inline bool IsGbkLeadByte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= 0x81 && value <= 0xFE;
}

// Whether `part` occurs in `text` starting at a character boundary (case counts).
bool ContainsText(std::string_view text, std::string_view part);

// GBK text to UTF-16 in TextCodePage (the empty text gives the empty string).
inline std::u16string ToUtf16(std::string_view text) { return MultiByteToUtf16(TextCodePage, text); }
// UTF-16 back to text in TextCodePage.
inline std::string FromUtf16(std::u16string_view text) { return Utf16ToMultiByte(TextCodePage, text); }

}  // namespace platform
