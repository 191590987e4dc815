// The floors of a scan under Wine: what the platform itself needs to list a
// tree, or to list it and read every file, doing nothing else with what it
// gets. The scan benchmark runs it beside the Windows programs.
//   list: FindFirstFileExW (FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH) per
//         folder, as the program's fallback listing does
//   ids:  GetFileInformationByHandleEx (FileIdBothDirectoryRestartInfo, then
//         FileIdBothDirectoryInfo) on a folder handle, which gives each
//         entry's file id too, with the volume serial number once per folder
//   read: the list walk, plus CreateFileW + ReadFile of every file to its end
//         through one reused buffer
// As the program does, a folder's subfolders are gathered first and entered
// after its listing has closed, and names beginning with "." are not entered.
// Usage: twinseek_wine_floor list|ids|read FOLDER
// Prints the number of files, the sum of their listed sizes and the bytes
// read; exits 1 when FOLDER cannot be listed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

enum class Mode { kList, kIds, kRead };

struct Totals {
  uint64_t files = 0;
  uint64_t listed_bytes = 0;
  uint64_t read_bytes = 0;
};

bool IsFolderToEnter(const wchar_t* name, DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name[0] != L'.';
}

void ReadWhole(const std::wstring& path, std::vector<char>& buffer, Totals& totals) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD count = 0;
  while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr) && count > 0) {
    totals.read_bytes += count;
  }
  CloseHandle(file);
}

void CountFile(uint64_t size, Totals& totals) {
  ++totals.files;
  totals.listed_bytes += size;
}

// folder ends with a separator. Fills subfolders with the names to enter.
bool ListWithFind(const std::wstring& folder, Mode mode, std::vector<char>& buffer, Totals& totals,
                  std::vector<std::wstring>& subfolders) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L'*').c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    if (IsFolderToEnter(data.cFileName, data.dwFileAttributes)) {
      subfolders.emplace_back(data.cFileName);
    } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      CountFile((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, totals);
      if (mode == Mode::kRead) ReadWhole(folder + data.cFileName, buffer, totals);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

bool ListWithIds(const std::wstring& folder, Totals& totals, std::vector<std::wstring>& subfolders) {
  HANDLE handle =
      CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION volume;
  GetFileInformationByHandle(handle, &volume);
  // A buffer per folder: the folders are entered after this one is closed,
  // but each level keeps its own all the same.
  std::vector<uint64_t> buffer(64 * 1024 / sizeof(uint64_t));
  const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(uint64_t));
  FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(handle, kind, buffer.data(), bytes)) {
    kind = FileIdBothDirectoryInfo;
    const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
    for (;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      const bool dot = name == L"." || name == L"..";
      if (!dot && IsFolderToEnter(name.c_str(), entry->FileAttributes)) {
        subfolders.push_back(name);
      } else if (!dot && (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CountFile(static_cast<uint64_t>(entry->EndOfFile.QuadPart), totals);
      }
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  const bool ended = GetLastError() == ERROR_NO_MORE_FILES;
  CloseHandle(handle);
  return ended;
}

bool Walk(const std::wstring& folder, Mode mode, std::vector<char>& buffer, Totals& totals) {
  std::vector<std::wstring> subfolders;
  const bool listed = mode == Mode::kIds ? ListWithIds(folder, totals, subfolders)
                                         : ListWithFind(folder, mode, buffer, totals, subfolders);
  if (!listed) return false;
  for (const std::wstring& name : subfolders) Walk(folder + name + L'\\', mode, buffer, totals);
  return true;
}

std::wstring Widen(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode_name = argc == 3 ? argv[1] : "";
  if (mode_name != "list" && mode_name != "ids" && mode_name != "read") {
    std::fprintf(stderr, "usage: twinseek_wine_floor list|ids|read FOLDER\n");
    return 2;
  }
  const Mode mode = mode_name == "list" ? Mode::kList : mode_name == "ids" ? Mode::kIds : Mode::kRead;
  std::wstring root = Widen(argv[2]);
  if (root.empty() || (root.back() != L'\\' && root.back() != L'/')) root += L'\\';
  std::vector<char> buffer(mode == Mode::kRead ? size_t{4} << 20 : 0);
  Totals totals;
  if (!Walk(root, mode, buffer, totals)) {
    std::fprintf(stderr, "cannot list %s\n", argv[2]);
    return 1;
  }
  std::printf("%llu files, %llu bytes listed, %llu bytes read\n",
              static_cast<unsigned long long>(totals.files),
              static_cast<unsigned long long>(totals.listed_bytes),
              static_cast<unsigned long long>(totals.read_bytes));
  return 0;
}
