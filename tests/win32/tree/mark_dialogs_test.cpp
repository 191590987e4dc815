// The bulk marking and folder marking dialogs: each runs on its own thread
// with a recording prompter, and the test thread drives it with real button
// messages and reads its controls and the request it returns.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/win32/wide_text.h"
#include "resources/bulk_mark_dialog_ids.h"
#include "resources/directory_mark_dialog_ids.h"
#include "support/win32/fake_prompter.h"
#include "support/win32/ui_driver.h"
#include "tree/win32/bulk_mark_dialog.h"
#include "tree/win32/directory_mark_dialog.h"

namespace twinseek {

void PrintTo(const BulkMarkRequest& request, std::ostream* out) {
  *out << "{new_mark " << request.new_mark << ", target " << static_cast<int>(request.target)
       << ", chosen_mark " << request.chosen_mark << ", only_unmarked_groups " << request.only_unmarked_groups
       << "}";
}

void PrintTo(const DirectoryMarkRequest& request, std::ostream* out) {
  *out << "{folder \"" << request.folder << "\", include_subfolders " << request.include_subfolders
       << ", mark " << request.mark << ", only_duplicates " << request.only_duplicates << "}";
}

namespace {

using testing::ControlChecked;
using testing::ControlEnabled;
using testing::ControlText;
using testing::FakePrompter;
using testing::PromptRecord;
using testing::UiThread;

constexpr std::string_view kBulkCaption = "全てのアイテムのフラグ・マークの変更";
constexpr std::string_view kDirectoryCaption = "指定ディレクトリの検索";

// A dialog run on its own thread; Finish waits for it to end and answers
// what Run returned. A test that fails half-way cancels the dialog.
class RunningDialog {
 public:
  RunningDialog(std::string_view caption, std::function<bool()> run)
      : caption_(caption), ui_([this, run] { result_ = run(); }) {
    window_ = testing::WaitForDialog(ui_.id(), caption_);
  }
  ~RunningDialog() {
    if (!ui_.Join(0)) {
      if (HWND open = testing::FindDialog(ui_.id(), caption_)) PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
    }
  }
  RunningDialog(const RunningDialog&) = delete;
  RunningDialog& operator=(const RunningDialog&) = delete;

  HWND window() const { return window_; }
  bool StillOpen() const { return testing::FindDialog(ui_.id(), caption_) != nullptr; }
  DWORD thread() const { return ui_.id(); }
  bool Finish() {
    EXPECT_TRUE(ui_.Join());
    return result_;
  }

 private:
  std::string caption_;
  bool result_ = false;
  HWND window_ = nullptr;
  UiThread ui_;  // last: the thread starts once the rest is ready
};

// Presses a button and returns once its command has been handled: the fake
// prompter opens no window, so no command of these dialogs waits for a user.
void Press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// What a control is, from its window class and style.
enum class Kind {
  kGroupBox,
  kRadio,
  kCheckBox,
  kPushButton,
  kDefaultButton,
  kLabel,
  kEdit,
  kDropList,
  kRule,
  kOther
};

Kind KindOf(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (_wcsicmp(name, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        return Kind::kGroupBox;
      case BS_AUTORADIOBUTTON:
        return Kind::kRadio;
      case BS_AUTOCHECKBOX:
        return Kind::kCheckBox;
      case BS_PUSHBUTTON:
        return Kind::kPushButton;
      case BS_DEFPUSHBUTTON:
        return Kind::kDefaultButton;
      default:
        return Kind::kOther;
    }
  }
  if (_wcsicmp(name, L"Static") == 0) {
    return (style & SS_TYPEMASK) == SS_ETCHEDHORZ ? Kind::kRule : Kind::kLabel;
  }
  if (_wcsicmp(name, L"Edit") == 0) return (style & ES_AUTOHSCROLL) != 0 ? Kind::kEdit : Kind::kOther;
  if (_wcsicmp(name, L"ComboBox") == 0)
    return (style & 3) == CBS_DROPDOWNLIST ? Kind::kDropList : Kind::kOther;
  return Kind::kOther;
}

struct ControlLine {
  int id;
  Kind kind;
  std::string caption;  // not compared for edit fields and lists
  bool starts_group;    // WS_GROUP: radios only

