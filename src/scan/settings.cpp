#include "scan/settings.h"

#include "base/cp932.h"
#include "base/path_text.h"

namespace twinseek {

namespace {

// GetPrivateProfileIntA reads the value into a buffer of 30 characters.
constexpr size_t kValueCharacters = 29;

// A byte standing for any character outside ASCII in a Unicode-encoded file:
// no blank, no bracket, no "=", no quote, no digit, no letter.
constexpr char kNonAscii = '\x7F';

bool IsBlank(char c) { return (c >= '\x09' && c <= '\x0D') || c == '\x1A' || c == ' '; }

// The next character boundary; a NUL byte is a character of its own.
size_t StepChar(std::string_view text, size_t pos) {
  return text[pos] == '\0' ? pos + 1 : NextCharPos(text, pos);
}

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); pos = StepChar(text, pos)) ++count;
  return count;
}

// The first count characters of text.
std::string_view FirstCharacters(std::string_view text, size_t count) {
  size_t pos = 0;
  for (; pos < text.size() && count > 0; --count) pos = StepChar(text, pos);
  return text.substr(0, pos);
}

std::string_view CutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view Trim(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  size_t end = begin;
  for (size_t pos = begin; pos < text.size();) {
    const bool blank = IsBlank(text[pos]);
    pos = StepChar(text, pos);
    if (!blank) end = pos;
  }
  return text.substr(begin, end - begin);
}

// Equal names: A-Z and a-z are the same letters, double-byte characters must
// be equal.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t pos = 0; pos < a.size();) {
    const size_t next = StepChar(a, pos);
    if (next != StepChar(b, pos)) return false;
    if (next - pos == 1) {
      auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
      if (lower(a[pos]) != lower(b[pos])) return false;
    } else if (a.substr(pos, next - pos) != b.substr(pos, next - pos)) {
      return false;
    }
    pos = next;
  }
  return true;
}

// Unicode text as single bytes: ASCII stays, everything else becomes kNonAscii.
std::string NarrowUtf16(std::string_view bytes, bool big_endian) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<uint8_t>(bytes[i]);
    const auto second = static_cast<uint8_t>(bytes[i + 1]);
    const unsigned unit = big_endian ? (first << 8 | second) : (second << 8 | first);
    text.push_back(unit < 0x80 ? static_cast<char>(unit) : kNonAscii);
  }
  return text;
}

std::string NarrowUtf8(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) {
    if (static_cast<uint8_t>(c) >= 0x80) c = kNonAscii;
  }
  return text;
}

// The file's text in code page 932, after the byte-order mark that selects
// its encoding.
std::string DecodeProfile(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return NarrowUtf8(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return NarrowUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return NarrowUtf16(bytes.substr(2), true);
  return std::string(bytes);
}

// Walks a profile's text line by line, each line trimmed, empty ones skipped.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool Next(std::string_view& line) {
    while (pos_ < text_.size()) {
      const size_t begin = pos_;
      while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n') pos_ = StepChar(text_, pos_);
      line = Trim(text_.substr(begin, pos_ - begin));
      if (pos_ < text_.size()) ++pos_;
      if (!line.empty()) return true;
    }
    return false;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The name of a section line "[name]", up to the line's last "]"; nothing for
// any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  if (line.empty() || line[0] != '[') return std::nullopt;
  size_t close = 0;
  for (size_t pos = 1; pos < line.size(); pos = StepChar(line, pos)) {
    if (line[pos] == ']') close = pos;
  }
  if (close == 0) return std::nullopt;
  return CutAtNul(Trim(line.substr(1, close - 1)));
}

struct KeyLine {
  std::string_view name;
  std::string_view value;  // empty also when the line has no "="
};

KeyLine SplitKeyLine(std::string_view line) {
  for (size_t pos = 0; pos < line.size(); pos = StepChar(line, pos)) {
    if (line[pos] == '=') return {CutAtNul(Trim(line.substr(0, pos))), Trim(line.substr(pos + 1))};
  }
  return {CutAtNul(line), {}};
}

