#include "win32/plugin_glue.h"

#include <cstring>

namespace twinseek {

std::optional<std::string_view> PathArgument(const char* path) {
  constexpr size_t kLongestPath = 32767;
  if (path == nullptr) return std::nullopt;
  const size_t length = strnlen(path, kLongestPath + 1);
  if (length == 0 || length > kLongestPath) return std::nullopt;
  return std::string_view(path, length);
}

std::optional<std::string_view> NameArgument(const WIN32_FIND_DATAA* data) {
  if (data == nullptr) return std::nullopt;
  const size_t length = strnlen(data->cFileName, sizeof data->cFileName);
  if (length == 0 || length == sizeof data->cFileName) return std::nullopt;
  return std::string_view(data->cFileName, length);
}

}  // namespace twinseek