  friend bool operator==(const ControlLine&, const ControlLine&) = default;
  friend std::ostream& operator<<(std::ostream& out, const ControlLine& line) {
    return out << "{" << line.id << ", kind " << static_cast<int>(line.kind) << ", \"" << line.caption
               << "\", group " << line.starts_group << "}";
  }
};

// Every child of the dialog in tab order.
std::vector<ControlLine> Controls(HWND dialog) {
  std::vector<ControlLine> lines;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const Kind kind = KindOf(child);
    const bool captioned = kind != Kind::kEdit && kind != Kind::kDropList;
    const bool starts_group = kind == Kind::kRadio && (GetWindowLongW(child, GWL_STYLE) & WS_GROUP) != 0;
    lines.push_back({GetDlgCtrlID(child), kind, captioned ? testing::WindowText(child) : "", starts_group});
  }
  return lines;
}

std::vector<std::string> ListEntries(HWND dialog, int id) {
  std::vector<std::string> entries;
  const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    const LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    entries.push_back(WideToCp932Lossy(text));
  }
  return entries;
}

LRESULT ListSelection(HWND dialog) {
  return SendDlgItemMessageW(dialog, IDC_BULK_COMBO_CHOSEN_MARK, CB_GETCURSEL, 0, 0);
}

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// ---- The bulk marking dialog ----

const std::vector<int> kTargetRadios = {IDC_BULK_RADIO_ALL, IDC_BULK_RADIO_UNMARKED,
                                        IDC_BULK_RADIO_CHOSEN_MARK};
const std::vector<int> kNewMarkRadios = {IDC_BULK_RADIO_NEW_MARK_0, IDC_BULK_RADIO_NEW_MARK_1,
                                         IDC_BULK_RADIO_NEW_MARK_2, IDC_BULK_RADIO_NEW_MARK_3,
                                         IDC_BULK_RADIO_NEW_MARK_4};

// A request that no choice of the dialog gives back unchanged in full.
constexpr BulkMarkRequest kUntouchedBulk = {MarkCopy, BulkTarget::kUnmarkedFiles, MarkUnique, true};

class BulkMarkDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<RunningDialog> Open() {
    auto running =
        std::make_unique<RunningDialog>(kBulkCaption, [this] { return dialog.Run(nullptr, request); });
    EXPECT_NE(running->window(), nullptr);
    return running;
  }

  // The opening values: every value 0.
  static void ExpectOpeningValues(HWND window) {
    for (int id : kTargetRadios) EXPECT_EQ(ControlChecked(window, id), id == IDC_BULK_RADIO_ALL) << id;
    EXPECT_FALSE(ControlEnabled(window, IDC_BULK_COMBO_CHOSEN_MARK));
    EXPECT_EQ(ListSelection(window), 0);
    EXPECT_FALSE(ControlChecked(window, IDC_BULK_CHECK_UNMARKED_GROUPS));
    for (int id : kNewMarkRadios)
      EXPECT_EQ(ControlChecked(window, id), id == IDC_BULK_RADIO_NEW_MARK_0) << id;
  }

  BulkMarkDialog dialog;
  BulkMarkRequest request = kUntouchedBulk;
};

