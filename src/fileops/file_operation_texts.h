// The messages and titles of the delete, move and copy commands and of the
// move destination dialog, as the user sees them.
#pragma once

namespace twinseek {

inline constexpr char kNothingToDeleteMessage[] = "削除対象がありません";
inline constexpr char kNothingToMoveMessage[] = "移動対象がありません";
inline constexpr char kNothingToCopyMessage[] = "コピー対象がありません";
inline constexpr char kNoDestinationMessage[] = "移動先を指定してください";
inline constexpr char kBadFolderMessage[] = "フォルダの指定が不正か、作成できません";
inline constexpr char kChooseMoveFolderTitle[] = "移動先のフォルダを指定してください";
inline constexpr char kChooseCopyFolderTitle[] = "コピー先のフォルダを指定してください";

}  // namespace twinseek
