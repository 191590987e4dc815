// The scan target dialog on real temporary folders: the dialog runs on its
// own thread with a recording prompter, and the test thread drives it with
// real messages and reads its controls and the criteria back. Also the
// shell's folder chooser behind the program's prompt routine.
#include "scan/win32/scan_target_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/file_system_wrapper.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide_text.h"
#include "resources/scan_target_dialog_ids.h"
#include "scan/name_patterns.h"
#include "scan/scan_target_rules.h"
#include "scan/win32/choose_folder.h"
#include "support/temp_tree.h"
#include "support/win32/fake_prompter.h"
#include "support/win32/ui_driver.h"

namespace twinseek {
namespace {

using testing::FakePrompter;
using testing::PromptRecord;
using testing::UiThread;

constexpr std::string_view kCaption = "Twinseek 対象の選択";
constexpr int64_t kTicksPerSecond = 10'000'000;

// The file time whose local time is local_seconds (the offset in force now
// applies to every time alike).
FileTime FileTimeAt(int64_t local_seconds) {
  constexpr FileTime kReference = 133'000'000'000'000'000;
  const int64_t offset =
      LocalSeconds(ToLocalTime(kReference)) - static_cast<int64_t>(kReference / kTicksPerSecond);
  return static_cast<FileTime>(local_seconds - offset) * kTicksPerSecond;
}

// Presses a button and returns once its command has been handled: the fake
// prompter opens no window, so no command of this dialog waits for the user.
void Press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

bool WholeTextSelected(HWND dialog, int id) {
  DWORD start = 0;
  DWORD end = 0;
  SendDlgItemMessageW(dialog, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end));
  return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(GetDlgItem(dialog, id)));
}

SYSTEMTIME PickerTime(HWND dialog, int id) {
  SYSTEMTIME time = {};
  SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return time;
}

// The real file system, whose first listing stops at its first entry until
// the test lets it go: a walk that is certainly still running when the test
// presses "ｷｬﾝｾﾙ".
class HeldFileSystem final : public FileSystemWrapper {
 public:
  HeldFileSystem()
      : entered_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        released_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  bool WaitUntilHeld() { return WaitForSingleObject(entered_.get(), 30000) == WAIT_OBJECT_0; }
  void Release() { SetEvent(released_.get()); }

  bool ListFolder(std::string_view folder, const std::function<bool(const DirEntry&)>& visit) override {
    return target().ListFolder(folder, [&](const DirEntry& entry) {
      if (!held_.exchange(true)) {
        SetEvent(entered_.get());
        WaitForSingleObject(released_.get(), 30000);
      }
      return visit(entry);
    });
  }
  // FileSystem's own: the folder's identity, then the held listing above.
  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor& visit) override {
    return FileSystem::ListFolderWithIdentity(folder, admit, visit);
  }

 private:
  OwnedHandle entered_;
  OwnedHandle released_;
  std::atomic<bool> held_{false};
};

class ScanTargetDialogTest : public ::testing::Test {
 protected:
  ScanTargetDialogTest() : criteria(tree.Root(), LocalTime{2024, 5, 17}) {}
  ~ScanTargetDialogTest() override {
    if (ui_ != nullptr && !ui_->Join(0)) {
      // A test that failed half-way: end the walk and the dialog.
      criteria.cancel = 1;
      if (HWND dialog = testing::FindDialog(ui_->id(), kCaption)) EndDialog(dialog, IDCANCEL);
    }
  }

  // Opens the dialog on its own thread and returns its window.
  HWND Open(FileSystem& file_system = SystemFileSystem()) {
    if (ui_ != nullptr) {
      EXPECT_TRUE(ui_->Join());
    }
    ui_.reset();
    dialog_ = std::make_unique<ScanTargetDialog>(criteria, prompter, file_system);
    ui_ = std::make_unique<UiThread>([this] { result_ = dialog_->Run(nullptr, list); });
    HWND window = testing::WaitForDialog(ui_->id(), kCaption);
    EXPECT_NE(window, nullptr);
    return window;
  }

  // Waits for the dialog to close and returns whether it ended with OK.
  bool Result() {
    EXPECT_TRUE(ui_->Join());
    return result_;
  }