TEST_F(BulkMarkDialogTest, ShowsEveryControlInTabOrderWithTheMarkList) {
  auto running = Open();
  const HWND window = running->window();
  const std::vector<ControlLine> expected = {
      {IDC_BULK_GROUP_TARGET, Kind::kGroupBox, "対象となるマーク", false},
      {IDC_BULK_RADIO_ALL, Kind::kRadio, "すべてのアイテム(&A)", true},
      {IDC_BULK_RADIO_UNMARKED, Kind::kRadio, "未チェックのアイテム(&N)", false},
      {IDC_BULK_RADIO_CHOSEN_MARK, Kind::kRadio, "次のアイテム(&L)", false},
      {IDC_BULK_COMBO_CHOSEN_MARK, Kind::kDropList, "", false},
      {IDC_BULK_RULE, Kind::kRule, "", false},
      {IDC_BULK_CHECK_UNMARKED_GROUPS, Kind::kCheckBox, "インデックスが未チェックに限る(&I)", false},
      {IDC_BULK_GROUP_NEW_MARK, Kind::kGroupBox, "変更後のマーク", false},
      {IDC_BULK_RADIO_NEW_MARK_0, Kind::kRadio, "マークを解除する(&0)", true},
      {IDC_BULK_RADIO_NEW_MARK_1, Kind::kRadio, "重複マークをつける(&1)", false},
      {IDC_BULK_RADIO_NEW_MARK_2, Kind::kRadio, "非重複マークをつける(&2)", false},
      {IDC_BULK_RADIO_NEW_MARK_3, Kind::kRadio, "削除マーク(&3)", false},
      {IDC_BULK_RADIO_NEW_MARK_4, Kind::kRadio, "コピー・マークをつける(&4)", false},
      {IDOK, Kind::kDefaultButton, "OK", false},
      {IDCANCEL, Kind::kPushButton, "ｷｬﾝｾﾙ", false},
  };
  EXPECT_EQ(Controls(window), expected);
  EXPECT_EQ(ListEntries(window, IDC_BULK_COMBO_CHOSEN_MARK),
            (std::vector<std::string>{"解除されたアイテム", "重複マークのアイテム", "非重複マークのアイテム",
                                      "削除マークのアイテム", "コピーマークのアイテム"}));
  ExpectOpeningValues(window);
  Press(window, IDCANCEL);
  EXPECT_FALSE(running->Finish());
}

TEST_F(BulkMarkDialogTest, EnablesTheMarkListOnlyForTheFollowingItems) {
  auto running = Open();
  const HWND window = running->window();
  for (int id : {IDC_BULK_RADIO_CHOSEN_MARK, IDC_BULK_RADIO_UNMARKED, IDC_BULK_RADIO_CHOSEN_MARK,
                 IDC_BULK_RADIO_ALL, IDC_BULK_RADIO_CHOSEN_MARK, IDC_BULK_RADIO_CHOSEN_MARK}) {
    Press(window, id);
    EXPECT_TRUE(ControlChecked(window, id));
    EXPECT_EQ(ControlEnabled(window, IDC_BULK_COMBO_CHOSEN_MARK), id == IDC_BULK_RADIO_CHOSEN_MARK) << id;
  }
  Press(window, IDCANCEL);
  EXPECT_FALSE(running->Finish());
}

TEST_F(BulkMarkDialogTest, OkReturnsTheChosenValuesWithMarkCodes) {
  struct Choice {
    int target_radio;
    LRESULT list_entry;
    bool unmarked_groups;
    int new_mark_radio;
    BulkMarkRequest expected;
  };
  const Choice choices[] = {
      {IDC_BULK_RADIO_CHOSEN_MARK,
       1,
       false,
       IDC_BULK_RADIO_NEW_MARK_3,
       {MarkDelete, BulkTarget::kChosenMark, MarkDuplicate, false}},
      {IDC_BULK_RADIO_CHOSEN_MARK,
       4,
       true,
       IDC_BULK_RADIO_NEW_MARK_4,
       {MarkCopy, BulkTarget::kChosenMark, MarkCopy, true}},
      {IDC_BULK_RADIO_CHOSEN_MARK,
       3,
       false,
       IDC_BULK_RADIO_NEW_MARK_2,
       {MarkUnique, BulkTarget::kChosenMark, MarkDelete, false}},
      {IDC_BULK_RADIO_UNMARKED,
       0,
       true,
       IDC_BULK_RADIO_NEW_MARK_1,
       {MarkDuplicate, BulkTarget::kUnmarkedFiles, MarkNone, true}},
      {IDC_BULK_RADIO_ALL,
       0,
       false,
       IDC_BULK_RADIO_NEW_MARK_0,
       {MarkNone, BulkTarget::kAllFiles, MarkNone, false}},
  };
  // One dialog object for every run: each opening starts from the first
  // choices whatever the run before chose.
  for (const Choice& choice : choices) {
    SCOPED_TRACE(::testing::PrintToString(choice.expected));
    request = kUntouchedBulk;
    auto running = Open();
    const HWND window = running->window();
    ExpectOpeningValues(window);
    Press(window, IDC_BULK_RADIO_CHOSEN_MARK);
    SendDlgItemMessageW(window, IDC_BULK_COMBO_CHOSEN_MARK, CB_SETCURSEL,
                        static_cast<WPARAM>(choice.list_entry), 0);
    Press(window, choice.target_radio);
    if (choice.unmarked_groups) Press(window, IDC_BULK_CHECK_UNMARKED_GROUPS);
    Press(window, choice.new_mark_radio);
    Press(window, IDOK);
    EXPECT_TRUE(running->Finish());
    EXPECT_EQ(request, choice.expected);
  }
}

