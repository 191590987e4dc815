// The program's prompt routine: every message box, save-file dialog, folder
// chooser and report window of the program goes through one Prompter, so the
// Windows tests can answer them (a fake records what was asked and answers
// from a script) while the program shows the real ones.
//
// All texts are code page 932. A Prompter may be called from any thread: the
// workers show their closing messages and the report window themselves,
// owned by the main window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/user_prompt.h"

namespace twinseek {

// A save-file dialog: the initial file name, the extension added to a name
// typed without one, and the filter in the "TEXT(*.TXT)|*.TXT|ALL(*.*)|*.*||"
// form (description and pattern pairs separated by "|"). The dialog always
// asks before overwriting an existing file and has no read-only box.
struct SaveFileRequest {
  std::string initial_name;
  std::string default_extension;
  std::string filter;
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A message box owned by owner (may be null) with MessageBox's type flags
  // (buttons and icon). An empty caption stands for the application title.
  // Returns the button pressed (IDOK, IDYES, IDNO, ...).
  virtual int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) = 0;

  // The save-file dialog; the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseSaveFile(HWND owner, const SaveFileRequest& request) = 0;

  // The folder chooser: path holds the folder to preselect and receives the
  // chosen one; title is the text above the folder tree. False, with path
  // untouched, when the user cancels or the choice is no file-system folder.
  virtual bool ChooseFolder(HWND owner, std::string& path, std::string_view title) = 0;

  // The modal report window showing text, owned by owner; returns once the
  // user has closed it.
  virtual void ShowReport(HWND owner, std::string_view text) = 0;
};

// The core's UserPrompt over a Prompter, for one owner window: questions and
// notices become message boxes with the application title, reports the
// report window.
class OwnedUserPrompt final : public UserPrompt {
 public:
  OwnedUserPrompt(Prompter& prompter, HWND owner) : prompter_(prompter), owner_(owner) {}

  MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageIcon icon) override;
  void ShowReport(std::string_view text) override;

 private:
  Prompter& prompter_;
  HWND owner_;
};

// MessageBox's type flags for the core's buttons and icon.
UINT MessageBoxType(MessageButtons buttons, MessageIcon icon);

}  // namespace twinseek