  bool StillOpen() const { return testing::FindDialog(ui_->id(), kCaption) != nullptr; }
  HWND Focus() const { return FocusOf(ui_->id()); }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const ScanItem& item : list) paths.push_back(item.path);
    return paths;
  }

  // A list the dialog has not touched, to see whether a start emptied it.
  void FillUntouchedList() {
    list.clear();
    list.push_back(ScanItem{"untouched", std::nullopt});
  }

  // The last message box asked for, once there is one more than count.
  PromptRecord NextMessage(size_t count) {
    EXPECT_TRUE(prompter.WaitForRecords(count + 1));
    const std::vector<PromptRecord> records = prompter.Records();
    return records.size() > count ? records[count] : PromptRecord{};
  }

  testing::TempTree tree;
  ScanCriteria criteria;
  FakePrompter prompter;
  ScanList list;

 private:
  std::unique_ptr<ScanTargetDialog> dialog_;
  std::unique_ptr<UiThread> ui_;
  bool result_ = false;
};

TEST_F(ScanTargetDialogTest, FillsTheScanListInWalkOrderAndEndsWithOk) {
  tree.Write(u8"a.txt", "a");
  tree.Write(u8"b.txt", "b");
  tree.Write(u8"noext", "n");
  tree.MakeFolder(u8"sub");
  tree.Write(u8"sub\\c.txt", "c");
  tree.Write(u8"sub\\c2.txt", "c");
  tree.MakeFolder(u8"sub\\deep");
  tree.Write(u8"sub\\deep\\d.txt", "d");
  tree.MakeFolder(u8".dot");
  tree.Write(u8".dot\\e.txt", "e");
  FillUntouchedList();

  HWND dialog = Open();
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_LOCATION), tree.Root());
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_NAMES), "*.*");
  EXPECT_TRUE(testing::ControlChecked(dialog, IDC_SCAN_CHECK_SUBFOLDERS));
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_STATUS), "");
  Press(dialog, IDC_SCAN_BUTTON_START);
  ASSERT_TRUE(Result());

  const std::vector<std::string> paths = Paths();
  ASSERT_EQ(paths.size(), 5u);
  EXPECT_EQ(std::set<std::string>(paths.begin(), paths.begin() + 2),
            (std::set<std::string>{tree.Path("a.txt"), tree.Path("b.txt")}));
  EXPECT_EQ(std::set<std::string>(paths.begin() + 2, paths.begin() + 4),
            (std::set<std::string>{tree.Path("sub\\c.txt"), tree.Path("sub\\c2.txt")}));
  EXPECT_EQ(paths[4], tree.Path("sub\\deep\\d.txt"));
  EXPECT_TRUE(prompter.Records().empty());
  EXPECT_EQ(criteria.running.load(), 0);
}

TEST_F(ScanTargetDialogTest, AWalkThatFindsNothingStillEndsWithOk) {
  tree.Write(u8"noext", "n");
  criteria.include_subfolders = false;
  HWND dialog = Open();
  EXPECT_FALSE(testing::ControlChecked(dialog, IDC_SCAN_CHECK_SUBFOLDERS));
  Press(dialog, IDC_SCAN_BUTTON_START);
  EXPECT_TRUE(Result());
  EXPECT_TRUE(list.empty());
}

TEST_F(ScanTargetDialogTest, AnEmptyNameFieldSearchesEveryNameWithADotAndKeepsIt) {
  tree.Write(u8"a.txt", "a");
  tree.Write(u8"noext", "n");
  HWND dialog = Open();
  testing::SetControlText(dialog, IDC_SCAN_EDIT_NAMES, " \t ");
  Press(dialog, IDC_SCAN_BUTTON_START);
  ASSERT_TRUE(Result());
  EXPECT_EQ(Paths(), std::vector<std::string>{tree.Path("a.txt")});
  EXPECT_EQ(criteria.name_patterns, "*.*");

  dialog = Open();
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_NAMES), "*.*");
  Press(dialog, IDCANCEL);
  EXPECT_FALSE(Result());
}

