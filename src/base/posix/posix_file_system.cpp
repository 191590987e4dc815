// The file system over POSIX calls. Paths and names are converted from and to
// UTF-8 with code page 932, and the backslash of the core's paths is the "/"
// of the system's; a name that code page 932 cannot hold exactly (a backslash
// in it included, which Windows would not allow) is reported, never altered.
// Only files and folders are seen: pipes, sockets and devices are neither
// listed nor opened, so nothing waits on one or reads one without end.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <ctime>
#include <limits>
#include <vector>

#include "base/file_system.h"
#include "base/path_text.h"
#include "base/utf8_text.h"

namespace twinseek {

namespace {

constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;

FileTime ToFileTime(const timespec& time) {
  const int64_t seconds = static_cast<int64_t>(time.tv_sec) + kSecondsFrom1601To1970;
  if (seconds < 0) return 0;
  return static_cast<FileTime>(seconds) * 10'000'000u + static_cast<FileTime>(time.tv_nsec / 100);
}

std::optional<std::string> NativePath(std::string_view path) {
  std::optional<std::string> native = Cp932ToUtf8(path);
  if (!native) return std::nullopt;
  for (char& c : *native) {
    if (c == '\\') c = '/';
  }
  return native;
}

// What the listing shows: regular files and folders, and a link whose
// target is gone (described by the link itself, as Windows lists it).
bool IsListed(const struct stat& status) {
  return S_ISREG(status.st_mode) || S_ISDIR(status.st_mode) || S_ISLNK(status.st_mode);
}

FileIdentity IdentityOf(const struct stat& status) {
  return FileIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

// The entry for a name on disk (UTF-8) with its status.
DirEntry MakeEntry(std::string_view native_name, const struct stat& status) {
  DirEntry entry;
  std::optional<std::string> name = Utf8ToCp932(native_name);
  if (name && IsUsableName(*name)) {
    entry.name = std::move(*name);
  } else {
    entry.name = Utf8ToCp932Lossy(native_name);
    entry.name_representable = false;
  }
  if (S_ISDIR(status.st_mode)) {
    entry.attributes = kAttributeDirectory;
  } else {
    entry.attributes = kAttributeArchive;
    entry.size = static_cast<uint64_t>(status.st_size);
  }
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) entry.attributes |= kAttributeReadOnly;
  if (!native_name.empty() && native_name.front() == '.') entry.attributes |= kAttributeHidden;
  entry.creation_time = ToFileTime(status.st_ctim);
  entry.last_access_time = ToFileTime(status.st_atim);
  entry.last_write_time = ToFileTime(status.st_mtim);
  entry.identity = IdentityOf(status);
  return entry;
}

// stat that follows a link, and describes the link itself when its target is
// gone.
bool StatAt(int folder, const char* name, struct stat& status) {
  return fstatat(folder, name, &status, 0) == 0 || fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
}

// Opens a regular file for reading without ever waiting: a pipe with no
// writer would hold open() forever, and a device would be read without end.
// The descriptor is non-blocking only until it is known to be a regular
// file. -1 for anything else, and on failure.
int OpenRegularFile(const std::string& native, struct stat& status) {
  const int descriptor = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (descriptor < 0) return -1;
  int error = 0;
  if (fstat(descriptor, &status) != 0) {
    error = errno;
  } else if (!S_ISREG(status.st_mode)) {
    error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
  } else if (const int flags = fcntl(descriptor, F_GETFL);
             flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    error = errno;
  }
  if (error == 0) return descriptor;
  close(descriptor);
  errno = error;
  return -1;
}

class PosixFileReader final : public FileReader {
 public:
  PosixFileReader(int descriptor, uint64_t size) : descriptor_(descriptor), size_(size) {}
  ~PosixFileReader() override { close(descriptor_); }
  PosixFileReader(const PosixFileReader&) = delete;
  PosixFileReader& operator=(const PosixFileReader&) = delete;

  uint64_t Size() const override { return size_; }

  std::optional<size_t> Read(void* buffer, size_t capacity) override {
    for (;;) {
      const ssize_t count = read(descriptor_, buffer, capacity);
      if (count >= 0) return static_cast<size_t>(count);
      if (errno != EINTR) return std::nullopt;
    }
  }

  bool Seek(uint64_t offset) override {
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return false;
    return lseek(descriptor_, static_cast<off_t>(offset), SEEK_SET) >= 0;
  }

