// What a plug-in that reads files answers for one file: the fragment its
// CheckFile returns, and the text its ReturnMessage returns after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twinseek {

struct FileAnswer {
  std::optional<std::string> fragment;  // nothing: the file adds nothing to its key
  std::string message;                  // a whole error log line with its "\r\n", or empty
};

// The answer for a file the plug-in reports instead of answering (one it
// could not open or read): no fragment, and the line "<what>(<path>)\r\n",
// in the style of the program's own error log.
FileAnswer Unanswered(std::string_view what, std::string_view path);

}  // namespace twinseek
