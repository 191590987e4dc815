// The file information window under Wine: the real window from the program's
// resources, created on the test's own thread beside a hidden owner window
// that records what the window tells it, showing real files on disk.
#include "report/win32/file_info_window.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "report/file_info_text.h"
#include "resources/file_info_window_ids.h"
#include "base/file_system_wrapper.h"
#include "support/temp_tree.h"
#include "support/win32/ui_driver.h"

namespace twinseek {
namespace {

using testing::TempTree;

constexpr std::string_view kControlMissing =
    "VellmorThumbCtlがインストールされていないため、画像を表示することはできません。";

// The system's file system, counting how often each path is opened.
class CountingFileSystem final : public FileSystemWrapper {
 public:
  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    ++opens[std::string(path)];
    return target().OpenRead(path);
  }

  std::map<std::string, int> opens;
};

// A hidden top-level window standing for the main window: it records the
// state messages the file information window sends it.
class OwnerWindow {
 public:
  OwnerWindow() {
    static const ATOM kClass = [] {
      WNDCLASSW window_class{};
      window_class.lpfnWndProc = &OwnerWindow::Procedure;
      window_class.hInstance = GetModuleHandleW(nullptr);
      window_class.lpszClassName = L"TwinseekFileInfoTestOwner";
      return RegisterClassW(&window_class);
    }();
    window_ = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(kClass)), L"owner",
                              WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~OwnerWindow() { DestroyWindow(window_); }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;

  HWND window() const { return window_; }
  const std::vector<WPARAM>& states() const { return states_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == FileInfoWindow::kFileInfoStateMessage) {
      self->states_.push_back(wparam);
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  HWND window_ = nullptr;
  std::vector<WPARAM> states_;
};

RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The hosted control's window: the window's child that is neither the
// drop-down list nor the text box; null when the control was not created.
HWND ControlWindow(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id != IDC_FILE_INFO_COMBO_PAGE && id != IDC_FILE_INFO_EDIT_TEXT) return child;
  }
  return nullptr;
}

class FileInfoWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(info_.Create(owner_.window()));
    window_ = info_.window();
  }

  HWND Pages() const { return GetDlgItem(window_, IDC_FILE_INFO_COMBO_PAGE); }
  HWND Box() const { return GetDlgItem(window_, IDC_FILE_INFO_EDIT_TEXT); }
  std::string BoxText() const { return testing::ControlText(window_, IDC_FILE_INFO_EDIT_TEXT); }

  // Picks a page in the drop-down list as the user does: the list changes
  // its selection and tells the window.
  void PickPage(int page) {
    SendMessageW(Pages(), CB_SETCURSEL, static_cast<WPARAM>(page), 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_FILE_INFO_COMBO_PAGE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Pages()));
  }
  std::string PageText(int page) {
    PickPage(page);
    return BoxText();
  }

  TempTree disk_;
  CountingFileSystem file_system_;
  OwnerWindow owner_;
  FileInfoWindow info_{file_system_};
  HWND window_ = nullptr;
};

