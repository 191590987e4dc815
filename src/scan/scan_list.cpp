#include "scan/scan_list.h"

#include "base/cp932.h"
#include "base/path_text.h"

namespace twinseek {

namespace {

// Whether text holds a backslash as a character of its own.
bool HoldsSeparator(std::string_view text) {
  for (size_t pos = 0; pos < text.size(); pos = NextCharPos(text, pos)) {
    if (text[pos] == '\\' || text[pos] == '\0') return text[pos] == '\\';
  }
  return false;
}

}  // namespace

// The files of one folder come one after the other: they share its text.
// A path that begins with the last folder (which ends in its separator, so
// the rest begins with a whole character) and holds no further separator
// lies in it.
void ScanList::push_back(const ScanItem& item) {
  const std::string_view path = item.path;
  if (folders_.empty() || !path.starts_with(folders_.back()) ||
      HoldsSeparator(path.substr(folders_.back().size()))) {
    const size_t separator = LastSeparator(path);
    folders_.emplace_back(path.substr(0, separator == std::string_view::npos ? 0 : separator + 1));
  }
  const std::string_view name = path.substr(folders_.back().size());

  Stored stored;
  stored.folder = static_cast<uint32_t>(folders_.size() - 1);
  stored.name = texts_.Store(name);
  stored.name_size = static_cast<uint32_t>(name.size());
  if (item.entry) {
    const DirEntry& entry = *item.entry;
    stored.has_entry = true;
    stored.name_representable = entry.name_representable;
    if (entry.name != name) {
      stored.entry_name_apart = true;
      stored.entry_name = texts_.Store(entry.name);
      stored.entry_name_size = static_cast<uint32_t>(entry.name.size());
    }
    stored.attributes = entry.attributes;
    stored.size = entry.size;
    stored.creation_time = entry.creation_time;
    stored.last_access_time = entry.last_access_time;
    stored.last_write_time = entry.last_write_time;
    if (entry.identity) {
      stored.has_identity = true;
      stored.identity = *entry.identity;
    }
  }
  items_.push_back(stored);
}

void ScanList::clear() {
  folders_.clear();
  items_.clear();
  texts_.Clear();
}

ScanItem ScanList::operator[](size_t position) const {
  const Stored& stored = items_[position];
  const std::string_view name(stored.name, stored.name_size);
  ScanItem item;
  item.path.reserve(folders_[stored.folder].size() + name.size());
  item.path = folders_[stored.folder];
  item.path += name;
  if (!stored.has_entry) return item;
  DirEntry& entry = item.entry.emplace();
  entry.name = stored.entry_name_apart ? std::string_view(stored.entry_name, stored.entry_name_size) : name;
  entry.name_representable = stored.name_representable;
  entry.attributes = stored.attributes;
  entry.size = stored.size;
  entry.creation_time = stored.creation_time;
  entry.last_access_time = stored.last_access_time;
  entry.last_write_time = stored.last_write_time;
  if (stored.has_identity) entry.identity = stored.identity;
  return item;
}

ScanList ScanListOfPaths(const std::vector<std::string>& paths) {
  ScanList list;
  list.reserve(paths.size());
  for (const std::string& path : paths) list.push_back(ScanItem{path, std::nullopt});
  return list;
}

}  // namespace twinseek
