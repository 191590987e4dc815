// The program's prompt routine as the user sees it: real message boxes
// captioned with the application title unless they name a caption, the
// system's save-file dialog, the folder chooser, and the report window.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>

#include "base/file_system.h"
#include "base/win32/prompter.h"

namespace twinseek {

class SystemPrompter final : public Prompter {
 public:
  // title: the application title. allocator: the shell's task allocator,
  // with which the folder chooser frees what the folder browser returns.
  SystemPrompter(std::string title, IMalloc* allocator, FileSystem& file_system)
      : title_(std::move(title)), allocator_(allocator), file_system_(file_system) {}

  int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) override;
  std::optional<std::string> ChooseSaveFile(HWND owner, const SaveFileRequest& request) override;
  bool ChooseFolder(HWND owner, std::string& path, std::string_view title) override;
  void ShowReport(HWND owner, std::string_view text) override;

 private:
  std::string title_;
  IMalloc* allocator_;
  FileSystem& file_system_;
};

}  // namespace twinseek
