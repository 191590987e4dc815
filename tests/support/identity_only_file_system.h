// A stand-in file system for tests and benchmarks that only answers
// identities: listing, entries, attributes, reading and writing all answer
// "nothing". A subclass says what identity a path has.
#pragma once

#include "base/file_system.h"

namespace twinseek::testing {

class IdentityOnlyFileSystem : public FileSystem {
 public:
  bool ListFolder(std::string_view, const std::function<bool(const DirEntry&)>&) override { return false; }
  std::optional<DirEntry> GetEntry(std::string_view) override { return std::nullopt; }
  std::optional<uint32_t> GetAttributes(std::string_view) override { return std::nullopt; }
  std::unique_ptr<FileReader> OpenRead(std::string_view) override { return nullptr; }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view) override { return nullptr; }
};

}  // namespace twinseek::testing
