#include "scan/duplicate_key.h"

#include <algorithm>
#include <charconv>

#include "base/cp932.h"

namespace twinseek {

namespace {

// Room for the longest fragments built from numbers: the date (25 bytes), a
// 64-bit size in parentheses (22) and the checksum (9).
constexpr size_t kNumberFragmentRoom = 32;

void AppendNumber(std::string& key, uint64_t value, int base) {
  char digits[kNumberFragmentRoom];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value, base);
  key.append(digits, end.ptr);
}

// Name and extension come first in every key, so they are written into the
// empty key together and upper-cased in one pass: upper-casing keeps every
// character's place and length, so the split found in the original name
// holds for the upper-cased one.
void AppendNameFragments(const DirEntry& entry, const Conditions& conditions, std::string& key) {
  const NameParts parts = SplitName(entry.name);
  if (conditions.name) {
    key.append(parts.base);
    key.push_back(' ');
  }
  if (conditions.extension) {
    key.append(parts.extension.empty() ? std::string_view(".") : parts.extension);
    key.push_back(' ');
  }
  UpperCaseInPlace(key);
}

// A number in decimal with at least width digits, zeros in front, as
// printf's "%0*d" writes a number that is not negative.
void AppendPadded(std::string& key, int value, size_t width) {
  char digits[kNumberFragmentRoom];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  const auto length = static_cast<size_t>(end.ptr - digits);
  if (length < width) key.append(width - length, '0');
  key.append(digits, length);
}

// "W%04d/%02d/%02d %02d:%02d:%02d %04d", written by hand: the key of every
// file holds it, and printf cost a quarter of a scan.
void AppendDateFragment(const DirEntry& entry, std::string& key) {
  const LocalTime time = ToLocalTime(entry.last_write_time);
  key.push_back('W');
  AppendPadded(key, time.year, 4);
  key.push_back('/');
  AppendPadded(key, time.month, 2);
  key.push_back('/');
  AppendPadded(key, time.day, 2);
  key.push_back(' ');
  AppendPadded(key, time.hour, 2);
  key.push_back(':');
  AppendPadded(key, time.minute, 2);
  key.push_back(':');
  AppendPadded(key, time.second, 2);
  key.push_back(' ');
  AppendPadded(key, time.millisecond, 4);
}

}  // namespace

bool Conditions::AnyPlugin() const {
  for (const bool ticked : plugins) {
    if (ticked) return true;
  }
  return false;
}

bool Conditions::Any() const { return name || extension || size || checksum || date || AnyPlugin(); }

Conditions DefaultConditions() {
  Conditions conditions;
  conditions.size = true;
  conditions.date = true;
  return conditions;
}

void AppendFileFragments(const DirEntry& entry, const Conditions& conditions, uint32_t checksum,
                         std::string& key) {
  key.clear();
  if (conditions.name || conditions.extension) AppendNameFragments(entry, conditions, key);
  if (conditions.date) AppendDateFragment(entry, key);
  if (conditions.size) {
    key.push_back('(');
    AppendNumber(key, entry.size, 10);
    key.push_back(')');
  }
  if (conditions.checksum) {
    key.push_back('@');
    AppendNumber(key, checksum, 16);
  }
}

void BuildDuplicateKey(std::string_view path, const DirEntry& entry, const Conditions& conditions,
                       uint32_t checksum, PluginSlots& plugins, std::string& key, std::string& error_log) {
  AppendFileFragments(entry, conditions, checksum, key);
  if (conditions.AnyPlugin()) plugins.AppendFragments(conditions.plugins, path, entry, key, error_log);
}

}  // namespace twinseek
