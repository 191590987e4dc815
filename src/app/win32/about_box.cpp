#include "app/win32/about_box.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/version_text.h"
#include "base/win32/dialog_controls.h"
#include "resources/about_box_ids.h"
#include "resources/resource_ids.h"

namespace twinseek {
namespace {

// The version of the program's VERSIONINFO resource; empty when it has none.
std::string ProgramVersion() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      length < sizeof *info) {
    return {};
  }
  return VersionText(info->dwProductVersionMS, info->dwProductVersionLS);
}

// The text block with the program's version in it.
void PutVersion(HWND text) {
  const std::string filled = WithVersion(ControlTextLossy(text), ProgramVersion());
  SetControlText(text, filled);
}

// The address is loaded afresh each time; a failure is not reported and the
// box stays open.
void OpenHomePage() {
  const wchar_t* address = nullptr;
  const int length =
      LoadStringW(GetModuleHandleW(nullptr), IDS_HOME_PAGE, reinterpret_cast<wchar_t*>(&address), 0);
  if (length <= 0) return;
  const std::wstring text(address, static_cast<size_t>(length));
  ShellExecuteW(nullptr, L"OPEN", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

AboutBox::AboutBox(Prompter& prompter) : Dialog(IDD_ABOUT_BOX, &prompter) {}

void AboutBox::Show(HWND owner, Prompter& prompter) { AboutBox(prompter).Run(owner); }

bool AboutBox::OnInit() {
  PutVersion(Control(IDC_ABOUT_TEXT));
  return true;
}

bool AboutBox::OnButton(int id) {
  if (id != IDC_ABOUT_BUTTON_HOME_PAGE) return Dialog::OnButton(id);
  OpenHomePage();
  return true;
}

}  // namespace twinseek
