#include "script/cesu8.h"

namespace script {

std::string Utf16ToCesu8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char16_t unit : text) {
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit < 0x800) {
      out += static_cast<char>(0xC0 | unit >> 6);
      out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | unit >> 12);
      out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

namespace {

// The length of the sequence that starts with `lead`, or 0 when it starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

void AppendCodePoint(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out += static_cast<char16_t>(codePoint);
  } else {
    codePoint -= 0x10000;
    out += static_cast<char16_t>(0xD800 | codePoint >> 10);
    out += static_cast<char16_t>(0xDC00 | (codePoint & 0x3FF));
  }
}

}  // namespace

std::u16string Cesu8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = SequenceLength(lead);
    bool valid = length > 0 && i + length <= bytes.size();
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      codePoint = codePoint << 6 | (next & 0x3F);
    }
    const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!valid || codePoint < shortest[length] || codePoint > 0x10FFFF) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    AppendCodePoint(out, codePoint);
    i += length;
  }
  return out;
}

}  // namespace script
