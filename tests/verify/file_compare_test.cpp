// The full comparison on real files: two files byte by byte (in chunks,
// however the reader hands out the bytes), and a group's pairs with the
// report block and the marks they give.
#include "verify/file_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system_wrapper.h"
#include "support/temp_tree.h"
#include "tree/marks.h"
#include "tree/memory_result_tree.h"

namespace twinseek::testing {
namespace {

using Marks = std::vector<int>;

// The system's files, read back in pieces of a size chosen per path (so that
// two readers of equal files hand out their bytes differently), optionally
// failing once a path's reader has handed out a given number of bytes.
// Counts the files opened.
class PieceFileSystem final : public FileSystemWrapper {
 public:
  void SetPieceSize(const std::string& path, size_t size) { piece_sizes_[path] = size; }
  void FailAfter(const std::string& path, uint64_t bytes) { fail_after_[path] = bytes; }
  int Opened() const { return opened_; }

  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    std::unique_ptr<FileReader> reader = target().OpenRead(path);
    if (reader == nullptr) return nullptr;
    ++opened_;
    const auto piece = piece_sizes_.find(std::string(path));
    const auto fail = fail_after_.find(std::string(path));
    return std::make_unique<PieceReader>(
        std::move(reader), piece == piece_sizes_.end() ? 0 : piece->second,
        fail == fail_after_.end() ? std::nullopt : std::optional(fail->second));
  }

 private:
  class PieceReader final : public FileReader {
   public:
    PieceReader(std::unique_ptr<FileReader> inner, size_t piece, std::optional<uint64_t> fail_after)
        : inner_(std::move(inner)), piece_(piece), fail_after_(fail_after) {}

    uint64_t Size() const override { return inner_->Size(); }

    std::optional<size_t> Read(void* buffer, size_t capacity) override {
      if (fail_after_ && handed_out_ >= *fail_after_) return std::nullopt;
      const std::optional<size_t> count =
          inner_->Read(buffer, piece_ == 0 ? capacity : std::min(capacity, piece_));
      if (count) handed_out_ += *count;
      return count;
    }

   private:
    std::unique_ptr<FileReader> inner_;
    size_t piece_;
    std::optional<uint64_t> fail_after_;
    uint64_t handed_out_ = 0;
  };

  std::map<std::string, size_t> piece_sizes_;
  std::map<std::string, uint64_t> fail_after_;
  int opened_ = 0;
};

// The in-memory tree, noting every image put on a node and calling a hook
// before it is put.
class RecordingTree final : public ResultTree {
 public:
  struct Put {
    NodeHandle node;
    int mark;
  };

  std::vector<Put> puts;
  std::vector<NodeHandle> scrolled;
  std::function<void(NodeHandle, int)> before_put;

  NodeHandle AddGroup(std::string_view key) override { return tree_.AddGroup(key); }
  NodeHandle AddFile(NodeHandle group, std::string_view path) override { return tree_.AddFile(group, path); }
  void Expand(NodeHandle group) override { tree_.Expand(group); }
  NodeHandle FirstGroup() const override { return tree_.FirstGroup(); }
  NodeHandle Next(NodeHandle node) const override { return tree_.Next(node); }
  NodeHandle FirstFile(NodeHandle group) const override { return tree_.FirstFile(group); }
  NodeHandle Parent(NodeHandle node) const override { return tree_.Parent(node); }
  NodeHandle Selected() const override { return tree_.Selected(); }
  uint32_t ItemData(NodeHandle node) const override { return tree_.ItemData(node); }
  int GetMark(NodeHandle node) const override { return tree_.GetMark(node); }
  std::string Text(NodeHandle node) const override { return tree_.Text(node); }
  size_t Count() const override { return tree_.Count(); }
  bool IsExpanded(NodeHandle group) const override { return tree_.IsExpanded(group); }
  MarkCounts FileMarks(NodeHandle group) const override { return tree_.FileMarks(group); }
  void PutImage(NodeHandle node, int mark) override {
    if (before_put) before_put(node, mark);
    puts.push_back({node, mark});
    tree_.PutImage(node, mark);
  }
  void Delete(NodeHandle node) override { tree_.Delete(node); }
  void Clear() override { tree_.Clear(); }
  void Select(NodeHandle node) override { tree_.Select(node); }
  void ScrollToTop(NodeHandle node) override {
    scrolled.push_back(node);
    tree_.ScrollToTop(node);
  }

