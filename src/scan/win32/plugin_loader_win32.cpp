#include "scan/win32/plugin_loader_win32.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "base/cp932.h"
#include "base/win32/unique_handle.h"
#include "base/win32/win32_file_system.h"
#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

using TextEntry = const char*(__cdecl*)();
using CallEntry = void(__cdecl*)();
using CheckFileEntry = const char*(WINAPI*)(const char* path, WIN32_FIND_DATAA* data);

// The entry point of that name as the type it is called through; null when
// the module does not export it.
template <typename Entry>
Entry Find(const OwnedModule& module, const char* name) {
  const FARPROC address = GetProcAddress(module.get(), name);
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(address));
}

std::optional<std::string> CopyText(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

// Copies text into a fixed field of a find record, NUL-terminated: cut to
// the field by whole characters, never inside a double-byte one.
template <size_t kCapacity>
void CopyName(const std::string& text, char (&field)[kCapacity]) {
  const size_t length = WholeCharPrefix(text, kCapacity - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

// The entry as FindFirstFileA gives it: the long name in code page 932 (cut
// to MAX_PATH - 1 bytes) and the short name, if the file has one.
WIN32_FIND_DATAA ToFindData(const DirEntry& entry) {
  WIN32_FIND_DATAA data;
  std::memset(&data, 0, sizeof data);
  data.dwFileAttributes = entry.attributes;
  data.ftCreationTime = ToFiletime(entry.creation_time);
  data.ftLastAccessTime = ToFiletime(entry.last_access_time);
  data.ftLastWriteTime = ToFiletime(entry.last_write_time);
  data.nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(entry.size & 0xFFFFFFFFu);
  CopyName(entry.name, data.cFileName);
  CopyName(entry.short_name, data.cAlternateFileName);
  return data;
}

class Win32PluginLibrary final : public PluginLibrary {
 public:
  explicit Win32PluginLibrary(OwnedModule module)
      : module_(std::move(module)),
        return_message_(Find<TextEntry>(module_, "ReturnMessage")),
        check_file_(Find<CheckFileEntry>(module_, "CheckFile")),
        init_check_(Find<CallEntry>(module_, "InitCheck")),
        get_title_(Find<TextEntry>(module_, "GetTitle")),
        release_(Find<CallEntry>(module_, "Release")) {}

  std::optional<std::string> GetTitle() override {
    return get_title_ ? CopyText(get_title_()) : std::nullopt;
  }

  bool InitCheck() override {
    if (!init_check_) return false;
    init_check_();
    return true;
  }

  std::optional<std::string> CheckFile(std::string_view path, const DirEntry& entry) override {
    if (!check_file_) return std::nullopt;
    const std::string path_text(path);
    WIN32_FIND_DATAA data = ToFindData(entry);
    return CopyText(check_file_(path_text.c_str(), &data));
  }

  std::optional<std::string> ReturnMessage() override {
    return return_message_ ? CopyText(return_message_()) : std::nullopt;
  }

  void Release() override {
    if (release_) release_();
  }

 private:
  OwnedModule module_;
  TextEntry return_message_;
  CheckFileEntry check_file_;
  CallEntry init_check_;
  TextEntry get_title_;
  CallEntry release_;
};

}  // namespace

std::string PluginLibraryName(int slot) { return "TOOL" + std::to_string(slot) + ".DLL"; }

std::unique_ptr<PluginLibrary> Win32PluginLoader::Load(int slot) {
  OwnedModule module(LoadLibraryW(Cp932ToWide(PluginLibraryName(slot)).c_str()));
  if (!module) return nullptr;
  return std::make_unique<Win32PluginLibrary>(std::move(module));
}

}  // namespace twinseek
