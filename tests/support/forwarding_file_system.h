// A stand-in file system for tests that hands every call to the system's own
// file system: a subclass changes only the calls its test is about (a read
// that fails, a file that shrinks, a call that waits).
#pragma once

#include "base/file_system.h"

namespace twinseek::testing {

class ForwardingFileSystem : public FileSystem {
 public:
  bool ListFolder(std::string_view folder, const std::function<bool(const DirEntry&)>& visit) override {
    return system_.ListFolder(folder, visit);
  }
  std::optional<DirEntry> GetEntry(std::string_view path) override { return system_.GetEntry(path); }
  std::optional<uint32_t> GetAttributes(std::string_view path) override { return system_.GetAttributes(path); }
  std::unique_ptr<FileReader> OpenRead(std::string_view path) override { return system_.OpenRead(path); }
  std::optional<FileIdentity> GetIdentity(std::string_view path) override { return system_.GetIdentity(path); }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) override {
    return system_.CreateForWrite(path);
  }
  bool CreateFolder(std::string_view path) override { return system_.CreateFolder(path); }
  FileError MoveFileTo(std::string_view from, std::string_view to) override { return system_.MoveFileTo(from, to); }
  FileError CopyFileTo(std::string_view from, std::string_view to) override { return system_.CopyFileTo(from, to); }
  // ListFolderWithIdentity is left to FileSystem's own, which lists through
  // ListFolder: a subclass that changes ListFolder changes the walks too.

 protected:
  FileSystem& system() { return system_; }

 private:
  FileSystem& system_ = SystemFileSystem();
};

}  // namespace twinseek::testing
