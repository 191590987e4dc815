#include "scan/key_index.h"

#include <optional>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/cp932.h"

namespace twinseek {

namespace {

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

void ReleaseText(std::string& text) {
  text.clear();
  text.shrink_to_fit();
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

Registration KeyIndex::Register(std::string_view key, std::string_view path, ResultTree& tree,
                                FileSystem& file_system, const std::optional<FileIdentity>& known_identity) {
  const auto found = slots_.find(key);
  if (found == slots_.end()) {
    order_.push_back(Slot{std::string(key), KeyEntry{std::string(path), kNoNode}, nullptr, known_identity});
    const SlotList::iterator slot = std::prev(order_.end());
    slots_.emplace(slot->key, slot);
    ++file_count_;
    return Registration::kNewKey;
  }
  Slot& slot = *found->second;
  if (slot.entry.group == kNoNode) return OpenGroup(slot, path, tree, file_system, known_identity);
  return AppendToGroup(slot, path, tree, file_system, known_identity);
}

Registration KeyIndex::OpenGroup(Slot& slot, std::string_view path, ResultTree& tree,
                                 FileSystem& file_system, const std::optional<FileIdentity>& known_identity) {
  std::string& first_path = slot.entry.first_path;
  if (EqualFolded(first_path, path)) return Registration::kAlreadyRegistered;
  const std::optional<FileIdentity> identity = IdentityOf(file_system, path, known_identity);
  std::optional<FileIdentity> first_identity;
  if (identity) {
    first_identity = IdentityOf(file_system, first_path, slot.first_identity);
    if (first_identity == identity) return Registration::kAlreadyRegistered;
  }

  const NodeHandle group = tree.AddGroup(slot.key);
  slot.entry.group = group;
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
    paths->unasked.push_back(first_path);
  }
  slot.paths = std::move(paths);
  ReleaseText(first_path);
  ++file_count_;
  return Registration::kGroupOpened;
}

Registration KeyIndex::AppendToGroup(Slot& slot, std::string_view path, ResultTree& tree,
                                     FileSystem& file_system,
                                     const std::optional<FileIdentity>& known_identity) {
  GroupPaths& paths = PathsOf(slot, tree);
  std::string folded = UpperCase(path);
  if (paths.folded.contains(folded)) return Registration::kAlreadyRegistered;
  if (const std::optional<FileIdentity> identity = IdentityOf(file_system, path, known_identity)) {
    if (paths.HasFile(*identity, file_system)) return Registration::kAlreadyRegistered;
    paths.identities.insert(*identity);
  }
  paths.folded.insert(std::move(folded));
  tree.AddFile(slot.entry.group, path);
  ++file_count_;
  return Registration::kAppended;
}

KeyIndex::GroupPaths& KeyIndex::PathsOf(Slot& slot, const ResultTree& tree) {
  if (!slot.paths) {
    slot.paths = std::make_unique<GroupPaths>();
    for (NodeHandle file = tree.FirstFile(slot.entry.group); file != kNoNode; file = tree.Next(file)) {
      slot.paths->Add(tree.Text(file));
    }
  }
  return *slot.paths;
}

const KeyEntry* KeyIndex::Find(std::string_view key) const {
  const auto found = slots_.find(key);
  return found == slots_.end() ? nullptr : &found->second->entry;
}

void KeyIndex::ForEach(
    const std::function<void(std::string_view key, const KeyEntry& entry)>& visit) const {
  for (const Slot& slot : order_) visit(slot.key, slot.entry);
}

void KeyIndex::SetGroup(std::string_view key, NodeHandle group) {
  const auto found = slots_.find(key);
  if (found == slots_.end()) return;
  Slot& slot = *found->second;
  slot.entry.group = group;
  slot.paths.reset();
  if (!slot.entry.first_path.empty()) {
    slot.paths = std::make_unique<GroupPaths>();
    slot.paths->Add(slot.entry.first_path);
    ReleaseText(slot.entry.first_path);
  }
}

void KeyIndex::FilesRemoved(std::string_view key, int count) {
  file_count_ -= count;
  const auto found = slots_.find(key);
  if (found != slots_.end()) found->second->paths.reset();
}

bool KeyIndex::Erase(std::string_view key) {
  const auto found = slots_.find(key);
  if (found == slots_.end()) return false;
  if (found->second->entry.group == kNoNode) --file_count_;
  EraseSlot(found->second);
  return true;
}

int KeyIndex::EraseUngrouped() {
  int erased = 0;
  for (auto slot = order_.begin(); slot != order_.end();) {
    const auto next = std::next(slot);
    if (slot->entry.group == kNoNode) {
      --file_count_;
      EraseSlot(slot);
      ++erased;
    }
    slot = next;
  }
  return erased;
}

void KeyIndex::Clear() {
  slots_.clear();
  order_.clear();
  file_count_ = 0;
}

void KeyIndex::EraseSlot(SlotList::iterator slot) {
  slots_.erase(slot->key);
  order_.erase(slot);
}

}  // namespace twinseek
