// A folder of real files made for one test and removed after it. Files are
// named in UTF-8 (the test's source text) and created through the system's
// own calls; Path gives the code page 932 path the core uses to reach them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace twinseek::testing {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder, as the core spells it (no separator at the end).
  const std::string& Root() const { return root_; }
  // Root, a backslash, and a code page 932 relative path.
  std::string Path(std::string_view relative) const { return root_ + "\\" + std::string(relative); }

  // Relative paths below take "\\" as separator.
  void Write(std::u8string_view relative, std::string_view content);
  void MakeFolder(std::u8string_view relative);
  void Resize(std::u8string_view relative, uint64_t size);  // sparse where the system can
  // Writes content over an existing file's bytes from offset on.
  void WriteAt(std::u8string_view relative, uint64_t offset, std::string_view content);
  void SetLastWriteTime(std::u8string_view relative, FileTime time);
  void HardLink(std::u8string_view existing, std::u8string_view link);
  void Remove(std::u8string_view relative);  // a file

 private:
  std::string root_;
  std::string native_root_;  // UTF-8
};

}  // namespace twinseek::testing
