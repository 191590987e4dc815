#include "base/file_system.h"

namespace twinseek {

namespace {

constexpr uint64_t kTicksPerMillisecond = 10'000;
constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kDaysFrom1601To1970 = 134'774;

// The proleptic Gregorian date of a day count from 1970-01-01
// (H. Hinnant's civil_from_days).
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719'468;
  const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const int64_t day_of_era = days - era * 146'097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

LocalTime CivilTime(FileTime time) {
  LocalTime civil;
  const uint64_t seconds = time / kTicksPerSecond;
  civil.millisecond = static_cast<int>((time / kTicksPerMillisecond) % 1000);
  civil.second = static_cast<int>(seconds % 60);
  civil.minute = static_cast<int>((seconds / 60) % 60);
  civil.hour = static_cast<int>((seconds / 3600) % 24);
  const int64_t days = static_cast<int64_t>(seconds / 86'400) - kDaysFrom1601To1970;
  CivilFromDays(days, civil.year, civil.month, civil.day);
  return civil;
}

// Sakamoto's method.
int DayOfWeek(const LocalTime& time) {
  static constexpr int kMonthOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (time.month < 1 || time.month > 12) return 0;
  const int year = time.month < 3 ? time.year - 1 : time.year;
  const int days = year + year / 4 - year / 100 + year / 400 + kMonthOffsets[time.month - 1] + time.day;
  return ((days % 7) + 7) % 7;
}

bool FileSystem::ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                                        const EntryVisitor& visit) {
  if (const std::optional<FileIdentity> identity = GetIdentity(folder)) {
    if (!admit(*identity)) return true;
  }
  return ListFolder(folder, visit);
}

bool FileReader::Seek(uint64_t) { return false; }

bool FileSystem::CreateFolder(std::string_view) { return false; }

FileError FileSystem::MoveFileTo(std::string_view, std::string_view) { return FileError::kOther; }

FileError FileSystem::CopyFileTo(std::string_view, std::string_view) { return FileError::kOther; }

}  // namespace twinseek
