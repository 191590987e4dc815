// The main window's life: opening, layout, minimised painting, closing and
// teardown, and the messages that are no command.
#include "app/win32/main_window.h"

#include <algorithm>
#include <optional>

#include "base/win32/dialog_controls.h"
#include "base/win32/wide_text.h"
#include "resources/main_window_ids.h"
#include "resources/resource_ids.h"

namespace twinseek {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// The process's current folder, the location the scan target dialog offers
// first.
std::string CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return {};
  return WideToCp932(std::wstring_view(folder, length)).value_or(std::string());
}

LocalTime Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, 0, 0, 0, 0};
}

}  // namespace

MainWindow::MainWindow(const MainWindowSetup& setup)
    : Dialog(IDD_MAIN_WINDOW, &prompter_),
      prompter_(setup.prompter, view_),
      setup_{.load_limit_kb = setup.load_limit_kb,
             .help_path = setup.help_path,
             .prompter = prompter_,
             .file_system = setup.file_system,
             .plugin_loader = setup.plugin_loader,
             .manual_path = setup.manual_path,
             .help_launcher = setup.help_launcher},
      criteria_(CurrentFolder(), Today()) {
  criteria_.output = &job_.scan_list;
}

MainWindow::~MainWindow() {
  worker_.reset();
  compare_worker_.reset();
  index_.Clear();
  plugins_.UnloadAll();
}

void MainWindow::Run() { Dialog::Run(nullptr); }

bool MainWindow::OnCommand(int id, int) {
  const bool handled = RouteCommand(id);
  SyncView();
  return handled;
}

std::optional<INT_PTR> MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_INITMENUPOPUP:
      ApplyMenuRules(reinterpret_cast<HMENU>(wparam));
      return std::nullopt;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_PAINT:
      return OnPaintMinimised() ? std::optional<INT_PTR>(0) : std::nullopt;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(icon_);
    case WM_HELP:
      Help(HELP_CONTEXTPOPUP, static_cast<DWORD_PTR>(reinterpret_cast<const HELPINFO*>(lparam)->iCtrlId));
      return TRUE;
    case WM_DESTROY:
      file_info_.Destroy();
      return std::nullopt;
    case kFileInfoStateMessage:
      OnFileInfoState(wparam);
      return 0;
    default:
      return std::nullopt;
  }
}

// The window ends at once: a running worker is asked to stop, and the
// teardown waits for it.
void MainWindow::OnFault() { job_.cancel = 1; }

bool MainWindow::OnInit() {
  icon_ = static_cast<HICON>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_TWINSEEK), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  SendMessageW(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  view_ = std::make_unique<ResultTreeView>(Control(IDC_MAIN_TREE), tree_);
  LoadPlugins();
  conditions_ = DefaultConditions();
  PutConditions();
  layout_.Init(window());
  layout_.Add(Control(IDC_MAIN_TREE), kAnchorStretchWidth | kAnchorStretchHeight);
  for (int id : {IDC_MAIN_BUTTON_MARK_NONE, IDC_MAIN_BUTTON_MARK_DUPLICATE, IDC_MAIN_BUTTON_MARK_UNIQUE,
                 IDC_MAIN_BUTTON_MARK_DELETE}) {
    layout_.Add(Control(id), kAnchorFollowBottom);
  }
  for (int id : {IDC_MAIN_BUTTON_OPEN, IDC_MAIN_BUTTON_FULL_COMPARE, IDC_MAIN_BUTTON_QUIT}) {
    layout_.Add(Control(id), kAnchorFollowRight | kAnchorFollowBottom);
  }
  selection_ = SelectionKind::kNothing;
  UpdateControls();
  UpdateMenuBar();
  if (file_info_.Create(window())) PlaceBeside(file_info_.window());
  SetUpTreeImages();
  EnableConditions(true);
  UpdateControls();
  return true;  // the default focus
}

void MainWindow::SetUpTreeImages() {
  tree_images_.reset(ImageList_LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_MARK_IMAGES), MARK_IMAGE_SIZE, 0,
                                          RGB(255, 255, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
  SendMessageW(Control(IDC_MAIN_TREE), TVM_SETIMAGELIST, TVSIL_NORMAL,
               reinterpret_cast<LPARAM>(tree_images_.get()));
}

// Puts a window of ours beside the main window: at its right edge when it
// fits on the screen there, else at its left edge.
void MainWindow::PlaceBeside(HWND other) {
  RECT main{};
  RECT rect{};
  RECT screen{};
  GetWindowRect(window(), &main);
  GetWindowRect(other, &rect);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  const int width = rect.right - rect.left;
  int x = main.right;
  if (x + width > screen.right)
    x = std::max(static_cast<int>(screen.left), static_cast<int>(main.left) - width);
  SetWindowPos(other, nullptr, x, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SyncView() {
  if (view_) view_->Sync();
}

void MainWindow::OnSize() { layout_.Reposition(); }

void MainWindow::OnSizing(RECT& proposed) { layout_.ClampSize(proposed); }

// A minimised window shows the icon centred in its client area.
bool MainWindow::OnPaintMinimised() {
  if (!IsIconic(window())) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window(), &paint);
  SendMessageW(window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window(), &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(window(), &paint);
  return true;
}

// The close box, the system menu and Alt+F4: while a worker runs they only
// ask it to stop; otherwise the default course ends in the cancel command.
bool MainWindow::OnClose() {
  if (DecideClose(State()) == CloseAction::kRequestCancel) {
    job_.cancel = 1;
    return true;
  }
  return false;
}

}  // namespace twinseek
