#pragma once
// UTF-16 to and from CESU-8, the byte form duktape keeps its strings in: every UTF-16 unit,
// a surrogate included, is one sequence of one to three bytes, so any UTF-16 text goes in
// and comes back unchanged.
#include <string>
#include <string_view>

namespace script {

std::string Utf16ToCesu8(std::u16string_view text);
// Also takes four-byte UTF-8 sequences (as a surrogate pair); a byte that starts no valid
// sequence becomes U+FFFD.
std::u16string Cesu8ToUtf16(std::string_view bytes);

}  // namespace script
