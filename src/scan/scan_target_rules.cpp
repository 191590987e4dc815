#include "scan/scan_target_rules.h"

#include <utility>

#include "scan/name_patterns.h"

namespace twinseek {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

std::optional<uint32_t> ParseSizeField(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    // Checked at every digit, so the 64-bit sum itself never overflows.
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

StartCheck CheckScanStart(ScanCriteria& criteria, FileSystem& file_system) {
  criteria.name_patterns = NormalizeNamePatterns(criteria.name_patterns);
  if (HasForbiddenPatternCharacter(criteria.name_patterns)) return StartCheck::kForbiddenPattern;
  if (criteria.location.empty()) return StartCheck::kBadLocation;
  std::optional<std::string> location = FullPath(criteria.location);
  if (!location) return StartCheck::kBadLocation;
  const std::optional<uint32_t> attributes = file_system.GetAttributes(*location);
  if (!attributes || (*attributes & kAttributeDirectory) == 0) return StartCheck::kBadLocation;
  criteria.location = std::move(*location);
  return StartCheck::kReady;
}

}  // namespace twinseek
