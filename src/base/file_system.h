// The file system as the core sees it: code page 932 paths with the backslash
// as separator, entries as a folder listing gives them, sequential reads and
// file identities. base/win32 implements it over the wide Windows calls,
// base/posix over the POSIX calls (names converted from and to UTF-8, the
// backslash mapped to "/"), so the core sees the same text on both systems.
// Failures are values (an empty optional, false, a null reader), never
// exceptions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace twinseek {

// Attribute bits, with the values Windows gives them.
inline constexpr uint32_t kAttributeReadOnly = 0x01;
inline constexpr uint32_t kAttributeHidden = 0x02;
inline constexpr uint32_t kAttributeSystem = 0x04;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeArchive = 0x20;
inline constexpr uint32_t kAttributeNormal = 0x80;

// A file time: 100-nanosecond intervals since 1601-01-01 00:00:00 UTC, the
// unit of a Windows FILETIME.
using FileTime = uint64_t;

// A point in local time as FileTimeToLocalFileTime and FileTimeToSystemTime
// give it (the day of the week is left out).
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const LocalTime&, const LocalTime&) = default;
  friend auto operator<=>(const LocalTime&, const LocalTime&) = default;
};

// A file time in local time: the offset from UTC in force now is applied to
// every time alike, as FileTimeToLocalFileTime does (not the offset that was
// in force at that time).
LocalTime ToLocalTime(FileTime time);

// The calendar date and time of a file time, with no offset applied.
LocalTime CivilTime(FileTime time);

// The day of the week of a time's date, 0 for Sunday to 6 for Saturday (the
// proleptic Gregorian calendar); 0 for a month outside 1 to 12.
int DayOfWeek(const LocalTime& time);

// What makes a file itself, whatever path names it: the volume and the file's
// index on it (device and inode on POSIX). Two paths with equal identities
// name the same file (hard links, symbolic links, short names, other drives).
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;

  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// One entry of a folder, or one path's own entry.
struct DirEntry {
  // The long name as stored on disk. A name that code page 932 cannot hold
  // exactly (a character it lacks, one that would come back as another, or
  // a backslash of its own) is replaced by the short name when the file has
  // one that it can hold (Windows); otherwise `name_representable` is false
  // and `name` shows each character that cannot be held as "?": such an
  // entry cannot be opened by its name.
  std::string name;
  bool name_representable = true;
  // The short (8.3) name in code page 932 when the system keeps one for a
  // long name (Windows); empty otherwise, and empty when the listing did
  // not tell it.
  std::string short_name;
  uint32_t attributes = 0;
  uint64_t size = 0;  // 0 for folders
  FileTime creation_time = 0;
  FileTime last_access_time = 0;
  FileTime last_write_time = 0;
  // The file's identity when reading the entry told it at no extra cost (the
  // listing on both systems); otherwise nothing, and GetIdentity asks. The
  // entry of a link names the identity of its target, or none.
  std::optional<FileIdentity> identity;

  bool IsDirectory() const { return (attributes & kAttributeDirectory) != 0; }
};

// Visits one entry of a listing; false ends the listing.
using EntryVisitor = std::function<bool(const DirEntry&)>;
// Told the identity of a folder once it is open, before its first entry;
// false ends the listing there.
using FolderAdmission = std::function<bool(const FileIdentity& folder)>;

// One file open for reading from its start to its end.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // The size the file had when it was opened.
  virtual uint64_t Size() const = 0;
  // Reads the next bytes into buffer, at most capacity of them. Returns how
  // many were read (0 at the end of the file), or nothing on a read error.
  virtual std::optional<size_t> Read(void* buffer, size_t capacity) = 0;
  // Moves the read position to offset bytes from the start, so that a part
  // of a file can be read without the bytes before it; past the end the next
  // Read gives 0. False when the system refused, or the reader cannot move
  // (the default): the position is then unchanged.
  virtual bool Seek(uint64_t offset);
};

