// The process's current folder set for one scope and put back after it, for
// tests of what relative paths mean. The folder is spelled as the system's
// own calls take it (ASCII temporary folders are the same in both).
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>

namespace twinseek::testing {

class CurrentFolderAt {
 public:
  explicit CurrentFolderAt(const std::string& folder) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolderAt() { std::filesystem::current_path(saved_); }
  CurrentFolderAt(const CurrentFolderAt&) = delete;
  CurrentFolderAt& operator=(const CurrentFolderAt&) = delete;

 private:
  std::filesystem::path saved_;
};

// The last part of a path, after its last "\" or "/".
inline std::string LastPart(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// A path with every "/" spelled "\": a POSIX root keeps its "/" where the
// core joins with "\", and both name the same folder there.
inline std::string Backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace twinseek::testing
