// The system's file system for walks, refusing every listing after the
// first hundred: a walk that would go round in a circle ends in the test
// instead of never.
#pragma once

#include "base/file_system_wrapper.h"

namespace twinseek::testing {

class ListingLimitFileSystem final : public FileSystemWrapper {
 public:
  static constexpr int kLimit = 100;
  int listings = 0;  // listings asked for, refused ones included

  bool ListFolder(std::string_view folder, const EntryVisitor& visit) override {
    return ++listings <= kLimit && target().ListFolder(folder, visit);
  }
  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor& visit) override {
    return ++listings <= kLimit && target().ListFolderWithIdentity(folder, admit, visit);
  }
};

}  // namespace twinseek::testing