// One file open for writing, from its start. Closing the writer (or
// destroying it) closes the file; data not yet on disk when Close fails may
// be lost.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Writes size bytes of data after what was written before. True only when
  // every byte was written; a short write (a full disk) or an error is false.
  virtual bool Write(const void* data, size_t size) = 0;
  // Closes the file. True when the system reported no error; false also when
  // the file was closed before.
  virtual bool Close() = 0;
};

// Why a change to the file system failed.
enum class FileError {
  kNone,          // no failure: the change was made
  kNotFound,      // the source, or the folder of the destination, does not exist
  kAccessDenied,  // no permission, a read-only file or folder, or a folder where a file is needed
  kInUse,         // another process holds the file open without sharing it, or locks part of it
  kDiskFull,      // the destination's volume has no room left
  kExists,        // the destination name is taken: nothing was replaced
  kOther,         // any other failure
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists the entries of a folder in the order the system returns them,
  // without "." and "..". The folder may end in a backslash or not. visit
  // returns false to end the listing early. Returns false when the folder
  // cannot be listed (missing, not a folder, no access). Only files and
  // folders are listed: no pipe, socket or device (POSIX).
  virtual bool ListFolder(std::string_view folder, const EntryVisitor& visit) = 0;

  // As ListFolder, but first tells admit the identity of the folder actually
  // opened (the target when the path passes through a link or junction),
  // taken from the open folder itself; when admit returns false nothing is
  // visited (and the answer is true). When the system cannot tell the
  // identity, admit is not asked. The default implementation asks
  // GetIdentity of the path, then lists.
  virtual bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                                      const EntryVisitor& visit);

  // The entry of one path, as listing its folder would give it; nothing when
  // the path does not exist, cannot be read, or names no file or folder (a
  // pipe, a socket, a device).
  virtual std::optional<DirEntry> GetEntry(std::string_view path) = 0;

  // The attributes of one path; nothing when it does not exist.
  virtual std::optional<uint32_t> GetAttributes(std::string_view path) = 0;

  // Opens a file for reading, sharing it with other readers only. Only a
  // regular file is opened, and the opening never waits (a pipe with no
  // writer, a device): anything else gives null, as any failure does.
  virtual std::unique_ptr<FileReader> OpenRead(std::string_view path) = 0;

  // The identity of the file a path names; nothing when it cannot be opened.
  virtual std::optional<FileIdentity> GetIdentity(std::string_view path) = 0;

  // Creates a file for writing, shared with no one: an existing file is
  // emptied and replaced, a new one gets the normal attributes. Returns null
  // when the file cannot be created (missing folder, no access, a folder of
  // that name).
  virtual std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) = 0;

  // Creates one folder, with default security, whose parent exists. False
  // when it cannot be created, also when the name is already taken (by a
  // file or a folder). The default implementation creates nothing.
  virtual bool CreateFolder(std::string_view path);

  // Moves the file `from` to the path `to`, which may lie on another volume
  // (then the file is copied and the source removed only once the copy is
  // complete). An existing `to` is never replaced: kExists. On any failure
  // the source stays as it was and no partial `to` is left behind. The
  // default implementation moves nothing (kOther).
  virtual FileError MoveFileTo(std::string_view from, std::string_view to);

  // Copies the file `from` to the new path `to`, keeping the last-write time
  // as the Windows copy does. An existing `to` is never replaced: kExists. A
  // failure leaves no partial `to` behind. The default implementation copies
  // nothing (kOther).
  virtual FileError CopyFileTo(std::string_view from, std::string_view to);
};

// The file system of the system the program runs on.
FileSystem& SystemFileSystem();

// The absolute form of path, as GetFullPathName makes it: a relative path is
// taken from the process's current folder, and "." and ".." are folded by the
// text alone, with no link followed. Nothing when it cannot be made (an empty
// path, a current folder code page 932 cannot hold). A property of the
// process, not of a file system: no stand-in file system can bypass it.
std::optional<std::string> FullPath(std::string_view path);

}  // namespace twinseek
