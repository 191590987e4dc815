// The two ways the help commands open help: WinHelp for the help file, and
// the shell for the manual page. An interface, so the scenario tests can see
// which was asked for, with what, without starting a viewer; the program
// uses SystemHelpLauncher. Paths are code page 932.
#pragma once

#include <windows.h>

#include <string_view>

namespace twinseek {

class HelpLauncher {
 public:
  virtual ~HelpLauncher() = default;

  // WinHelp for the help file at path, owned by owner, with WinHelp's command
  // and data (HELP_FINDER and 0 for the contents, HELP_CONTEXTPOPUP and a
  // control's identifier for F1). False when WinHelp reports failure.
  virtual bool ShowHelpFile(HWND owner, std::string_view path, UINT command, ULONG_PTR data) = 0;

  // The manual page at path opened with its associated program (the shell's
  // "open", shown normally), owned by owner. False when the shell reports
  // failure (a result of 32 or less).
  virtual bool OpenManual(HWND owner, std::string_view path) = 0;
};

// WinHelpW and ShellExecuteW.
HelpLauncher& SystemHelpLauncher();

}  // namespace twinseek