TEST_F(ScanTargetDialogTest, RefusesAForbiddenCharacterBeforeABadLocationThenABadLocation) {
  FillUntouchedList();
  HWND dialog = Open();
  testing::SetControlText(dialog, IDC_SCAN_EDIT_NAMES, "  *.txt;a|b ");
  testing::SetControlText(dialog, IDC_SCAN_EDIT_LOCATION, tree.Path("missing"));
  Press(dialog, IDC_SCAN_BUTTON_START);

  PromptRecord message = NextMessage(0);
  EXPECT_EQ(message.text, kForbiddenPatternMessage);
  EXPECT_EQ(message.type, static_cast<UINT>(MB_OK)) << "no icon";
  EXPECT_EQ(message.owner, dialog);
  EXPECT_EQ(message.caption, "");
  EXPECT_TRUE(testing::WaitUntil([&] { return Focus() == GetDlgItem(dialog, IDC_SCAN_EDIT_NAMES); }));
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_NAMES), "*.txt;a|b") << "trimmed";
  EXPECT_TRUE(WholeTextSelected(dialog, IDC_SCAN_EDIT_NAMES));
  EXPECT_TRUE(testing::ControlEnabled(dialog, IDC_SCAN_BUTTON_START)) << "nothing started";

  testing::SetControlText(dialog, IDC_SCAN_EDIT_NAMES, "*.txt");
  Press(dialog, IDC_SCAN_BUTTON_START);
  message = NextMessage(1);
  EXPECT_EQ(message.text, kBadLocationMessage);
  EXPECT_EQ(message.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_TRUE(testing::WaitUntil([&] { return Focus() == GetDlgItem(dialog, IDC_SCAN_EDIT_LOCATION); }));
  EXPECT_TRUE(WholeTextSelected(dialog, IDC_SCAN_EDIT_LOCATION));

  tree.Write(u8"file.txt", "f");
  for (const std::string& location : {std::string(), tree.Path("file.txt")}) {
    testing::SetControlText(dialog, IDC_SCAN_EDIT_LOCATION, location);
    const size_t count = prompter.Records().size();
    Press(dialog, IDC_SCAN_BUTTON_START);
    EXPECT_EQ(NextMessage(count).text, kBadLocationMessage) << location;
  }
  EXPECT_EQ(Paths(), std::vector<std::string>{"untouched"}) << "no walk emptied the list";
  EXPECT_EQ(criteria.running.load(), 0);
  Press(dialog, IDCANCEL);
  EXPECT_FALSE(Result());
}