 private:
  int descriptor_;
  uint64_t size_;
};

class PosixFileWriter final : public FileWriter {
 public:
  explicit PosixFileWriter(int descriptor) : descriptor_(descriptor) {}
  ~PosixFileWriter() override { Close(); }
  PosixFileWriter(const PosixFileWriter&) = delete;
  PosixFileWriter& operator=(const PosixFileWriter&) = delete;

  // write may take fewer bytes than asked; the rest is offered again until
  // the system takes none or fails (a full disk).
  bool Write(const void* data, size_t size) override {
    if (descriptor_ < 0) return false;
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t count = write(descriptor_, next, size);
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) return false;
      next += count;
      size -= static_cast<size_t>(count);
    }
    return true;
  }

  bool Close() override {
    if (descriptor_ < 0) return false;
    const int result = close(descriptor_);
    descriptor_ = -1;
    return result == 0;
  }

 private:
  int descriptor_;
};

FileError ToFileError(int error) {
  switch (error) {
    case 0:
      return FileError::kNone;
    case ENOENT:
    case ENOTDIR:
      return FileError::kNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return FileError::kAccessDenied;
    case EBUSY:
    case ETXTBSY:
      return FileError::kInUse;
    case ENOSPC:
    case EDQUOT:
      return FileError::kDiskFull;
    case EEXIST:
      return FileError::kExists;
    default:
      return FileError::kOther;
  }
}

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int value) : value_(value) {}
  ~Descriptor() {
    if (value_ >= 0) close(value_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return value_; }
  bool valid() const { return value_ >= 0; }
  // Closes now; the errno of a failed close, or 0.
  int Close() {
    const int result = close(value_);
    value_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int value_;
};

// Writes all of data; the errno of the failure, or 0. A write that takes
// nothing counts as a full disk.
int WriteAll(int descriptor, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t count = write(descriptor, data, size);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno;
    if (count == 0) return ENOSPC;
    data += count;
    size -= static_cast<size_t>(count);
  }
  return 0;
}

// Copies the contents, then the last-write time, of source into the new file
// target; the errno of the failure, or 0.
int CopyContents(int source, const struct stat& status, int target) {
  std::vector<char> buffer(size_t{1} << 20);
  for (;;) {
    const ssize_t count = read(source, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno;
    if (count == 0) break;
    if (const int error = WriteAll(target, buffer.data(), static_cast<size_t>(count))) return error;
  }
  const timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
  if (futimens(target, times) != 0) return errno;
  return 0;
}

// Copies the file from (native path) to the new path to, which must not
// exist; a failure removes what was created. The errno of the failure, or 0.
int CopyNative(const std::string& from, const std::string& to) {
  struct stat status;
  Descriptor source(OpenRegularFile(from, status));
  if (!source.valid()) return errno;
  Descriptor target(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, status.st_mode & 0777));
  if (!target.valid()) return errno;
  int error = CopyContents(source.get(), status, target.get());
  const int close_error = target.Close();
  if (error == 0) error = close_error;
  if (error != 0) unlink(to.c_str());
  return error;
}

// Renames without replacing: renameat2 with RENAME_NOREPLACE, or, where the
// file system does not offer it, a hard link and the removal of the old
// name. The errno of the failure, or 0.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  if (link(from.c_str(), to.c_str()) != 0) return errno;
  if (unlink(from.c_str()) != 0) {
    const int error = errno;
    unlink(to.c_str());
    return error;
  }
  return 0;
}

// Lists a folder; with admit, asks it first with the identity of the open
// folder.
bool List(std::string_view folder, const FolderAdmission* admit, const EntryVisitor& visit) {
  const std::optional<std::string> native = NativePath(folder);
  if (!native || native->empty()) return false;
  DIR* listing = opendir(native->c_str());
  if (listing == nullptr) return false;
  const int descriptor = dirfd(listing);
  struct stat status;
  if (admit != nullptr && fstat(descriptor, &status) == 0 && !(*admit)(IdentityOf(status))) {
    closedir(listing);
    return true;
  }
  while (const dirent* item = readdir(listing)) {
    const std::string_view name = item->d_name;
    if (name == "." || name == "..") continue;
    if (!StatAt(descriptor, item->d_name, status) || !IsListed(status)) continue;
    if (!visit(MakeEntry(name, status))) break;
  }
  closedir(listing);
  return true;
}

