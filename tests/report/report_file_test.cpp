// Saving report texts: real files on disk, and a file system whose writes
// fail in the ways a full or failing disk makes them fail.
#include "report/report_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/identity_only_file_system.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

std::string ReadFile(const std::string& path) {
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (reader == nullptr) return "<cannot open>";
  std::string content;
  char buffer[4096];
  while (const std::optional<size_t> count = reader->Read(buffer, sizeof buffer)) {
    if (*count == 0) break;
    content.append(buffer, *count);
  }
  return content;
}

TEST(SaveReportTextTest, TheFileHoldsExactlyTheTextsBytes) {
  TempTree disk;
  disk.Write(u8"report.txt", std::string(10'000, '#'));  // replaced, not overwritten in part
  const std::string path = disk.Path("report.txt");
  const std::string text = "*表示\r\nC:\\フォルダ\\ソフト.txt\r\n";
  EXPECT_EQ(SaveReportText(SystemFileSystem(), path, text), SaveOutcome::kSaved);
  EXPECT_EQ(ReadFile(path), text) << "no byte-order mark, no NUL, no conversion";

  EXPECT_EQ(SaveReportText(SystemFileSystem(), path, ""), SaveOutcome::kSaved);
  EXPECT_EQ(ReadFile(path), "");
}

TEST(SaveReportTextTest, AFileThatCannotBeCreatedIsReportedAndNothingAppears) {
  TempTree disk;
  disk.MakeFolder(u8"folder");
  EXPECT_EQ(SaveReportText(SystemFileSystem(), disk.Path("missing\\report.txt"), "x"),
            SaveOutcome::kCannotCreate);
  EXPECT_FALSE(SystemFileSystem().GetEntry(disk.Path("missing")).has_value());
  EXPECT_EQ(SaveReportText(SystemFileSystem(), disk.Path("folder"), "x"), SaveOutcome::kCannotCreate);
}

// Records what is written, taking at most `accepted` bytes of a write (a
// full disk) and failing writes or the close when told to.
class FailingDisk final : public testing::IdentityOnlyFileSystem {
 public:
  size_t accepted = SIZE_MAX;
  bool write_error = false;
  bool close_error = false;
  std::vector<std::string> writes;
  std::string created_path;
  int closes = 0;

  std::optional<FileIdentity> GetIdentity(std::string_view) override { return std::nullopt; }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) override {
    created_path = path;
    return std::make_unique<Writer>(*this);
  }

 private:
  struct Writer final : FileWriter {
    explicit Writer(FailingDisk& disk) : disk(disk) {}
    bool Write(const void* data, size_t size) override {
      const size_t taken = size < disk.accepted ? size : disk.accepted;
      disk.writes.emplace_back(static_cast<const char*>(data), taken);
      return !disk.write_error && taken == size;
    }
    bool Close() override {
      ++disk.closes;
      return !disk.close_error;
    }
    FailingDisk& disk;
  };
};

TEST(SaveReportTextTest, AShortOrFailedWriteOrCloseIsNoSuccess) {
  const std::string text(1000, 'a');
  FailingDisk whole;
  EXPECT_EQ(SaveReportText(whole, "C:\\r.txt", text), SaveOutcome::kSaved);
  EXPECT_EQ(whole.created_path, "C:\\r.txt");
  EXPECT_EQ(whole.writes, std::vector<std::string>{text}) << "the whole text in one write";
  EXPECT_EQ(whole.closes, 1);

  FailingDisk full;
  full.accepted = 999;
  EXPECT_EQ(SaveReportText(full, "C:\\r.txt", text), SaveOutcome::kWriteFailed);
  EXPECT_EQ(full.closes, 1) << "the file is closed after a failed write too";

  FailingDisk broken;
  broken.write_error = true;
  EXPECT_EQ(SaveReportText(broken, "C:\\r.txt", text), SaveOutcome::kWriteFailed);

  FailingDisk unclosable;
  unclosable.close_error = true;
  EXPECT_EQ(SaveReportText(unclosable, "C:\\r.txt", text), SaveOutcome::kWriteFailed);
  EXPECT_EQ(SaveReportText(unclosable, "C:\\r.txt", ""), SaveOutcome::kWriteFailed);
}

TEST(NeedsSaveBeforeShowingTest, OnlyTextsLongerThan61440BytesOnALimitedPlatform) {
  EXPECT_FALSE(NeedsSaveBeforeShowing(61'440, true));
  EXPECT_TRUE(NeedsSaveBeforeShowing(61'441, true));
  EXPECT_FALSE(NeedsSaveBeforeShowing(61'441, false));
  EXPECT_FALSE(NeedsSaveBeforeShowing(0, true));
  EXPECT_TRUE(NeedsSaveBeforeShowing(SIZE_MAX, true));
}

}  // namespace
}  // namespace twinseek
