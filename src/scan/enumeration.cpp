#include "scan/enumeration.h"

#include <optional>
#include <utility>

#include "base/cp932.h"
#include "base/path_text.h"
#include "scan/wildcard.h"

namespace twinseek {

namespace {

constexpr int64_t kSecondsPerDay = 86'400;
constexpr int64_t kDaysFrom1601To1970 = 134'774;
constexpr int64_t kTicksPerSecond = 10'000'000;

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's
// days_from_civil).
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t year_of_era = year - era * 400;
  const int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146'097 + day_of_era - 719'468;
}

// The tests a file of the listing must pass, prepared once per folder.
class FileFilter {
 public:
  explicit FileFilter(const EnumerationRequest& request) : request_(request) {
    patterns_ = SplitPatterns(request.name_patterns);
    for (std::string& pattern : patterns_) UpperCaseInPlace(pattern);
  }

  // A file whose name cannot be held is tested by the name shown for it.
  bool Passes(const DirEntry& entry) const {
    if (entry.IsDirectory()) return false;
    return NameMatches(entry.name) && DateWithin(entry.last_write_time) && SizeWithin(entry.size);
  }

 private:
  bool NameMatches(std::string_view name) const {
    const std::string upper = UpperCase(name);
    for (const std::string& pattern : patterns_) {
      if (MatchWildcard(pattern, upper)) return true;
    }
    return false;
  }

  bool DateWithin(FileTime last_write_time) const {
    if (!request_.start_date_enabled && !request_.end_date_enabled) return true;
    const int64_t local = LocalSeconds(ToLocalTime(last_write_time));
    if (request_.start_date_enabled && local < request_.start_bound) return false;
    if (request_.end_date_enabled && local > request_.end_bound) return false;
    return true;
  }

  bool SizeWithin(uint64_t size) const {
    if (request_.minimum_size_enabled && size < request_.minimum_size) return false;
    if (request_.maximum_size_enabled && size > request_.maximum_size) return false;
    return true;
  }

  const EnumerationRequest& request_;
  std::vector<std::string> patterns_;
};

bool Cancelled(const EnumerationRequest& request) { return request.cancel.load() != 0; }

// The subfolders a walk turns to: those whose names do not begin with ".".
bool IsSubfolder(const DirEntry& entry) { return entry.IsDirectory() && !entry.name.starts_with('.'); }

// What listing one folder found out.
struct FolderListing {
  bool entered = false;  // false: no listing, or a folder entered before
  // The subfolders to turn to, in the order of the listing; nothing when the
  // listing ended early (cancel, Escape), so they are asked again.
  std::optional<std::vector<DirEntry>> subfolders;
};

// Lists the files of a folder. The subfolders are gathered on the way: when
// the listing runs to its end they are the ones a second listing would give,
// and that listing is spared.
FolderListing ListFiles(const EnumerationRequest& request, const std::string& location,
                        FileSystem& file_system, const EscapeProbe& escape_down, EnteredFolders& entered) {
  const FileFilter filter(request);
  std::vector<DirEntry> subfolders;
  bool refused = false;
  bool ended_early = false;
  const bool listed = file_system.ListFolderWithIdentity(
      location,
      [&](const FileIdentity& folder) {
        refused = !entered.Enter(folder);
        return !refused;
      },
      [&](const DirEntry& entry) {
        if (filter.Passes(entry)) request.output.push_back(ScanItem{location + entry.name, entry});
        if (request.include_subfolders && IsSubfolder(entry)) subfolders.push_back(entry);
        ended_early = Cancelled(request) || (escape_down && escape_down());
        return !ended_early;
      });
  FolderListing result;
  result.entered = listed && !refused;
  if (result.entered && !ended_early) result.subfolders = std::move(subfolders);
  return result;
}

// The subfolders to turn to, in the order of the listing. They are gathered
// before any is entered, so that only one listing is open at a time however
// deep the tree.
std::vector<DirEntry> ListSubfolders(const EnumerationRequest& request, const std::string& location,
                                     FileSystem& file_system) {
  std::vector<DirEntry> subfolders;
  file_system.ListFolder(location, [&](const DirEntry& entry) {
    if (IsSubfolder(entry)) subfolders.push_back(entry);
    return !Cancelled(request);
  });
  return subfolders;
}

}  // namespace

int64_t LocalSeconds(const LocalTime& time) {
  const int64_t days = DaysFromCivil(time.year, time.month, time.day) + kDaysFrom1601To1970;
  return days * kSecondsPerDay + time.hour * int64_t{3600} + time.minute * int64_t{60} + time.second;
}

LocalTime FromLocalSeconds(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  return CivilTime(static_cast<FileTime>(seconds) * kTicksPerSecond);
}

ScanCriteria::ScanCriteria(std::string initial_location, const LocalTime& today)
    : location(std::move(initial_location)) {
  end_date = LocalTime{today.year, today.month, today.day, 0, 0, 0, 0};
  start_date = FromLocalSeconds(LocalSeconds(end_date) - kInitialStartDateDistance);
}

EnumerationRequest MakeEnumerationRequest(ScanCriteria& criteria, StatusLine show_status) {
  return EnumerationRequest{
      .show_status = std::move(show_status),
      .output = *criteria.output,
      .location = criteria.location,
      .name_patterns = criteria.name_patterns,
      .cancel = criteria.cancel,
      .include_subfolders = criteria.include_subfolders,
      .start_date_enabled = criteria.start_date_enabled,
      .end_date_enabled = criteria.end_date_enabled,
      .start_bound = LocalSeconds(criteria.start_date),
      .end_bound = LocalSeconds(criteria.end_date) + kLastSecondOfDay,
      .maximum_size = criteria.maximum_size,
      .minimum_size = criteria.minimum_size,
      .maximum_size_enabled = criteria.maximum_size_enabled,
      .minimum_size_enabled = criteria.minimum_size_enabled,
  };
}

namespace {

void Walk(const EnumerationRequest& request, FileSystem& file_system, const EscapeProbe& escape_down,
          EnteredFolders& entered) {
  std::string location = request.location;
  if (!EndsWithSeparator(location)) location += '\\';
  if (request.show_status) request.show_status(location);

  FolderListing listing = ListFiles(request, location, file_system, escape_down, entered);
  if (!listing.entered || !request.include_subfolders) return;
  if (!listing.subfolders) listing.subfolders = ListSubfolders(request, location, file_system);

  for (const DirEntry& folder : *listing.subfolders) {
    if (folder.name_representable) {
      EnumerationRequest subfolder = request;
      subfolder.location = location + folder.name;
      Walk(subfolder, file_system, escape_down, entered);
    } else {
      // It cannot be entered by its name: the detection run reports it.
      request.output.push_back(ScanItem{location + folder.name, folder});
    }
    if (Cancelled(request)) return;
  }
}

}  // namespace

bool EnteredFolders::Enter(const FileIdentity& folder) {
  return folder.index == 0 || identities_.insert(folder).second;
}

void EnumerateFolder(const EnumerationRequest& request, FileSystem& file_system,
                     const EscapeProbe& escape_down) {
  EnteredFolders entered;
  Walk(request, file_system, escape_down, entered);
}

}  // namespace twinseek
