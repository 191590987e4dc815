// The background full comparison on a shared result tree shown in a real
// tree-view control owned by the test thread, which pumps messages (the
// view's syncs among them) until the worker's completion command arrives:
// which groups it takes, the report it hands to the prompter, the tree's
// enabling and the running flag, where an interruption leaves the selection,
// and that the control shows the outcome.
#include "verify/win32/full_compare_worker.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system_wrapper.h"
#include "support/temp_tree.h"
#include "support/win32/fake_prompter.h"
#include "tree/marks.h"
#include "support/win32/shown_tree.h"
#include "tree/shared_result_tree.h"
#include "tree/win32/result_tree_view.h"
#include "tree/win32/view_syncing_prompter.h"
#include "verify/file_compare.h"

namespace twinseek::testing {
namespace {

constexpr int kCompletionCommand = 1234;

// A window destroyed with the object.
class Window {
 public:
  explicit Window(HWND handle) : handle_(handle) {}
  ~Window() {
    if (handle_ != nullptr) DestroyWindow(handle_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

HWND CreateMainWindow() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return CreateWindowExW(0, L"STATIC", L"compare test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

HWND CreateTreeView(HWND parent) {
  RECT client{};
  GetClientRect(parent, &client);
  return CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
      WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0,
      client.right, client.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The prompter the worker gets: notes the state of the run when the report
// is shown, then hands everything to the fake.
class ObservingPrompter final : public Prompter {
 public:
  ObservingPrompter(FakePrompter& fake, const ResultTreeView& view, const ScanJob& job)
      : fake_(fake), view_(view), job_(job) {}

  bool tree_enabled_at_report = true;
  int running_at_report = 0;
  NodeHandle first_visible_at_report = kNoNode;

  int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) override {
    return fake_.ShowMessage(owner, text, caption, type);
  }
  std::optional<std::string> ChooseSaveFile(HWND owner, const SaveFileRequest& request) override {
    return fake_.ChooseSaveFile(owner, request);
  }
  bool ChooseFolder(HWND owner, std::string& path, std::string_view title) override {
    return fake_.ChooseFolder(owner, path, title);
  }
  void ShowReport(HWND owner, std::string_view text) override {
    tree_enabled_at_report = IsWindowEnabled(view_.control()) != FALSE;
    running_at_report = job_.running;
    first_visible_at_report = view_.NodeOf(TreeView_GetFirstVisible(view_.control()));
    fake_.ShowReport(owner, text);
  }

 private:
  FakePrompter& fake_;
  const ResultTreeView& view_;
  const ScanJob& job_;
};

// The system's files; opening the file at trigger_path asks the job to stop,
// as the user pressing "終了" in the middle of a comparison would.
class StoppingFileSystem final : public FileSystemWrapper {
 public:
  explicit StoppingFileSystem(ScanJob& job) : job_(job) {}

  std::string trigger_path;

  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    if (path == trigger_path) job_.cancel = 1;
    return target().OpenRead(path);
  }

 private:
  ScanJob& job_;
};

class FullCompareWorkerTest : public ::testing::Test {
 protected:
  // A group of real files (name, content) in that order, given the mark
  // with SetMark.
  NodeHandle AddGroup(std::string_view key, const std::vector<std::pair<std::string, std::string>>& files,
                      int mark = MarkNone) {
    const NodeHandle group = tree_.AddGroup(key);
    for (const auto& [name, content] : files) {
      temp_.Write(std::u8string(name.begin(), name.end()), content);
      tree_.AddFile(group, temp_.Path(name));
    }
    tree_.Expand(group);
    SetMark(tree_, group, mark);
    return group;
  }

  // Groups whose files do not exist, each with the mark; they fill the view.
  void AddFillers(int count, int mark) {
    for (int i = 0; i < count; ++i) {
      const NodeHandle group = tree_.AddGroup("filler" + std::to_string(fillers_));
      tree_.AddFile(group, temp_.Path("missing" + std::to_string(fillers_) + "a"));
      tree_.AddFile(group, temp_.Path("missing" + std::to_string(fillers_++) + "b"));
      tree_.Expand(group);
      SetMark(tree_, group, mark);
    }
  }

  std::vector<int> Marks(NodeHandle group) const {
    std::vector<int> marks = {tree_.GetMark(group)};
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      marks.push_back(tree_.GetMark(file));
    }
    return marks;
  }

  std::string Pair(std::string_view a, std::string_view b, bool same) const {
    return "  " + temp_.Path(a) + "\r\n  " + temp_.Path(b) + "\r\n" +
           (same ? "は同一内容です\r\n\r\n" : "は同一内容ではありません\r\n\r\n");
  }

  // Runs the worker as the main window's command does and pumps messages
  // until its completion command arrives; false when it does not come.
  bool Run() {
    job_.running = 1;
    FullCompareWorker worker(job_, tree_, file_system_,
                             FullCompareWindows{main_.Handle(), tree_view_.Handle(), kCompletionCommand},
                             syncing_prompter_);
    if (!worker.Start()) return false;
    return PumpUntilCompletion();
  }

  // Carries out messages, also those the worker sends, until the completion
  // command is posted to the main window.
  bool PumpUntilCompletion() {
    const DWORD deadline = GetTickCount() + 30000;
    for (;;) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.hwnd == main_.Handle() && message.message == WM_COMMAND) {
          completion_wparam_ = message.wParam;
          return true;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      const DWORD now = GetTickCount();
      if (static_cast<LONG>(deadline - now) <= 0) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, deadline - now, QS_ALLINPUT);
    }
  }