TEST_F(BulkMarkDialogTest, CancelCloseBoxAndEscapeLeaveTheRequestAlone) {
  const std::vector<std::function<void(HWND)>> closings = {
      [](HWND window) { Press(window, IDCANCEL); }, [](HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); },
      [](HWND window) { SendMessageW(window, WM_COMMAND, IDCANCEL, 0); },  // Escape's command
  };
  for (size_t i = 0; i < closings.size(); ++i) {
    SCOPED_TRACE(i);
    auto running = Open();
    const HWND window = running->window();
    Press(window, IDC_BULK_RADIO_CHOSEN_MARK);
    SendDlgItemMessageW(window, IDC_BULK_COMBO_CHOSEN_MARK, CB_SETCURSEL, 2, 0);
    Press(window, IDC_BULK_CHECK_UNMARKED_GROUPS);
    Press(window, IDC_BULK_RADIO_NEW_MARK_3);
    closings[i](window);
    EXPECT_FALSE(running->Finish());
    EXPECT_EQ(request, kUntouchedBulk);
  }
}

// ---- The folder marking dialog ----

const std::vector<int> kMarkRadios = {IDC_DIRMARK_RADIO_MARK_0, IDC_DIRMARK_RADIO_MARK_1,
                                      IDC_DIRMARK_RADIO_MARK_2, IDC_DIRMARK_RADIO_MARK_3,
                                      IDC_DIRMARK_RADIO_MARK_4};

const DirectoryMarkRequest kUntouchedDirectory = {"untouched", true, MarkUnique, true};

class DirectoryMarkDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<RunningDialog> Open() {
    auto running =
        std::make_unique<RunningDialog>(kDirectoryCaption, [this] { return dialog.Run(nullptr, request); });
    EXPECT_NE(running->window(), nullptr);
    return running;
  }

  static void ExpectOpeningValues(HWND window) {
    EXPECT_EQ(ControlText(window, IDC_DIRMARK_EDIT_FOLDER), "");
    EXPECT_FALSE(ControlChecked(window, IDC_DIRMARK_CHECK_SUBFOLDERS));
    EXPECT_FALSE(ControlChecked(window, IDC_DIRMARK_CHECK_ONLY_DUPLICATES));
    for (int id : kMarkRadios) EXPECT_EQ(ControlChecked(window, id), id == IDC_DIRMARK_RADIO_MARK_0) << id;
  }

  std::vector<PromptRecord> FolderRecords() const {
    std::vector<PromptRecord> folders;
    for (const PromptRecord& record : prompter.Records()) {
      if (record.kind == PromptRecord::Kind::kFolder) folders.push_back(record);
    }
    return folders;
  }

  FakePrompter prompter;
  DirectoryMarkDialog dialog{prompter};
  DirectoryMarkRequest request = kUntouchedDirectory;
};

