#include "script/member_path.h"

namespace script {

namespace {

bool IsBlankOrLineBreak(char16_t c) {
  return c == u'\u00A0' || c == u'\u1680' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028' ||
         c == u'\u2029' || c == u'\u202F' || c == u'\u205F' || c == u'\u3000' || c == u'\uFEFF';
}

bool IsIdentifierStart(char16_t c) {
  if (c >= 0x80) return !IsBlankOrLineBreak(c);
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'$' || c == u'_';
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsIdentifierPart(char16_t c) { return IsIdentifierStart(c) || IsDigit(c); }

// Reads a member from `at`; false when none starts there.
bool SkipIdentifier(std::u16string_view path, std::size_t& at) {
  if (at >= path.size() || !IsIdentifierStart(path[at])) return false;
  while (at < path.size() && IsIdentifierPart(path[at])) ++at;
  return true;
}

bool SkipBracket(std::u16string_view path, std::size_t& at) {
  if (at >= path.size() || path[at] != u'[') return false;
  ++at;
  if (at < path.size() && (path[at] == u'\'' || path[at] == u'"')) {
    const char16_t quote = path[at++];
    while (at < path.size() && path[at] != quote) {
      const char16_t c = path[at++];
      if (c == u'\\' || c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029') return false;
    }
    if (at >= path.size()) return false;
    ++at;
  } else {
    if (at < path.size() && path[at] == u'-') ++at;
    const std::size_t digits = at;
    while (at < path.size() && IsDigit(path[at])) ++at;
    if (at == digits) return false;
  }
  if (at >= path.size() || path[at] != u']') return false;
  ++at;
  return true;
}

}  // namespace

bool IsMemberPath(std::u16string_view path) {
  if (path.empty()) return true;
  std::size_t at = 0;
  if (!SkipIdentifier(path, at) && !SkipBracket(path, at)) return false;
  while (at < path.size()) {
    if (path[at] == u'.') {
      ++at;
      if (!SkipIdentifier(path, at)) return false;
    } else if (!SkipBracket(path, at)) {
      return false;
    }
  }
  return true;
}

}  // namespace script
