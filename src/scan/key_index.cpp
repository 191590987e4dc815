#include "scan/key_index.h"

#include <optional>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/cp932.h"

namespace twinseek {

namespace {

constexpr uint32_t kEmpty = 0;
constexpr uint32_t kTombstone = UINT32_MAX;
constexpr size_t kFirstTableSize = 1024;

size_t HashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

// The identity of the file at path when the system can tell it. An index of
// 0 is no index (some network file systems give 0 for every file), so it
// says nothing about which file it is.
std::optional<FileIdentity> Usable(std::optional<FileIdentity> identity) {
  if (identity && identity->index == 0) return std::nullopt;
  return identity;
}

std::optional<FileIdentity> KnownIdentity(FileSystem& file_system, std::string_view path) {
  return Usable(file_system.GetIdentity(path));
}

// The identity an entry told, or else the one the file system gives.
std::optional<FileIdentity> IdentityOf(FileSystem& file_system, std::string_view path,
                                       const std::optional<FileIdentity>& known_identity) {
  return known_identity ? Usable(known_identity) : KnownIdentity(file_system, path);
}

}  // namespace

// What is known of the files of one group: their paths case-folded, and the
// identities of those whose identity was asked. Paths whose identity is not
// asked yet wait in `unasked` until a file under another path arrives.
struct KeyIndex::GroupPaths {
  std::unordered_set<std::string> folded;
  std::vector<std::string> unasked;
  std::set<FileIdentity> identities;

  void Add(std::string_view path) {
    folded.insert(UpperCase(path));
    unasked.emplace_back(path);
  }

  // True when the file at path, whose identity is identity, is one of the
  // group's files under another path. Asks the identities still unasked.
  bool HasFile(const FileIdentity& identity, FileSystem& file_system) {
    for (const std::string& path : unasked) {
      if (const std::optional<FileIdentity> known = KnownIdentity(file_system, path)) {
        identities.insert(*known);
      }
    }
    unasked.clear();
    return identities.contains(identity);
  }
};

KeyIndex::KeyIndex() = default;
KeyIndex::~KeyIndex() = default;

std::optional<KeyIndex::SlotNumber> KeyIndex::Lookup(std::string_view key) const {
  if (table_.empty()) return std::nullopt;
  const size_t mask = table_.size() - 1;
  for (size_t at = HashOf(key) & mask;; at = (at + 1) & mask) {
    const uint32_t entry = table_[at];
    if (entry == kEmpty) return std::nullopt;
    if (entry != kTombstone && slots_[entry - 1].key() == key) return entry - 1;
  }
}

// The slot is alive already: a table rebuilt for it takes it in.
void KeyIndex::InsertIntoTable(SlotNumber slot) {
  if ((table_used_ + 1) * 2 > table_.size()) {
    GrowTable();
    return;
  }
  const size_t mask = table_.size() - 1;
  size_t at = HashOf(slots_[slot].key()) & mask;
  while (table_[at] != kEmpty && table_[at] != kTombstone) at = (at + 1) & mask;
  if (table_[at] == kEmpty) ++table_used_;
  table_[at] = slot + 1;
}

void KeyIndex::RemoveFromTable(std::string_view key) {
  const size_t mask = table_.size() - 1;
  for (size_t at = HashOf(key) & mask;; at = (at + 1) & mask) {
    const uint32_t entry = table_[at];
    if (entry == kEmpty) return;
    if (entry != kTombstone && slots_[entry - 1].key() == key) {
      table_[at] = kTombstone;
      return;
    }
  }
}

// Doubles the table while it is more than a quarter full of live keys, and
// drops the tombstones either way.
void KeyIndex::GrowTable() {
  size_t size = table_.empty() ? kFirstTableSize : table_.size();
  while (live_ * 4 > size) size *= 2;
  table_.assign(size, kEmpty);
  table_used_ = 0;
  const size_t mask = size - 1;
  for (SlotNumber number = 0; number < slots_.size(); ++number) {
    if (!slots_[number].alive) continue;
    size_t at = HashOf(slots_[number].key()) & mask;
    while (table_[at] != kEmpty) at = (at + 1) & mask;
    table_[at] = number + 1;
    ++table_used_;
  }
}

Registration KeyIndex::Register(std::string_view key, std::string_view path, ResultTree& tree,
                                FileSystem& file_system, const std::optional<FileIdentity>& known_identity) {
  if (const std::optional<SlotNumber> found = Lookup(key)) {
    if (slots_[*found].group == kNoNode) return OpenGroup(*found, path, tree, file_system, known_identity);
    return AppendToGroup(*found, path, tree, file_system, known_identity);
  }
  Slot slot;
  slot.text = texts_.Store(key, path);
  slot.key_size = static_cast<uint32_t>(key.size());
  slot.path_size = static_cast<uint32_t>(path.size());
  if (known_identity) {
    slot.first_identity = *known_identity;
    slot.has_first_identity = true;
  }
  slots_.push_back(slot);
  ++live_;
  InsertIntoTable(static_cast<SlotNumber>(slots_.size() - 1));
  ++file_count_;
  return Registration::kNewKey;
}

Registration KeyIndex::OpenGroup(SlotNumber number, std::string_view path, ResultTree& tree,
                                 FileSystem& file_system, const std::optional<FileIdentity>& known_identity) {
  Slot& slot = slots_[number];
  const std::string_view first_path = slot.first_path();
  if (EqualFolded(first_path, path)) return Registration::kAlreadyRegistered;
  const std::optional<FileIdentity> identity = IdentityOf(file_system, path, known_identity);
  std::optional<FileIdentity> first_identity;
  if (identity) {
    first_identity = IdentityOf(file_system, first_path,
                                slot.has_first_identity ? std::optional(slot.first_identity) : std::nullopt);
    if (first_identity == identity) return Registration::kAlreadyRegistered;
  }

  const NodeHandle group = tree.AddGroup(slot.key());
  slot.group = group;
  tree.PutImage(tree.AddFile(group, first_path), MarkNone);
  tree.PutImage(tree.AddFile(group, path), MarkNone);
  tree.Expand(group);

  auto paths = std::make_unique<GroupPaths>();
  paths->folded.insert(UpperCase(first_path));
  paths->folded.insert(UpperCase(path));
  if (identity) {
    paths->identities.insert(*identity);
    if (first_identity) paths->identities.insert(*first_identity);
  } else {
    paths->unasked.emplace_back(first_path);
  }
  group_paths_[number] = std::move(paths);
  slot.path_size = 0;
  ++group_count_;
  ++file_count_;
  return Registration::kGroupOpened;
}

Registration KeyIndex::AppendToGroup(SlotNumber number, std::string_view path, ResultTree& tree,
                                     FileSystem& file_system,
                                     const std::optional<FileIdentity>& known_identity) {
  GroupPaths& paths = PathsOf(number, tree);
  std::string folded = UpperCase(path);
  if (paths.folded.contains(folded)) return Registration::kAlreadyRegistered;
  if (const std::optional<FileIdentity> identity = IdentityOf(file_system, path, known_identity)) {
    if (paths.HasFile(*identity, file_system)) return Registration::kAlreadyRegistered;
    paths.identities.insert(*identity);
  }
  paths.folded.insert(std::move(folded));
  tree.AddFile(slots_[number].group, path);
  ++file_count_;
  return Registration::kAppended;
}

KeyIndex::GroupPaths& KeyIndex::PathsOf(SlotNumber number, const ResultTree& tree) {
  std::unique_ptr<GroupPaths>& paths = group_paths_[number];
  if (!paths) {
    paths = std::make_unique<GroupPaths>();
    const NodeHandle group = slots_[number].group;
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      paths->Add(tree.Text(file));
    }
  }
  return *paths;
}