// The text of the first key of that name in the first section of that name.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
  // Lines before any section header belong to the section with no name.
  bool in_section = section.empty();
  bool section_seen = in_section;
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (const std::optional<std::string_view> name = SectionName(line)) {
      if (section_seen) return std::nullopt;
      in_section = SameName(*name, section);
      section_seen = in_section;
    } else if (in_section) {
      const KeyLine entry = SplitKeyLine(line);
      if (SameName(entry.name, key)) return entry.value;
    }
  }
  return std::nullopt;
}

// The value as the 30-character buffer receives it: matching quotes removed,
// cut after 29 characters. Like the system, the closing quote is taken off
// only when the unquoted rest had room in the buffer, which takes off the last
// character instead when the rest has exactly 30.
std::string_view BufferedValue(std::string_view value) {
  value = CutAtNul(value);
  bool quoted = false;
  if (!value.empty() && (value[0] == '"' || value[0] == '\'') && value.size() > 1 &&
      value.back() == value[0]) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::string_view buffered = FirstCharacters(value, kValueCharacters);
  if (quoted && CharacterCount(value) <= kValueCharacters + 1 && !buffered.empty()) {
    buffered = FirstCharacters(buffered, CharacterCount(buffered) - 1);
  }
  return buffered;
}

// The number at the start of text, as RtlUnicodeStringToInteger reads it
// with base 0.
uint32_t ParseNumber(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && static_cast<uint8_t>(text[pos]) <= ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  uint32_t base = 10;
  if (pos + 1 < text.size() && text[pos] == '0') {
    const char marker = text[pos + 1];
    base = marker == 'x' ? 16 : marker == 'o' ? 8 : marker == 'b' ? 2 : 10;
    if (base != 10) pos += 2;
  }
  uint32_t total = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    uint32_t digit = 99;
    if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
    if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
    if (digit >= base) break;
    total = total * base + digit;
  }
  return negative ? 0u - total : total;
}

}  // namespace

std::string ExecutableSibling(std::string_view executable_path, std::string_view extension) {
  size_t dot = std::string_view::npos;
  for (size_t pos = 0; pos < executable_path.size(); pos = StepChar(executable_path, pos)) {
    if (executable_path[pos] == '\\') dot = std::string_view::npos;
    if (executable_path[pos] == '.') dot = pos;
  }
  std::string path(executable_path.substr(0, dot));
  path += extension;
  return path;
}

std::string ProgramTitle(std::string_view executable_path) {
  const std::string path = ExecutableSibling(executable_path, "");
  const size_t separator = LastSeparator(path);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string SettingsPath(std::string_view executable_path) {
  return ExecutableSibling(executable_path, ".INI");
}

uint32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t default_value,
                        std::string_view ini_text) {
  const auto fallback = static_cast<uint32_t>(default_value);
  const std::string text = DecodeProfile(ini_text);
  const std::optional<std::string_view> value = FindValue(text, Trim(CutAtNul(section)), Trim(CutAtNul(key)));
  if (!value) return fallback;
  const std::string_view buffered = BufferedValue(*value);
  if (buffered.empty()) return fallback;
  return ParseNumber(buffered);
}

std::optional<std::string> ReadWholeFile(FileSystem& file_system, std::string_view path) {
  const std::unique_ptr<FileReader> reader = file_system.OpenRead(path);
  if (!reader) return std::nullopt;
  std::string content;
  char chunk[16384];
  for (;;) {
    const std::optional<size_t> count = reader->Read(chunk, sizeof chunk);
    if (!count) return std::nullopt;
    if (*count == 0) return content;
    content.append(chunk, *count);
  }
}

uint32_t ReadProfileIntFromFile(FileSystem& file_system, std::string_view path, std::string_view section,
                                std::string_view key, int32_t default_value) {
  const std::optional<std::string> content = ReadWholeFile(file_system, path);
  if (!content) return static_cast<uint32_t>(default_value);
  return ReadProfileInt(section, key, default_value, *content);
}

uint32_t ReadLoadLimit(FileSystem& file_system, std::string_view settings_path) {
  return ReadProfileIntFromFile(file_system, settings_path, "CRC16", "LOADLIMIT", 0);
}

}  // namespace twinseek
