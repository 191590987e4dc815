#include "base/utf8_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace twinseek {

namespace {

// One iconv conversion, opened once per thread and reset before each use.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts text; stops at the first sequence that cannot be converted and
  // returns how many input bytes were consumed.
  size_t Convert(std::string_view text, std::string& out) {
    out.clear();
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return 0;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char buffer[1024];
    while (in_left > 0) {
      char* out_ptr = buffer;
      size_t out_left = sizeof buffer;
      const size_t result = iconv(handle_, &in, &in_left, &out_ptr, &out_left);
      out.append(buffer, static_cast<size_t>(out_ptr - buffer));
      if (result == static_cast<size_t>(-1) && errno != E2BIG) break;
    }
    return text.size() - in_left;
  }

 private:
  iconv_t handle_;
};

Converter& ToUtf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

Converter& ToCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

std::optional<std::string> ConvertExactly(Converter& converter, std::string_view text) {
  std::string out;
  if (converter.Convert(text, out) != text.size()) return std::nullopt;
  return out;
}

// Converted, and only if the other way gives text back exactly: the tables
// map some characters many to one ("¥" and "\\" both to 0x5C, "—" and "―"
// both to 0x815C, the NEC and IBM copies of one character), and a name that
// came back as another would name another file.
std::optional<std::string> ConvertBothWays(Converter& there, Converter& back, std::string_view text) {
  // Both sides hold the single-byte characters below 0x80 alike.
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(text);
  }
  std::optional<std::string> out = ConvertExactly(there, text);
  if (!out) return std::nullopt;
  const std::optional<std::string> returned = ConvertExactly(back, *out);
  if (!returned || *returned != text) return std::nullopt;
  return out;
}

// The length of the UTF-8 sequence that begins with this byte (1 for a byte
// that begins none).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  return ConvertBothWays(ToUtf8(), ToCp932(), text);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return ConvertBothWays(ToCp932(), ToUtf8(), text);
}

std::string Utf8ToCp932Lossy(std::string_view text) {
  if (std::optional<std::string> exact = Utf8ToCp932(text)) return std::move(*exact);
  // Character by character: each one that does not come back the same is "?".
  std::string result;
  while (!text.empty()) {
    const size_t length = std::min(Utf8SequenceLength(static_cast<unsigned char>(text.front())), text.size());
    const std::optional<std::string> piece = Utf8ToCp932(text.substr(0, length));
    result += piece ? *piece : std::string("?");
    text.remove_prefix(length);
  }
  return result;
}

}  // namespace twinseek
