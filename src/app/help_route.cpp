#include "app/help_route.h"

namespace twinseek {

bool StartHelp(const HelpFiles& files, const std::function<bool(HelpViewer)>& open) {
  if (files.help_file && open(HelpViewer::kHelpFile)) return true;
  return files.manual && open(HelpViewer::kManual);
}

}  // namespace twinseek
