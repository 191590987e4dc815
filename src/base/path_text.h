// Paths and file names as code page 932 text: the backslash separator and the
// extension's dot are found by whole characters, so the second byte of a
// double-byte character (0x5C in "表") is never taken for either.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace twinseek {

// Whether the last whole character of path is a backslash.
bool EndsWithSeparator(std::string_view path);

// folder followed by exactly one backslash: one is appended unless its last
// whole character is one. An empty folder gives "\".
std::string WithSeparator(std::string_view folder);

// The position of the last backslash of path, or npos.
size_t LastSeparator(std::string_view path);

// A file name split from its end by whole characters at the first "." met,
// never looking at the first character: "a.tar.gz" is "a.tar" and ".gz";
// ".profile" and "README" have no extension (an empty one).
struct NameParts {
  std::string_view base;
  std::string_view extension;  // with its dot, or empty
};
NameParts SplitName(std::string_view name);

// Whether a name the file system gave, converted to code page 932, can stand
// in a path: it holds no backslash (as a character of its own, not as the
// second byte of a double-byte one) and no NUL. A name with either would
// name another file, or none, once joined to its folder.
bool IsUsableName(std::string_view name);

// The path with its "." and ".." parts folded by the text alone, as
// GetFullPathName folds them (no link is followed): "." and empty parts
// (doubled separators) go, ".." takes the part before it away but never the
// root. Either "\\" or "/" separates parts; each part that stays keeps the
// separator written before it, and a separator at the end stays unless the
// last part was "." or "..". A path with nothing to fold comes back
// unchanged.
std::string FoldDotSegments(std::string_view path);

}  // namespace twinseek
