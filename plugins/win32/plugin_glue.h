// What the sample plug-ins share at their exported entry points: the
// arguments of CheckFile checked before use, and the texts they return kept
// alive until the next call. No exception leaves an entry point.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/file_answer.h"

namespace twinseek {

// The path of CheckFile; nothing for NULL, an empty path, or one with no
// NUL within 32767 bytes (the longest path Windows has).
std::optional<std::string_view> PathArgument(const char* path);

// The long name of CheckFile's find data; nothing for NULL, an empty name,
// or one with no NUL in cFileName.
std::optional<std::string_view> NameArgument(const WIN32_FIND_DATAA* data);

// The fragment of the last CheckFile and the message that ReturnMessage
// gives after it.
class PluginAnswers {
 public:
  // Keeps the answer that make() gives and returns its fragment (null for
  // none); an exception thrown by make() counts as no fragment, no message.
  template <typename Make>
  const char* Keep(Make make) noexcept {
    try {
      answer_ = make();
    } catch (...) {
      answer_ = FileAnswer{};
    }
    return answer_.fragment ? answer_.fragment->c_str() : nullptr;
  }

  // As Keep, for an answer made from CheckFile's path: no fragment and no
  // message for a path that PathArgument refuses.
  template <typename Make>
  const char* KeepForPath(const char* path, Make make) noexcept {
    return Keep([&] {
      const std::optional<std::string_view> checked = PathArgument(path);
      return checked ? make(*checked) : FileAnswer{};
    });
  }

  // The message of the last answer; "" when there is none.
  const char* Message() const noexcept { return answer_.message.c_str(); }

 private:
  FileAnswer answer_;
};

}  // namespace twinseek
