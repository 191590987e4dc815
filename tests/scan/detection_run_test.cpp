// Whole detection runs over real temporary files into the in-memory tree:
// the groups, the error log, the progress shown and the questions asked.
#include "scan/detection_run.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/crc32.h"
#include "base/file_system_wrapper.h"
#include "scan/enumeration.h"
#include "support/temp_tree.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

// 2002-01-15 10:20:30.123 UTC.
constexpr FileTime kSampleTime = 126'555'636'301'230'000;
constexpr Conditions kSizeAndChecksum{.size = true, .checksum = true};

struct Question {
  std::string text;
  MessageButtons buttons;
  MessageIcon icon;

  friend bool operator==(const Question&, const Question&) = default;
};

void PrintTo(const Question& question, std::ostream* out) {
  *out << '"' << question.text << "\" buttons " << static_cast<int>(question.buttons) << " icon "
       << static_cast<int>(question.icon);
}

class RecordingPrompt final : public UserPrompt {
 public:
  MessageAnswer answer_to_yes_no = MessageAnswer::kYes;
  std::vector<Question> questions;
  std::vector<std::string> reports;

  MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageIcon icon) override {
    questions.push_back({std::string(text), buttons, icon});
    return buttons == MessageButtons::kYesNo ? answer_to_yes_no : MessageAnswer::kOk;
  }
  void ShowReport(std::string_view text) override { reports.emplace_back(text); }
};

// Records the calls as text; may raise the cancel flag when a position is
// shown, as the user pressing "終了" during that file would.
class RecordingView final : public DetectionView {
 public:
  std::vector<std::string> calls;
  std::atomic<int>* cancel = nullptr;
  size_t cancel_at = 0;

  void BeginProgress(size_t total) override { calls.push_back("begin " + std::to_string(total)); }
  void SetProgress(size_t position) override {
    calls.push_back(std::to_string(position));
    if (cancel != nullptr && position == cancel_at) cancel->store(1);
  }
  void EndProgress() override { calls.push_back("end"); }
};

const Question kErrorQuestion{"エラー情報がありました。確認しますか？", MessageButtons::kYesNo,
                              MessageIcon::kExclamation};
const Question kNothingNew{std::string(kNoNewDuplicatesMessage), MessageButtons::kOk,
                           MessageIcon::kExclamation};

Question FoundNew(int count) {
  return {NewDuplicatesMessage(count), MessageButtons::kOk, MessageIcon::kInformation};
}

std::string Line(std::string_view head, std::string_view path) {
  return std::string(head) + "(" + std::string(path) + ")\r\n";
}

class DetectionRunTest : public ::testing::Test {
 protected:
  // Files of the same size and time, so that only the checksum tells them
  // apart.
  void WriteFile(std::u8string_view name, std::string_view content) {
    disk_.Write(name, content);
    disk_.SetLastWriteTime(name, kSampleTime);
  }

  DetectionResult Run(const Conditions& conditions, const std::vector<std::string>& scan_list,
                      uint32_t load_limit_kb = 0) {
    DetectionRun run({.conditions = conditions,
                      .load_limit_kb = load_limit_kb,
                      .file_system = SystemFileSystem(),
                      .tree = tree_,
                      .index = index_,
                      .plugins = plugins_,
                      .view = &view_,
                      .prompt = &prompt_});
    return run.Run(ScanListOfPaths(scan_list), cancel_);
  }

  // The groups of the tree: key and paths in order.
  using GroupList = std::vector<std::pair<std::string, std::vector<std::string>>>;
  GroupList Groups() const {
    GroupList groups;
    for (NodeHandle group = tree_.FirstGroup(); group != kNoNode; group = tree_.Next(group)) {
      std::vector<std::string> files;
      for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
        files.push_back(tree_.Text(file));
      }
      groups.emplace_back(tree_.Text(group), std::move(files));
    }
    return groups;
  }

  TempTree disk_;
  MemoryResultTree tree_;
  KeyIndex index_;
  PluginSlots plugins_;
  RecordingView view_;
  RecordingPrompt prompt_;
  std::atomic<int> cancel_{0};
};

