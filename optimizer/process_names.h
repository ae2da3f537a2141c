#pragma once
// The two rules for matching a process's executable name against a wanted name.
#include <string_view>

namespace optimizer {

// Identical byte for byte.
bool NamesMatchExactly(std::string_view name, std::string_view wanted);
// Same length, and each pair of characters identical or two ASCII letters that differ only
// in case. A GBK double-byte character is one character and must be identical: its trail
// byte may look like an ASCII letter, and two characters differing there are different names.
bool NamesMatchIgnoringAsciiCase(std::string_view name, std::string_view wanted);
bool NamesMatchIgnoringAsciiCase(std::u16string_view name, std::u16string_view wanted);

}  // namespace optimizer
