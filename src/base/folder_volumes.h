// The volume each folder of a walk lies on, known from the folders listed
// before it: a folder that is no reparse point (junction, mount point, link)
// lies on the volume of the folder it is in. So the system is asked for a
// volume only for the first folder of a walk and at reparse points; under
// Wine the question is answered by its mount manager in another process and
// doubled the time of a walk over many small folders.
//
// Kept is a chain: the first folder of a walk, then the last one listed at
// each level below it. Which thread listed a folder does not matter; walks on
// two threads at once only keep the chain short. Paths are code page 932;
// either "\" or "/" separates their parts.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twinseek {

class FolderVolumes {
 public:
  // The volume of the folder at path, when the folder it is in was the last
  // one listed at its level and it is no reparse point; nothing when the
  // system must be asked.
  std::optional<uint32_t> Inherited(std::string_view path, bool reparse_point);
  // The folder at path has been listed; it lies on volume.
  void Listed(std::string_view path, uint32_t volume);

 private:
  struct Folder {
    std::string path;
    uint32_t volume;
  };
  std::mutex mutex_;
  std::vector<Folder> chain_;
};

}  // namespace twinseek