TEST_F(DetectionRunTest, GroupsEqualFilesAndReportsWhatWentWrong) {
  // A group of an earlier scan whose summary is out of date.
  const NodeHandle old_group = tree_.AddGroup("old");
  tree_.PutImage(tree_.AddFile(old_group, "C:\\old1"), MarkDuplicate);
  tree_.PutImage(tree_.AddFile(old_group, "C:\\old2"), MarkDuplicate);

  WriteFile(u8"a.txt", "123456789");
  WriteFile(u8"b.txt", "123456789");
  WriteFile(u8"unique.txt", "something else");
  disk_.MakeFolder(u8"folder");
  WriteFile(u8"folder\\c.txt", "123456789");
  const std::vector<std::string> scan_list = {
      disk_.Path("a.txt"),      disk_.Path("b.txt"),         disk_.Path("folder"), disk_.Path("missing.txt"),
      disk_.Path("unique.txt"), disk_.Path("folder\\c.txt"), disk_.Path("a.txt")};
  const DetectionResult result = Run(kSizeAndChecksum, scan_list);

  EXPECT_EQ(Groups(), (GroupList{
                          {"old", {"C:\\old1", "C:\\old2"}},
                          {"(9)@cbf43926", {scan_list[0], scan_list[1], scan_list[5]}},
                      }));
  EXPECT_EQ(tree_.GetMark(old_group), MarkDuplicate) << "every group's summary is recomputed";
  EXPECT_EQ(result.new_duplicates, 2);
  EXPECT_EQ(index_.IndexCount(), 2);
  EXPECT_EQ(index_.FileCount(), 4);
  EXPECT_FALSE(result.interrupted);
  const std::string log =
      Line("ﾃﾞｨﾚｸﾄﾘは指定できません", scan_list[2]) + Line("情報の取得ができません", scan_list[3]);
  EXPECT_EQ(result.error_log, log);
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"begin 7", "0", "1", "2", "3", "4", "5", "6", "end"}));
  EXPECT_EQ(prompt_.questions, (std::vector<Question>{kErrorQuestion, FoundNew(2)}));
  EXPECT_EQ(prompt_.reports, (std::vector<std::string>{log}));
  EXPECT_EQ(NewDuplicatesMessage(2), "あらたに2個のファイルに重複の可能性があります。");

  // The same list again finds nothing new; the log is offered but not read.
  prompt_ = RecordingPrompt{};
  prompt_.answer_to_yes_no = MessageAnswer::kNo;
  const DetectionResult again = Run(kSizeAndChecksum, scan_list);
  EXPECT_EQ(again.new_duplicates, 0);
  EXPECT_EQ(again.error_log, log);
  EXPECT_EQ(Groups().size(), 2u);
  EXPECT_EQ(index_.FileCount(), 4);
  EXPECT_EQ(prompt_.questions, (std::vector<Question>{kErrorQuestion, kNothingNew}));
  EXPECT_TRUE(prompt_.reports.empty());
}

TEST_F(DetectionRunTest, TheChecksumTellsFilesOfOneSizeApart) {
  WriteFile(u8"x1", "abc");
  WriteFile(u8"x2", "abc");
  WriteFile(u8"y", "xyz");
  const std::vector<std::string> scan_list = {disk_.Path("x1"), disk_.Path("y"), disk_.Path("x2")};
  // Without a view or a prompt (the console tool): nothing is shown or asked.
  const auto run_quietly = [&](const Conditions& conditions) {
    tree_.Clear();
    index_.Clear();
    DetectionRun run({.conditions = conditions,
                      .file_system = SystemFileSystem(),
                      .tree = tree_,
                      .index = index_,
                      .plugins = plugins_});
    return run.Run(ScanListOfPaths(scan_list), cancel_);
  };

  EXPECT_EQ(run_quietly(DefaultConditions()).new_duplicates, 2);
  ASSERT_EQ(Groups().size(), 1u);
  EXPECT_EQ(Groups()[0].second, scan_list) << "size and date cannot tell them apart";
  EXPECT_EQ(run_quietly({.size = true, .checksum = true, .date = true}).new_duplicates, 1);
  ASSERT_EQ(Groups().size(), 1u);
  EXPECT_EQ(Groups()[0].second, (std::vector<std::string>{scan_list[0], scan_list[2]}));
  EXPECT_EQ(index_.IndexCount(), 2);
  EXPECT_TRUE(view_.calls.empty());
  EXPECT_TRUE(prompt_.questions.empty());
}