std::optional<KeyEntry> KeyIndex::Find(std::string_view key) const {
  const std::optional<SlotNumber> found = Lookup(key);
  if (!found) return std::nullopt;
  const Slot& slot = slots_[*found];
  return KeyEntry{slot.first_path(), slot.group};
}

void KeyIndex::ForEach(const std::function<void(std::string_view key, const KeyEntry& entry)>& visit) const {
  for (const Slot& slot : slots_) {
    if (slot.alive) visit(slot.key(), KeyEntry{slot.first_path(), slot.group});
  }
}

void KeyIndex::SetGroup(std::string_view key, NodeHandle group) {
  const std::optional<SlotNumber> found = Lookup(key);
  if (!found) return;
  Slot& slot = slots_[*found];
  if (slot.group == kNoNode && group != kNoNode) ++group_count_;
  if (slot.group != kNoNode && group == kNoNode) --group_count_;
  slot.group = group;
  group_paths_.erase(*found);
  if (slot.path_size != 0) {
    auto paths = std::make_unique<GroupPaths>();
    paths->Add(slot.first_path());
    group_paths_[*found] = std::move(paths);
    slot.path_size = 0;
  }
}

void KeyIndex::FilesRemoved(std::string_view key, int count) {
  file_count_ -= count;
  if (const std::optional<SlotNumber> found = Lookup(key)) group_paths_.erase(*found);
}

void KeyIndex::Kill(SlotNumber number) {
  Slot& slot = slots_[number];
  RemoveFromTable(slot.key());
  group_paths_.erase(number);
  if (slot.group != kNoNode) --group_count_;
  slot.alive = false;
  --live_;
}

bool KeyIndex::Erase(std::string_view key) {
  const std::optional<SlotNumber> found = Lookup(key);
  if (!found) return false;
  if (slots_[*found].group == kNoNode) --file_count_;
  Kill(*found);
  return true;
}

int KeyIndex::EraseUngrouped() {
  int erased = 0;
  for (SlotNumber number = 0; number < slots_.size(); ++number) {
    if (slots_[number].alive && slots_[number].group == kNoNode) {
      --file_count_;
      Kill(number);
      ++erased;
    }
  }
  return erased;
}

void KeyIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  table_.clear();
  table_.shrink_to_fit();
  table_used_ = 0;
  texts_.Clear();
  group_paths_.clear();
  live_ = 0;
  file_count_ = 0;
  group_count_ = 0;
}

}  // namespace twinseek