TEST_F(ScanTargetDialogTest, RefusesASizeFieldThatHoldsNoThirtyTwoBitNumber) {
  FillUntouchedList();
  criteria.name_patterns = "old";
  HWND dialog = Open();
  Press(dialog, IDC_SCAN_TOGGLE_MIN_SIZE);
  size_t count = 0;
  for (const std::string_view text : {"4294967296", "abc", "-1", ""}) {
    testing::SetControlText(dialog, IDC_SCAN_EDIT_MAX_SIZE, " 12 ");
    testing::SetControlText(dialog, IDC_SCAN_EDIT_MIN_SIZE, text);
    testing::SetControlText(dialog, IDC_SCAN_EDIT_NAMES, "new");
    Press(dialog, IDC_SCAN_BUTTON_START);
    const PromptRecord message = NextMessage(count++);
    EXPECT_EQ(message.text, kSizeFieldMessage) << text;
    EXPECT_EQ(message.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(testing::WaitUntil([&] { return Focus() == GetDlgItem(dialog, IDC_SCAN_EDIT_MIN_SIZE); }));
    EXPECT_TRUE(WholeTextSelected(dialog, IDC_SCAN_EDIT_MIN_SIZE));
  }
  EXPECT_EQ(criteria.maximum_size, 12u) << "read before the refused field";
  EXPECT_EQ(criteria.name_patterns, "old") << "after the refused field: kept";
  EXPECT_EQ(Paths(), std::vector<std::string>{"untouched"});

  // A toggle reads the fields back too; and a disabled size field must hold
  // a number as well.
  Press(dialog, IDC_SCAN_TOGGLE_MIN_SIZE);
  EXPECT_EQ(NextMessage(count++).text, kSizeFieldMessage);
  EXPECT_FALSE(testing::ControlEnabled(dialog, IDC_SCAN_EDIT_MIN_SIZE));
  Press(dialog, IDC_SCAN_BUTTON_START);
  EXPECT_EQ(NextMessage(count++).text, kSizeFieldMessage);

  testing::SetControlText(dialog, IDC_SCAN_EDIT_MIN_SIZE, "4294967295");
  Press(dialog, IDC_SCAN_BUTTON_START);
  EXPECT_TRUE(Result());
  EXPECT_EQ(criteria.minimum_size, 4294967295u);
  EXPECT_EQ(prompter.Records().size(), count);
}

TEST_F(ScanTargetDialogTest, TogglesEnableTheirPickersAndSizeFields) {
  criteria.end_date_enabled = true;
  criteria.maximum_size_enabled = true;
  criteria.maximum_size = 4096;
  HWND dialog = Open();
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_MAX_SIZE), "4096");
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_MIN_SIZE), "0");
  const SYSTEMTIME end = PickerTime(dialog, IDC_SCAN_DATE_END);
  EXPECT_EQ((std::vector<int>{end.wYear, end.wMonth, end.wDay}), (std::vector<int>{2024, 5, 17}));
  const SYSTEMTIME start = PickerTime(dialog, IDC_SCAN_DATE_START);
  EXPECT_EQ((std::vector<int>{start.wYear, start.wMonth, start.wDay}), (std::vector<int>{2024, 4, 17}));

  const int toggles[] = {IDC_SCAN_TOGGLE_START_DATE, IDC_SCAN_TOGGLE_END_DATE, IDC_SCAN_TOGGLE_MIN_SIZE,
                         IDC_SCAN_TOGGLE_MAX_SIZE};
  const int followers[] = {IDC_SCAN_DATE_START, IDC_SCAN_DATE_END, IDC_SCAN_EDIT_MIN_SIZE,
                           IDC_SCAN_EDIT_MAX_SIZE};
  const bool opened[] = {false, true, false, true};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(testing::ControlChecked(dialog, toggles[i]), opened[i]) << i;
    EXPECT_EQ(testing::ControlEnabled(dialog, followers[i]), opened[i]) << i;
  }
  for (int i = 0; i < 4; ++i) {
    Press(dialog, toggles[i]);
    for (int j = 0; j < 4; ++j) {
      const bool pressed = j <= i ? !opened[j] : opened[j];
      EXPECT_EQ(testing::ControlEnabled(dialog, followers[j]), pressed) << "after toggle " << i << ": " << j;
    }
  }
  EXPECT_TRUE(criteria.start_date_enabled && !criteria.end_date_enabled);
  EXPECT_TRUE(criteria.minimum_size_enabled && !criteria.maximum_size_enabled) << "read back at each toggle";
  Press(dialog, IDCANCEL);
  EXPECT_FALSE(Result());
}

TEST_F(ScanTargetDialogTest, BrowseOffersTheLocationAndWritesAChosenFolderBack) {
  tree.MakeFolder(u8"表");
  tree.Write(u8"表\\in.txt", "i");
  tree.Write(u8"out.txt", "o");
  HWND dialog = Open();
  testing::SetControlText(dialog, IDC_SCAN_EDIT_LOCATION, tree.Path("typed"));
  prompter.QueueFolder(tree.Path("表"));
  Press(dialog, IDC_SCAN_BUTTON_BROWSE);
  ASSERT_TRUE(prompter.WaitForRecords(1));
  PromptRecord chooser = prompter.Records()[0];
  EXPECT_EQ(chooser.kind, PromptRecord::Kind::kFolder);
  EXPECT_EQ(chooser.folder, tree.Path("typed")) << "the typed location is offered";
  EXPECT_EQ(chooser.text, kChooseFolderTitle);
  EXPECT_EQ(chooser.owner, dialog);
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_LOCATION), tree.Path("表"));

  Press(dialog, IDC_SCAN_BUTTON_BROWSE);  // cancelled: nothing queued
  ASSERT_TRUE(prompter.WaitForRecords(2));
  EXPECT_EQ(prompter.Records()[1].folder, tree.Path("表"));
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_LOCATION), tree.Path("表"));

  Press(dialog, IDC_SCAN_BUTTON_START);
  ASSERT_TRUE(Result());
  EXPECT_EQ(Paths(), std::vector<std::string>{tree.Path("表\\in.txt")});
}

