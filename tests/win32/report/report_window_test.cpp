// The report window under Wine: the real dialog on its own thread, driven
// from the test thread with window messages, its prompts answered by a fake
// prompt routine, its files written to a real temporary folder.
#include "report/win32/report_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "base/cp932.h"
#include "base/win32/save_file_dialog.h"
#include "base/win32/wide_text.h"
#include "report/report_file.h"
#include "resources/report_window_ids.h"
#include "support/temp_tree.h"
#include "support/win32/fake_prompter.h"
#include "support/win32/ui_driver.h"
#include "support/win32/window_pixels.h"

namespace twinseek {
namespace {

using testing::FakePrompter;
using testing::PromptRecord;
using testing::TempTree;
using testing::UiThread;

constexpr std::string_view kWindowCaption = "Twinseek レポート";

std::string ReadFile(const std::string& path) {
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (reader == nullptr) return "<no file>";
  std::string content;
  char buffer[4096];
  while (const std::optional<size_t> count = reader->Read(buffer, sizeof buffer)) {
    if (*count == 0) break;
    content.append(buffer, *count);
  }
  return content;
}

// A text of exactly size bytes in lines of 80 characters.
std::string TextOfSize(size_t size) {
  std::string text;
  while (text.size() < size) text += std::string(78, static_cast<char>('a' + text.size() % 26)) + "\r\n";
  text.resize(size);
  return text;
}

// A control's rectangle in the dialog's client coordinates.
RECT ControlRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class ReportWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (ui_ && !ui_->Join(0)) {
      if (HWND open = testing::FindDialog(ui_->id(), kWindowCaption)) PostMessageW(open, WM_COMMAND, IDOK, 0);
      ui_->Join();
    }
  }

  // Runs the report window with text on its own thread; capacity_limited
  // nothing asks the system.
  void Start(std::string text, std::optional<bool> capacity_limited = std::nullopt) {
    text_ = std::move(text);
    ui_ = std::make_unique<UiThread>([this, capacity_limited] {
      std::optional<ReportWindow> window;
      if (capacity_limited) {
        window.emplace(prompter_, SystemFileSystem(), *capacity_limited);
      } else {
        window.emplace(prompter_, SystemFileSystem());
      }
      window->Run(nullptr, text_);
    });
  }

  HWND Open(std::string text, std::optional<bool> capacity_limited = std::nullopt) {
    Start(std::move(text), capacity_limited);
    const HWND dialog = testing::WaitForDialog(ui_->id(), kWindowCaption);
    EXPECT_NE(dialog, nullptr) << "the report window opens";
    return dialog;
  }

  HWND Edit(HWND dialog) const { return GetDlgItem(dialog, IDC_REPORT_EDIT_TEXT); }
  std::string BoxText(HWND dialog) const { return testing::ControlText(dialog, IDC_REPORT_EDIT_TEXT); }

  // Presses the save button and waits until the window has done with it:
  // prompts until there are `records`, then the window's next message.
  void Save(HWND dialog, size_t records) {
    testing::Click(dialog, IDC_REPORT_BUTTON_SAVE);
    ASSERT_TRUE(prompter_.WaitForRecords(records));
    SendMessageW(dialog, WM_NULL, 0, 0);
  }

  // Presses "閉じる" and expects the run to end.
  void Close(HWND dialog) {
    testing::Click(dialog, IDOK);
    EXPECT_TRUE(ui_->Join()) << "閉じる ends the run";
  }

  FakePrompter prompter_;
  TempTree disk_;
  std::string text_;
  std::unique_ptr<UiThread> ui_;
};

TEST_F(ReportWindowTest, ShowsTheTextAndSavesExactlyTheTextItWasGiven) {
  const std::string text = "*表示\r\nC:\\フォルダ\\ソフト.txt\r\n" + std::string(3000, 'x') + "\r\n";
  const HWND dialog = Open(text);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(BoxText(dialog), text);

  // Cancelling the dialog saves nothing and says nothing.
  Save(dialog, 1);
  const std::vector<PromptRecord> asked = prompter_.Records();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].kind, PromptRecord::Kind::kSaveFile);
  EXPECT_EQ(asked[0].owner, dialog);
  EXPECT_EQ(asked[0].save_request.initial_name, "TWINSEEK");
  EXPECT_EQ(asked[0].save_request.default_extension, "TXT");
  EXPECT_EQ(asked[0].save_request.filter, "TEXT(*.TXT)|*.TXT|LOG(*.LOG)|*.LOG|ALL(*.*)|*.*||");

  // What the box shows may change (its context menu pastes, cuts, undoes);
  // the file still gets the text the window was given.
  SetWindowTextW(Edit(dialog), L"changed");
  disk_.Write(u8"保存.txt", std::string(10'000, '#'));
  prompter_.QueueSavePath(disk_.Path("保存.txt"));
  Save(dialog, 2);
  EXPECT_EQ(ReadFile(disk_.Path("保存.txt")), text);
  EXPECT_TRUE(prompter_.MessageTexts().empty());
  EXPECT_NE(testing::FindDialog(ui_->id(), kWindowCaption), nullptr) << "the window stays open";
  Close(dialog);
}

TEST_F(ReportWindowTest, AnEmptyTextOpensEmptyAndSavesAnEmptyFile) {
  const HWND dialog = Open("");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(BoxText(dialog), "");
  prompter_.QueueSavePath(disk_.Path("empty.txt"));
  Save(dialog, 1);
  const std::optional<DirEntry> saved = SystemFileSystem().GetEntry(disk_.Path("empty.txt"));
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->size, 0u);
  Close(dialog);
}