TEST_F(FileInfoWindowTest, IsCreatedHiddenOwnedWithItsFourPagesAndTheFirstSelected) {
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(GetWindow(window_, GW_OWNER), owner_.window());
  EXPECT_EQ(testing::WindowText(window_), "ファイル情報");
  EXPECT_NE(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0) << "close box";
  EXPECT_NE(style & WS_THICKFRAME, 0) << "sizing border";

  ASSERT_EQ(SendMessageW(Pages(), CB_GETCOUNT, 0, 0), 4);
  const char* const names[] = {"属性", "テキスト", "バイナリ", "画像"};
  for (int i = 0; i < 4; ++i) {
    wchar_t name[32] = {};
    SendMessageW(Pages(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(WideToCp932(name), std::string(names[i])) << i;
  }
  EXPECT_EQ(SendMessageW(Pages(), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(FileInfoWindowTest, SizingLaysTheListAcrossTheTopAndThePageBelowIt) {
  for (const int width : {300, 500, 420}) {
    SetWindowPos(window_, nullptr, 0, 0, width, width - 90, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  RECT client{};
  GetClientRect(window_, &client);
  const RECT list = ChildRect(Pages());
  const RECT box = ChildRect(Box());
  const int field = list.bottom - list.top;
  EXPECT_EQ(list.left, 0);
  EXPECT_EQ(list.top, 0);
  EXPECT_EQ(list.right, client.right);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, field + 3);
  EXPECT_EQ(box.right, client.right);
  EXPECT_EQ(box.bottom, client.bottom);
  if (const HWND control = ControlWindow(window_)) {
    const RECT picture = ChildRect(control);
    EXPECT_TRUE(EqualRect(&picture, &box)) << "the control lies over the text box";
  }
  // However often it is laid out, the list still opens with room for every
  // page below its field.
  RECT dropped{};
  SendMessageW(Pages(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GE(dropped.bottom - dropped.top, 4 * SendMessageW(Pages(), CB_GETITEMHEIGHT, 0, 0));
}

TEST_F(FileInfoWindowTest, PagesShowTheAttributesTheTextAndTheDumpOfTheFile) {
  constexpr FileTime kWritten = 126'555'759'070'000'000;  // 2002-01-15 13:45:07 UTC
  disk_.Write(u8"短い.txt", "0123456789");
  disk_.SetLastWriteTime(u8"短い.txt", kWritten);
  const std::string path = disk_.Path("短い.txt");
  info_.ShowFile(path);

  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(Cp932ToWide(path).c_str(), GetFileExInfoStandard, &data));
  const FileTime created =
      (FileTime{data.ftCreationTime.dwHighDateTime} << 32) | data.ftCreationTime.dwLowDateTime;
  const std::string attributes = BoxText();
  EXPECT_EQ(attributes, AttributesText(10, kWritten, created, data.dwFileAttributes));
  EXPECT_EQ(attributes.rfind("[ファイルサイズ]\r\n    10 BYTES\r\n\r\n[タイムスタンプ]\r\n更新日:   ", 0),
            0u);
  EXPECT_NE(attributes.find(LocalTimeText(ToLocalTime(kWritten))), std::string::npos);

  EXPECT_EQ(PageText(1), "0123456789");
  const std::string dump = PageText(2);
  ASSERT_EQ(dump.size(), kDumpSize);
  EXPECT_EQ(dump.substr(0, kDumpLineLength),
            "0000 : 30 31 32 33 34 35 36 37 38 39 00 00 00 00 00 00 0123456789......\r\n");
  EXPECT_EQ(dump.substr(255 * kDumpLineLength, 7), "0FF0 : ");
  EXPECT_EQ(PageText(0), attributes);
  EXPECT_TRUE(IsWindowVisible(Box()) || !IsWindowVisible(window_));
}

TEST_F(FileInfoWindowTest, TheTextPageEndsAtTheFirstZeroByteAndShowsAtMost4096Bytes) {
  disk_.Write(u8"zero.bin", std::string("abc\0def", 7));
  info_.ShowFile(disk_.Path("zero.bin"));
  EXPECT_EQ(PageText(1), "abc");
  EXPECT_EQ(PageText(2).substr(0, 31), "0000 : 61 62 63 00 64 65 66 00 ");

  PickPage(1);
  disk_.Write(u8"long.txt", std::string(5'000, 'L'));
  info_.ShowFile(disk_.Path("long.txt"));
  EXPECT_EQ(BoxText(), std::string(kHeadSize, 'L')) << "the text page stays selected";
}

TEST_F(FileInfoWindowTest, SwitchingPagesReadsNothingAgain) {
  disk_.Write(u8"a.txt", "first content");
  const std::string path = disk_.Path("a.txt");
  info_.ShowFile(path);
  EXPECT_EQ(file_system_.opens[path], 1) << "read at once, whatever page is selected";

  disk_.Write(u8"a.txt", "second");
  for (const int page : {1, 2, 1, 2, 0, 3, 0, 2}) PickPage(page);
  EXPECT_EQ(file_system_.opens[path], 1);
  EXPECT_EQ(PageText(1), "first content") << "the pages show what was read";

  info_.ShowFile(path);  // a new ShowFile reads afresh
  EXPECT_EQ(file_system_.opens[path], 2);
  EXPECT_EQ(BoxText(), "second");
  EXPECT_EQ(PageText(2).substr(0, 25), "0000 : 73 65 63 6F 6E 64 ") << "the dump is built again";
}

TEST_F(FileInfoWindowTest, AnEmptyPathClearsEveryPage) {
  disk_.Write(u8"a.txt", "content");
  info_.ShowFile(disk_.Path("a.txt"));
  PickPage(1);
  ASSERT_EQ(BoxText(), "content");
  info_.ShowFile("");
  EXPECT_EQ(BoxText(), "");
  EXPECT_EQ(PageText(0), "");
  EXPECT_EQ(PageText(2), DumpText(HeadBuffer{}));

  info_.ShowFile(disk_.Path("gone.txt"));  // a file that cannot be opened
  EXPECT_EQ(BoxText(), DumpText(HeadBuffer{}));
  EXPECT_EQ(PageText(1), "");
  EXPECT_EQ(PageText(0), "");
}

TEST_F(FileInfoWindowTest, TheImagePageShowsTheControlOrSaysItIsMissing) {
  disk_.Write(u8"a.txt", "content");
  info_.SetVisible(true);
  info_.ShowFile(disk_.Path("a.txt"));
  info_.SelectPage(3);
  if (const HWND control = ControlWindow(window_)) {
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_FALSE(IsWindowVisible(Box()));
    info_.SelectPage(1);
    EXPECT_FALSE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowVisible(Box()));
    EXPECT_EQ(BoxText(), "content");
  } else {
    EXPECT_EQ(BoxText(), kControlMissing);
    EXPECT_TRUE(IsWindowVisible(Box()));
    EXPECT_EQ(PageText(1), "content") << "the other pages work";
  }
}

TEST_F(FileInfoWindowTest, ShowingTheImagePageKeepsTheKeyboardFocusWhereItWas) {
  disk_.Write(u8"a.txt", "content");
  info_.SetVisible(true);
  info_.ShowFile(disk_.Path("a.txt"));
  SetFocus(Pages());
  ASSERT_EQ(GetFocus(), Pages());
  PickPage(3);
  EXPECT_EQ(GetFocus(), Pages());
  PickPage(0);
  PickPage(3);
  EXPECT_EQ(GetFocus(), Pages());
}

TEST_F(FileInfoWindowTest, TheCloseBoxHidesTheWindowAndTellsTheOwner) {
  disk_.Write(u8"a.txt", "content");
  info_.SetVisible(true);
  info_.ShowFile(disk_.Path("a.txt"));
  PickPage(1);
  ASSERT_TRUE(IsWindowVisible(window_));
  SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(window_)) << "hidden, not destroyed";
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(owner_.states(), std::vector<WPARAM>{0});
  EXPECT_EQ(BoxText(), "content") << "the content stays";
  info_.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(owner_.states().size(), 1u);
}

TEST_F(FileInfoWindowTest, DestroyingTheWindowLeavesNothingBehind) {
  info_.Destroy();
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(info_.window(), nullptr);
  info_.ShowFile(disk_.Path("a.txt"));  // does nothing, reads nothing
  EXPECT_TRUE(file_system_.opens.empty());
}

TEST(FileInfoWindowFilesTest, ShowsAFileAnotherProgramIsWritingAndSizesPast2GiB) {
  TempTree disk;
  disk.Write(u8"log.txt", "");
  const std::string log = disk.Path("log.txt");
  const HANDLE writer =
      CreateFileW(Cp932ToWide(log).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(writer, "line 1\r\n", 8, &written, nullptr);

  OwnerWindow owner;
  FileInfoWindow info;  // the system's own files, as the program reads them
  ASSERT_TRUE(info.Create(owner.window()));
  auto box_text = [&info] { return testing::ControlText(info.window(), IDC_FILE_INFO_EDIT_TEXT); };
  info.ShowFile(log);
  EXPECT_EQ(box_text().rfind("[ファイルサイズ]\r\n    8 BYTES\r\n", 0), 0u);
  info.SelectPage(1);
  EXPECT_EQ(box_text(), "line 1\r\n");
  CloseHandle(writer);

  disk.Write(u8"large.bin", "head");
  disk.Resize(u8"large.bin", 3'221'225'472);  // sparse
  info.ShowFile(disk.Path("large.bin"));
  EXPECT_EQ(box_text(), "head");
  info.SelectPage(0);
  EXPECT_EQ(box_text().rfind("[ファイルサイズ]\r\n    3221225472 BYTES\r\n", 0), 0u);
}

}  // namespace
}  // namespace twinseek
