// Which viewer the help commands try, in which order, and when the failure
// message is due: over every combination of the files that exist and the
// viewers that start.
#include "app/help_route.h"

#include <gtest/gtest.h>

#include <vector>

namespace twinseek {
namespace {

using enum HelpViewer;

struct Row {
  bool help_file;   // <program>.HLP exists
  bool manual;      // <program>.html exists
  bool winhelp_ok;  // WinHelp starts the help file
  bool shell_ok;    // the shell opens the manual
  std::vector<HelpViewer> tried;
  bool started;
};

TEST(StartHelpTest, TriesTheHelpFileThenTheManualAndFailsOnlyWhenNeitherStarts) {
  const Row rows[] = {
      // Neither file: nothing is tried, the failure message is due.
      {false, false, true, true, {}, false},
      // The help file alone.
      {true, false, true, true, {kHelpFile}, true},
      {true, false, false, true, {kHelpFile}, false},
      // The manual alone.
      {false, true, true, true, {kManual}, true},
      {false, true, true, false, {kManual}, false},
      // Both: the help file wins; the manual only when WinHelp fails.
      {true, true, true, true, {kHelpFile}, true},
      {true, true, true, false, {kHelpFile}, true},
      {true, true, false, true, {kHelpFile, kManual}, true},
      {true, true, false, false, {kHelpFile, kManual}, false},
  };
  for (const Row& row : rows) {
    std::vector<HelpViewer> tried;
    const bool started = StartHelp({row.help_file, row.manual}, [&](HelpViewer viewer) {
      tried.push_back(viewer);
      return viewer == kHelpFile ? row.winhelp_ok : row.shell_ok;
    });
    const auto where = ::testing::Message() << "help file " << row.help_file << ", manual " << row.manual
                                            << ", winhelp " << row.winhelp_ok << ", shell " << row.shell_ok;
    EXPECT_EQ(tried, row.tried) << where;
    EXPECT_EQ(started, row.started) << where;
  }
}

}  // namespace
}  // namespace twinseek
