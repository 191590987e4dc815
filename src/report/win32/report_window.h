// The report window: a modal, resizable dialog that shows one long text (a
// scan's error log, comparison results, the tree report) in a read-only text
// box, saves that text to a file the user picks ("ファイルに保存(&S)"; the
// window stays open) and ends with "閉じる".
//
// The window keeps its own copy of the text: what is saved is always the text
// handed to Run, byte for byte, whatever the box shows. On a platform whose
// text box holds at most kCapacityLimit bytes a longer text is first offered
// for saving, and once saved the window ends without being shown; the file
// may then be opened with its associated application.
//
// Every message box and save dialog goes through the Prompter. A failure to
// create or to write the file is told to the user; the window stays open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/win32/window_layout.h"
#include "base/file_system.h"
#include "base/win32/dialog.h"
#include "base/win32/prompter.h"
#include "report/win32/read_only_text_box.h"

namespace twinseek {

class ReportWindow final : public Dialog {
 public:
  // Asks the system whether its text box is capacity-limited.
  ReportWindow(Prompter& prompter, FileSystem& file_system);
  // Behaves as on a platform that is (or is not) capacity-limited.
  ReportWindow(Prompter& prompter, FileSystem& file_system, bool capacity_limited);

  // Shows text (code page 932, "\r\n" line breaks) modally, owned by owner
  // (may be null), on the calling thread, which may be a worker's: returns
  // once the window has ended. Each run starts afresh.
  void Run(HWND owner, std::string_view text);

 private:
  bool OnInit() override;
  bool OnButton(int id) override;
  void OnSize() override;
  void OnSizing(RECT& proposed) override;
  void OnSave();
  // The text too large to show: offers to save it and to open the file.
  // True when it was saved (the window is then to end unseen).
  bool SaveInsteadOfShowing();
  bool CapacityLimited() const;

  Prompter& prompter_;
  FileSystem& file_system_;
  std::optional<bool> capacity_limited_;  // nothing: ask the system

  std::string text_;
  std::optional<ReadOnlyTextBox> text_box_;
  std::optional<WindowLayout> layout_;
};

// Whether the system's text box is capacity-limited: every platform that is
// not of the NT family (or does not say which it is).
bool IsCapacityLimitedPlatform();

}  // namespace twinseek