  std::vector<PromptRecord> Reports() const {
    std::vector<PromptRecord> reports;
    for (const PromptRecord& record : fake_.Records()) {
      if (record.kind == PromptRecord::Kind::kReport) reports.push_back(record);
    }
    return reports;
  }

  // After a run: the completion command came, the tree is enabled and the
  // job is idle; nothing but reports was asked; once synced, the control
  // shows every mark and the selection of the tree.
  void ExpectEndedCleanly() {
    EXPECT_EQ(completion_wparam_, MAKEWPARAM(kCompletionCommand, BN_CLICKED));
    EXPECT_TRUE(IsWindowEnabled(tree_view_.Handle()));
    EXPECT_EQ(job_.running, 0);
    EXPECT_EQ(Reports().size(), fake_.Records().size());
    view_->Sync();
    const ShownTree shown(tree_view_.Handle());
    for (NodeHandle group = tree_.FirstGroup(); group != kNoNode; group = tree_.Next(group)) {
      EXPECT_EQ(shown.Mark(view_->ItemOf(group)), tree_.GetMark(group)) << tree_.Text(group);
      for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
        EXPECT_EQ(shown.Mark(view_->ItemOf(file)), tree_.GetMark(file)) << tree_.Text(file);
      }
    }
    EXPECT_EQ(view_->NodeOf(shown.Selected()), tree_.Selected());
  }

