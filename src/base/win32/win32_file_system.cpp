// The file system over the wide Windows calls; paths are converted from code
// page 932 explicitly, names back to it, and a name that code page 932 cannot
// hold is replaced by the file's short name, or reported as such, instead of
// being altered.
//
// Folders are listed with GetFileInformationByHandleEx on a folder handle,
// which gives each entry's file id and short name with its attributes, size
// and times, so that no file has to be opened to learn its identity; where a
// file system does not offer that call (some network file systems), the
// FindFirstFileExW listing stands in, without identities.
#include "base/win32/win32_file_system.h"

#include <winternl.h>

#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include "base/folder_volumes.h"
#include "base/path_text.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

FileTime ToFileTime(const FILETIME& time) {
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t Combine(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

FileTime ToFileTime(const LARGE_INTEGER& time) { return static_cast<FileTime>(time.QuadPart); }

// A name the core can use: held exactly in code page 932, with no backslash
// or NUL of its own.
std::optional<std::string> UsableName(std::wstring_view name) {
  std::optional<std::string> narrow = WideToCp932(name);
  if (!narrow || !IsUsableName(*narrow)) return std::nullopt;
  return narrow;
}

// The names of an entry: the long name, or else the short name, which
// names the same file; or the long name shown with "?" for what cannot be
// held.
void SetNames(DirEntry& entry, std::wstring_view name, std::wstring_view short_name) {
  if (!short_name.empty()) entry.short_name = UsableName(short_name).value_or(std::string());
  if (std::optional<std::string> narrow = UsableName(name)) {
    entry.name = std::move(*narrow);
  } else if (!entry.short_name.empty()) {
    entry.name = entry.short_name;
  } else {
    entry.name = WideToCp932Lossy(name);
    entry.name_representable = false;
  }
}

// The entry of a name from either record that Windows describes a file with
// (WIN32_FIND_DATAW, WIN32_FILE_ATTRIBUTE_DATA): both have these fields.
template <typename FileData>
DirEntry MakeEntry(std::wstring_view name, std::wstring_view short_name, const FileData& data) {
  DirEntry entry;
  SetNames(entry, name, short_name);
  entry.attributes = data.dwFileAttributes;
  if (!entry.IsDirectory()) entry.size = Combine(data.nFileSizeHigh, data.nFileSizeLow);
  entry.creation_time = ToFileTime(data.ftCreationTime);
  entry.last_access_time = ToFileTime(data.ftLastAccessTime);
  entry.last_write_time = ToFileTime(data.ftLastWriteTime);
  return entry;
}

// The entry of one record of an identity listing. The id of a link (a
// reparse point) is the link's own, not its target's: it is left for
// GetIdentity, which opens the target.
DirEntry MakeEntry(const FILE_ID_BOTH_DIR_INFO& info, const std::optional<DWORD>& volume) {
  DirEntry entry;
  SetNames(entry, std::wstring_view(info.FileName, info.FileNameLength / sizeof(wchar_t)),
           std::wstring_view(info.ShortName, static_cast<size_t>(info.ShortNameLength) / sizeof(wchar_t)));
  entry.attributes = info.FileAttributes;
  if (!entry.IsDirectory()) entry.size = static_cast<uint64_t>(info.EndOfFile.QuadPart);
  entry.creation_time = ToFileTime(info.CreationTime);
  entry.last_access_time = ToFileTime(info.LastAccessTime);
  entry.last_write_time = ToFileTime(info.LastWriteTime);
  if (volume && (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    entry.identity = FileIdentity{*volume, static_cast<uint64_t>(info.FileId.QuadPart)};
  }
  return entry;
}

bool IsDotOrDotDot(std::wstring_view name) { return name == L"." || name == L".."; }

// The stored entry of one path, from the folder listing itself: exact, but
// the dearest call there is.
std::optional<DirEntry> FindEntry(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(path.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(find);
  return MakeEntry(data.cFileName, data.cAlternateFileName, data);
}

enum class Listing { kListed, kUnsupported };

// Lists an open folder with its file ids. A buffer per call: a walk may list
// a folder inside the visit of another one's entries. kUnsupported when the
// first call fails, so the other listing can be tried.
Listing ListByIdentity(HANDLE folder, const std::optional<DWORD>& volume, const EntryVisitor& visit) {
  constexpr size_t kBufferBytes = 64 * 1024;
  std::vector<LONGLONG> buffer(kBufferBytes / sizeof(LONGLONG));  // 8-byte aligned records
  FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
  for (bool first = true;; first = false) {
    if (!GetFileInformationByHandleEx(folder, kind, buffer.data(), static_cast<DWORD>(kBufferBytes))) {
      const DWORD error = GetLastError();
      return first && error != ERROR_NO_MORE_FILES ? Listing::kUnsupported : Listing::kListed;
    }
    kind = FileIdBothDirectoryInfo;
    const auto* record = reinterpret_cast<const unsigned char*>(buffer.data());
    for (;;) {
      const auto& info = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(record);
      if (!IsDotOrDotDot(std::wstring_view(info.FileName, info.FileNameLength / sizeof(wchar_t))) &&
          !visit(MakeEntry(info, volume))) {
        return Listing::kListed;
      }
      if (info.NextEntryOffset == 0) break;
      record += info.NextEntryOffset;
    }
  }
}

// Lists a folder by FindFirstFileExW: no identities.
bool ListByFind(std::wstring pattern, const EntryVisitor& visit) {
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (IsDotOrDotDot(data.cFileName)) continue;
    if (!visit(MakeEntry(data.cFileName, data.cAlternateFileName, data))) break;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

// One for the process, not one per thread: with the static runtime a
// thread_local with a destructor hangs the process at its exit.
FolderVolumes& ListedFolders() {
  static FolderVolumes volumes;
  return volumes;
}

struct OpenFolder {
  DWORD attributes;
  FileIdentity identity;
};

// The attributes and identity of the open file at path: the file index
// costs the system no more than the attributes; a folder's volume is
// inherited where FolderVolumes knows it.
std::optional<OpenFolder> Describe(HANDLE handle, std::string_view path) {
  FILE_BASIC_INFO basic;
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) return std::nullopt;
  FILE_INTERNAL_INFORMATION internal;
  IO_STATUS_BLOCK status;
  if (NtQueryInformationFile(handle, &status, &internal, sizeof internal, FileInternalInformation) != 0) {
    return std::nullopt;
  }
  OpenFolder folder{basic.FileAttributes,
                    FileIdentity{0, static_cast<uint64_t>(internal.IndexNumber.QuadPart)}};
  if ((folder.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return folder;

  std::optional<uint32_t> volume =
      ListedFolders().Inherited(path, (folder.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
  if (!volume) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information)) return std::nullopt;
    volume = information.dwVolumeSerialNumber;
  }
  ListedFolders().Listed(path, *volume);
  folder.identity.volume = *volume;
  return folder;
}

bool List(std::string_view folder, const FolderAdmission* admit, const EntryVisitor& visit) {
  const std::wstring path = Cp932ToWide(folder);
  if (path.empty()) return false;
  {
    const OwnedHandle handle(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) {
      std::optional<DWORD> volume;
      if (const std::optional<OpenFolder> open = Describe(handle.get(), folder)) {
        if ((open->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
        volume = static_cast<DWORD>(open->identity.volume);
        if (admit != nullptr && !(*admit)(open->identity)) return true;
      }
      if (ListByIdentity(handle.get(), volume, visit) == Listing::kListed) return true;
    }
  }
  return ListByFind(path, visit);
}

class Win32FileReader final : public FileReader {
 public:
  Win32FileReader(OwnedHandle file, uint64_t size) : file_(std::move(file)), size_(size) {}

  uint64_t Size() const override { return size_; }

  std::optional<size_t> Read(void* buffer, size_t capacity) override {
    constexpr size_t kLargestRead = size_t{1} << 30;
    DWORD count = 0;
    const DWORD wanted = static_cast<DWORD>(capacity < kLargestRead ? capacity : kLargestRead);
    if (!ReadFile(file_.get(), buffer, wanted, &count, nullptr)) return std::nullopt;
    return static_cast<size_t>(count);
  }

  bool Seek(uint64_t offset) override {
    if (offset > static_cast<uint64_t>(std::numeric_limits<LONGLONG>::max())) return false;
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_.get(), distance, nullptr, FILE_BEGIN) != 0;
  }

 private:
  OwnedHandle file_;
  uint64_t size_;
};

class Win32FileWriter final : public FileWriter {
 public:
  explicit Win32FileWriter(OwnedHandle file) : file_(std::move(file)) {}

  // One WriteFile for anything below 1 GiB; a call that takes fewer bytes
  // than asked (a full disk) fails the write.
  bool Write(const void* data, size_t size) override {
    constexpr size_t kLargestWrite = size_t{1} << 30;
    if (!file_) return false;
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD wanted = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
      DWORD written = 0;
      if (!WriteFile(file_.get(), next, wanted, &written, nullptr) || written != wanted) return false;
      next += written;
      size -= written;
    }
    return true;
  }

  // Closed here rather than by the owner, to learn whether the system
  // reported an error.
  bool Close() override { return file_ && CloseHandle(file_.release()) != 0; }

 private:
  OwnedHandle file_;
};

FileError ToFileError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FileError::kNone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::kNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileError::kAccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::kDiskFull;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FileError::kExists;
    default:
      return FileError::kOther;
  }
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// After a failed move or copy: a target that did not exist before the call
// but does now is a partial copy, and goes; but only while the source is
// still there, so that the one whole copy of a file is never removed.
FileError CleanUpAfterFailure(DWORD error, const std::wstring& from, const std::wstring& to,
                              bool target_existed) {
  const FileError result = ToFileError(error);
  if (result != FileError::kExists && !target_existed && Exists(to) && Exists(from)) {
    SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(to.c_str());
  }
  return result == FileError::kNone ? FileError::kOther : result;
}

class Win32FileSystem final : public FileSystem {
 public:
  // read_sharing: the FILE_SHARE_* bits OpenRead opens files with.
  explicit Win32FileSystem(DWORD read_sharing = FILE_SHARE_READ) : read_sharing_(read_sharing) {}

  bool ListFolder(std::string_view folder, const EntryVisitor& visit) override {
    return List(folder, nullptr, visit);
  }

  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor& visit) override {
    return List(folder, &admit, visit);
  }

  // GetFileAttributesExW costs a twentieth of a one-file listing. The name is
  // then the path's last part, which is the stored long name unless the path
  // spells it as a short name (a "~" in it): only then is the folder asked.
  // Letter case is the path's.
  std::optional<DirEntry> GetEntry(std::string_view path) override {
    std::wstring wide = Cp932ToWide(path);
    while (wide.size() > 3 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
    const size_t separator = wide.find_last_of(L"\\/:");
    const std::wstring_view name = separator == std::wstring::npos
                                       ? std::wstring_view(wide)
                                       : std::wstring_view(wide).substr(separator + 1);
    if (name.empty()) return std::nullopt;
    if (name.find(L'~') != std::wstring_view::npos) return FindEntry(wide);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return MakeEntry(name, {}, data);
  }

  std::optional<uint32_t> GetAttributes(std::string_view path) override {
    const DWORD attributes = GetFileAttributesW(Cp932ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<uint32_t>(attributes);
  }

  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    OwnedHandle file(CreateFileW(Cp932ToWide(path).c_str(), GENERIC_READ, read_sharing_, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size)) return nullptr;
    return std::make_unique<Win32FileReader>(std::move(file), static_cast<uint64_t>(size.QuadPart));
  }

  std::optional<FileIdentity> GetIdentity(std::string_view path) override {
    const OwnedHandle file(CreateFileW(Cp932ToWide(path).c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        Combine(information.nFileIndexHigh, information.nFileIndexLow)};
  }

  std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) override {
    const std::wstring wide = Cp932ToWide(path);
    if (wide.empty()) return nullptr;
    OwnedHandle file(
        CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<Win32FileWriter>(std::move(file));
  }

  bool CreateFolder(std::string_view path) override {
    const std::wstring wide = Cp932ToWide(path);
    return !wide.empty() && CreateDirectoryW(wide.c_str(), nullptr);
  }

  // Without MOVEFILE_REPLACE_EXISTING an existing target fails the move;
  // across volumes the system copies and then deletes the source.
  FileError MoveFileTo(std::string_view from, std::string_view to) override {
    const std::wstring source = Cp932ToWide(from);
    const std::wstring target = Cp932ToWide(to);
    if (source.empty() || target.empty()) return FileError::kOther;
    const bool target_existed = Exists(target);
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) return FileError::kNone;
    return CleanUpAfterFailure(GetLastError(), source, target, target_existed);
  }

  FileError CopyFileTo(std::string_view from, std::string_view to) override {
    const std::wstring source = Cp932ToWide(from);
    const std::wstring target = Cp932ToWide(to);
    if (source.empty() || target.empty()) return FileError::kOther;
    const bool target_existed = Exists(target);
    if (target_existed) return FileError::kExists;
    if (CopyFileExW(source.c_str(), target.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS)) {
      return FileError::kNone;
    }
    return CleanUpAfterFailure(GetLastError(), source, target, target_existed);
  }

 private:
  DWORD read_sharing_;
};

}  // namespace

FILETIME ToFiletime(FileTime time) {
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
  result.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return result;
}

LocalTime ToLocalTime(FileTime time) {
  const FILETIME utc = ToFiletime(time);
  FILETIME local;
  SYSTEMTIME civil;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &civil)) return {};
  return LocalTime{civil.wYear,   civil.wMonth,  civil.wDay,         civil.wHour,
                   civil.wMinute, civil.wSecond, civil.wMilliseconds};
}

std::optional<std::string> FullPath(std::string_view path) {
  const std::wstring wide = Cp932ToWide(path);
  if (wide.empty()) return std::nullopt;
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < full.size()) {
      full.resize(length);
      return WideToCp932(full);
    }
    full.resize(length);  // the room it asks for, terminating NUL included
  }
}

FileSystem& SystemFileSystem() {
  static Win32FileSystem file_system;
  return file_system;
}

std::unique_ptr<FileSystem> MakeWin32FileSystem(DWORD read_sharing) {
  return std::make_unique<Win32FileSystem>(read_sharing);
}

}  // namespace twinseek
