// Moving or copying a list of files into one folder, one file at a time, in
// the list's order, without ever replacing a file: a name already taken in the
// folder gets the next free name "name (2).ext", "name (3).ext", ... A file
// that cannot be moved or copied stays where it is and is reported; a partial
// copy is never left behind (the file system guarantees that per file).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"

namespace twinseek {

// The name under which a file called name is stored in folder: name itself
// when taken(folder + "\" + name) is false, otherwise the first of
// "base (2).ext", "base (3).ext", ... that is not taken. The base and the
// extension are split at the last "." of the name, found by whole characters;
// a name without a dot (or whose only dot is its first byte) gets " (n)" at
// its end. folder may end in a backslash or not. Returns the name alone,
// without the folder.
std::string FreeNameIn(std::string_view folder, std::string_view name,
                       const std::function<bool(const std::string& path)>& taken);

enum class TransferKind { kMove, kCopy };

struct TransferFailure {
  std::string path;  // the source, which stays where it was
  FileError error;
  // A move's file that lies in the destination folder already (however the
  // folder was spelled): it is not moved, and never renamed in place.
  bool in_destination = false;
};

struct TransferOutcome {
  std::vector<std::string> done;        // source paths moved or copied, in order
  std::vector<TransferFailure> failed;  // in order
  bool cancelled = false;               // the progress callback asked to stop
  size_t not_handled = 0;               // paths left untouched after a cancel
};

// Called before each file (done = files handled so far, total = all of them)
// and once more at the end with done == total. Returns false to cancel: the
// file being asked about and every later one are left untouched.
using TransferProgress = std::function<bool(size_t done, size_t total)>;

// Moves or copies each of paths into folder (which must exist), in order.
// The destination of a file is the folder, a backslash (unless the folder
// ends in one) and a free name (FreeNameIn) for the source's last component.
// When the name is taken in between (kExists), the next free name is tried.
// A move leaves alone a file whose own folder is the destination, told by
// the folders' identities, not their spelling (letter case, a trailing
// backslash, ".", "..", a short name, a link): it is reported as failed with
// in_destination set. progress may be empty.
TransferOutcome TransferFiles(FileSystem& file_system, const std::vector<std::string>& paths,
                              std::string_view folder, TransferKind kind, const TransferProgress& progress);

// The text that tells the user what went wrong, for the report window: a
// first line with the number of failed files, one line "path: reason" per
// failed file (a file already in the destination folder:
// "移動先のフォルダにすでにあります"), and, after a cancel, a line with the number of files left
// untouched. Lines end in "\r\n". Empty when nothing failed and nothing was
// cancelled.
std::string TransferFailureReport(const TransferOutcome& outcome, TransferKind kind);

}  // namespace twinseek