TEST_F(DirectoryMarkDialogTest, ShowsEveryControlInTabOrderAndOpensEmpty) {
  auto running = Open();
  const HWND window = running->window();
  const std::vector<ControlLine> expected = {
      {IDC_DIRMARK_GROUP_FOLDER, Kind::kGroupBox, "指定したディレクトリをもつ重複ファイルを検索します",
       false},
      {IDC_DIRMARK_LABEL_FOLDER, Kind::kLabel, "フォルダ(&L)", false},
      {IDC_DIRMARK_EDIT_FOLDER, Kind::kEdit, "", false},
      {IDC_DIRMARK_BUTTON_BROWSE, Kind::kPushButton, "参照(&B)", false},
      {IDC_DIRMARK_CHECK_SUBFOLDERS, Kind::kCheckBox, "サブディレクトリも含める(&S)", false},
      {IDC_DIRMARK_CHECK_ONLY_DUPLICATES, Kind::kCheckBox, "重複マークのアイテムのみ検査(&I)", false},
      {IDC_DIRMARK_GROUP_ACTION, Kind::kGroupBox, "検索結果の動作", false},
      {IDC_DIRMARK_RADIO_MARK_0, Kind::kRadio, "マークの解除(&0)", true},
      {IDC_DIRMARK_RADIO_MARK_1, Kind::kRadio, "重複マークをつける(&1)", false},
      {IDC_DIRMARK_RADIO_MARK_2, Kind::kRadio, "非重複マークをつける(&2)", false},
      {IDC_DIRMARK_RADIO_MARK_3, Kind::kRadio, "削除マークをつける(&3)", false},
      {IDC_DIRMARK_RADIO_MARK_4, Kind::kRadio, "コピーマークをつける(&4)", false},
      {IDOK, Kind::kDefaultButton, "OK", false},
      {IDCANCEL, Kind::kPushButton, "ｷｬﾝｾﾙ", false},
  };
  EXPECT_EQ(Controls(window), expected);
  ExpectOpeningValues(window);
  EXPECT_EQ(FocusOf(running->thread()), GetDlgItem(window, IDC_DIRMARK_EDIT_FOLDER));
  Press(window, IDCANCEL);
  EXPECT_FALSE(running->Finish());
  EXPECT_EQ(request, kUntouchedDirectory);
  EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(DirectoryMarkDialogTest, BrowseOffersTheFieldAndWritesOnlyAChosenFolderBack) {
  auto running = Open();
  const HWND window = running->window();
  testing::SetControlText(window, IDC_DIRMARK_EDIT_FOLDER, "C:\\データ\\表");
  Press(window, IDC_DIRMARK_CHECK_SUBFOLDERS);
  Press(window, IDC_DIRMARK_RADIO_MARK_3);

  prompter.QueueFolder("D:\\写真\\旧い版");
  Press(window, IDC_DIRMARK_BUTTON_BROWSE);
  Press(window, IDC_DIRMARK_BUTTON_BROWSE);  // nothing queued: cancelled

  const std::vector<PromptRecord> folders = FolderRecords();
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[0].owner, window);
  EXPECT_EQ(folders[0].text, kDirectoryMarkChooserTitle);
  EXPECT_EQ(folders[0].folder, "C:\\データ\\表");
  EXPECT_EQ(folders[1].folder, "D:\\写真\\旧い版");
  EXPECT_EQ(prompter.Records().size(), 2u);  // no message besides

  EXPECT_EQ(ControlText(window, IDC_DIRMARK_EDIT_FOLDER), "D:\\写真\\旧い版");
  EXPECT_TRUE(ControlChecked(window, IDC_DIRMARK_CHECK_SUBFOLDERS));
  EXPECT_FALSE(ControlChecked(window, IDC_DIRMARK_CHECK_ONLY_DUPLICATES));
  for (int id : kMarkRadios) EXPECT_EQ(ControlChecked(window, id), id == IDC_DIRMARK_RADIO_MARK_3) << id;

  Press(window, IDOK);
  EXPECT_TRUE(running->Finish());
  EXPECT_EQ(request, (DirectoryMarkRequest{"D:\\写真\\旧い版", true, MarkDelete, false}));
}

