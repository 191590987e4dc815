#include "scan/wildcard.h"

#include "base/cp932.h"

namespace twinseek {

namespace {

// The next character boundary; a NUL byte is a character of its own.
size_t StepChar(std::string_view text, size_t pos) {
  return text[pos] == '\0' ? pos + 1 : NextCharPos(text, pos);
}

}  // namespace

// Greedy matching with one point to go back to: the last "*" seen and the
// name position it has swallowed up to. On a mismatch the "*" takes one more
// character of the name and matching resumes after it. An earlier "*" never
// needs to be retried: whatever it would swallow more, the later one can.
bool MatchWildcard(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return false;
  size_t p = 0;
  size_t n = 0;
  size_t star = std::string_view::npos;  // pattern position after the last "*"
  size_t resume = 0;                     // name position the "*" has reached
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = ++p;
      resume = n;
      continue;
    }
    if (p < pattern.size()) {
      const size_t p_next = StepChar(pattern, p);
      const size_t n_next = StepChar(name, n);
      if (pattern[p] == '?' || pattern.substr(p, p_next - p) == name.substr(n, n_next - n)) {
        p = p_next;
        n = n_next;
        continue;
      }
    }
    if (star == std::string_view::npos) return false;
    resume = StepChar(name, resume);
    p = star;
    n = resume;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> SplitPatterns(std::string_view text) {
  std::vector<std::string> patterns;
  size_t begin = 0;
  for (size_t pos = 0; pos < text.size(); pos = StepChar(text, pos)) {
    if (text[pos] == ';') {
      patterns.emplace_back(text.substr(begin, pos - begin));
      begin = pos + 1;
    }
  }
  if (begin < text.size()) patterns.emplace_back(text.substr(begin));
  return patterns;
}

}  // namespace twinseek
