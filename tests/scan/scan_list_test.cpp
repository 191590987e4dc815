// The scan list gives back every item as it was appended, whatever it
// shares with its neighbours, also after it was moved, and is rebuilt from
// its items in order.
#include "scan/scan_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace twinseek {
namespace {

DirEntry Entry(std::string name, uint64_t size, FileTime time, std::optional<FileIdentity> identity) {
  DirEntry entry;
  entry.name = std::move(name);
  entry.attributes = kAttributeArchive | kAttributeHidden;
  entry.size = size;
  entry.creation_time = time - 2;
  entry.last_access_time = time - 1;
  entry.last_write_time = time;
  entry.identity = identity;
  return entry;
}

void ExpectSame(const ScanItem& actual, const ScanItem& expected) {
  EXPECT_EQ(actual.path, expected.path);
  ASSERT_EQ(actual.entry.has_value(), expected.entry.has_value()) << expected.path;
  if (!expected.entry) return;
  const DirEntry& a = *actual.entry;
  const DirEntry& e = *expected.entry;
  EXPECT_EQ(a.name, e.name);
  EXPECT_EQ(a.name_representable, e.name_representable);
  EXPECT_EQ(a.attributes, e.attributes);
  EXPECT_EQ(a.size, e.size);
  EXPECT_EQ(a.creation_time, e.creation_time);
  EXPECT_EQ(a.last_access_time, e.last_access_time);
  EXPECT_EQ(a.last_write_time, e.last_write_time);
  EXPECT_EQ(a.identity, e.identity);
}

TEST(ScanListTest, GivesBackEveryItemAsAppended) {
  DirEntry lossy = Entry("?.txt", 3, 9, std::nullopt);
  lossy.name_representable = false;
  const std::vector<ScanItem> items = {
      {"C:\\表\\a.txt", Entry("a.txt", 10, 1000, FileIdentity{7, 1})},
      {"C:\\表\\b.txt", Entry("b.txt", uint64_t{5} << 32, 2000, std::nullopt)},
      {"C:\\表\\sub\\c.txt", Entry("c.txt", 0, 3000, FileIdentity{7, 3})},
      {"C:\\表\\d.txt", std::nullopt},                          // a dropped file: no entry yet
      {"C:\\表\\表.txt", Entry("表.txt", 4, 5, std::nullopt)},  // 0x5C inside the name
      {"C:\\表\\PROGRA~1.TXT", Entry("Program Files.txt", 1, 4, FileIdentity{7, 4})},  // an entry named apart
      {"relative.txt", std::nullopt},
      {"C:\\x\\?.txt", lossy},
      {"C:\\x\\", std::nullopt},
      {"", std::nullopt},
  };
  ScanList list;
  for (const ScanItem& item : items) list.push_back(item);
  ASSERT_EQ(list.size(), items.size());
  for (size_t i = 0; i < items.size(); ++i) ExpectSame(list[i], items[i]);

  // Moved, the list keeps its items; iterating gives them in order.
  ScanList moved = std::move(list);
  size_t position = 0;
  for (const ScanItem& item : moved) ExpectSame(item, items[position++]);
  EXPECT_EQ(position, items.size());

  moved.clear();
  EXPECT_TRUE(moved.empty());
  moved.push_back(items[0]);
  ExpectSame(moved[0], items[0]);
}

}  // namespace
}  // namespace twinseek