TEST_F(ScanTargetDialogTest, CancelWhileIdleEndsWithCancelKeepingTheTypedValues) {
  FillUntouchedList();
  HWND dialog = Open();
  Press(dialog, IDC_SCAN_TOGGLE_MAX_SIZE);
  testing::SetControlText(dialog, IDC_SCAN_EDIT_MAX_SIZE, "100");
  testing::SetControlText(dialog, IDC_SCAN_EDIT_NAMES, "*.jpg");
  testing::SetControlText(dialog, IDC_SCAN_EDIT_LOCATION, "elsewhere");
  Press(dialog, IDC_SCAN_CHECK_SUBFOLDERS);
  Press(dialog, IDCANCEL);
  EXPECT_FALSE(Result());
  EXPECT_TRUE(criteria.maximum_size_enabled);
  EXPECT_EQ(criteria.maximum_size, 100u);
  EXPECT_EQ(criteria.name_patterns, "*.jpg");
  EXPECT_EQ(criteria.location, "elsewhere");
  EXPECT_FALSE(criteria.include_subfolders);
  EXPECT_EQ(Paths(), std::vector<std::string>{"untouched"});

  dialog = Open();
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_EDIT_LOCATION), "elsewhere");
  EXPECT_TRUE(testing::ControlEnabled(dialog, IDC_SCAN_EDIT_MAX_SIZE));
  PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box
  EXPECT_FALSE(Result());
}

TEST_F(ScanTargetDialogTest, CancelDuringAWalkInterruptsItAndKeepsTheDialogOpen) {
  for (const char8_t* name : {u8"1.txt", u8"2.txt", u8"3.txt", u8"4.txt"}) tree.Write(name, "x");
  HeldFileSystem held;
  HWND dialog = Open(held);
  Press(dialog, IDC_SCAN_BUTTON_START);
  ASSERT_TRUE(held.WaitUntilHeld());

  EXPECT_EQ(criteria.running.load(), 1);
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_STATUS), tree.Root() + "\\");
  EXPECT_TRUE(testing::ControlEnabled(dialog, IDCANCEL));
  EXPECT_TRUE(testing::ControlEnabled(dialog, IDC_SCAN_STATUS));
  for (const int id : {IDC_SCAN_BUTTON_START, IDC_SCAN_BUTTON_BROWSE, IDC_SCAN_EDIT_NAMES,
                       IDC_SCAN_EDIT_LOCATION, IDC_SCAN_CHECK_SUBFOLDERS, IDC_SCAN_TOGGLE_START_DATE}) {
    EXPECT_FALSE(testing::ControlEnabled(dialog, id)) << id;
  }
  EXPECT_EQ(Focus(), GetDlgItem(dialog, IDCANCEL));

  Press(dialog, IDCANCEL);
  EXPECT_EQ(criteria.cancel.load(), 1);
  EXPECT_TRUE(StillOpen());
  held.Release();

  ASSERT_TRUE(testing::WaitUntil(
      [&] { return testing::ControlText(dialog, IDC_SCAN_STATUS) == kInterruptedNotice; }));
  EXPECT_TRUE(StillOpen());
  EXPECT_EQ(criteria.running.load(), 0);
  EXPECT_TRUE(testing::ControlEnabled(dialog, IDC_SCAN_BUTTON_START));
  EXPECT_FALSE(testing::ControlEnabled(dialog, IDC_SCAN_DATE_START)) << "by its toggle";
  EXPECT_EQ(list.size(), 1u) << "the walk ended after the entry it was on";

  Press(dialog, IDCANCEL);
  EXPECT_FALSE(Result());

  // The next start empties the list before it walks.
  dialog = Open();
  EXPECT_EQ(testing::ControlText(dialog, IDC_SCAN_STATUS), "") << "a new window";
  Press(dialog, IDC_SCAN_BUTTON_START);
  EXPECT_TRUE(Result());
  EXPECT_EQ(list.size(), 4u);
}