 private:
  MemoryResultTree tree_;
};

class CompareGroupTest : public ::testing::Test {
 protected:
  // Writes the files (relative name, content) and adds a group of them, in
  // that order, with the key as its text.
  NodeHandle AddGroup(std::string_view key, const std::vector<std::pair<std::string, std::string>>& files) {
    const NodeHandle group = tree_.AddGroup(key);
    for (const auto& [name, content] : files) {
      temp_.Write(std::u8string(name.begin(), name.end()), content);
      tree_.AddFile(group, temp_.Path(name));
    }
    return group;
  }

  std::string Compare(NodeHandle node, const std::atomic<int>* cancel = nullptr) {
    std::string result;
    CompareGroup(tree_, node, result, cancel, comparer_);
    return result;
  }

  Marks FileMarks(NodeHandle group) const {
    Marks marks;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      marks.push_back(tree_.GetMark(file));
    }
    return marks;
  }

  void SetAllMarks(NodeHandle group, int mark) {
    tree_.PutImage(group, mark);
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      tree_.PutImage(file, mark);
    }
  }

  std::string Pair(std::string_view a, std::string_view b, bool same) const {
    return "  " + temp_.Path(a) + "\r\n  " + temp_.Path(b) + "\r\n" +
           (same ? "は同一内容です\r\n\r\n" : "は同一内容ではありません\r\n\r\n");
  }

  // A pair of which the file named unreadable could not be read.
  std::string Unreadable(std::string_view a, std::string_view b, std::string_view unreadable) const {
    return "  " + temp_.Path(a) + "\r\n  " + temp_.Path(b) + "\r\n" +
           "は比較できません。ファイルの読み取りに失敗しました(" + temp_.Path(unreadable) + ")\r\n\r\n";
  }

  TempTree temp_;
  RecordingTree tree_;
  PieceFileSystem file_system_;
  FileComparer comparer_{file_system_};
};

TEST_F(CompareGroupTest, FewerThanTwoFilesLeaveNothingToCompare) {
  const NodeHandle single = AddGroup("one", {{"a.txt", "x"}});
  SetAllMarks(single, MarkDelete);
  const NodeHandle empty = tree_.AddGroup("none");

  EXPECT_EQ(Compare(single), "検査:one\r\n比較するファイルがありません\r\n");
  EXPECT_EQ(tree_.GetMark(single), MarkUnique);
  EXPECT_EQ(FileMarks(single), Marks{MarkUnique});
  EXPECT_EQ(Compare(empty), "検査:none\r\n比較するファイルがありません\r\n");
  EXPECT_EQ(tree_.GetMark(empty), MarkUnique);
  EXPECT_EQ(file_system_.Opened(), 0);
}

TEST_F(CompareGroupTest, TwoFilesAreIdenticalOnlyWithTheSameBytes) {
  struct Case {
    std::string a;
    std::string b;
    bool same;
  };
  const std::vector<Case> cases = {
      {"", "", true},
      {"abc", "abc", true},
      {"", "a", false},
      {"abc", "abcd", false},
      {"abcd", "abc", false},
      {"abc", "abd", false},
      {std::string("a\0b", 3), std::string("a\0c", 3), false},
  };
  int number = 0;
  for (const Case& test : cases) {
    SCOPED_TRACE(number);
    const std::string key = "k" + std::to_string(number);
    const std::string a = key + "a", b = key + "b";
    const NodeHandle group = AddGroup(key, {{a, test.a}, {b, test.b}});
    const std::string expected =
        "検査:" + key + "\r\n" +
        (test.same ? std::string("すべて同一内容です。\r\n\r\n") : Pair(a, b, false));
    EXPECT_EQ(Compare(group), expected);
    const int mark = test.same ? MarkDuplicate : MarkUnique;
    EXPECT_EQ(tree_.GetMark(group), mark);
    EXPECT_EQ(FileMarks(group), (Marks{mark, mark}));
    ++number;
  }
}