class PosixFileSystem final : public FileSystem {
 public:
  bool ListFolder(std::string_view folder, const EntryVisitor& visit) override {
    return List(folder, nullptr, visit);
  }

  // The folder's identity is that of the open listing (fstat of its
  // descriptor): the folder actually entered, whatever links led there.
  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor& visit) override {
    return List(folder, &admit, visit);
  }

  std::optional<DirEntry> GetEntry(std::string_view path) override {
    std::optional<std::string> native = NativePath(path);
    if (!native) return std::nullopt;
    while (native->size() > 1 && native->back() == '/') native->pop_back();
    struct stat status;
    if (!StatAt(AT_FDCWD, native->c_str(), status) || !IsListed(status)) return std::nullopt;
    const size_t slash = native->rfind('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(*native) : std::string_view(*native).substr(slash + 1);
    return MakeEntry(name, status);
  }

  std::optional<uint32_t> GetAttributes(std::string_view path) override {
    const std::optional<DirEntry> entry = GetEntry(path);
    if (!entry) return std::nullopt;
    return entry->attributes;
  }

  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    const std::optional<std::string> native = NativePath(path);
    if (!native || native->empty()) return nullptr;
    struct stat status;
    const int descriptor = OpenRegularFile(*native, status);
    if (descriptor < 0) return nullptr;
    return std::make_unique<PosixFileReader>(descriptor, static_cast<uint64_t>(status.st_size));
  }

  std::optional<FileIdentity> GetIdentity(std::string_view path) override {
    const std::optional<std::string> native = NativePath(path);
    if (!native || native->empty()) return std::nullopt;
    struct stat status;
    if (stat(native->c_str(), &status) != 0) return std::nullopt;
    return IdentityOf(status);
  }

  std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) override {
    const std::optional<std::string> native = NativePath(path);
    if (!native || native->empty()) return nullptr;
    const int descriptor = open(native->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    return std::make_unique<PosixFileWriter>(descriptor);
  }

  bool CreateFolder(std::string_view path) override {
    const std::optional<std::string> native = NativePath(path);
    if (!native || native->empty()) return false;
    return mkdir(native->c_str(), 0777) == 0;
  }

  // Across file systems (or where neither a rename nor a hard link works)
  // the file is copied and the source removed only after a complete copy;
  // if the source cannot be removed the copy goes again, and the file stays
  // where it was.
  FileError MoveFileTo(std::string_view from, std::string_view to) override {
    const std::optional<std::string> source = NativePath(from);
    const std::optional<std::string> target = NativePath(to);
    if (!source || !target || source->empty() || target->empty()) return FileError::kOther;
    int error = RenameNoReplace(*source, *target);
    if (error != EXDEV && error != EPERM) return ToFileError(error);
    struct stat status;
    if (lstat(source->c_str(), &status) != 0) return ToFileError(errno);
    if (!S_ISREG(status.st_mode)) return ToFileError(error);
    if ((error = CopyNative(*source, *target)) != 0) return ToFileError(error);
    if (unlink(source->c_str()) != 0) {
      error = errno;
      unlink(target->c_str());
      return ToFileError(error);
    }
    return FileError::kNone;
  }

  FileError CopyFileTo(std::string_view from, std::string_view to) override {
    const std::optional<std::string> source = NativePath(from);
    const std::optional<std::string> target = NativePath(to);
    if (!source || !target || source->empty() || target->empty()) return FileError::kOther;
    return ToFileError(CopyNative(*source, *target));
  }
};

}  // namespace

LocalTime ToLocalTime(FileTime time) {
  const time_t now = std::time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  const int64_t offset = static_cast<int64_t>(local.tm_gmtoff) * 10'000'000;
  const int64_t shifted = static_cast<int64_t>(time) + offset;
  return CivilTime(shifted < 0 ? 0 : static_cast<FileTime>(shifted));
}

// Joined to the current folder when relative, then folded by the text; the
// separators are kept as written.
std::optional<std::string> FullPath(std::string_view path) {
  if (path.empty()) return std::nullopt;
  if (path.front() == '\\' || path.front() == '/') return FoldDotSegments(path);
  std::vector<char> buffer(PATH_MAX);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
  const std::optional<std::string> current = Utf8ToCp932(buffer.data());
  if (!current) return std::nullopt;
  return FoldDotSegments(WithSeparator(*current) + std::string(path));
}

FileSystem& SystemFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

}  // namespace twinseek