  Window main_{CreateMainWindow()};
  Window tree_view_{CreateTreeView(main_.Handle())};
  SharedResultTree tree_;
  std::unique_ptr<ResultTreeView> view_ = std::make_unique<ResultTreeView>(tree_view_.Handle(), tree_);
  TempTree temp_;
  ScanJob job_;
  FakePrompter fake_;
  ObservingPrompter prompter_{fake_, *view_, job_};
  ViewSyncingPrompter syncing_prompter_{prompter_, view_};
  StoppingFileSystem file_system_{job_};
  WPARAM completion_wparam_ = 0;
  int fillers_ = 0;
};

TEST_F(FullCompareWorkerTest, ComparesOnlyTheGroupsAtNoneAndReportsToTheMainWindow) {
  const NodeHandle same = AddGroup("same", {{"a1", "x"}, {"a2", "x"}});
  const NodeHandle marked = AddGroup("marked", {{"b1", "x"}, {"b2", "y"}}, MarkDuplicate);
  AddFillers(30, MarkUnique);
  const NodeHandle differ = AddGroup("differ", {{"c1", "x"}, {"c2", "y"}});
  AddFillers(30, MarkMixed);
  tree_.Select(marked);

  ASSERT_TRUE(Run());

  ExpectEndedCleanly();
  const std::vector<PromptRecord> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text,
            "検査:same\r\nすべて同一内容です。\r\n\r\n検査:differ\r\n" + Pair("c1", "c2", false));
  EXPECT_EQ(reports[0].owner, main_.Handle());
  EXPECT_NE(reports[0].thread, GetCurrentThreadId());
  EXPECT_FALSE(prompter_.tree_enabled_at_report);
  EXPECT_EQ(prompter_.running_at_report, 1);
  EXPECT_EQ(prompter_.first_visible_at_report, differ);  // the last group taken, scrolled to the top
  EXPECT_EQ(Marks(same), (std::vector<int>{MarkDuplicate, MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(Marks(marked), (std::vector<int>{MarkDuplicate, MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(Marks(differ), (std::vector<int>{MarkUnique, MarkUnique, MarkUnique}));
  EXPECT_EQ(tree_.Selected(), marked);
}

TEST_F(FullCompareWorkerTest, NoGroupAtNoneShowsNothing) {
  const NodeHandle group = AddGroup("done", {{"a1", "x"}, {"a2", "y"}}, MarkDuplicate);
  AddFillers(2, MarkDelete);

  ASSERT_TRUE(Run());

  ExpectEndedCleanly();
  EXPECT_TRUE(fake_.Records().empty());
  EXPECT_EQ(Marks(group), (std::vector<int>{MarkDuplicate, MarkDuplicate, MarkDuplicate}));
}

TEST_F(FullCompareWorkerTest, AStopBeforeTheStartSelectsTheFirstGroup) {
  const NodeHandle first = AddGroup("first", {{"a1", "x"}, {"a2", "x"}});
  AddGroup("second", {{"b1", "x"}, {"b2", "x"}});
  job_.cancel = 1;

  ASSERT_TRUE(Run());

  ExpectEndedCleanly();
  const std::vector<PromptRecord> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text, kCompareInterruptedLine);
  EXPECT_EQ(tree_.Selected(), first);
  EXPECT_EQ(Marks(first), (std::vector<int>{MarkNone, MarkNone, MarkNone}));
}

TEST_F(FullCompareWorkerTest, AStopDuringAGroupDiscardsItAndSelectsTheNextNotExamined) {
  const NodeHandle done = AddGroup("done", {{"a1", "x"}, {"a2", "x"}});
  const NodeHandle stopped = AddGroup("stopped", {{"b1", "x"}, {"b2", "x"}, {"b3", "y"}});
  const NodeHandle skipped = AddGroup("skipped", {{"c1", "x"}, {"c2", "y"}}, MarkDuplicate);
  const NodeHandle untouched = AddGroup("untouched", {{"d1", "x"}, {"d2", "y"}});
  file_system_.trigger_path = temp_.Path("b2");  // while the first base of "stopped" is compared

  ASSERT_TRUE(Run());

  ExpectEndedCleanly();
  const std::vector<PromptRecord> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text, "検査:done\r\nすべて同一内容です。\r\n\r\n検査:stopped\r\n検査中断\r\n" +
                                 std::string(kCompareInterruptedLine));
  EXPECT_EQ(Marks(done), (std::vector<int>{MarkDuplicate, MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(Marks(stopped), (std::vector<int>{MarkNone, MarkNone, MarkNone, MarkNone}));
  EXPECT_EQ(Marks(skipped), (std::vector<int>{MarkDuplicate, MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(Marks(untouched), (std::vector<int>{MarkNone, MarkNone, MarkNone}));
  EXPECT_EQ(tree_.Selected(), skipped);  // the walk stops before the next root node
}

TEST_F(FullCompareWorkerTest, AStopDuringTheLastGroupSelectsNothing) {
  const NodeHandle first = AddGroup("first", {{"a1", "x"}, {"a2", "y"}}, MarkUnique);
  AddGroup("last", {{"b1", "x"}, {"b2", "x"}});
  tree_.Select(first);
  file_system_.trigger_path = temp_.Path("b2");

  ASSERT_TRUE(Run());

  ExpectEndedCleanly();
  const std::vector<PromptRecord> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text, "検査:last\r\n検査中断\r\n" + std::string(kCompareInterruptedLine));
  EXPECT_EQ(tree_.Selected(), kNoNode);
}

}  // namespace
}  // namespace twinseek::testing
