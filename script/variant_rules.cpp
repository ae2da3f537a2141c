#include "script/variant_rules.h"

#include <cstdlib>
#include <string>

namespace script {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The length of the run of digits at `at`.
std::size_t Digits(std::u16string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - at;
}

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] + (u'a' - u'A') : text[i];
    if (c != lowerWord[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<double> NumberFromText(std::u16string_view text) {
  text = TrimBlanks(text);
  std::size_t at = 0;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
  std::size_t mantissa = Digits(text, at);
  at += mantissa;
  if (at < text.size() && text[at] == u'.') {
    const std::size_t fraction = Digits(text, at + 1);
    mantissa += fraction;
    at += 1 + fraction;
  }
  if (mantissa == 0) return std::nullopt;
  if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-')) ++exponent;
    const std::size_t digits = Digits(text, exponent);
    if (digits == 0) return std::nullopt;
    at = exponent + digits;
  }
  if (at != text.size()) return std::nullopt;
  const std::string ascii(text.begin(), text.end());  // only ASCII characters are left
  return std::strtod(ascii.c_str(), nullptr);
}

std::optional<bool> TruthFromText(std::u16string_view text) {
  if (EqualsIgnoringCase(text, u"true")) return true;
  if (EqualsIgnoringCase(text, u"false")) return false;
  const std::optional<double> number = NumberFromText(text);
  if (!number) return std::nullopt;
  return *number != 0;
}

}  // namespace script
