// The system's file system for walks, refusing every listing after the
// first hundred: a walk that would go round in a circle ends in the test
// instead of never. Reading and writing answer nothing.
#pragma once

#include "support/identity_only_file_system.h"

namespace twinseek::testing {

class ListingLimitFileSystem final : public IdentityOnlyFileSystem {
 public:
  static constexpr int kLimit = 100;
  int listings = 0;  // listings asked for, refused ones included

  bool ListFolder(std::string_view folder, const EntryVisitor& visit) override {
    return ++listings <= kLimit && system_.ListFolder(folder, visit);
  }
  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor& visit) override {
    return ++listings <= kLimit && system_.ListFolderWithIdentity(folder, admit, visit);
  }
  std::optional<uint32_t> GetAttributes(std::string_view path) override { return system_.GetAttributes(path); }
  std::optional<FileIdentity> GetIdentity(std::string_view path) override { return system_.GetIdentity(path); }
  std::optional<std::string> FullPath(std::string_view path) override { return system_.FullPath(path); }

 private:
  FileSystem& system_ = SystemFileSystem();
};

}  // namespace twinseek::testing
