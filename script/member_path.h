#pragma once
// The paths that ScriptJson's operations take: JavaScript member expressions relative to the
// root, such as "roomStore.status", "list[2].name", "[3]" or "a['x y']". A path is put into
// the engine's source as it is, so anything else could run as code there.
#include <string_view>

namespace script {

// A sequence of members: an identifier or a bracket first, then ".identifier" or brackets.
// A bracket holds a decimal index (a minus sign allowed) or a text in apostrophes or
// quotation marks without backslashes or line breaks. Identifiers are ASCII letters, digits
// (not first), "$", "_" and any character beyond ASCII that JavaScript reads as no blank or
// line break. The empty path (the root) is one too.
bool IsMemberPath(std::u16string_view path);

}  // namespace script
