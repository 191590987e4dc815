#include "scan/dropped_files.h"

#include <deque>
#include <optional>

#include "base/path_text.h"

namespace twinseek {
namespace {

bool EscapeDown(const EscapeProbe& escape_down) { return escape_down && escape_down(); }

}  // namespace

void WalkDroppedFolder(FileSystem& file_system, const std::string& folder, ScanList& list,
                       const EscapeProbe& escape_down) {
  std::deque<std::string> pending{folder};
  while (!pending.empty()) {
    const std::string location = WithSeparator(pending.front());
    pending.pop_front();
    file_system.ListFolder(location, [&](const DirEntry& entry) {
      if (entry.name_representable) {
        if (!entry.IsDirectory()) {
          list.push_back(ScanItem{location + entry.name, entry});
        } else if (!entry.name.starts_with('.')) {
          pending.push_back(location + entry.name);
        }
      }
      return !EscapeDown(escape_down);
    });
  }
}

ScanList CollectDroppedItems(FileSystem& file_system, const std::vector<std::string>& items,
                             const FolderQuestion& ask_for_folders,
                             const EscapeProbe& escape_down) {
  ScanList list;
  std::optional<bool> take_folders;
  for (const std::string& item : items) {
    if (EscapeDown(escape_down)) break;
    const std::optional<uint32_t> attributes = file_system.GetAttributes(item);
    if (!attributes || (*attributes & kAttributeDirectory) == 0) {
      list.push_back(ScanItem{item, std::nullopt});
      continue;
    }
    if (!take_folders) take_folders = ask_for_folders();
    if (*take_folders) WalkDroppedFolder(file_system, item, list, escape_down);
  }
  return list;
}

}  // namespace twinseek
