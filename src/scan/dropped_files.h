// The scan list of one drop of files and folders on the main window.
//
// The dropped items are taken in the order of the drop: a file (or anything
// that is not a folder, or whose attributes cannot be read) goes into the
// list unchanged, for the detection run to read or report. The first folder
// asks the user once whether folders contribute every file below them; the
// answer holds for every folder of the drop. A folder that contributes is
// walked breadth first: its own files, then those of its subfolders level by
// level, subfolders whose names begin with "." never entered. Nothing is
// filtered by name, date or size. Holding Escape stops the intake early: no
// further item is taken, and the listing of the current folder ends.
//
// Every dropped path is made absolute first, so that it names the same file
// whatever the current folder later becomes. A file or folder whose name
// code page 932 cannot hold goes into the list by the name shown for it,
// marked so, for the detection run to report; a folder walk enters no folder
// twice (see EnumerateFolder).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "scan/enumeration.h"
#include "scan/scan_list.h"

namespace twinseek {

// The folder question of a drop: true when the user wants the files below
// the dropped folders.
using FolderQuestion = std::function<bool()>;

// One dropped item: its path in code page 932, or, when code page 932 cannot
// hold it, the path shown with "?" for what cannot be held.
struct DroppedItem {
  DroppedItem(std::string path, bool representable = true)  // NOLINT: a path is an item
      : path(std::move(path)), representable(representable) {}
  std::string path;
  bool representable = true;
};

// The scan list of the dropped items (in drop order). escape_down is asked
// before each item and after each listed entry; it may be empty.
ScanList CollectDroppedItems(FileSystem& file_system, const std::vector<DroppedItem>& items,
                             const FolderQuestion& ask_for_folders, const EscapeProbe& escape_down);

// Appends every file below folder, breadth first, to list.
void WalkDroppedFolder(FileSystem& file_system, const std::string& folder, ScanList& list,
                       const EscapeProbe& escape_down);

// The folder question's text and caption.
inline constexpr const char* kFolderDropQuestion =
    "フォルダがドロップされています。\r\nサブフォルダの全ファイルを検索対象としますか？";
inline constexpr const char* kFolderDropCaption = "フォルダのドロップ";

}  // namespace twinseek