TEST_F(DirectoryMarkDialogTest, OkReturnsTheValuesAsTypedWithMarkCodes) {
  struct Choice {
    std::string folder;
    bool subfolders;
    bool only_duplicates;
    int mark_radio;
    DirectoryMarkRequest expected;
  };
  const Choice choices[] = {
      {"c:\\data", false, false, IDC_DIRMARK_RADIO_MARK_3, {"c:\\data", false, MarkDelete, false}},
      {"\\\\server\\共有\\",
       true,
       true,
       IDC_DIRMARK_RADIO_MARK_4,
       {"\\\\server\\共有\\", true, MarkCopy, true}},
      {"relative folder",
       false,
       true,
       IDC_DIRMARK_RADIO_MARK_1,
       {"relative folder", false, MarkDuplicate, true}},
      {"", true, false, IDC_DIRMARK_RADIO_MARK_2, {"", true, MarkUnique, false}},
      {"Z:\\", false, false, IDC_DIRMARK_RADIO_MARK_0, {"Z:\\", false, MarkNone, false}},
  };
  // One dialog object for every run: each opening starts empty.
  for (const Choice& choice : choices) {
    SCOPED_TRACE(::testing::PrintToString(choice.expected));
    request = kUntouchedDirectory;
    auto running = Open();
    const HWND window = running->window();
    ExpectOpeningValues(window);
    Press(window, IDC_DIRMARK_RADIO_MARK_4);
    testing::SetControlText(window, IDC_DIRMARK_EDIT_FOLDER, choice.folder);
    if (choice.subfolders) Press(window, IDC_DIRMARK_CHECK_SUBFOLDERS);
    if (choice.only_duplicates) Press(window, IDC_DIRMARK_CHECK_ONLY_DUPLICATES);
    Press(window, choice.mark_radio);
    Press(window, IDOK);
    EXPECT_TRUE(running->Finish());
    EXPECT_EQ(request, choice.expected);
  }
  EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(DirectoryMarkDialogTest, RefusesAFolderThatCodePage932CannotHold) {
  auto running = Open();
  const HWND window = running->window();
  const std::wstring unholdable = L"C:\\caf\u00e9";
  SetDlgItemTextW(window, IDC_DIRMARK_EDIT_FOLDER, unholdable.c_str());
  Press(window, IDC_DIRMARK_RADIO_MARK_3);

  Press(window, IDOK);
  ASSERT_EQ(prompter.Records().size(), 1u);
  const PromptRecord message = prompter.Records()[0];
  EXPECT_EQ(message.kind, PromptRecord::Kind::kMessage);
  EXPECT_EQ(message.owner, window);
  EXPECT_EQ(message.text, kDirectoryMarkFolderCharsMessage);
  EXPECT_EQ(message.caption, "");
  EXPECT_EQ(message.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_TRUE(running->StillOpen());
  EXPECT_EQ(FocusOf(running->thread()), GetDlgItem(window, IDC_DIRMARK_EDIT_FOLDER));
  DWORD start = 1;
  DWORD end = 0;
  SendDlgItemMessageW(window, IDC_DIRMARK_EDIT_FOLDER, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, unholdable.size());

  // The chooser is offered no folder, and its cancel keeps the typed text.
  Press(window, IDC_DIRMARK_BUTTON_BROWSE);
  const std::vector<PromptRecord> folders = FolderRecords();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].folder, "");
  wchar_t text[64] = {};
  GetDlgItemTextW(window, IDC_DIRMARK_EDIT_FOLDER, text, 64);
  EXPECT_EQ(std::wstring(text), unholdable);

  // A chosen folder replaces it, and OK then goes through.
  prompter.QueueFolder("C:\\cafe");
  Press(window, IDC_DIRMARK_BUTTON_BROWSE);
  Press(window, IDOK);
  EXPECT_TRUE(running->Finish());
  EXPECT_EQ(request, (DirectoryMarkRequest{"C:\\cafe", false, MarkDelete, false}));
}

TEST_F(DirectoryMarkDialogTest, CancelAndTheCloseBoxLeaveTheRequestAlone) {
  for (const bool close_box : {false, true}) {
    SCOPED_TRACE(close_box);
    auto running = Open();
    const HWND window = running->window();
    testing::SetControlText(window, IDC_DIRMARK_EDIT_FOLDER, "C:\\data");
    Press(window, IDC_DIRMARK_CHECK_ONLY_DUPLICATES);
    Press(window, IDC_DIRMARK_RADIO_MARK_1);
    if (close_box) {
      SendMessageW(window, WM_CLOSE, 0, 0);
    } else {
      Press(window, IDCANCEL);
    }
    EXPECT_FALSE(running->Finish());
    EXPECT_EQ(request, kUntouchedDirectory);
  }
}

}  // namespace
}  // namespace twinseek
