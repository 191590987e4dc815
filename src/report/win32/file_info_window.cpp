// The file information window's pages and its layout, and the file system
// through which it reads files by default.
#include "report/win32/file_info_window.h"

#include <algorithm>
#include <memory>

#include "base/win32/dialog_controls.h"
#include "base/win32/win32_file_system.h"
#include "resources/file_info_window_ids.h"

namespace twinseek {

namespace {

constexpr std::string_view kControlMissing =
    "VellmorThumbCtlがインストールされていないため、画像を表示することはできません。";
constexpr int kGap = 3;  // pixels between the drop-down list and the page

// The system's files, opened for reading while other programs may read and
// write them: a file another program is writing (a log) can still be shown.
FileSystem& DefaultFileSystem() {
  static const std::unique_ptr<FileSystem> file_system =
      MakeWin32FileSystem(FILE_SHARE_READ | FILE_SHARE_WRITE);
  return *file_system;
}

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

FileInfoWindow::FileInfoWindow() : FileInfoWindow(DefaultFileSystem()) {}

FileInfoWindow::FileInfoWindow(FileSystem& file_system) : Dialog(IDD_FILE_INFO_WINDOW), pages_(file_system) {}

FileInfoWindow::~FileInfoWindow() { Destroy(); }

bool FileInfoWindow::Create(HWND owner) {
  if (window() != nullptr) return true;
  owner_ = owner;
  return Dialog::Create(owner);
}

void FileInfoWindow::Destroy() { End(0); }

void FileInfoWindow::ShowFile(std::string_view path) {
  if (window() == nullptr || !text_box_ || !image_) return;
  pages_.Show(path);
  if (SelectedPage() != FileInfoPage::kImage) image_->ShowPicture({});
  ShowSelectedPage();
}

void FileInfoWindow::SetVisible(bool visible) {
  if (window() != nullptr) ShowWindow(window(), visible ? SW_SHOWNORMAL : SW_HIDE);
}

void FileInfoWindow::SelectPage(int page) {
  if (window() == nullptr) return;
  SendMessageW(Control(IDC_FILE_INFO_COMBO_PAGE), CB_SETCURSEL, static_cast<WPARAM>(page), 0);
  ShowSelectedPage();
}

// The hidden window takes no focus from its owner.
bool FileInfoWindow::OnInit() {
  const HWND pages = Control(IDC_FILE_INFO_COMBO_PAGE);
  for (const char* name : kFileInfoPageNames) AddListEntry(pages, name);
  SendMessageW(pages, CB_SETCURSEL, static_cast<WPARAM>(FileInfoPage::kAttributes), 0);
  text_box_.emplace(Control(IDC_FILE_INFO_EDIT_TEXT));
  Layout();
  image_.emplace();
  image_created_ = image_->Create(window(), ChildRect(text_box_->handle()));
  return false;
}

bool FileInfoWindow::OnCommand(int id, int code) {
  if (id != IDC_FILE_INFO_COMBO_PAGE || code != CBN_SELCHANGE) return false;
  ShowSelectedPage();
  return true;
}

void FileInfoWindow::OnSize() { Layout(); }

std::optional<INT_PTR> FileInfoWindow::OnMessage(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_SYSCOMMAND:
      if (!OnSysCommand(wparam)) return std::nullopt;
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// The close box hides the window and unticks the owner's box; the content
// stays until the next ShowFile.
bool FileInfoWindow::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != SC_CLOSE) return false;
  ShowWindow(window(), SW_HIDE);
  if (owner_ != nullptr) SendMessageW(owner_, kFileInfoStateMessage, 0, 0);
  return true;
}

// The control and the text box's filter go while their windows still exist.
void FileInfoWindow::OnDestroy() {
  image_.reset();
  image_created_ = false;
  text_box_.reset();
}

FileInfoPage FileInfoWindow::SelectedPage() const {
  if (window() == nullptr) return FileInfoPage::kAttributes;
  return static_cast<FileInfoPage>(SendMessageW(Control(IDC_FILE_INFO_COMBO_PAGE), CB_GETCURSEL, 0, 0));
}

void FileInfoWindow::ShowSelectedPage() {
  if (window() == nullptr || !text_box_ || !image_) return;
  const FileInfoPage page = SelectedPage();
  if (page == FileInfoPage::kImage) {
    ShowImagePage();
  } else {
    ShowTextPage(pages_.Text(page));
  }
  previous_page_ = page;
}

void FileInfoWindow::ShowTextPage(std::string_view text) {
  image_->Show(SW_HIDE);
  ShowWindow(text_box_->handle(), SW_SHOWNORMAL);
  text_box_->SetText(text);
}

// The control takes the place of the text box without taking the keyboard
// focus from whichever window has it.
void FileInfoWindow::ShowImagePage() {
  if (!image_created_) {
    text_box_->SetText(kControlMissing);
    ShowWindow(text_box_->handle(), SW_SHOWNOACTIVATE);
    return;
  }
  if (previous_page_ != FileInfoPage::kImage) {
    ShowWindow(text_box_->handle(), SW_HIDE);
    const HWND focus = GetFocus();
    image_->Show(SW_SHOWNOACTIVATE);
    if (focus != nullptr) SetFocus(focus);
  }
  Layout();
  if (pages_.TakePicture()) image_->ShowPicture(pages_.path());
}

void FileInfoWindow::Layout() {
  const HWND pages = Control(IDC_FILE_INFO_COMBO_PAGE);
  if (pages == nullptr || !text_box_) return;
  RECT client{};
  GetClientRect(window(), &client);
  const int width = client.right;
  const int height = client.bottom;
  RECT field{};
  GetWindowRect(pages, &field);
  const int field_height = field.bottom - field.top;
  // A drop-down list's window height is its height when open: room for every
  // page below the closed field, which alone takes the top.
  const auto items = static_cast<int>(SendMessageW(pages, CB_GETCOUNT, 0, 0));
  const auto item_height = static_cast<int>(SendMessageW(pages, CB_GETITEMHEIGHT, 0, 0));
  const int open_height = field_height + items * item_height + 2 * GetSystemMetrics(SM_CYBORDER);
  SetWindowPos(pages, nullptr, 0, 0, width, open_height, SWP_NOZORDER | SWP_NOACTIVATE);
  const int top = field_height + kGap;
  const RECT page{0, top, width, std::max(height, top)};
  SetWindowPos(text_box_->handle(), nullptr, page.left, page.top, page.right - page.left,
               page.bottom - page.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (image_) image_->Move(page);
}

}  // namespace twinseek
