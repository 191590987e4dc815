// A file system that hands every call to another one: a subclass overrides
// only the calls it changes (a read that fails or waits, a listing that
// stops, a count of opens) and keeps the contracts of FileSystem for the
// rest. Both listings are handed on: a subclass that changes how folders
// are listed overrides ListFolder and ListFolderWithIdentity alike.
#pragma once

#include "base/file_system.h"

namespace twinseek {

class FileSystemWrapper : public FileSystem {
 public:
  // target must outlive the wrapper; by default the system's own.
  explicit FileSystemWrapper(FileSystem& target = SystemFileSystem()) : target_(target) {}

  bool ListFolder(std::string_view folder, const std::function<bool(const DirEntry&)>& visit) override {
    return target_.ListFolder(folder, visit);
  }
  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor& visit) override {
    return target_.ListFolderWithIdentity(folder, admit, visit);
  }
  std::optional<DirEntry> GetEntry(std::string_view path) override { return target_.GetEntry(path); }
  std::optional<uint32_t> GetAttributes(std::string_view path) override {
    return target_.GetAttributes(path);
  }
  std::unique_ptr<FileReader> OpenRead(std::string_view path) override { return target_.OpenRead(path); }
  std::optional<FileIdentity> GetIdentity(std::string_view path) override {
    return target_.GetIdentity(path);
  }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) override {
    return target_.CreateForWrite(path);
  }
  bool CreateFolder(std::string_view path) override { return target_.CreateFolder(path); }
  FileError MoveFileTo(std::string_view from, std::string_view to) override {
    return target_.MoveFileTo(from, to);
  }
  FileError CopyFileTo(std::string_view from, std::string_view to) override {
    return target_.CopyFileTo(from, to);
  }

 protected:
  FileSystem& target() { return target_; }

 private:
  FileSystem& target_;
};

}  // namespace twinseek
