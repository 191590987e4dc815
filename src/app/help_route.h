// How the help commands ("ヘルプ(&H)" and F1) reach the user: the help file
// beside the program (<program>.HLP) through WinHelp where that file exists;
// the manual beside the program (<program>.html) through the shell where the
// help file does not exist or WinHelp could not start it (current Windows no
// longer ships the WinHelp viewer); and the message "ﾍﾙﾌﾟの起動に失敗しました。"
// only when neither could be started.
#pragma once

#include <functional>

namespace twinseek {

enum class HelpViewer {
  kHelpFile,  // <program>.HLP with WinHelp
  kManual,    // <program>.html opened with its associated program
};

// Which of the two files lie beside the program (as files, not folders).
struct HelpFiles {
  bool help_file = false;
  bool manual = false;
};

// Tries the help file, then the manual, each only where it exists, until
// open(viewer) reports that one started. True when one started; false when
// none exists or none started, and the caller then shows the failure message.
bool StartHelp(const HelpFiles& files, const std::function<bool(HelpViewer)>& open);

}  // namespace twinseek
