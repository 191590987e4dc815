// The help commands of the real main window: "ヘルプ(&H)" and F1 go to the help
// file with WinHelp where it exists, to the manual page through the shell
// where it does not (or WinHelp fails), and end in the failure message only
// when neither starts. The launcher is a recording stand-in, so no viewer
// opens.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "resources/main_window_ids.h"
#include "support/temp_tree.h"
#include "win32/app/main_window_harness.h"

namespace twinseek::testing {
namespace {

struct LaunchRecord {
  bool manual = false;  // OpenManual, else ShowHelpFile
  HWND owner = nullptr;
  std::string path;
  UINT command = 0;
  ULONG_PTR data = 0;
};

class RecordingLauncher final : public HelpLauncher {
 public:
  bool ShowHelpFile(HWND owner, std::string_view path, UINT command, ULONG_PTR data) override {
    std::lock_guard lock(mutex_);
    records_.push_back({false, owner, std::string(path), command, data});
    return help_file_starts_;
  }
  bool OpenManual(HWND owner, std::string_view path) override {
    std::lock_guard lock(mutex_);
    records_.push_back({true, owner, std::string(path), 0, 0});
    return manual_opens_;
  }

  void Answer(bool help_file_starts, bool manual_opens) {
    std::lock_guard lock(mutex_);
    help_file_starts_ = help_file_starts;
    manual_opens_ = manual_opens;
  }
  // The calls since the last Take.
  std::vector<LaunchRecord> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(records_, {});
  }

 private:
  std::mutex mutex_;
  std::vector<LaunchRecord> records_;
  bool help_file_starts_ = true;
  bool manual_opens_ = true;
};

constexpr const char* kHelpFailed = "ﾍﾙﾌﾟの起動に失敗しました。";

class MainWindowHelpTest : public ::testing::Test {
 protected:
  MainWindowHelpTest()
      : window(NoPluginLoader(),
               HarnessHelp{folder.Path("twinseek.HLP"), folder.Path("twinseek.html"), &launcher}) {}

  // The help contents, as the menu item gives them; returns once handled.
  void Contents() { SendMessageW(window.window(), WM_COMMAND, MAKEWPARAM(IDM_HELP_CONTENTS, 0), 0); }
  // F1 over the control id; returns once handled.
  void F1(int id) {
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = id;
    info.hItemHandle = GetDlgItem(window.window(), id);
    SendMessageW(window.window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  }
  std::vector<std::string> Messages() { return window.prompter().MessageTexts(); }

  TempTree folder;
  RecordingLauncher launcher;
  MainWindowHarness window;
};

TEST_F(MainWindowHelpTest, TheHelpFileGoesToWinHelpAndWithoutItTheManualToTheShell) {
  folder.Write(u8"twinseek.HLP", "help");
  folder.Write(u8"twinseek.html", "<html></html>");
  Contents();
  F1(IDC_MAIN_BUTTON_SEARCH);
  auto calls = launcher.Take();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_FALSE(calls[0].manual);
  EXPECT_EQ(calls[0].owner, window.window());
  EXPECT_EQ(calls[0].path, folder.Path("twinseek.HLP"));
  EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_FINDER));
  EXPECT_EQ(calls[0].data, 0u);
  EXPECT_FALSE(calls[1].manual);
  EXPECT_EQ(calls[1].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
  EXPECT_EQ(calls[1].data, static_cast<ULONG_PTR>(IDC_MAIN_BUTTON_SEARCH));

  // Without the help file, both open the manual page beside the program.
  folder.Remove(u8"twinseek.HLP");
  Contents();
  F1(IDC_MAIN_TREE);
  calls = launcher.Take();
  ASSERT_EQ(calls.size(), 2u);
  for (const LaunchRecord& call : calls) {
    EXPECT_TRUE(call.manual);
    EXPECT_EQ(call.owner, window.window());
    EXPECT_EQ(call.path, folder.Path("twinseek.html"));
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(MainWindowHelpTest, WinHelpFailingFallsBackToTheManualAndOnlyNeitherStartingIsReported) {
  folder.Write(u8"twinseek.HLP", "help");
  folder.Write(u8"twinseek.html", "<html></html>");
  launcher.Answer(false, true);  // a Windows without the WinHelp viewer
  Contents();
  auto calls = launcher.Take();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_FALSE(calls[0].manual);
  EXPECT_TRUE(calls[1].manual);
  EXPECT_TRUE(Messages().empty());

  launcher.Answer(false, false);
  Contents();
  EXPECT_EQ(launcher.Take().size(), 2u);
  ASSERT_EQ(Messages(), std::vector<std::string>{kHelpFailed});
  EXPECT_EQ(window.prompter().Records().back().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

  // Neither file: nothing is started, the message comes at once. A folder
  // named like the manual is no manual.
  folder.Remove(u8"twinseek.HLP");
  folder.Remove(u8"twinseek.html");
  folder.MakeFolder(u8"twinseek.html");
  launcher.Answer(true, true);
  F1(IDC_MAIN_BUTTON_QUIT);
  EXPECT_TRUE(launcher.Take().empty());
  EXPECT_EQ(Messages(), (std::vector<std::string>{kHelpFailed, kHelpFailed}));
}

}  // namespace
}  // namespace twinseek::testing
