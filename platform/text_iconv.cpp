// Code-page conversions through iconv, for the Linux build. The fake system's ANSI code
// page is 936, as on the streamers' machines.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <utility>

#include "platform/text.h"

namespace platform {

std::uint32_t TextCodePage = kAnsiCodePage;

namespace {

// The build's narrow literals, the program's texts: GBK, or UTF-8 where the compiler knows no
// other execution character set (the fuzz build's clang). Code page 936, and the fake
// system's ANSI code page, are whichever they are, so that the program's texts meet UTF-16 as
// they do on Windows.
constexpr bool kLiteralsAreGbk = std::string_view("中").size() == 2;

const char* IconvName(std::uint32_t codePage) {
  if (codePage == kUtf8CodePage || !kLiteralsAreGbk) return "UTF-8";
  return "CP936";  // 936 and the (fake) system's ANSI code page
}

// One conversion descriptor for each pair of encodings, opened once for the thread: opening
// one is far dearer than the conversion of a short text, and the tests convert a window's
// title a hundred times a second of virtual time.
iconv_t Descriptor(const char* from, const char* to) {
  struct Descriptors {
    ~Descriptors() {
      for (const auto& [encodings, descriptor] : open)
        if (descriptor != reinterpret_cast<iconv_t>(-1)) iconv_close(descriptor);
    }
    std::map<std::pair<std::string, std::string>, iconv_t> open;
  };
  thread_local Descriptors descriptors;
  const auto [found, added] = descriptors.open.try_emplace({from, to}, iconv_t{});
  if (added) found->second = iconv_open(to, from);
  return found->second;
}

// Converts as far as possible; where the input cannot be converted, writes `replacement`
// and skips `skipUnit` input bytes.
std::string Convert(const char* from, const char* to, std::string_view input, std::string_view replacement,
                    std::size_t skipUnit) {
  iconv_t cd = Descriptor(from, to);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // from the initial state
  std::string out;
  char buffer[4096];
  auto* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      const std::size_t skip = std::min(skipUnit, inLeft);
      in += skip;
      inLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

std::u16string MultiByteToUtf16(std::uint32_t codePage, std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  const char replacement[] = {'\xFD', '\xFF'};  // U+FFFD, little-endian
  const std::string utf16 = Convert(IconvName(codePage), "UTF-16LE", bytes, std::string_view(replacement, 2), 1);
  std::u16string result(utf16.size() / 2, u'\0');
  for (std::size_t i = 0; i < result.size(); ++i)
    result[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * i]) |
                                      static_cast<unsigned char>(utf16[2 * i + 1]) << 8);
  return result;
}

std::string Utf16ToMultiByte(std::uint32_t codePage, std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  std::string utf16(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    utf16[2 * i] = static_cast<char>(text[i] & 0xFF);
    utf16[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return Convert("UTF-16LE", IconvName(codePage), utf16, "?", 2);
}

}  // namespace platform
