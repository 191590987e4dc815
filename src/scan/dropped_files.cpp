#include "scan/dropped_files.h"

#include <deque>
#include <optional>

#include "base/path_text.h"

namespace twinseek {
namespace {

bool EscapeDown(const EscapeProbe& escape_down) { return escape_down && escape_down(); }

// The scan list item of a path whose name cannot be held: the detection run
// reports it by the name shown.
ScanItem UnusableItem(const std::string& path) {
  DirEntry entry;
  const size_t separator = LastSeparator(path);
  entry.name = separator == std::string::npos ? path : path.substr(separator + 1);
  entry.name_representable = false;
  return ScanItem{path, std::move(entry)};
}

}  // namespace

void WalkDroppedFolder(FileSystem& file_system, const std::string& folder, ScanList& list,
                       const EscapeProbe& escape_down) {
  EnteredFolders entered;
  const auto enter = [&](const FileIdentity& identity) { return entered.Enter(identity); };
  std::deque<std::string> pending{folder};
  while (!pending.empty()) {
    const std::string location = WithSeparator(pending.front());
    pending.pop_front();
    file_system.ListFolderWithIdentity(location, enter, [&](const DirEntry& entry) {
      if (!entry.IsDirectory()) {
        list.push_back(ScanItem{location + entry.name, entry});
      } else if (!entry.name.starts_with('.')) {
        if (entry.name_representable) {
          pending.push_back(location + entry.name);
        } else {
          list.push_back(ScanItem{location + entry.name, entry});
        }
      }
      return !EscapeDown(escape_down);
    });
  }
}

ScanList CollectDroppedItems(FileSystem& file_system, const std::vector<DroppedItem>& items,
                             const FolderQuestion& ask_for_folders, const EscapeProbe& escape_down) {
  ScanList list;
  std::optional<bool> take_folders;
  for (const DroppedItem& item : items) {
    if (EscapeDown(escape_down)) break;
    if (!item.representable) {
      list.push_back(UnusableItem(item.path));
      continue;
    }
    const std::string path = FullPath(item.path).value_or(item.path);
    const std::optional<uint32_t> attributes = file_system.GetAttributes(path);
    if (!attributes || (*attributes & kAttributeDirectory) == 0) {
      list.push_back(ScanItem{path, std::nullopt});
      continue;
    }
    if (!take_folders) take_folders = ask_for_folders();
    if (*take_folders) WalkDroppedFolder(file_system, path, list, escape_down);
  }
  return list;
}

}  // namespace twinseek
