#include "app/win32/help_launcher.h"

#include <shellapi.h>

#include "base/win32/wide_text.h"

namespace twinseek {
namespace {

class SystemLauncher final : public HelpLauncher {
 public:
  bool ShowHelpFile(HWND owner, std::string_view path, UINT command, ULONG_PTR data) override {
    return WinHelpW(owner, Cp932ToWide(path).c_str(), command, data) != FALSE;
  }

  bool OpenManual(HWND owner, std::string_view path) override {
    const HINSTANCE result =
        ShellExecuteW(owner, L"open", Cp932ToWide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  }
};

}  // namespace

HelpLauncher& SystemHelpLauncher() {
  static SystemLauncher launcher;
  return launcher;
}

}  // namespace twinseek
