#include "tree/exclusion.h"

#include <string>

namespace twinseek {

void ShowUniqueFiles(KeyIndex& index, ResultTree& tree) {
  index.ForEach([&](std::string_view key, const KeyEntry& entry) {
    if (entry.group != kNoNode) return;
    const NodeHandle group = tree.AddGroup(key);
    const NodeHandle file = tree.AddFile(group, entry.first_path);
    tree.PutImage(group, MarkUnique);
    tree.PutImage(file, MarkUnique);
    index.SetGroup(key, group);
  });
}

}  // namespace twinseek