TEST_F(CompareGroupTest, MixedVerdictsListEveryPairInOrderAndMarkNone) {
  const NodeHandle group = AddGroup("mixed", {{"A", "same"}, {"B", "same"}, {"C", "other"}});

  EXPECT_EQ(Compare(group),
            "検査:mixed\r\n" + Pair("A", "B", true) + Pair("A", "C", false) + Pair("B", "C", false));
  EXPECT_EQ(tree_.GetMark(group), MarkNone);
  EXPECT_EQ(FileMarks(group), (Marks{MarkNone, MarkNone, MarkNone}));
}

TEST_F(CompareGroupTest, AllIdenticalGivesOneLineAndReplacesEveryMark) {
  const NodeHandle group = AddGroup("same", {{"A", "data"}, {"B", "data"}, {"C", "data"}});
  SetAllMarks(group, MarkDelete);
  tree_.PutImage(tree_.FirstFile(group), MarkCopy);

  std::string result = "before\r\n";
  CompareGroup(tree_, group, result, nullptr, comparer_);

  EXPECT_EQ(result, "before\r\n検査:same\r\nすべて同一内容です。\r\n\r\n");
  EXPECT_EQ(tree_.GetMark(group), MarkDuplicate);
  EXPECT_EQ(FileMarks(group), (Marks{MarkDuplicate, MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(file_system_.Opened(), 6);  // three pairs, each pair two files
}

TEST_F(CompareGroupTest, EachFileShowsComparingAsItBecomesTheBase) {
  const NodeHandle group = AddGroup("bases", {{"A", "1"}, {"B", "1"}, {"C", "2"}});
  std::vector<std::pair<NodeHandle, int>> bases;  // base and the files opened before it showed 4
  tree_.puts.clear();
  tree_.before_put = [&](NodeHandle node, int mark) {
    if (mark == MarkComparing) bases.emplace_back(node, file_system_.Opened());
  };

  Compare(group);

  const NodeHandle a = tree_.FirstFile(group), b = tree_.Next(a), c = tree_.Next(b);
  EXPECT_EQ(bases, (std::vector<std::pair<NodeHandle, int>>{{a, 0}, {b, 4}, {c, 6}}));
  // The group's summary is left alone until the final mark.
  const auto group_puts = std::count_if(tree_.puts.begin(), tree_.puts.end(),
                                        [&](const RecordingTree::Put& put) { return put.node == group; });
  EXPECT_EQ(group_puts, 1);
}

// A file that cannot be opened or read is named in each of its pairs instead
// of being called different, and still counts as differing for the mark.
TEST_F(CompareGroupTest, AFileThatCannotBeReadIsNamedAndCountsAsDiffering) {
  const NodeHandle alone = AddGroup("gone", {{"A", "x"}, {"B", "x"}});
  temp_.Remove(u8"B");
  const NodeHandle partly = AddGroup("some", {{"C", "y"}, {"D", "y"}, {"E", "y"}});
  temp_.Remove(u8"C");

  EXPECT_EQ(Compare(alone), "検査:gone\r\n" + Unreadable("A", "B", "B"));
  EXPECT_EQ(FileMarks(alone), (Marks{MarkUnique, MarkUnique}));
  EXPECT_EQ(tree_.GetMark(alone), MarkUnique);
  EXPECT_EQ(Compare(partly),
            "検査:some\r\n" + Unreadable("C", "D", "C") + Unreadable("C", "E", "C") + Pair("D", "E", true));
  EXPECT_EQ(tree_.GetMark(partly), MarkNone);

  // A read that fails part-way, in either file of the pair.
  std::string content(FileComparer::kChunkSize + 10, 'r');
  const NodeHandle failing = AddGroup("failing", {{"F", content}, {"G", content}, {"H", content}});
  file_system_.FailAfter(temp_.Path("G"), FileComparer::kChunkSize);
  EXPECT_EQ(Compare(failing), "検査:failing\r\n" + Unreadable("F", "G", "G") + Pair("F", "H", true) +
                                  Unreadable("G", "H", "G"));
  EXPECT_EQ(tree_.GetMark(failing), MarkNone);
  // Different files are different, whichever ends first.
  EXPECT_EQ(FileComparer(file_system_).CompareFiles(temp_.Path("A"), temp_.Path("F")),
            Comparison::kDifferent);
  EXPECT_EQ(FileComparer(file_system_).CompareFiles(temp_.Path("F"), temp_.Path("A")),
            Comparison::kDifferent);
}

TEST_F(CompareGroupTest, FilesOfSeveralChunksDifferingOnlyInTheLastByte) {
  std::string content(FileComparer::kChunkSize * 2 + 5, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  std::string changed = content;
  changed.back() = static_cast<char>(changed.back() ^ 1);
  const NodeHandle group = AddGroup("big", {{"A", content}, {"B", content}, {"C", changed}});

  EXPECT_EQ(Compare(group),
            "検査:big\r\n" + Pair("A", "B", true) + Pair("A", "C", false) + Pair("B", "C", false));
}

TEST_F(CompareGroupTest, ReadersHandingOutBytesInDifferentPiecesStillMatch) {
  std::string content(FileComparer::kChunkSize + 1000, 'q');
  content[FileComparer::kChunkSize - 1] = 'r';
  const NodeHandle group = AddGroup("pieces", {{"A", content}, {"B", content}});
  file_system_.SetPieceSize(temp_.Path("A"), 4096);
  file_system_.SetPieceSize(temp_.Path("B"), 100000);

  EXPECT_EQ(Compare(group), "検査:pieces\r\nすべて同一内容です。\r\n\r\n");
}

TEST_F(CompareGroupTest, AFileNodeIsLeftAlone) {
  const NodeHandle group = AddGroup("file", {{"A", "x"}, {"B", "x"}});
  SetAllMarks(group, MarkCopy);
  tree_.puts.clear();

  std::string result = "kept";
  CompareGroup(tree_, tree_.FirstFile(group), result, nullptr, comparer_);
  CompareGroup(tree_, kNoNode, result, nullptr, comparer_);

  EXPECT_EQ(result, "kept");
  EXPECT_TRUE(tree_.puts.empty());
  EXPECT_EQ(file_system_.Opened(), 0);
}

TEST_F(CompareGroupTest, ACancelSeenBeforeTheFirstBaseComparesNothing) {
  const NodeHandle group = AddGroup("stop", {{"A", "x"}, {"B", "x"}});
  SetAllMarks(group, MarkDelete);
  const std::atomic<int> cancel{1};

  EXPECT_EQ(Compare(group, &cancel), "検査:stop\r\n検査中断\r\n");
  EXPECT_EQ(tree_.GetMark(group), MarkNone);
  EXPECT_EQ(FileMarks(group), (Marks{MarkNone, MarkNone}));
  EXPECT_EQ(file_system_.Opened(), 0);
}

TEST_F(CompareGroupTest, ACancelFinishesTheBaseAndDiscardsTheWholeGroup) {
  const NodeHandle group = AddGroup("late", {{"A", "x"}, {"B", "x"}, {"C", "x"}});
  std::atomic<int> cancel{0};
  int bases = 0;
  tree_.before_put = [&](NodeHandle, int mark) {
    if (mark == MarkComparing && ++bases == 2) cancel = 1;  // during the last pair
  };

  EXPECT_EQ(Compare(group, &cancel), "検査:late\r\n検査中断\r\n");
  EXPECT_EQ(bases, 2);
  EXPECT_EQ(file_system_.Opened(), 6);  // the second base still compared with the third
  EXPECT_EQ(tree_.GetMark(group), MarkNone);
  EXPECT_EQ(FileMarks(group), (Marks{MarkNone, MarkNone, MarkNone}));
}

TEST_F(CompareGroupTest, AClearCancelFlagChangesNothing) {
  const NodeHandle group = AddGroup("go", {{"A", "x"}, {"B", "x"}});
  const std::atomic<int> cancel{0};

  EXPECT_EQ(Compare(group, &cancel), "検査:go\r\nすべて同一内容です。\r\n\r\n");
  EXPECT_EQ(tree_.GetMark(group), MarkDuplicate);
}

// The background comparison's walk: only the groups at 0, each in view
// before it is compared; a stop selects the first group not examined.
class CompareUnmarkedGroupsTest : public CompareGroupTest {
 protected:
  std::string CompareAll() {
    std::string result;
    CompareUnmarkedGroups(tree_, result, cancel_, comparer_);
    return result;
  }

  std::atomic<int> cancel_{0};
};

TEST_F(CompareUnmarkedGroupsTest, ComparesOnlyTheGroupsAtNoneInTreeOrder) {
  const NodeHandle first = AddGroup("first", {{"a1", "x"}, {"a2", "x"}});
  const NodeHandle marked = AddGroup("marked", {{"b1", "x"}, {"b2", "y"}});
  SetAllMarks(marked, MarkDelete);
  const NodeHandle last = AddGroup("last", {{"c1", "x"}, {"c2", "y"}});
  tree_.Select(marked);

  EXPECT_EQ(CompareAll(), "検査:first\r\nすべて同一内容です。\r\n\r\n検査:last\r\n" + Pair("c1", "c2", false));
  EXPECT_EQ(tree_.scrolled, (std::vector<NodeHandle>{first, last}));
  EXPECT_EQ(FileMarks(marked), (Marks{MarkDelete, MarkDelete}));
  EXPECT_EQ(tree_.GetMark(last), MarkUnique);
  EXPECT_EQ(tree_.Selected(), marked);
}

TEST_F(CompareUnmarkedGroupsTest, AStopSelectsTheFirstGroupNotExamined) {
  struct Case {
    const char* name;
    int stop_at_base;  // the base during whose pairs the stop comes; 0: before the start
    int selected;      // the index of the group selected at the end; -1: none
    int groups_scrolled;
  };
  const Case cases[] = {
      {"before the start", 0, 0, 0},
      {"during the first group", 1, 1, 1},
      {"during the last group", 3, -1, 2},  // two bases a group
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    tree_.Clear();
    tree_.scrolled.clear();
    const NodeHandle groups[] = {AddGroup("one", {{"a1", "x"}, {"a2", "x"}}),
                                 AddGroup("two", {{"b1", "x"}, {"b2", "x"}})};
    cancel_ = test.stop_at_base == 0 ? 1 : 0;
    int bases = 0;
    tree_.before_put = [&](NodeHandle, int mark) {
      if (mark == MarkComparing && ++bases == test.stop_at_base) cancel_ = 1;
    };

    const std::string result = CompareAll();

    EXPECT_TRUE(result.ends_with(kCompareInterruptedLine)) << result;
    EXPECT_EQ(tree_.scrolled.size(), static_cast<size_t>(test.groups_scrolled));
    EXPECT_EQ(tree_.Selected(), test.selected < 0 ? kNoNode : groups[test.selected]);
    if (test.selected >= 0) {
      EXPECT_EQ(FileMarks(groups[test.selected]), (Marks{MarkNone, MarkNone}));
    }
  }
}

}  // namespace
}  // namespace twinseek::testing