TEST_F(ReportWindowTest, AFileThatCannotBeCreatedIsReportedWithTheStopSign) {
  const HWND dialog = Open("report\r\n");
  ASSERT_NE(dialog, nullptr);
  prompter_.QueueSavePath(disk_.Path("missing\\report.txt"));
  Save(dialog, 2);
  const std::vector<PromptRecord> asked = prompter_.Records();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].kind, PromptRecord::Kind::kMessage);
  EXPECT_EQ(asked[1].text, "ファイル書き込みに失敗しました");
  EXPECT_EQ(asked[1].caption, "") << "the application title";
  EXPECT_EQ(asked[1].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_FALSE(SystemFileSystem().GetEntry(disk_.Path("missing")).has_value());
  EXPECT_NE(testing::FindDialog(ui_->id(), kWindowCaption), nullptr) << "the window stays open";
  Close(dialog);
}

TEST_F(ReportWindowTest, TypingChangesNothingButTheCaretAndSelectionMove) {
  const std::string text = "abc\r\ndef\r\n";
  const HWND dialog = Open(text);
  ASSERT_NE(dialog, nullptr);
  const HWND edit = Edit(dialog);
  SendMessageW(edit, EM_SETSEL, 0, 3);
  for (const WPARAM typed : {WPARAM{'x'}, WPARAM{VK_BACK}, WPARAM{'\r'}, WPARAM{0x16}, WPARAM{0x18},
                             WPARAM{0x1A}, WPARAM{0x3042}}) {
    SendMessageW(edit, WM_CHAR, typed, 0);
  }
  SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
  for (const UINT command : {UINT{WM_CLEAR}, UINT{WM_CUT}, UINT{WM_PASTE}, UINT{WM_UNDO}}) {
    SendMessageW(edit, command, 0, 0);
  }
  EXPECT_EQ(BoxText(dialog), text);

  // Ctrl+A selects everything; other keys reach the control.
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, WM_CHAR, 1, 0);
  DWORD start = 99;
  DWORD end = 99;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(edit)));
  SendMessageW(edit, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end) << "an arrow key moves the caret";
  EXPECT_EQ(BoxText(dialog), text);
  Close(dialog);
}

TEST_F(ReportWindowTest, ResizingMovesTheAnchoredControlsAndNeverShrinksBelowTheOpeningSize) {
  const HWND dialog = Open("text\r\n");
  ASSERT_NE(dialog, nullptr);
  const int ids[] = {IDOK, IDC_REPORT_BUTTON_SAVE, IDC_REPORT_EDIT_TEXT};
  RECT before[3];
  for (int i = 0; i < 3; ++i) before[i] = ControlRect(dialog, ids[i]);
  RECT window{};
  GetWindowRect(dialog, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;

  SetWindowPos(dialog, nullptr, 0, 0, width + 100, height + 50, SWP_NOMOVE | SWP_NOZORDER);
  const RECT close = ControlRect(dialog, IDOK);
  const RECT save = ControlRect(dialog, IDC_REPORT_BUTTON_SAVE);
  const RECT box = ControlRect(dialog, IDC_REPORT_EDIT_TEXT);
  EXPECT_TRUE(SameRect(
      close, RECT{before[0].left + 100, before[0].top + 50, before[0].right + 100, before[0].bottom + 50}));
  EXPECT_TRUE(
      SameRect(save, RECT{before[1].left, before[1].top + 50, before[1].right + 100, before[1].bottom + 50}));
  EXPECT_TRUE(
      SameRect(box, RECT{before[2].left, before[2].top, before[2].right + 100, before[2].bottom + 50}));

  SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(SameRect(ControlRect(dialog, ids[i]), before[i])) << ids[i];

  // A drag below the opening size keeps the left and top edges and comes
  // back with exactly the opening width and height; a larger one stays.
  RECT small{window.left + 10, window.top + 20, window.left + 10 + width - 40, window.top + 20 + height - 1};
  SendMessageW(dialog, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&small));
  EXPECT_TRUE(SameRect(
      small, RECT{window.left + 10, window.top + 20, window.left + 10 + width, window.top + 20 + height}));
  RECT large{0, 0, width + 1, height + 300};
  SendMessageW(dialog, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&large));
  EXPECT_TRUE(SameRect(large, RECT{0, 0, width + 1, height + 300}));
  Close(dialog);
}

