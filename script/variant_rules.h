#pragma once
// How VariantChangeType reads a text as a truth value or a number, for engines whose values
// are not VARIANTs: the embedded engine converts its results by these rules so that every
// engine gives the ScriptJson operations the same answers.
#include <optional>
#include <string_view>

namespace script {

// Blanks, an optional sign, decimal digits with an optional point and exponent, blanks.
std::optional<double> NumberFromText(std::u16string_view text);
// "True" or "False" in any case, else a number (non-zero is true); nothing otherwise.
std::optional<bool> TruthFromText(std::u16string_view text);

}  // namespace script
