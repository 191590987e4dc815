// Saving a report text to a file the user picked, and the texts of the report
// window that surround it: the names and filters its save dialogs offer, its
// questions and its failure messages (code page 932, used byte for byte).
#pragma once

#include <cstddef>
#include <string_view>

#include "base/file_system.h"

namespace twinseek {

enum class SaveOutcome {
  kSaved,
  kCannotCreate,  // the file could not be created; nothing was written
  kWriteFailed,   // created, but not every byte reached it (or closing failed)
};

// Creates (or replaces) the file at path and writes exactly the bytes of text
// in one write: no byte-order mark, no terminating NUL, no conversion. An
// empty text gives an empty file. A write that fails or takes fewer bytes
// than the text (a full disk), or a close that fails, is kWriteFailed, never
// kSaved; what did reach the file is left there.
SaveOutcome SaveReportText(FileSystem& file_system, std::string_view path, std::string_view text);

// The most bytes the text box of a capacity-limited platform shows.
inline constexpr size_t kCapacityLimit = 0xF000;

// Whether a text must be saved to a file to be read at all: it is longer than
// kCapacityLimit (that length itself still fits) and the platform's text box
// is capacity-limited.
constexpr bool NeedsSaveBeforeShowing(size_t text_size, bool capacity_limited) {
  return capacity_limited && text_size > kCapacityLimit;
}

// The caption of the two questions about a large text.
inline constexpr std::string_view kReportQuestionCaption = "レポートの表示";

// A text too large to show: the question, and its save dialog.
inline constexpr std::string_view kTooLargeQuestion =
    "レポート内容が大きいためファイルに保存しないと閲覧できません。\r\nファイルに保存しますか？";
inline constexpr std::string_view kTooLargeInitialName = "Twinseek_Report.txt";
inline constexpr std::string_view kTooLargeFilter = "テキスト(*.TXT)|*.TXT|全てのファイル(*.*)|*.*||";
// After saving it: whether to open the file now.
inline constexpr std::string_view kOpenNowQuestion = "今すぐファイルを開きますか？";

// The save button's dialog.
inline constexpr std::string_view kSaveInitialName = "TWINSEEK";
inline constexpr std::string_view kSaveFilter = "TEXT(*.TXT)|*.TXT|LOG(*.LOG)|*.LOG|ALL(*.*)|*.*||";

// The extension both save dialogs add to a name typed without one.
inline constexpr std::string_view kReportExtension = "TXT";

// Failures, captioned with the application title.
inline constexpr std::string_view kCannotOpenForWriting = "ファイルを書込みオープンできません";
inline constexpr std::string_view kWritingFailed = "ファイル書き込みに失敗しました";
inline constexpr std::string_view kCannotOpenWithApplication =
    "ファイルを関連づけされたアプリケーションで開けません";

}  // namespace twinseek