// Maximized, restored and dragged larger by its border, the window shows
// "閉じる" as before, and the save button, which stretches, as it draws itself
// at its new size. (The text box is left out: the caret blinks in it.)
TEST_F(ReportWindowTest, EveryControlIsDrawnAfterMaximizeRestoreAndABorderDrag) {
  const HWND dialog = Open("first line\r\nsecond line\r\n");
  ASSERT_NE(dialog, nullptr);
  const HWND close = GetDlgItem(dialog, IDOK);
  const HWND save = GetDlgItem(dialog, IDC_REPORT_BUTTON_SAVE);
  ASSERT_TRUE(testing::WaitUntilPainted(dialog));
  const testing::WindowPixels close_before = testing::ReadPixels(close);
  auto expect_drawn = [&](const char* after_what) {
    ASSERT_TRUE(testing::WaitUntilPainted(dialog));
    EXPECT_TRUE(testing::ReadPixels(close) == close_before) << "close after " << after_what;
    EXPECT_TRUE(testing::ReadPixels(save) == testing::RenderPixels(save)) << "save after " << after_what;
  };
  expect_drawn("opening");

  ShowWindow(dialog, SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(dialog));
  expect_drawn("maximize");
  ShowWindow(dialog, SW_RESTORE);
  ASSERT_FALSE(IsZoomed(dialog));
  expect_drawn("restore");

  testing::DragBorder(dialog, 90, 40);
  expect_drawn("a border drag");
  Close(dialog);
}

TEST_F(ReportWindowTest, ANtFamilySystemShowsTextsOfAnyLength) {
  EXPECT_FALSE(IsCapacityLimitedPlatform());
  const std::string text = TextOfSize(200'000);
  const HWND dialog = Open(text);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(BoxText(dialog), text) << "the box takes the whole text";
  EXPECT_TRUE(prompter_.Records().empty()) << "no question";
  Close(dialog);
}

TEST_F(ReportWindowTest, OnALimitedPlatformALargeTextIsOfferedForSaving) {
  // 61,440 bytes still fit.
  HWND dialog = Open(TextOfSize(kCapacityLimit), true);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(prompter_.Records().empty());
  Close(dialog);

  // One more byte: the question; No opens the window as usual.
  dialog = Open(TextOfSize(kCapacityLimit + 1), true);
  ASSERT_NE(dialog, nullptr);
  const std::vector<PromptRecord> asked = prompter_.Records();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text,
            "レポート内容が大きいためファイルに保存しないと閲覧できません。\r\nファイルに保存しますか？");
  EXPECT_EQ(asked[0].caption, "レポートの表示");
  EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(BoxText(dialog), text_);
  Close(dialog);
}

