// The decisions of the scan target dialog that need no window: reading a size
// field, the checks that must pass before a walk starts, and the dialog's
// texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/file_system.h"
#include "scan/enumeration.h"

namespace twinseek {

// A size field that holds no unsigned decimal number.
inline constexpr std::string_view kSizeFieldMessage = "正の整数を入力してください。";
// A location that is empty, missing or no folder.
inline constexpr std::string_view kBadLocationMessage =
    "不正な検索フォルダが指定されているか、使用できない状態です。";
// The status line after the user interrupted a walk.
inline constexpr std::string_view kInterruptedNotice = "ユーザーによる中断";
// The text above the folder tree of the folder chooser.
inline constexpr std::string_view kChooseFolderTitle = "重複ファイルを探したいフォルダを指定してください";

// The number a size field holds: decimal digits only, with single-byte white
// space (blank, tab, CR, LF, VT, FF) allowed before and after them. Refused
// (nothing) are an empty or blank text, a sign, any other character, and a
// number above 4294967295, which no 32-bit size can hold.
std::optional<uint32_t> ParseSizeField(std::string_view text);

// What the checks before a walk found, in the order they are made.
enum class StartCheck {
  kReady,             // the walk may start
  kForbiddenPattern,  // a name pattern holds a forbidden character
  kBadLocation,       // the location is empty, missing or no folder
};

// The checks before a walk, in order:
// 1. The name patterns lose their surrounding blanks; nothing left becomes
//    "*.*". The criteria keep the result, whatever the checks find.
// 2. A forbidden character in the patterns: kForbiddenPattern.
// 3. An empty location, one that cannot be made absolute, one whose
//    attributes cannot be read, or one that is no folder: kBadLocation.
//    Otherwise the criteria keep the location made absolute (FullPath), so
//    the paths of the walk never depend on the current folder.
// So a bad pattern is reported before a bad location.
StartCheck CheckScanStart(ScanCriteria& criteria, FileSystem& file_system);

}  // namespace twinseek
