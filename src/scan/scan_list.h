// The scan list: the files one scan goes through, in order. A search of a
// million files lists a million entries before the first is read, so the
// list keeps them compact: the folder of consecutive files once, each name
// and the entry's numbers in place, no text allocated per file; an item is
// put together again when it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/text_arena.h"

namespace twinseek {

// One file to scan: its path as found or given, and its entry when the walk
// that found it has read it already (a dropped file has none yet).
struct ScanItem {
  std::string path;
  std::optional<DirEntry> entry;
};

class ScanList {
 public:
  class Iterator;

  ScanList() = default;
  ScanList(ScanList&&) = default;
  ScanList& operator=(ScanList&&) = default;
  ScanList(const ScanList&) = delete;
  ScanList& operator=(const ScanList&) = delete;

  void push_back(const ScanItem& item);
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void clear();
  void reserve(size_t count) { items_.reserve(count); }

  // The item at position, as it was appended. Safe from several threads at
  // once while nobody appends.
  ScanItem operator[](size_t position) const;

  Iterator begin() const;
  Iterator end() const;

 private:
  struct Stored {
    const char* name = nullptr;  // the path's text after its folder
    uint32_t name_size = 0;
    uint32_t folder = 0;               // in folders_
    const char* entry_name = nullptr;  // the entry's name when it is not the path's last part
    uint32_t entry_name_size = 0;
    uint32_t attributes = 0;
    uint64_t size = 0;
    FileTime creation_time = 0;
    FileTime last_access_time = 0;
    FileTime last_write_time = 0;
    FileIdentity identity;
    bool has_entry = false;
    bool has_identity = false;
    bool name_representable = true;
    bool entry_name_apart = false;
  };

  std::vector<std::string> folders_;
  std::vector<Stored> items_;
  TextArena texts_;
};

class ScanList::Iterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = ScanItem;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = ScanItem;

  Iterator(const ScanList& list, size_t position) : list_(&list), position_(position) {}
  ScanItem operator*() const { return (*list_)[position_]; }
  Iterator& operator++() {
    ++position_;
    return *this;
  }
  bool operator==(const Iterator& other) const { return position_ == other.position_; }

 private:
  const ScanList* list_;
  size_t position_;
};

inline ScanList::Iterator ScanList::begin() const { return Iterator(*this, 0); }
inline ScanList::Iterator ScanList::end() const { return Iterator(*this, items_.size()); }

// A list of paths whose entries are still to be read.
ScanList ScanListOfPaths(const std::vector<std::string>& paths);

}  // namespace twinseek
