#include "app/win32/system_prompter.h"

#include "base/win32/save_file_dialog.h"
#include "base/win32/wide_text.h"
#include "report/win32/report_window.h"
#include "scan/win32/choose_folder.h"

namespace twinseek {

int SystemPrompter::ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return MessageBoxW(owner, Cp932ToWide(text).c_str(),
                     Cp932ToWide(caption.empty() ? std::string_view(title_) : caption).c_str(), type);
}

std::optional<std::string> SystemPrompter::ChooseSaveFile(HWND owner, const SaveFileRequest& request) {
  return ShowSaveFileDialog(
      owner, request, [&] { ShowMessage(owner, kUnusableSaveNameMessage, {}, MB_OK | MB_ICONEXCLAMATION); });
}

bool SystemPrompter::ChooseFolder(HWND owner, std::string& path, std::string_view title) {
  return twinseek::ChooseFolder(owner, path, title, allocator_);
}

void SystemPrompter::ShowReport(HWND owner, std::string_view text) {
  ReportWindow window(*this, file_system_);
  window.Run(owner, text);
}

}  // namespace twinseek
