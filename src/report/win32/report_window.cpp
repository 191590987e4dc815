// The report window's opening, its layout and its two buttons.
#include "report/win32/report_window.h"

#include <shellapi.h>

#include "base/win32/wait_cursor.h"
#include "base/win32/wide_text.h"
#include "report/report_file.h"
#include "resources/report_window_ids.h"

namespace twinseek {

namespace {

SaveFileRequest MakeRequest(std::string_view initial_name, std::string_view filter) {
  return SaveFileRequest{std::string(initial_name), std::string(kReportExtension), std::string(filter)};
}

}  // namespace

bool IsCapacityLimitedPlatform() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return !GetVersionExW(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT;
}

ReportWindow::ReportWindow(Prompter& prompter, FileSystem& file_system)
    : Dialog(IDD_REPORT_WINDOW, &prompter), prompter_(prompter), file_system_(file_system) {}

ReportWindow::ReportWindow(Prompter& prompter, FileSystem& file_system, bool capacity_limited)
    : Dialog(IDD_REPORT_WINDOW, &prompter),
      prompter_(prompter),
      file_system_(file_system),
      capacity_limited_(capacity_limited) {}

void ReportWindow::Run(HWND owner, std::string_view text) {
  text_.assign(text);
  Dialog::Run(owner);
  text_box_.reset();
  layout_.reset();
}

// Runs before the window is first shown; a text saved instead of shown ends
// the run here, so the window never appears.
bool ReportWindow::OnInit() {
  HWND edit = Control(IDC_REPORT_EDIT_TEXT);
  text_box_.emplace(edit);
  text_box_->SetText(text_);

  layout_.emplace();
  layout_->Init(window());
  layout_->Add(Control(IDOK), kAnchorFollowRight | kAnchorFollowBottom);
  layout_->Add(Control(IDC_REPORT_BUTTON_SAVE), kAnchorStretchWidth | kAnchorFollowBottom);
  layout_->Add(edit, kAnchorStretchWidth | kAnchorStretchHeight);

  if (!NeedsSaveBeforeShowing(text_.size(), CapacityLimited())) return true;
  const int answer =
      prompter_.ShowMessage(window(), kTooLargeQuestion, kReportQuestionCaption, MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES && SaveInsteadOfShowing()) End(IDOK);
  return true;
}

// "閉じる" and Escape (which the text box passes on) end the window.
bool ReportWindow::OnButton(int id) {
  if (id != IDC_REPORT_BUTTON_SAVE) return Dialog::OnButton(id);
  OnSave();
  return true;
}

void ReportWindow::OnSize() {
  if (layout_) layout_->Reposition();
}

void ReportWindow::OnSizing(RECT& proposed) {
  if (layout_) layout_->ClampSize(proposed);
}

void ReportWindow::OnSave() {
  const std::optional<std::string> path =
      prompter_.ChooseSaveFile(window(), MakeRequest(kSaveInitialName, kSaveFilter));
  if (!path) return;
  SaveOutcome outcome;
  {
    WaitCursor wait;
    outcome = SaveReportText(file_system_, *path, text_);
  }
  if (outcome != SaveOutcome::kSaved) {
    prompter_.ShowMessage(window(), kWritingFailed, {}, MB_OK | MB_ICONSTOP);
  }
}

bool ReportWindow::SaveInsteadOfShowing() {
  const std::optional<std::string> path =
      prompter_.ChooseSaveFile(window(), MakeRequest(kTooLargeInitialName, kTooLargeFilter));
  if (!path) return false;
  WaitCursor wait;
  switch (SaveReportText(file_system_, *path, text_)) {
    case SaveOutcome::kCannotCreate:
      prompter_.ShowMessage(window(), kCannotOpenForWriting, {}, MB_OK | MB_ICONEXCLAMATION);
      return false;
    case SaveOutcome::kWriteFailed:
      prompter_.ShowMessage(window(), kWritingFailed, {}, MB_OK | MB_ICONSTOP);
      return false;
    case SaveOutcome::kSaved:
      break;
  }
  const int answer =
      prompter_.ShowMessage(window(), kOpenNowQuestion, kReportQuestionCaption, MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) {
    const HINSTANCE result =
        ShellExecuteW(window(), L"OPEN", Cp932ToWide(*path).c_str(), L"", nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
      prompter_.ShowMessage(window(), kCannotOpenWithApplication, {}, MB_OK | MB_ICONEXCLAMATION);
    }
  }
  return true;
}

bool ReportWindow::CapacityLimited() const {
  return capacity_limited_ ? *capacity_limited_ : IsCapacityLimitedPlatform();
}

}  // namespace twinseek
