#include "optimizer/process_names.h"

#include "platform/text.h"

namespace optimizer {

namespace {

template <typename Char>
bool IsAsciiLetter(Char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

template <typename Char>
bool SameIgnoringAsciiCase(Char a, Char b) {
  return a == b || (IsAsciiLetter(a) && IsAsciiLetter(b) && (a | 0x20) == (b | 0x20));
}

}  // namespace

bool NamesMatchExactly(std::string_view name, std::string_view wanted) { return name == wanted; }

bool NamesMatchIgnoringAsciiCase(std::string_view name, std::string_view wanted) {
  if (name.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (platform::IsGbkLeadByte(name[i]) && i + 1 < name.size()) {
      if (name.substr(i, 2) != wanted.substr(i, 2)) return false;
      ++i;
    } else if (!SameIgnoringAsciiCase(name[i], wanted[i])) {
      return false;
    }
  }
  return true;
}

bool NamesMatchIgnoringAsciiCase(std::u16string_view name, std::u16string_view wanted) {
  if (name.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (!SameIgnoringAsciiCase(name[i], wanted[i])) return false;
  return true;
}

}  // namespace optimizer