TEST_F(DetectionRunTest, FilesAboveTheLimitShareTheChecksumZero) {
  WriteFile(u8"1024a", std::string(1024, 'a'));
  WriteFile(u8"1024b", std::string(1024, 'b'));
  WriteFile(u8"1025a", std::string(1025, 'a'));
  WriteFile(u8"1025b", std::string(1025, 'b'));
  const std::vector<std::string> scan_list = {disk_.Path("1024a"), disk_.Path("1025a"), disk_.Path("1024b"),
                                              disk_.Path("1025b")};
  const DetectionResult result = Run(kSizeAndChecksum, scan_list, 1);

  EXPECT_EQ(Groups(), (GroupList{{"(1025)@0", {scan_list[1], scan_list[3]}}}));
  const std::string skip = "ファイルサイズ制限(1KB)によりCRC16検査をスキップしました。";
  EXPECT_EQ(result.error_log, skip + "(" + scan_list[1] + ")(need:1KBytes)\r\n" + skip + "(" + scan_list[3] +
                                  ")(need:1KBytes)\r\n");
  EXPECT_EQ(index_.IndexCount(), 3);
}

TEST_F(DetectionRunTest, AStopBeforeTheFirstFileLeavesTheTreeAsItWas) {
  const NodeHandle old_group = tree_.AddGroup("old");
  tree_.AddFile(old_group, "C:\\old1");
  tree_.PutImage(tree_.AddFile(old_group, "C:\\old2"), MarkUnique);
  WriteFile(u8"a", "1");
  WriteFile(u8"b", "1");

  cancel_ = 1;
  const DetectionResult result = Run(DefaultConditions(), {disk_.Path("a"), disk_.Path("b")});
  EXPECT_TRUE(result.interrupted);
  EXPECT_EQ(result.error_log, "重複検査はユーザーの指示で中断されました。\r\n");
  EXPECT_EQ(tree_.Count(), 3u);
  EXPECT_EQ(tree_.GetMark(old_group), MarkMixed);
  EXPECT_TRUE(index_.empty());
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"begin 2", "end"}));
  EXPECT_EQ(prompt_.questions, (std::vector<Question>{kErrorQuestion, kNothingNew}));
  EXPECT_EQ(prompt_.reports, (std::vector<std::string>{result.error_log}));
}

TEST_F(DetectionRunTest, AStopDuringAFileFinishesThatFile) {
  for (const char8_t* name : {u8"a", u8"b", u8"c"}) WriteFile(name, "1");
  view_.cancel = &cancel_;
  view_.cancel_at = 1;
  const DetectionResult result =
      Run(DefaultConditions(), {disk_.Path("a"), disk_.Path("b"), disk_.Path("c")});
  EXPECT_TRUE(result.interrupted);
  ASSERT_EQ(Groups().size(), 1u);
  EXPECT_EQ(Groups()[0].second, (std::vector<std::string>{disk_.Path("a"), disk_.Path("b")}));
  EXPECT_EQ(view_.calls, (std::vector<std::string>{"begin 3", "0", "1", "end"}));
  EXPECT_EQ(prompt_.questions, (std::vector<Question>{kErrorQuestion, FoundNew(1)}));
}

