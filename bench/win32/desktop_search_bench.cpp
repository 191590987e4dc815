// The desktop program's search, timed in-process: the real main window is
// opened with the scenario harness of its tests (on a thread of its own,
// every message box answered by the recording prompter), the condition boxes
// are set, and a search of FOLDER is started through the real scan target
// dialog and detection worker. The clock starts at the dialog's start button
// and stops at the completion command ("検索" enabled again); the moment the
// dialog closes (its folder walk done) is reported too. At the end every
// group must be in the tree-view control: its root items and all its items
// are counted and compared with what the caller expects.
// Usage: twinseek_desktop_search_bench [--size-only] [--groups N] [--items N]
//                                      [--timeout SECONDS] FOLDER
// Prints "seconds S listing L groups G items I"; exits 1 when the search did
// not end in time or the control does not hold what was expected.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "resources/main_window_ids.h"
#include "resources/scan_target_dialog_ids.h"
#include "support/win32/shown_tree.h"
#include "win32/app/main_window_harness.h"

namespace twinseek::testing {
namespace {

struct Options {
  bool size_only = false;
  std::optional<size_t> groups;
  std::optional<size_t> items;
  DWORD timeout_ms = 3'600'000;
  std::string folder;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool has_value = i + 1 < argc;
    if (argument == "--size-only") {
      options.size_only = true;
    } else if (argument == "--groups" && has_value) {
      options.groups = std::strtoull(argv[++i], nullptr, 10);
    } else if (argument == "--items" && has_value) {
      options.items = std::strtoull(argv[++i], nullptr, 10);
    } else if (argument == "--timeout" && has_value) {
      options.timeout_ms = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10) * 1000);
    } else if (!argument.starts_with("--") && options.folder.empty()) {
      options.folder = argument;
    } else {
      return std::nullopt;
    }
  }
  if (options.folder.empty()) return std::nullopt;
  return options;
}

class Clock {
 public:
  Clock() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  double Seconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_;
  LARGE_INTEGER start_;
};

void SetCheck(HWND window, int id, bool checked) {
  SendDlgItemMessageW(window, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Run(const Options& options) {
  MainWindowHarness window;
  if (window.window() == nullptr) {
    std::fprintf(stderr, "the main window did not open\n");
    return 1;
  }
  for (const int id : {IDC_MAIN_CHECK_NAME, IDC_MAIN_CHECK_EXTENSION, IDC_MAIN_CHECK_CRC}) {
    SetCheck(window.window(), id, false);
  }
  SetCheck(window.window(), IDC_MAIN_CHECK_SIZE, true);
  SetCheck(window.window(), IDC_MAIN_CHECK_DATE, !options.size_only);

  const size_t asked = window.prompter().Records().size();
  PostCommand(window.window(), IDC_MAIN_BUTTON_SEARCH);
  HWND dialog = WaitForDialog(window.thread(), "Twinseek 対象の選択");
  if (dialog == nullptr) {
    std::fprintf(stderr, "the scan target dialog did not open\n");
    return 1;
  }
  SetControlText(dialog, IDC_SCAN_EDIT_LOCATION, options.folder);
  const Clock clock;
  Click(dialog, IDC_SCAN_BUTTON_START);
  if (!WaitUntil([&] { return !IsWindow(dialog); }, options.timeout_ms)) {
    std::fprintf(stderr, "the folder walk did not end within the time allowed\n");
    return 1;
  }
  const double listing = clock.Seconds();
  // "検索" is enabled also between the dialog's end and the worker's start:
  // the closing message comes first, the completion command after it.
  if (!window.WaitForClosingMessage(asked, options.timeout_ms) || !window.WaitUntilIdle(options.timeout_ms)) {
    std::fprintf(stderr, "the search did not end within the time allowed\n");
    return 1;
  }
  const double seconds = clock.Seconds();

  const ShownTree tree(GetDlgItem(window.window(), IDC_MAIN_TREE));
  size_t groups = 0;
  for (HTREEITEM group = tree.FirstGroup(); group != nullptr; group = tree.Next(group)) ++groups;
  const size_t items = tree.Count();
  std::printf("seconds %.3f listing %.3f groups %zu items %zu\n", seconds, listing, groups, items);
  bool complete = true;
  if (options.groups && *options.groups != groups) {
    std::fprintf(stderr, "the control holds %zu groups, expected %zu\n", groups, *options.groups);
    complete = false;
  }
  if (options.items && *options.items != items) {
    std::fprintf(stderr, "the control holds %zu items, expected %zu\n", items, *options.items);
    complete = false;
  }
  return complete ? 0 : 1;
}

}  // namespace
}  // namespace twinseek::testing

int main(int argc, char** argv) {
  const std::optional<twinseek::testing::Options> options = twinseek::testing::ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: twinseek_desktop_search_bench [--size-only] [--groups N] [--items N] "
                 "[--timeout SECONDS] FOLDER\n");
    return 2;
  }
  return twinseek::testing::Run(*options);
}
