#include "scan/name_patterns.h"

#include "base/cp932.h"

namespace twinseek {

namespace {

bool IsSingleByteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string NormalizeNamePatterns(std::string_view patterns) {
  while (!patterns.empty() && IsSingleByteSpace(patterns.front())) patterns.remove_prefix(1);
  // A trailing blank is never the second byte of a double-byte character:
  // second bytes start at 0x40.
  while (!patterns.empty() && IsSingleByteSpace(patterns.back())) patterns.remove_suffix(1);
  if (patterns.empty()) return "*.*";
  return std::string(patterns);
}

bool HasForbiddenPatternCharacter(std::string_view patterns) {
  for (size_t pos = 0; pos < patterns.size();) {
    const size_t next = NextCharPos(patterns, pos);
    if (next == pos) break;  // a NUL ends the text
    if (next == pos + 1 && kForbiddenPatternCharacters.find(patterns[pos]) != std::string_view::npos) {
      return true;
    }
    pos = next;
  }
  return false;
}

}  // namespace twinseek