TEST_F(ReportWindowTest, ALargeTextSavedInsteadOfShownEndsTheRunUnseen) {
  prompter_.QueueMessageAnswer(IDYES);
  prompter_.QueueSavePath(disk_.Path("large.txt"));
  prompter_.QueueMessageAnswer(IDNO);
  Start(TextOfSize(kCapacityLimit + 1) + "表示", true);
  ASSERT_TRUE(ui_->Join()) << "the run ends without 閉じる";
  EXPECT_EQ(ReadFile(disk_.Path("large.txt")), text_);
  const std::vector<PromptRecord> asked = prompter_.Records();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[1].kind, PromptRecord::Kind::kSaveFile);
  EXPECT_EQ(asked[1].save_request.initial_name, "Twinseek_Report.txt");
  EXPECT_EQ(asked[1].save_request.default_extension, "TXT");
  EXPECT_EQ(asked[1].save_request.filter, "テキスト(*.TXT)|*.TXT|全てのファイル(*.*)|*.*||");
  EXPECT_EQ(asked[2].text, "今すぐファイルを開きますか？");
  EXPECT_EQ(asked[2].caption, "レポートの表示");
  EXPECT_EQ(asked[2].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(ReportWindowTest, AFileNoApplicationOpensIsReportedAndStays) {
  prompter_.QueueMessageAnswer(IDYES);
  prompter_.QueueSavePath(disk_.Path("large.twinseek-unknown"));
  prompter_.QueueMessageAnswer(IDYES);
  Start(TextOfSize(kCapacityLimit + 1), true);
  ASSERT_TRUE(ui_->Join());
  const std::vector<PromptRecord> asked = prompter_.Records();
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[3].text, "ファイルを関連づけされたアプリケーションで開けません");
  EXPECT_EQ(asked[3].caption, "");
  EXPECT_EQ(asked[3].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(ReadFile(disk_.Path("large.twinseek-unknown")), text_);
}

TEST_F(ReportWindowTest, ALargeTextThatCannotBeSavedIsShownAfterAll) {
  prompter_.QueueMessageAnswer(IDYES);
  prompter_.QueueSavePath(disk_.Path("missing\\large.txt"));
  const HWND dialog = Open(TextOfSize(kCapacityLimit + 1), true);
  ASSERT_NE(dialog, nullptr);
  const std::vector<std::string> messages = prompter_.MessageTexts();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "ファイルを書込みオープンできません");
  EXPECT_EQ(prompter_.Records().back().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  Close(dialog);
}

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM param) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (std::wstring_view(class_name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// The first visible dialog of a thread, whatever its caption.
HWND WaitForAnyDialog(DWORD thread) {
  HWND found = nullptr;
  testing::WaitUntil([&] {
    EnumThreadWindows(thread, &TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found != nullptr;
  });
  return found;
}

TEST(SaveFileDialogTest, OffersTheInitialNameAndAddsTheDefaultExtension) {
  constexpr int kFileNameBox = 1148;
  TempTree disk;
  const SaveFileRequest request{"TWINSEEK", "TXT", "TEXT(*.TXT)|*.TXT|ALL(*.*)|*.*||"};
  std::optional<std::string> chosen = "<not returned>";
  {
    UiThread ui(
        [&] { chosen = ShowSaveFileDialog(nullptr, request, [] { ADD_FAILURE() << "a name refused"; }); });
    const HWND dialog = WaitForAnyDialog(ui.id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(testing::ControlText(dialog, kFileNameBox), "TWINSEEK");
    testing::SetControlText(dialog, kFileNameBox, disk.Path("選んだ"));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(ui.Join());
  }
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(EqualFolded(*chosen, disk.Path("選んだ.TXT"))) << *chosen << ": the extension in any case";

  {
    UiThread ui(
        [&] { chosen = ShowSaveFileDialog(nullptr, request, [] { ADD_FAILURE() << "a name refused"; }); });
    const HWND dialog = WaitForAnyDialog(ui.id());
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(ui.Join());
  }
  EXPECT_EQ(chosen, std::nullopt);
}

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

// Saving through the real dialog into another folder leaves the process's
// current folder where it was: relative paths keep their meaning. A name
// that code page 932 cannot hold is refused with a message and the dialog
// comes back, instead of the choice counting as cancelled.
TEST(SaveFileDialogTest, KeepsTheCurrentFolderAndRefusesANameThatCannotBeHeld) {
  constexpr int kFileNameBox = 1148;
  TempTree disk;
  disk.MakeFolder(u8"elsewhere");
  const std::wstring folder_before = CurrentFolder();
  const SaveFileRequest request{"TWINSEEK", "TXT", "TEXT(*.TXT)|*.TXT|ALL(*.*)|*.*||"};
  std::optional<std::string> chosen = "<not returned>";
  std::atomic<int> refused{0};
  UiThread ui([&] { chosen = ShowSaveFileDialog(nullptr, request, [&] { ++refused; }); });

  HWND dialog = WaitForAnyDialog(ui.id());
  ASSERT_NE(dialog, nullptr);
  const std::wstring unusable = Cp932ToWide(disk.Path("elsewhere\\")) + L"caf\u00e9 \U0001F600.txt";
  SetDlgItemTextW(dialog, kFileNameBox, unusable.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(testing::WaitUntil([&] { return refused.load() == 1; }));
  dialog = WaitForAnyDialog(ui.id());
  ASSERT_NE(dialog, nullptr) << "the dialog comes back";
  testing::SetControlText(dialog, kFileNameBox, disk.Path("elsewhere\\report"));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(ui.Join());

  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(EqualFolded(*chosen, disk.Path("elsewhere\\report.TXT"))) << *chosen;
  EXPECT_EQ(refused.load(), 1);
  EXPECT_EQ(CurrentFolder(), folder_before);
}

TEST(SaveFileDialogTest, FiltersBecomeNulSeparatedWideTexts) {
  using namespace std::string_literals;
  EXPECT_EQ(DialogFilter("TEXT(*.TXT)|*.TXT|ALL(*.*)|*.*||"), L"TEXT(*.TXT)\0*.TXT\0ALL(*.*)\0*.*\0\0"s);
  EXPECT_EQ(DialogFilter("テキスト(*.TXT)|*.TXT"), L"\u30c6\u30ad\u30b9\u30c8(*.TXT)\0*.TXT\0\0"s);
}

}  // namespace
}  // namespace twinseek
