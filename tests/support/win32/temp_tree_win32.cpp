#include <windows.h>

#include <stdexcept>

#include "base/win32/wide_text.h"
#include "support/temp_tree.h"

namespace twinseek::testing {

namespace {

std::wstring Native(const std::string& root, std::u8string_view relative) {
  return Utf8ToWide(root + "\\" + std::string(relative.begin(), relative.end())).value_or(L"");
}

void Check(bool done, const char* what) {
  if (!done) {
    throw std::runtime_error(std::string("TempTree: ") + what + " failed, error " +
                             std::to_string(GetLastError()));
  }
}

// Owns a file handle for the length of one call.
class File {
 public:
  File(const std::wstring& path, DWORD access, DWORD disposition)
      : handle_(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    Check(handle_ != INVALID_HANDLE_VALUE, "CreateFileW");
  }
  ~File() { CloseHandle(handle_); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link goes, never what it leads to (a link to a folder above
        // would lead round for ever).
        if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempTree::TempTree() {
  wchar_t base[MAX_PATH + 1];
  Check(GetTempPathW(MAX_PATH + 1, base) != 0, "GetTempPathW");
  std::wstring folder;
  for (unsigned attempt = GetTickCount() ^ GetCurrentProcessId();; ++attempt) {
    folder = std::wstring(base) + L"twinseek-test-" + std::to_wstring(attempt % 1000000);
    if (CreateDirectoryW(folder.c_str(), nullptr)) break;
    Check(GetLastError() == ERROR_ALREADY_EXISTS, "CreateDirectoryW");
  }
  root_ = *WideToCp932(folder);
  native_root_ = WideToUtf8(folder);
}

TempTree::~TempTree() { RemoveTree(Utf8ToWide(native_root_).value_or(L"")); }

void TempTree::Write(std::u8string_view relative, std::string_view content) {
  File file(Native(native_root_, relative), GENERIC_WRITE, CREATE_ALWAYS);
  DWORD written = 0;
  Check(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
            written == content.size(),
        "WriteFile");
}

void TempTree::MakeFolder(std::u8string_view relative) {
  Check(CreateDirectoryW(Native(native_root_, relative).c_str(), nullptr), "CreateDirectoryW");
}

void TempTree::Resize(std::u8string_view relative, uint64_t size) {
  File file(Native(native_root_, relative), GENERIC_WRITE, OPEN_EXISTING);
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(size);
  Check(SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()),
        "SetEndOfFile");
}

void TempTree::WriteAt(std::u8string_view relative, uint64_t offset, std::string_view content) {
  File file(Native(native_root_, relative), GENERIC_WRITE, OPEN_EXISTING);
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD written = 0;
  Check(SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) &&
            WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
            written == content.size(),
        "WriteFile");
}

void TempTree::SetLastWriteTime(std::u8string_view relative, FileTime time) {
  File file(Native(native_root_, relative), FILE_WRITE_ATTRIBUTES, OPEN_EXISTING);
  FILETIME stamp;
  stamp.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
  stamp.dwHighDateTime = static_cast<DWORD>(time >> 32);
  Check(SetFileTime(file.get(), nullptr, nullptr, &stamp), "SetFileTime");
}

void TempTree::HardLink(std::u8string_view existing, std::u8string_view link) {
  Check(CreateHardLinkW(Native(native_root_, link).c_str(), Native(native_root_, existing).c_str(), nullptr),
        "CreateHardLinkW");
}

void TempTree::Remove(std::u8string_view relative) {
  Check(DeleteFileW(Native(native_root_, relative).c_str()), "DeleteFileW");
}

}  // namespace twinseek::testing
