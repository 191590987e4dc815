#include "app/win32/application.h"

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include "app/win32/main_window.h"
#include "app/win32/system_prompter.h"
#include "base/win32/wide_text.h"
#include "report/win32/image_preview_host.h"
#include "scan/settings.h"
#include "scan/win32/plugin_loader_win32.h"

namespace twinseek {
namespace {

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return WideToCp932Lossy(path);
}

}  // namespace

void InitializeCommonControls() {
  INITCOMMONCONTROLSEX controls{
      sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

// ActiveX controls are hosted through the system's atl.dll (the file
// information window's image preview). Hosting needs OLE on this thread,
// which the folder browser's new dialog style needs too.
Application::Application() {
  InitializeCommonControls();
  ole_initialised_ = SUCCEEDED(OleInitialize(nullptr));
  EnableControlHosting();
  if (FAILED(SHGetMalloc(allocator_.Receive()))) allocator_.reset();
  executable_path_ = ExecutablePath();
  title_ = ProgramTitle(executable_path_);
  settings_path_ = SettingsPath(executable_path_);
  load_limit_kb_ = ReadLoadLimit(SystemFileSystem(), settings_path_);
}

Application::~Application() {
  allocator_.reset();
  if (ole_initialised_) OleUninitialize();
}

void Application::Run() {
  SystemPrompter prompter(title_, allocator_.get(), SystemFileSystem());
  Win32PluginLoader plugin_loader;
  MainWindow window(MainWindowSetup{.load_limit_kb = load_limit_kb_,
                                    .help_path = ExecutableSibling(executable_path_, ".HLP"),
                                    .prompter = prompter,
                                    .file_system = SystemFileSystem(),
                                    .plugin_loader = plugin_loader,
                                    .manual_path = ExecutableSibling(executable_path_, ".html"),
                                    .help_launcher = nullptr});
  window.Run();
}

}  // namespace twinseek
