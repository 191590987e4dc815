#include "win32/app/main_window_harness.h"

#include <shlobj.h>

#include "app/win32/application.h"
#include "base/win32/wide_text.h"
#include "resources/main_window_ids.h"
#include "resources/scan_target_dialog_ids.h"
#include "scan/detection_run.h"
#include "support/win32/shown_tree.h"

namespace twinseek::testing {
namespace {

class NoPlugins final : public PluginLoader {
 public:
  std::unique_ptr<PluginLibrary> Load(int) override { return nullptr; }
};

}  // namespace

PluginLoader& NoPluginLoader() {
  static NoPlugins no_plugins;
  return no_plugins;
}

void GatedFileSystem::CloseGate(std::string path) {
  std::lock_guard lock(mutex_);
  gated_path_ = std::move(path);
  closed_ = true;
}

bool GatedFileSystem::WaitForReader() {
  return WaitUntil([&] {
    std::lock_guard lock(mutex_);
    return reader_waiting_;
  });
}

void GatedFileSystem::OpenGate() {
  {
    std::lock_guard lock(mutex_);
    closed_ = false;
  }
  changed_.notify_all();
}

void GatedFileSystem::WaitAtGate(std::string_view path) {
  std::unique_lock lock(mutex_);
  if (!closed_ || path != gated_path_) return;
  reader_waiting_ = true;
  changed_.wait(lock, [&] { return !closed_; });
  reader_waiting_ = false;
}

std::optional<DirEntry> GatedFileSystem::GetEntry(std::string_view path) {
  WaitAtGate(path);
  return target().GetEntry(path);
}

std::unique_ptr<FileReader> GatedFileSystem::OpenRead(std::string_view path) {
  WaitAtGate(path);
  return target().OpenRead(path);
}

MainWindowHarness::MainWindowHarness(PluginLoader& plugin_loader, HarnessHelp help) {
  InitializeCommonControls();
  ui_ = std::make_unique<UiThread>([this, &plugin_loader, help = std::move(help)] {
    OleInitialize(nullptr);
    {
      MainWindow window(MainWindowSetup{.load_limit_kb = 0,
                                        .help_path = help.help_path,
                                        .prompter = prompter_,
                                        .file_system = file_system_,
                                        .plugin_loader = plugin_loader,
                                        .manual_path = help.manual_path,
                                        .help_launcher = help.launcher});
      window.Run();
    }
    OleUninitialize();
  });
  window_ = WaitForDialog(ui_->id(), "Twinseek");
}

MainWindowHarness::~MainWindowHarness() {
  file_system_.OpenGate();
  if (window_ != nullptr && IsWindow(window_)) {
    PostCommand(window_, IDCANCEL);  // stops a worker
    WaitUntilIdle(60000);
    PostCommand(window_, IDCANCEL);  // closes
  }
  ui_->Join(60000);
}

bool MainWindowHarness::Search(std::string_view folder) {
  const size_t asked = prompter_.Records().size();
  PostCommand(window_, IDC_MAIN_BUTTON_SEARCH);
  HWND dialog = WaitForDialog(thread(), "Twinseek 対象の選択");
  if (dialog == nullptr) return false;
  SetControlText(dialog, IDC_SCAN_EDIT_LOCATION, folder);
  Click(dialog, IDC_SCAN_BUTTON_START);
  if (!WaitUntil([&] { return !IsWindow(dialog); })) return false;
  return WaitForClosingMessage(asked) && WaitUntilIdle();
}

bool MainWindowHarness::WaitForClosingMessage(size_t asked, DWORD timeout_ms) {
  return WaitUntil(
      [&] {
        const auto records = prompter_.Records();
        for (size_t i = asked; i < records.size(); ++i) {
          if (records[i].text == kNoNewDuplicatesMessage || records[i].text.starts_with("あらたに")) {
            return true;
          }
        }
        return false;
      },
      timeout_ms);
}

void MainWindowHarness::Drop(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) {
    names += Cp932ToWide(path);
    names += L'\0';
  }
  names += L'\0';
  const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  PostMessageW(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

bool MainWindowHarness::WaitUntilIdle(DWORD timeout_ms) {
  return WaitUntil([&] { return !IsWindow(window_) || Enabled(IDC_MAIN_BUTTON_SEARCH); }, timeout_ms);
}

bool MainWindowHarness::WaitUntilRunning(DWORD timeout_ms) {
  return WaitUntil([&] { return !Enabled(IDC_MAIN_BUTTON_SEARCH); }, timeout_ms);
}

bool MainWindowHarness::WaitUntilClosed(DWORD timeout_ms) { return ui_->Join(timeout_ms); }

std::vector<std::string> MainWindowHarness::TreeLines() const {
  return ShownTree(GetDlgItem(window_, IDC_MAIN_TREE)).Lines();
}

}  // namespace twinseek::testing
