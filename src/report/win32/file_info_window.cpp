// The file information window's dialog procedure, its pages and its layout,
// and the file system through which it reads files by default.
#include "report/win32/file_info_window.h"

#include <algorithm>
#include <memory>

#include "base/win32/wide_text.h"
#include "base/win32/win32_file_system.h"
#include "resources/file_info_window_ids.h"

namespace twinseek {

namespace {

constexpr int kAttributesPage = 0;
constexpr int kTextPage = 1;
constexpr int kBinaryPage = 2;
constexpr int kImagePage = 3;
constexpr const char* kPageNames[] = {"属性", "テキスト", "バイナリ", "画像"};
constexpr std::string_view kControlMissing =
    "VellmorThumbCtlがインストールされていないため、画像を表示することはできません。";
constexpr int kGap = 3;  // pixels between the drop-down list and the page

// The system's files, opened for reading while other programs may read and
// write them: a file another program is writing (a log) can still be shown.
FileSystem& DefaultFileSystem() {
  static const std::unique_ptr<FileSystem> file_system = MakeWin32FileSystem(FILE_SHARE_READ | FILE_SHARE_WRITE);
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

FileInfoWindow::FileInfoWindow(FileSystem& file_system) : file_system_(file_system) {}

FileInfoWindow::~FileInfoWindow() { Destroy(); }

bool FileInfoWindow::Create(HWND owner) {
  if (window_ != nullptr) return true;
  owner_ = owner;
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FILE_INFO_WINDOW), owner,
                     &FileInfoWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  return window_ != nullptr;
}

void FileInfoWindow::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void FileInfoWindow::ShowFile(std::string_view path) {
  content_loaded_ = false;
  dump_built_ = false;
  picture_handed_ = false;
  path_.assign(path);
  if (SelectedPage() != kImagePage && image_) image_->ShowPicture({});
  ShowSelectedPage();
}

void FileInfoWindow::SetVisible(bool visible) {
  if (window_ != nullptr) ShowWindow(window_, visible ? SW_SHOWNORMAL : SW_HIDE);
}

void FileInfoWindow::SelectPage(int page) {
  if (window_ == nullptr) return;
  SendMessageW(pages_, CB_SETCURSEL, static_cast<WPARAM>(page), 0);
  ShowSelectedPage();
}

INT_PTR CALLBACK FileInfoWindow::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    reinterpret_cast<FileInfoWindow*>(lparam)->window_ = window;
  }
  auto* self = reinterpret_cast<FileInfoWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  return self != nullptr ? self->HandleMessage(message, wparam) : FALSE;
}

INT_PTR FileInfoWindow::HandleMessage(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return FALSE;  // the hidden window takes no focus from its owner
    case WM_SIZE:
      Layout();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_SYSCOMMAND:
      if (!OnSysCommand(wparam)) return FALSE;
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, DWLP_USER, 0);
      window_ = nullptr;
      pages_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void FileInfoWindow::OnInitDialog() {
  pages_ = GetDlgItem(window_, IDC_FILE_INFO_COMBO_PAGE);
  for (const char* name : kPageNames) {
    SendMessageW(pages_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp932ToWide(name).c_str()));
  }
  SendMessageW(pages_, CB_SETCURSEL, kAttributesPage, 0);
  text_box_.emplace(GetDlgItem(window_, IDC_FILE_INFO_EDIT_TEXT));
  Layout();
  image_.emplace();
  image_created_ = image_->Create(window_, ChildRect(text_box_->handle()));
}

void FileInfoWindow::OnCommand(int id, int code) {
  if (id == IDC_FILE_INFO_COMBO_PAGE && code == CBN_SELCHANGE) ShowSelectedPage();
}

// The close box hides the window and unticks the owner's box; the content
// stays until the next ShowFile.
bool FileInfoWindow::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != SC_CLOSE) return false;
  ShowWindow(window_, SW_HIDE);
  if (owner_ != nullptr) SendMessageW(owner_, kFileInfoStateMessage, 0, 0);
  return true;
}

// The control and the text box's filter go while their windows still exist.
void FileInfoWindow::OnDestroy() {
  image_.reset();
  image_created_ = false;
  text_box_.reset();
}

int FileInfoWindow::SelectedPage() const {
  if (pages_ == nullptr) return kAttributesPage;
  return static_cast<int>(SendMessageW(pages_, CB_GETCURSEL, 0, 0));
}

void FileInfoWindow::ShowSelectedPage() {
  if (window_ == nullptr || !text_box_ || !image_) return;
  if (!content_loaded_) {
    content_loaded_ = true;
    content_ = LoadFileContent(file_system_, path_);
  }
  const int page = SelectedPage();
  switch (page) {
    case kTextPage:
      ShowTextPage(HeadText(content_.head));
      break;
    case kBinaryPage:
      if (!dump_built_) {
        dump_built_ = true;
        dump_ = DumpText(content_.head);
      }
      ShowTextPage(dump_);
      break;
    case kImagePage:
      ShowImagePage();
      break;
    default:
      ShowTextPage(content_.attributes_text);
      break;
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
  if (previous_page_ != kImagePage) {
    ShowWindow(text_box_->handle(), SW_HIDE);
    const HWND focus = GetFocus();
    image_->Show(SW_SHOWNOACTIVATE);
    if (focus != nullptr) SetFocus(focus);
  }
  Layout();
  if (!picture_handed_) {
    picture_handed_ = true;
    image_->ShowPicture(path_);
  }
}

void FileInfoWindow::Layout() {
  if (window_ == nullptr || pages_ == nullptr || !text_box_) return;
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right;
  const int height = client.bottom;
  RECT field{};
  GetWindowRect(pages_, &field);
  const int field_height = field.bottom - field.top;
  // A drop-down list's window height is its height when open: room for every
  // page below the closed field, which alone takes the top.
  const auto items = static_cast<int>(SendMessageW(pages_, CB_GETCOUNT, 0, 0));
  const auto item_height = static_cast<int>(SendMessageW(pages_, CB_GETITEMHEIGHT, 0, 0));
  const int open_height = field_height + items * item_height + 2 * GetSystemMetrics(SM_CYBORDER);
  SetWindowPos(pages_, nullptr, 0, 0, width, open_height, SWP_NOZORDER | SWP_NOACTIVATE);
  const int top = field_height + kGap;
  const RECT page{0, top, width, std::max(height, top)};
  SetWindowPos(text_box_->handle(), nullptr, page.left, page.top, page.right - page.left,
               page.bottom - page.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (image_) image_->Move(page);
}

}  // namespace twinseek
