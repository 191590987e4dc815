// What the user sees after resizing the main window: maximized by a double
// click on the caption, restored, and dragged larger by its border, every
// control that keeps its size (the bottom buttons that move with the edges,
// and the conditions, buttons and lines that stay) is drawn on the screen
// exactly as it was before.
#include <gtest/gtest.h>

#include <map>

#include "resources/main_window_ids.h"
#include "support/win32/window_pixels.h"
#include "win32/app/main_window_harness.h"

namespace twinseek::testing {
namespace {

// The buttons that follow the bottom edge, and every other visible control
// but the tree, the one that grows.
const int kControls[] = {IDC_MAIN_BUTTON_MARK_NONE,
                         IDC_MAIN_BUTTON_MARK_DUPLICATE,
                         IDC_MAIN_BUTTON_MARK_UNIQUE,
                         IDC_MAIN_BUTTON_MARK_DELETE,
                         IDC_MAIN_BUTTON_OPEN,
                         IDC_MAIN_BUTTON_FULL_COMPARE,
                         IDC_MAIN_BUTTON_QUIT,
                         IDC_MAIN_GROUP_CONDITIONS,
                         IDC_MAIN_CHECK_NAME,
                         IDC_MAIN_CHECK_DATE,
                         IDC_MAIN_CHECK_PLUGIN3,
                         IDC_MAIN_BUTTON_EXCLUDE_UNIQUE,
                         IDC_MAIN_BUTTON_SEARCH,
                         IDC_MAIN_BUTTON_RESET,
                         IDC_MAIN_CHECK_SHOW_INFO,
                         IDC_MAIN_LABEL_TREE,
                         IDC_MAIN_STATUS};

class MainWindowRedrawTest : public ::testing::Test {
 protected:
  // Each control as the screen shows it, once the window has painted.
  std::map<int, WindowPixels> Controls() {
    EXPECT_TRUE(WaitUntilPainted(window.window()));
    std::map<int, WindowPixels> controls;
    for (int id : kControls) controls[id] = ReadPixels(GetDlgItem(window.window(), id));
    return controls;
  }

  void ExpectSameControls(const std::map<int, WindowPixels>& before, const char* after_what) {
    const auto now = Controls();
    for (int id : kControls) {
      ASSERT_GT(before.at(id).width, 0);
      EXPECT_TRUE(now.at(id) == before.at(id)) << "control " << id << " after " << after_what;
    }
  }

  MainWindowHarness window;
};

TEST_F(MainWindowRedrawTest, EveryControlIsDrawnAfterMaximizeRestoreAndABorderDrag) {
  HWND main = window.window();
  const auto before = Controls();

  PostMessageW(main, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main) != FALSE; }));
  ExpectSameControls(before, "maximize");

  PostMessageW(main, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main) == FALSE; }));
  ExpectSameControls(before, "restore");

  DragBorder(main, 130, 70);
  ExpectSameControls(before, "a border drag");
}

}  // namespace
}  // namespace twinseek::testing
