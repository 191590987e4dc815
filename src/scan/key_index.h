// The KeyIndex: every duplicate key seen since the last reset, with the first
// file that had it or the group that its files form in the result tree, and
// the counters of the status line. It lives as long as the main window (or
// the console tool) and grows with every scan.
//
// Registering a file under its key:
// - a new key only enters the index with the file as its first path;
// - the key's second file opens a group in the tree holding both files, and
//   the first path is given up (the group's first file holds it now);
// - a later file is appended to the key's group;
// - a file already registered under the key is ignored: the same path in any
//   letter case (code page 932 case folding), or the same file reached
//   through another path (hard link, symbolic link, short name, another
//   drive or share), which is told by the file identities. Identities are
//   asked only when the key already exists and the listing did not tell
//   them, so a file with a unique key costs no more than the lookup.
// The paths of each group are kept beside it, case-folded, so a path is found
// in constant time however large the group grows. They are rebuilt from the
// tree when a group lost files (FilesRemoved).
//
// Keys are iterated in the order they entered the index. A scan of a million
// files keeps a million keys: keys and first paths live in large blocks of
// text, and the lookup is one open-addressed table of slot numbers, so a key
// costs its text, its first path and a few dozen bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/file_system.h"
#include "base/text_arena.h"
#include "tree/result_tree.h"

namespace twinseek {

// A key's entry as the index holds it; the path is a view into the index,
// valid until the index next changes.
struct KeyEntry {
  std::string_view first_path;  // the key's only file while it has no group; then empty
  NodeHandle group = kNoNode;   // the key's group, or kNoNode
};

enum class Registration {
  kNewKey,             // the key was new: no node was made
  kGroupOpened,        // the key's second file: a group with both files
  kAppended,           // the file joined the key's group
  kAlreadyRegistered,  // the file was registered under this key before: nothing changed
};

class KeyIndex {
 public:
  KeyIndex();
  ~KeyIndex();
  KeyIndex(const KeyIndex&) = delete;
  KeyIndex& operator=(const KeyIndex&) = delete;

  // Registers the file at path (as the scan list holds it) under key. A new
  // group is appended at the end of the tree with item data 1, both files at
  // mark 0, and is expanded; a later file is appended at the end of its
  // group. FileCount grows by one except for kAlreadyRegistered.
  // known_identity: the file's identity when its entry told it (it is then
  // not asked again); a new key keeps it for its first file.
  Registration Register(std::string_view key, std::string_view path, ResultTree& tree,
                        FileSystem& file_system,
                        const std::optional<FileIdentity>& known_identity = std::nullopt);

  size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }
  // Keys in the index ("idx" of the status line): every new key counts one
  // and every key erased takes one away.
  int IndexCount() const { return static_cast<int>(live_); }
  // Files registered ("files"): one per key without a group plus one per
  // file of every group, as reported by Register, FilesRemoved and the
  // erasing calls.
  int FileCount() const { return file_count_; }
  // Keys that have a group.
  int GroupCount() const { return group_count_; }

  // The entry of a key, or nothing.
  std::optional<KeyEntry> Find(std::string_view key) const;

  // Visits every key in the order the keys entered the index. visit may call
  // SetGroup; it must not add or erase keys.
  void ForEach(const std::function<void(std::string_view key, const KeyEntry& entry)>& visit) const;

  // Gives a key that has no group the group made for its one file (showing
  // the unique files): the entry holds the group, its first path is given up.
  // Counters do not change.
  void SetGroup(std::string_view key, NodeHandle group);

  // count files were taken out of the key's group in the tree (the group may
  // stay or go): FileCount goes down by count, and the group's paths will be
  // read again from the tree when a file next arrives under the key.
  void FilesRemoved(std::string_view key, int count);

  // Forgets a key. A key without a group takes its one file off FileCount; a
  // group's files are counted off with FilesRemoved. Returns false when the
  // key was not in the index.
  bool Erase(std::string_view key);

  // Forgets every key without a group (excluding the unique files); each
  // takes one off IndexCount and FileCount. Returns how many went.
  int EraseUngrouped();

  // Forgets everything; both counters are 0 again (reset).
  void Clear();

 private:
  struct GroupPaths;
  // One key: its text followed by its first path in the text blocks.
  struct Slot {
    const char* text = nullptr;
    uint32_t key_size = 0;
    uint32_t path_size = 0;  // 0 once the key has a group
    NodeHandle group = kNoNode;
    FileIdentity first_identity;  // of the first file, when known
    bool has_first_identity = false;
    bool alive = true;

    std::string_view key() const { return {text, key_size}; }
    std::string_view first_path() const { return {text + key_size, path_size}; }
  };
  using SlotNumber = uint32_t;

  std::optional<SlotNumber> Lookup(std::string_view key) const;
  void InsertIntoTable(SlotNumber slot);
  void RemoveFromTable(std::string_view key);
  void GrowTable();
  Registration OpenGroup(SlotNumber number, std::string_view path, ResultTree& tree, FileSystem& file_system,
                         const std::optional<FileIdentity>& known_identity);
  Registration AppendToGroup(SlotNumber number, std::string_view path, ResultTree& tree,
                             FileSystem& file_system, const std::optional<FileIdentity>& known_identity);
  GroupPaths& PathsOf(SlotNumber number, const ResultTree& tree);
  void Kill(SlotNumber number);

  std::vector<Slot> slots_;      // in the order the keys entered
  std::vector<uint32_t> table_;  // slot number + 1; 0 empty; kTombstone erased
  size_t table_used_ = 0;        // entries and tombstones in table_
  TextArena texts_;
  std::unordered_map<SlotNumber, std::unique_ptr<GroupPaths>> group_paths_;
  size_t live_ = 0;
  int file_count_ = 0;
  int group_count_ = 0;
};

}  // namespace twinseek
