#include "app/version_text.h"

#include <initializer_list>

namespace twinseek {

std::string VersionText(uint32_t version_ms, uint32_t version_ls) {
  std::string text = std::to_string(version_ms >> 16);
  for (const uint32_t part : {version_ms & 0xffff, version_ls >> 16})
    text.append(".").append(std::to_string(part));
  if ((version_ls & 0xffff) != 0) text.append(".").append(std::to_string(version_ls & 0xffff));
  return text;
}

std::string WithVersion(std::string_view text, std::string_view version) {
  static constexpr std::string_view kField = "{version}";
  std::string result;
  size_t from = 0;
  for (size_t at = text.find(kField); at != std::string_view::npos; at = text.find(kField, from)) {
    result.append(text.substr(from, at - from)).append(version);
    from = at + kField.size();
  }
  result.append(text.substr(from));
  return result;
}

}  // namespace twinseek