// A comparator library whose fragment is the file's name without its last
// character, and which has something to say about files named "*!".
class NamePrefixPlugin final : public PluginLibrary {
 public:
  std::optional<std::string> GetTitle() override { return "prefix"; }
  bool InitCheck() override { return true; }
  std::optional<std::string> CheckFile(std::string_view, const DirEntry& entry) override {
    message_ = entry.name.ends_with('!') ? "note " + entry.name + "\r\n" : "";
    if (entry.name.size() < 2) return std::nullopt;
    return entry.name.substr(0, entry.name.size() - 1);
  }
  std::optional<std::string> ReturnMessage() override { return message_; }
  void Release() override {}

 private:
  std::string message_;
};

class SecondSlotLoader final : public PluginLoader {
 public:
  std::unique_ptr<PluginLibrary> Load(int slot) override {
    return slot == 2 ? std::make_unique<NamePrefixPlugin>() : nullptr;
  }
};

TEST_F(DetectionRunTest, PluginFragmentsAndMessagesJoinKeysAndLog) {
  SecondSlotLoader loader;
  plugins_.LoadAll(loader);
  for (const char8_t* name : {u8"ab1", u8"ab2", u8"ac!", u8"x"}) WriteFile(name, "1");
  const Conditions conditions{.size = true, .plugins = {false, true, false}};
  const std::vector<std::string> scan_list = {disk_.Path("ab1"), disk_.Path("ac!"), disk_.Path("x"),
                                              disk_.Path("ab2")};
  const DetectionResult result = Run(conditions, scan_list);
  EXPECT_EQ(Groups(), (GroupList{{"(1) ab", {scan_list[0], scan_list[3]}}}));
  EXPECT_EQ(result.error_log, "note ac!\r\n");
  EXPECT_TRUE(index_.Find("(1)").has_value()) << "no fragment, nothing after the size";
  EXPECT_TRUE(index_.Find("(1) ac").has_value());
}

}  // namespace
}  // namespace twinseek

namespace twinseek {
namespace {

TEST_F(DetectionRunTest, EntriesOfTheWalkAreNotReadAgainAndChecksumLinesKeepTheListOrder) {
  // Many files, so that helper threads read ahead of the run; every tenth
  // one is gone by the time the run reads its content.
  ScanList scan_list;
  std::string expected_log;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "f" + std::to_string(i);
    const std::u8string u8name(name.begin(), name.end());
    WriteFile(u8name, std::string(100 + i % 7, static_cast<char>('a' + i % 5)));
    scan_list.push_back(ScanItem{disk_.Path(name), SystemFileSystem().GetEntry(disk_.Path(name))});
  }
  for (int i = 0; i < 300; i += 10) {
    const std::string name = "f" + std::to_string(i);
    disk_.Remove(std::u8string(name.begin(), name.end()));
    ASSERT_FALSE(SystemFileSystem().GetEntry(scan_list[i].path).has_value()) << "removed";
    expected_log += Line("ファイルの読み取りに失敗しました", scan_list[i].path);
  }
  DetectionRun run({.conditions = kSizeAndChecksum,
                    .file_system = SystemFileSystem(),
                    .tree = tree_,
                    .index = index_,
                    .plugins = plugins_});
  const DetectionResult result = run.Run(scan_list, cancel_);
  EXPECT_EQ(result.error_log, expected_log);
  // The removed files had walk entries, but no content: they are left out.
  EXPECT_EQ(index_.FileCount(), 270);
  EXPECT_FALSE(index_.Find("(100)@0").has_value());
}

// The system's files, except that the chosen ones end one byte before the
// size they had when opened (a short read).
class ShortReadFileSystem final : public FileSystemWrapper {
 public:
  std::set<std::string> short_paths;

  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    std::unique_ptr<FileReader> real = target().OpenRead(path);
    if (!real || short_paths.count(std::string(path)) == 0) return real;
    return std::make_unique<Reader>(std::move(real));
  }

 private:
  struct Reader final : FileReader {
    explicit Reader(std::unique_ptr<FileReader> real) : real(std::move(real)) {}
    uint64_t Size() const override { return real->Size() + 1; }
    std::optional<size_t> Read(void* buffer, size_t capacity) override {
      return real->Read(buffer, capacity);
    }
    std::unique_ptr<FileReader> real;
  };
};

