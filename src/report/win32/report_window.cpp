// The report window's dialog procedure, its opening and its two buttons.
#include "report/win32/report_window.h"

#include <shellapi.h>

#include "base/win32/wait_cursor.h"
#include "base/win32/wide_text.h"
#include "report/report_file.h"
#include "resources/report_window_ids.h"

namespace twinseek {

namespace {

SaveFileRequest MakeRequest(std::string_view initial_name, std::string_view filter) {
  return SaveFileRequest{std::string(initial_name), std::string(kReportExtension),
                         std::string(filter)};
}

}  // namespace

bool IsCapacityLimitedPlatform() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return !GetVersionExW(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT;
}

ReportWindow::ReportWindow(Prompter& prompter, FileSystem& file_system)
    : prompter_(prompter), file_system_(file_system) {}

ReportWindow::ReportWindow(Prompter& prompter, FileSystem& file_system, bool capacity_limited)
    : prompter_(prompter), file_system_(file_system), capacity_limited_(capacity_limited) {}

void ReportWindow::Run(HWND owner, std::string_view text) {
  text_.assign(text);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_REPORT_WINDOW), owner,
                  &ReportWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  text_box_.reset();
  layout_.reset();
  window_ = nullptr;
}

INT_PTR CALLBACK ReportWindow::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    reinterpret_cast<ReportWindow*>(lparam)->window_ = window;
  }
  auto* self = reinterpret_cast<ReportWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  return self != nullptr ? self->HandleMessage(message, wparam, lparam) : FALSE;
}

INT_PTR ReportWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return TRUE;
    case WM_SIZE:
      if (layout_) layout_->Reposition();
      return FALSE;
    case WM_SIZING:
      if (layout_) layout_->ClampSize(*reinterpret_cast<RECT*>(lparam));
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    default:
      return FALSE;
  }
}

// Runs before the window is first shown; a text saved instead of shown ends
// the run here, so the window never appears.
void ReportWindow::OnInitDialog() {
  HWND edit = GetDlgItem(window_, IDC_REPORT_EDIT_TEXT);
  text_box_.emplace(edit);
  text_box_->SetText(text_);

  layout_.emplace();
  layout_->Init(window_);
  layout_->Add(GetDlgItem(window_, IDOK), kAnchorFollowRight | kAnchorFollowBottom);
  layout_->Add(GetDlgItem(window_, IDC_REPORT_BUTTON_SAVE),
               kAnchorStretchWidth | kAnchorFollowBottom);
  layout_->Add(edit, kAnchorStretchWidth | kAnchorStretchHeight);

  if (!NeedsSaveBeforeShowing(text_.size(), CapacityLimited())) return;
  const int answer = prompter_.ShowMessage(window_, kTooLargeQuestion, kReportQuestionCaption,
                                           MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES && SaveInsteadOfShowing()) EndDialog(window_, IDOK);
}

void ReportWindow::OnCommand(int id) {
  switch (id) {
    case IDC_REPORT_BUTTON_SAVE:
      OnSave();
      break;
    case IDOK:
    case IDCANCEL:  // Escape, as the text box passes it on
      EndDialog(window_, IDOK);
      break;
    default:
      break;
  }
}

void ReportWindow::OnSave() {
  const std::optional<std::string> path =
      prompter_.ChooseSaveFile(window_, MakeRequest(kSaveInitialName, kSaveFilter));
  if (!path) return;
  SaveOutcome outcome;
  {
    WaitCursor wait;
    outcome = SaveReportText(file_system_, *path, text_);
  }
  if (outcome != SaveOutcome::kSaved) {
    prompter_.ShowMessage(window_, kWritingFailed, {}, MB_OK | MB_ICONSTOP);
  }
}

bool ReportWindow::SaveInsteadOfShowing() {
  const std::optional<std::string> path =
      prompter_.ChooseSaveFile(window_, MakeRequest(kTooLargeInitialName, kTooLargeFilter));
  if (!path) return false;
  WaitCursor wait;
  switch (SaveReportText(file_system_, *path, text_)) {
    case SaveOutcome::kCannotCreate:
      prompter_.ShowMessage(window_, kCannotOpenForWriting, {}, MB_OK | MB_ICONEXCLAMATION);
      return false;
    case SaveOutcome::kWriteFailed:
      prompter_.ShowMessage(window_, kWritingFailed, {}, MB_OK | MB_ICONSTOP);
      return false;
    case SaveOutcome::kSaved:
      break;
  }
  const int answer = prompter_.ShowMessage(window_, kOpenNowQuestion, kReportQuestionCaption,
                                           MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) {
    const HINSTANCE result =
        ShellExecuteW(window_, L"OPEN", Cp932ToWide(*path).c_str(), L"", nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
      prompter_.ShowMessage(window_, kCannotOpenWithApplication, {}, MB_OK | MB_ICONEXCLAMATION);
    }
  }
  return true;
}

bool ReportWindow::CapacityLimited() const {
  return capacity_limited_ ? *capacity_limited_ : IsCapacityLimitedPlatform();
}

}  // namespace twinseek