TEST_F(ScanTargetDialogTest, ADateRangeOfOneDayListsThatDaysFilesWhateverTimeThePickersHold) {
  const int64_t day = LocalSeconds(LocalTime{2023, 11, 8});
  const std::pair<const char8_t*, FileTime> files[] = {{u8"before.txt", FileTimeAt(day - 1)},
                                                       {u8"first.txt", FileTimeAt(day)},
                                                       {u8"last.txt", FileTimeAt(day + 86'399)},
                                                       {u8"after.txt", FileTimeAt(day + 86'400)}};
  for (const auto& [name, time] : files) {
    tree.Write(name, "x");
    tree.SetLastWriteTime(name, time);
  }
  HWND dialog = Open();
  Press(dialog, IDC_SCAN_TOGGLE_START_DATE);
  Press(dialog, IDC_SCAN_TOGGLE_END_DATE);
  // A time of day on the pickers is not taken: each date keeps 00:00:00.
  SYSTEMTIME picked = {2023, 11, 3, 8, 15, 30, 0, 0};
  SendDlgItemMessageW(dialog, IDC_SCAN_DATE_START, DTM_SETSYSTEMTIME, GDT_VALID,
                      reinterpret_cast<LPARAM>(&picked));
  SendDlgItemMessageW(dialog, IDC_SCAN_DATE_END, DTM_SETSYSTEMTIME, GDT_VALID,
                      reinterpret_cast<LPARAM>(&picked));
  Press(dialog, IDC_SCAN_BUTTON_START);
  ASSERT_TRUE(Result());

  const std::vector<std::string> paths = Paths();
  EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()),
            (std::set<std::string>{tree.Path("first.txt"), tree.Path("last.txt")}));
  EXPECT_EQ(criteria.start_date, (LocalTime{2023, 11, 8, 0, 0, 0, 0}));
  EXPECT_EQ(criteria.end_date, (LocalTime{2023, 11, 8, 0, 0, 0, 0}));
}

BOOL CALLBACK MatchChooser(HWND window, LPARAM param) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (std::wstring_view(class_name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// The shell's chooser of the thread, whatever its caption.
HWND WaitForChooser(DWORD thread) {
  HWND found = nullptr;
  testing::WaitUntil([&] {
    EnumThreadWindows(thread, &MatchChooser, reinterpret_cast<LPARAM>(&found));
    return found != nullptr;
  });
  return found;
}

BOOL CALLBACK TakeFolderTree(HWND window, LPARAM param) {
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  if (std::wstring_view(class_name) != L"SysTreeView32") return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// The name of the folder selected in the chooser's folder tree.
std::wstring SelectedFolderName(HWND chooser) {
  HWND tree = nullptr;
  EnumChildWindows(chooser, &TakeFolderTree, reinterpret_cast<LPARAM>(&tree));
  if (tree == nullptr) return {};
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (item.hItem == nullptr || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
    return {};
  return text;
}

std::wstring LastComponent(const std::wstring& path) {
  const size_t separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

class ChooseFolderTest : public ::testing::Test {
 protected:
  // Opens the chooser on its own thread with path preselected, then closes
  // it with the button id once OK is enabled; returns what ChooseFolder did.
  bool ChooseAndClose(std::string& path, int button) {
    const std::wstring expected_selection = LastComponent(Cp932ToWide(path));
    bool chosen = false;
    UiThread ui([&] {
      OleInitialize(nullptr);
      chosen = ChooseFolder(nullptr, path, kChooseFolderTitle, nullptr);
      OleUninitialize();
    });
    HWND chooser = WaitForChooser(ui.id());
    EXPECT_NE(chooser, nullptr);
    if (chooser != nullptr) {
      EXPECT_TRUE(testing::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(chooser, IDOK)) != 0; }, 30000));
      // The preselection lands in the folder tree a moment after the
      // chooser opens (on a loaded machine, seconds after): wait for it
      // before pressing the button.
      EXPECT_TRUE(
          testing::WaitUntil([&] { return SelectedFolderName(chooser) == expected_selection; }, 30000))
          << "the preselected folder never showed in the chooser";
      PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    EXPECT_TRUE(ui.Join());
    return chosen;
  }

  testing::TempTree tree;
};

TEST_F(ChooseFolderTest, PreselectsTheGivenFolderAndReturnsItOnOk) {
  tree.MakeFolder(u8"表");
  std::string path = tree.Path("表");
  ASSERT_TRUE(ChooseAndClose(path, IDOK));
  EXPECT_TRUE(EqualFolded(path, tree.Path("表"))) << path;
}

TEST_F(ChooseFolderTest, CancelLeavesThePathUntouched) {
  tree.MakeFolder(u8"sub");
  std::string path = tree.Path("sub");
  EXPECT_FALSE(ChooseAndClose(path, IDCANCEL));
  EXPECT_EQ(path, tree.Path("sub"));
}

}  // namespace
}  // namespace twinseek
