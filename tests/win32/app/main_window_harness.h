// The real main window opened in the test process: it runs modally on a
// thread of its own, with a prompt routine that records and answers every
// message box and report, and a file system that can hold the detection
// worker on one path so a test can act while a scan runs. The test thread
// drives the window with real messages.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/main_window.h"
#include "base/file_system_wrapper.h"
#include "support/win32/fake_prompter.h"
#include "support/win32/ui_driver.h"

namespace twinseek::testing {

// The system's file system, except that reading the entry of one chosen
// path, or opening it for reading, waits until the test opens the gate.
class GatedFileSystem final : public FileSystemWrapper {
 public:
  // From now on, GetEntry(path) and OpenRead(path) wait at the gate.
  void CloseGate(std::string path);
  // True once a reader waits at the gate (waits up to 30 s).
  bool WaitForReader();
  void OpenGate();

  std::optional<DirEntry> GetEntry(std::string_view path) override;
  std::unique_ptr<FileReader> OpenRead(std::string_view path) override;

 private:
  void WaitAtGate(std::string_view path);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::string gated_path_;
  bool closed_ = false;
  bool reader_waiting_ = false;
};

// Where the window looks for its help, and what opens it (null: WinHelp and
// the shell themselves).
struct HarnessHelp {
  std::string help_path = "twinseek.HLP";
  std::string manual_path;
  HelpLauncher* launcher = nullptr;
};

// Loads no comparator plug-in: the condition boxes keep their captions.
PluginLoader& NoPluginLoader();

class MainWindowHarness {
 public:
  // Opens the window, whose plug-ins plugin_loader loads and whose help is
  // help, and waits until it shows.
  explicit MainWindowHarness(PluginLoader& plugin_loader = NoPluginLoader(), HarnessHelp help = {});
  // Stops a running worker, closes the window if it is still open, and
  // waits for its thread.
  ~MainWindowHarness();
  MainWindowHarness(const MainWindowHarness&) = delete;
  MainWindowHarness& operator=(const MainWindowHarness&) = delete;

  HWND window() const { return window_; }
  DWORD thread() const { return ui_->id(); }
  FakePrompter& prompter() { return prompter_; }
  GatedFileSystem& file_system() { return file_system_; }

  // Searches folder through the scan target dialog (every other field as it
  // stands) and waits until the scan has ended. False when the dialog did
  // not close or the scan did not end.
  bool Search(std::string_view folder);
  // Drops the paths on the window (a real WM_DROPFILES, posted).
  void Drop(const std::vector<std::string>& paths);
  // Waits until a scan's closing message comes after the first asked
  // records of the prompter.
  bool WaitForClosingMessage(size_t asked, DWORD timeout_ms = 60000);
  // Waits until no worker runs and the window has taken the completion
  // command ("検索" enabled again).
  bool WaitUntilIdle(DWORD timeout_ms = 60000);
  // Waits until a worker runs ("検索" disabled).
  bool WaitUntilRunning(DWORD timeout_ms = 30000);
  // True once the window has closed and its thread ended.
  bool WaitUntilClosed(DWORD timeout_ms = 30000);

  std::string Text(int id) const { return ControlText(window_, id); }
  bool Enabled(int id) const { return ControlEnabled(window_, id); }
  bool Checked(int id) const { return ControlChecked(window_, id); }
  // The tree's nodes as "group text" and "  file text" lines, in order, with
  // each node's mark after a "#".
  std::vector<std::string> TreeLines() const;

 private:
  FakePrompter prompter_;
  GatedFileSystem file_system_;
  std::unique_ptr<UiThread> ui_;
  HWND window_ = nullptr;
  bool closed_ = false;
};

}  // namespace twinseek::testing
