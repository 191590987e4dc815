// The one dialog procedure: the answers it gives the system for every
// dialog, how a modal dialog ends, and a handler that throws, which must be
// told to the user and end the dialog instead of reaching the system.
#include "base/win32/dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "resources/move_target_dialog_ids.h"
#include "support/win32/fake_prompter.h"
#include "support/win32/ui_driver.h"

namespace twinseek {
namespace {

using testing::FakePrompter;
using testing::UiThread;

constexpr std::string_view kCaption = "ファイルの移動";  // the template's
constexpr int kThrowingCommand = 4321;

// A command handler that fails on command id (not on the notifications the
// controls send as the dialog opens).
std::function<void(int)> ThrowOn(int failing) {
  return [failing](int id) {
    if (id == failing) throw std::runtime_error("no room left");
  };
}

// A dialog whose handlers the test gives; the defaults where it gives none.
class ProbeDialog final : public Dialog {
 public:
  explicit ProbeDialog(Prompter* prompter = nullptr) : Dialog(IDD_MOVE_TARGET_DIALOG, prompter) {}
  using Dialog::Create;
  using Dialog::Run;

  std::function<void()> on_init;
  std::function<void(int id)> on_command;
  std::function<void(RECT&)> on_sizing;
  std::function<std::optional<INT_PTR>(UINT message)> on_message;
  int faults = 0;

 private:
  bool OnInit() override {
    if (on_init) on_init();
    return true;
  }
  bool OnCommand(int id, int code) override {
    if (!on_command || id == IDOK || id == IDCANCEL) return Dialog::OnCommand(id, code);
    on_command(id);
    return true;
  }
  void OnSizing(RECT& proposed) override {
    if (on_sizing) on_sizing(proposed);
  }
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM, LPARAM) override {
    return on_message ? on_message(message) : std::nullopt;
  }
  void OnFault() override { ++faults; }
};

// Runs the dialog modally on a thread of its own; Finish answers what Run
// returned once it has.
class RunningProbe {
 public:
  explicit RunningProbe(ProbeDialog& dialog) : ui_([this, &dialog] { result_ = dialog.Run(nullptr); }) {
    window_ = testing::WaitForDialog(ui_.id(), kCaption);
  }
  HWND window() const { return window_; }
  DWORD thread() const { return ui_.id(); }
  INT_PTR Finish() {
    EXPECT_TRUE(ui_.Join());
    return result_;
  }

 private:
  INT_PTR result_ = 0;
  HWND window_ = nullptr;
  UiThread ui_;  // last: the thread starts once the rest is ready
};

TEST(DialogTest, AnswersSizingAndEveryOtherMessageAsTheSystemReadsIt) {
  ProbeDialog dialog;
  dialog.on_sizing = [](RECT& proposed) { proposed.right = proposed.left + 500; };
  dialog.on_message = [](UINT message) -> std::optional<INT_PTR> {
    if (message == WM_QUERYDRAGICON) return 0x1234;  // returned by the procedure itself
    if (message == WM_APP + 1) return 77;            // through DWLP_MSGRESULT
    return std::nullopt;
  };
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND window = dialog.window();

  RECT proposed{10, 10, 20, 20};
  EXPECT_EQ(SendMessageW(window, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  EXPECT_EQ(proposed.right, 510);
  EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), 0x1234);
  EXPECT_EQ(SendMessageW(window, WM_APP + 1, 0, 0), 77);
  EXPECT_EQ(SendMessageW(window, WM_APP + 2, 0, 0), 0);

  // OK ends a modeless dialog by destroying it.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(dialog.window(), nullptr);
  EXPECT_TRUE(dialog.Create(nullptr)) << "a new window after the old one ended";
}

TEST(DialogTest, AModalDialogEndsWithTheCommandsIdAndTheCloseBoxIsCancel) {
  ProbeDialog dialog;
  {
    RunningProbe running(dialog);
    ASSERT_NE(running.window(), nullptr);
    testing::PostCommand(running.window(), IDOK);
    EXPECT_EQ(running.Finish(), IDOK);
  }
  RunningProbe running(dialog);
  ASSERT_NE(running.window(), nullptr);
  PostMessageW(running.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(running.Finish(), IDCANCEL);
  EXPECT_EQ(dialog.window(), nullptr);
}

TEST(DialogTest, AThrowingHandlerIsToldThroughThePromptRoutineAndEndsTheDialog) {
  FakePrompter prompter;
  ProbeDialog dialog(&prompter);
  dialog.on_command = ThrowOn(kThrowingCommand);
  RunningProbe running(dialog);
  ASSERT_NE(running.window(), nullptr);
  testing::PostCommand(running.window(), kThrowingCommand);
  EXPECT_EQ(running.Finish(), IDABORT);
  EXPECT_EQ(dialog.faults, 1);
  const auto records = prompter.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].text, "内部エラーが発生しました。\r\n\r\nno room left");
  EXPECT_EQ(records[0].owner, running.window());
  EXPECT_EQ(records[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));

  // Thrown before the window shows, and not a standard exception: the
  // message alone, and the run ends all the same.
  prompter.Clear();
  dialog.on_init = [] { throw 42; };
  UiThread ui([&] { EXPECT_EQ(dialog.Run(nullptr), IDABORT); });
  ASSERT_TRUE(ui.Join());
  ASSERT_EQ(prompter.MessageTexts(), std::vector<std::string>{"内部エラーが発生しました。"});
  EXPECT_EQ(dialog.faults, 2);
}

TEST(DialogTest, AThrowingHandlerOfAModelessDialogDestroysIt) {
  FakePrompter prompter;
  ProbeDialog dialog(&prompter);
  dialog.on_message = [](UINT message) -> std::optional<INT_PTR> {
    if (message == WM_APP) throw std::runtime_error("lost");
    return std::nullopt;
  };
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND window = dialog.window();
  EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(dialog.window(), nullptr);
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{"内部エラーが発生しました。\r\n\r\nlost"});
}

BOOL CALLBACK TakeOwnedBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring_view(name) != L"#32770" || GetWindow(window, GW_OWNER) != search->first) return TRUE;
  search->second = window;
  return FALSE;
}

TEST(DialogTest, WithoutAPromptRoutineTheFailureIsAPlainMessageBoxOwnedByTheDialog) {
  ProbeDialog dialog;
  dialog.on_command = ThrowOn(kThrowingCommand);
  RunningProbe running(dialog);
  ASSERT_NE(running.window(), nullptr);
  testing::PostCommand(running.window(), kThrowingCommand);
  std::pair<HWND, HWND> search{running.window(), nullptr};
  // The box is listed as soon as it exists, before it has put in its text.
  ASSERT_TRUE(testing::WaitUntil([&] {
    EnumThreadWindows(running.thread(), &TakeOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.second != nullptr && !testing::ControlText(search.second, 0xFFFF).empty();
  }));
  EXPECT_EQ(testing::ControlText(search.second, 0xFFFF), "内部エラーが発生しました。\r\n\r\nno room left");
  testing::Click(search.second, IDOK);
  EXPECT_EQ(running.Finish(), IDABORT);
}

}  // namespace
}  // namespace twinseek
