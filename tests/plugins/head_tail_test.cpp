// The head-and-tail hash: which bytes count, that no more is read, and the
// plug-in's answers for sparse 3 GiB files on disk.
#include "core/head_tail.h"

#include <gtest/gtest.h>

#include <string>

#include "core/hash_text.h"
#include "plugins/large_copies.h"
#include "plugins/memory_reader.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::MemoryReader;
using testing::TempTree;

constexpr uint64_t kSpan = kHeadTailSpan;

uint64_t Fnv(std::string_view bytes) {
  Fnv1a64 hash;
  hash.Add(bytes.data(), bytes.size());
  return hash.value();
}

// The hash of a file of size bytes, all 'a' but for one byte changed at
// position changed (none when it lies past the end).
uint64_t HashWithChange(uint64_t size, uint64_t changed) {
  MemoryReader reader(size, [changed](uint64_t at) { return at == changed ? 'b' : 'a'; });
  return HeadTailHash(reader).value();
}

TEST(HeadTailTest, Fnv1aKnownAnswers) {
  EXPECT_EQ(Fnv(""), 0xCBF29CE484222325u);
  EXPECT_EQ(Fnv("a"), 0xAF63DC4C8601EC8Cu);
  EXPECT_EQ(Fnv("foobar"), 0x85944171F73967E8u);
  Fnv1a64 pieces;  // fed in pieces as in one
  pieces.Add("foo", 3);
  pieces.Add("bar", 3);
  EXPECT_EQ(pieces.value(), Fnv("foobar"));
  EXPECT_EQ(HashText(0x85944171F73967E8u), "85944171f73967e8");
  EXPECT_EQ(HashText(0x1F), "000000000000001f");
}

TEST(HeadTailTest, SmallFilesCountWhole) {
  const uint64_t none = ~uint64_t{0};
  // Up to 2 MiB every byte counts, the middle one too.
  for (uint64_t size : {uint64_t{1}, uint64_t{1000}, 2 * kSpan}) {
    EXPECT_NE(HashWithChange(size, size / 2), HashWithChange(size, none)) << size;
  }
  // The size counts: an empty file, and files of 'a' one byte apart.
  MemoryReader empty("");
  EXPECT_EQ(HeadTailHash(empty), Fnv(std::string(8, '\0')));
  EXPECT_NE(HashWithChange(1000, none), HashWithChange(1001, none));
}

TEST(HeadTailTest, LargeFilesCountTheirFirstAndLastMiB) {
  const uint64_t none = ~uint64_t{0};
  const uint64_t size = 2 * kSpan + 1;  // one byte in the middle is never read
  const uint64_t same = HashWithChange(size, none);
  EXPECT_EQ(HashWithChange(size, kSpan), same);
  for (uint64_t changed : {uint64_t{0}, kSpan - 1, kSpan + 1, size - 1}) {
    EXPECT_NE(HashWithChange(size, changed), same) << changed;
  }
  const uint64_t large = 3ull << 30;
  EXPECT_EQ(HashWithChange(large, large / 2), HashWithChange(large, none));
  EXPECT_NE(HashWithChange(large, large - 1), HashWithChange(large, none));
  EXPECT_NE(HashWithChange(large, 0), HashWithChange(large, none));
}

TEST(HeadTailTest, ReadsAtMostTwoMiB) {
  MemoryReader reader(3ull << 30, [](uint64_t at) { return static_cast<char>(at); });
  ASSERT_TRUE(HeadTailHash(reader).has_value());
  EXPECT_EQ(reader.bytes_read(), 2 * kSpan);
}

TEST(HeadTailTest, AFileThatCannotBeReadWholeGivesNothing) {
  MemoryReader failing(5 * kSpan, [](uint64_t) { return 'x'; });
  failing.FailAfter(kSpan + 10);
  EXPECT_EQ(HeadTailHash(failing), std::nullopt);
  MemoryReader shrunk(1000, [](uint64_t) { return 'x'; });  // ends before its size
  shrunk.EndAt(999);
  EXPECT_EQ(HeadTailHash(shrunk), std::nullopt);
  MemoryReader shrunk_large(5 * kSpan, [](uint64_t) { return 'x'; });
  shrunk_large.EndAt(4 * kSpan);
  EXPECT_EQ(HeadTailHash(shrunk_large), std::nullopt);
  MemoryReader no_seek(5 * kSpan, [](uint64_t) { return 'x'; });
  no_seek.RefuseSeeks();
  EXPECT_EQ(HeadTailHash(no_seek), std::nullopt);
}

TEST(HeadTailTest, SparseFilesOnDiskThatDifferInTheMiddleMeet) {
  TempTree tree;
  testing::WriteLargeCopies(tree);

  const FileAnswer a = HeadTailAnswer(SystemFileSystem(), tree.Path("a.bin"));
  ASSERT_TRUE(a.fragment.has_value());
  EXPECT_EQ(a.fragment->size(), 16u);
  EXPECT_EQ(a.message, "");
  EXPECT_EQ(HeadTailAnswer(SystemFileSystem(), tree.Path("b.bin")).fragment, a.fragment);
  EXPECT_NE(HeadTailAnswer(SystemFileSystem(), tree.Path("c.bin")).fragment, a.fragment);

  const FileAnswer missing = HeadTailAnswer(SystemFileSystem(), tree.Path("gone.bin"));
  EXPECT_EQ(missing.fragment, std::nullopt);
  EXPECT_EQ(missing.message, "ファイルの先頭と末尾を読み取れませんでした(" + tree.Path("gone.bin") + ")\r\n");
}

}  // namespace
}  // namespace twinseek
