// What to scan, and the walk that lists it: the criteria of the scan target
// dialog, the request the enumeration worker builds from them, and the walk
// of one folder (and, if asked, its subfolders) that appends the full path of
// every matching file to the scan list.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "scan/scan_list.h"

namespace twinseek {

// A local date and time as a count of seconds since 1601-01-01 00:00:00 of
// the local calendar (no offset applied); milliseconds are cut.
int64_t LocalSeconds(const LocalTime& time);
// The local date and time of such a count (0 for a negative one).
LocalTime FromLocalSeconds(int64_t seconds);

// The end bound of a date range is the last second of the end day.
inline constexpr int64_t kLastSecondOfDay = 86'399;
// The start date first offered: 30 days before today.
inline constexpr int64_t kInitialStartDateDistance = 2'592'000;

// The fields of the scan target dialog. They live as long as the main window,
// so what the user typed is offered again the next time; they are never
// saved.
struct ScanCriteria {
  // The location offered at first (the process's current folder when the
  // main window is created), and today's date, whose time of day is ignored:
  // the end date is today at 00:00:00, the start date 30 days earlier.
  ScanCriteria(std::string initial_location, const LocalTime& today);
  ScanCriteria(const ScanCriteria&) = delete;
  ScanCriteria& operator=(const ScanCriteria&) = delete;

  std::atomic<int> cancel{0};   // 1 asks the walk to stop
  std::atomic<int> running{0};  // 1 while the walk runs
  ScanList* output = nullptr;   // the scan list; set before each use
  bool start_date_enabled = false;
  bool end_date_enabled = false;
  bool maximum_size_enabled = false;
  bool minimum_size_enabled = false;
  uint32_t maximum_size = 0;  // bytes
  uint32_t minimum_size = 0;  // bytes
  std::string name_patterns = "*.*";
  std::string location;
  bool include_subfolders = true;
  LocalTime start_date;  // whole seconds, 00:00:00
  LocalTime end_date;    // whole seconds, 00:00:00
};

// Shows the folder whose walk begins (the dialog's status line).
using StatusLine = std::function<void(const std::string& location)>;
// True while the Escape key is down.
using EscapeProbe = std::function<bool()>;

// One folder to walk. Each subfolder gets its own copy with its own location;
// the output list and the cancel flag are shared by all levels.
struct EnumerationRequest {
  StatusLine show_status;  // may be empty
  ScanList& output;
  std::string location;
  std::string name_patterns;
  const std::atomic<int>& cancel;
  bool include_subfolders = false;
  bool start_date_enabled = false;
  bool end_date_enabled = false;
  int64_t start_bound = 0;  // LocalSeconds, inclusive
  int64_t end_bound = 0;    // LocalSeconds, inclusive
  uint32_t maximum_size = 0;
  uint32_t minimum_size = 0;
  bool maximum_size_enabled = false;
  bool minimum_size_enabled = false;
};

// The request of a walk: everything copied from the criteria, whose output
// list must be set; the end bound is the last second of the end day.
EnumerationRequest MakeEnumerationRequest(ScanCriteria& criteria, StatusLine show_status);

// The identities of the folders one walk has entered, so that it enters
// none twice.
class EnteredFolders {
 public:
  // True the first time a folder is met. An index of 0 tells nothing (some
  // network file systems give it to every file): such a folder is entered.
  bool Enter(const FileIdentity& folder);

 private:
  std::set<FileIdentity> identities_;
};

// Walks one folder:
// 1. A backslash is appended to the location unless its last character (a
//    whole character) is one; the status line shows the result.
// 2. The name patterns are split at ";" (SplitPatterns) and upper-cased.
// 3. Files of the folder, in the order of the listing: a file passes when its
//    upper-cased long name matches one of the patterns, its last-write time in
//    local time (whole seconds) lies within the enabled date bounds, and its
//    size within the enabled size bounds (all bounds inclusive); a file that
//    passes is appended as the location followed by its name, with the
//    entry the listing gave (the detection run does not read it again). A
//    file whose name code page 932 cannot hold is tested and appended by the
//    name shown for it, its entry marked so: the detection run reports it
//    instead of reading it.
//    After each entry the listing ends when the cancel flag is set or
//    escape_down (may be empty) says the Escape key is down.
// 4. With include subfolders, every folder of the listing whose name does not
//    begin with "." is walked in turn, depth first, by a copy of the request;
//    after each one the walk ends when the cancel flag is set. A subfolder
//    whose name cannot be held is not entered but appended like such a file,
//    for the detection run to report.
// The walk enters no folder twice: a folder whose identity (that of the
// folder actually opened, a link's or junction's target) was entered before
// in this walk is skipped, files and subfolders, so links to a folder above
// end instead of walking in a circle.
// A folder that cannot be listed adds nothing and reports nothing.
void EnumerateFolder(const EnumerationRequest& request, FileSystem& file_system,
                     const EscapeProbe& escape_down);

}  // namespace twinseek