TEST_F(DetectionRunTest, FilesWhoseContentCannotBeReadMatchNothing) {
  // Nine bytes whose CRC-32 is 0, and other files of nine bytes: eight that
  // vanish after the walk, two that read short.
  const std::string crc_zero("zero:;\x10}g", 9);
  ASSERT_EQ(Checksum(crc_zero.data(), crc_zero.size()), 0u);
  WriteFile(u8"crc0", crc_zero);
  ScanList scan_list;
  ShortReadFileSystem file_system;
  std::string expected_log;
  for (int i = 0; i < 10; ++i) {
    const std::string name = "unreadable" + std::to_string(i);
    WriteFile(std::u8string(name.begin(), name.end()), "123456789");
    scan_list.push_back(ScanItem{disk_.Path(name), SystemFileSystem().GetEntry(disk_.Path(name))});
    expected_log += Line("ファイルの読み取りに失敗しました", disk_.Path(name));
  }
  for (int i = 0; i < 10; ++i) {
    const std::string name = "unreadable" + std::to_string(i);
    if (i < 8) {
      disk_.Remove(std::u8string(name.begin(), name.end()));
    } else {
      file_system.short_paths.insert(disk_.Path(name));
    }
  }
  scan_list.push_back(ScanItem{disk_.Path("crc0"), std::nullopt});

  DetectionRun run({.conditions = kSizeAndChecksum,
                    .file_system = file_system,
                    .tree = tree_,
                    .index = index_,
                    .plugins = plugins_,
                    .prompt = &prompt_});
  const DetectionResult result = run.Run(scan_list, cancel_);
  EXPECT_EQ(Groups(), GroupList{}) << "no group of files nobody read";
  EXPECT_EQ(result.error_log, expected_log) << "the lines are as before";
  EXPECT_EQ(index_.IndexCount(), 1);
  EXPECT_EQ(index_.FileCount(), 1);
  EXPECT_TRUE(index_.Find("(9)@0").has_value()) << "the readable file whose checksum is 0";
  EXPECT_EQ(prompt_.questions, (std::vector<Question>{kErrorQuestion, kNothingNew}));
}

}  // namespace
}  // namespace twinseek

namespace twinseek {
namespace {

// The system's file system, counting the identities asked of it.
class IdentityCounter final : public FileSystemWrapper {
 public:
  int asked = 0;
  std::optional<FileIdentity> GetIdentity(std::string_view path) override {
    ++asked;
    return target().GetIdentity(path);
  }
};

// The walk's listing tells every file's identity, so registering files of
// one key opens none of them, and a hard link is still known for the file it
// is.
TEST_F(DetectionRunTest, FilesOfAWalkAreRegisteredWithoutOpeningAny) {
  for (int i = 0; i < 20; ++i) {
    const std::string name = "f" + std::to_string(i) + ".txt";
    WriteFile(std::u8string(name.begin(), name.end()), "same size");
  }
  disk_.HardLink(u8"f0.txt", u8"link.txt");
  IdentityCounter file_system;
  ScanCriteria criteria(disk_.Root(), LocalTime{2024, 5, 17});
  ScanList scan_list;
  criteria.output = &scan_list;
  EnumerateFolder(MakeEnumerationRequest(criteria, nullptr), file_system, nullptr);
  ASSERT_EQ(scan_list.size(), 21u);
  DetectionRun run({.conditions = Conditions{.size = true},
                    .file_system = file_system,
                    .tree = tree_,
                    .index = index_,
                    .plugins = plugins_});
  run.Run(scan_list, cancel_);
  EXPECT_EQ(file_system.asked, 0);
  EXPECT_EQ(index_.FileCount(), 20) << "the link is the file it links to";
  ASSERT_EQ(Groups().size(), 1u);
  EXPECT_EQ(Groups()[0].second.size(), 20u);
}

}  // namespace
}  // namespace twinseek
