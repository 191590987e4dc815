#include "base/win32/dialog.h"

#include <exception>
#include <string>

#include "base/win32/wide_text.h"

namespace twinseek {
namespace {

// The messages whose result the dialog procedure returns itself, not through
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
         message == WM_INITDIALOG;
}

}  // namespace

Dialog::Dialog(int template_id, Prompter* fault_prompter)
    : template_id_(template_id), fault_prompter_(fault_prompter) {}

Dialog::~Dialog() {
  if (window_ == nullptr) return;
  // The derived part is gone: no handler of it may run any more.
  SetWindowLongPtrW(window_, DWLP_USER, 0);
  if (!modal_) DestroyWindow(window_);
}

INT_PTR Dialog::Run(HWND owner) {
  modal_ = true;
  faulted_ = false;
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id_), owner, &Dialog::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND owner) {
  if (window_ != nullptr) return true;
  modal_ = false;
  faulted_ = false;
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id_), owner, &Dialog::Procedure,
                     reinterpret_cast<LPARAM>(this));
  return window_ != nullptr;
}

void Dialog::End(INT_PTR result) {
  if (window_ == nullptr) return;
  if (modal_) {
    EndDialog(window_, result);
  } else {
    DestroyWindow(window_);
  }
}

void Dialog::FocusControl(int id) {
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
}

void Dialog::SelectField(int id) {
  FocusControl(id);
  SendMessageW(Control(id), EM_SETSEL, 0, -1);
  SendMessageW(Control(id), EM_SCROLLCARET, 0, 0);
}

bool Dialog::OnCommand(int id, int code) { return code == BN_CLICKED && OnButton(id); }

bool Dialog::OnButton(int id) {
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  } else {
    return false;
  }
  return true;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    reinterpret_cast<Dialog*>(lparam)->window_ = window;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  INT_PTR answer = FALSE;
  try {
    answer = self->Dispatch(message, wparam, lparam);
  } catch (const std::exception& error) {
    self->Fault(error.what());
  } catch (...) {
    self->Fault({});
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return answer;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam)) ? Answer(message, 0) : FALSE;
    case WM_SIZE:
      OnSize();
      return FALSE;
    case WM_SIZING:
      OnSizing(*reinterpret_cast<RECT*>(lparam));
      return Answer(message, TRUE);
    case WM_CLOSE:
      return OnClose() ? Answer(message, 0) : FALSE;
    default: {
      const std::optional<INT_PTR> answer = OnMessage(message, wparam, lparam);
      return answer ? Answer(message, *answer) : FALSE;
    }
  }
}

INT_PTR Dialog::Answer(UINT message, INT_PTR result) {
  if (AnswersDirectly(message)) return result;
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
  return TRUE;
}

// Told once per run: a handler that keeps failing while the message is up
// (a paint) adds no second message.
void Dialog::Fault(std::string_view what) noexcept {
  try {
    const bool first = !faulted_;
    faulted_ = true;
    if (first) {
      std::string text = kInternalErrorMessage;
      if (!what.empty()) text.append("\r\n\r\n").append(what);
      if (fault_prompter_ != nullptr) {
        fault_prompter_->ShowMessage(window_, text, {}, MB_OK | MB_ICONSTOP);
      } else {
        MessageBoxW(window_, Cp932ToWide(text).c_str(), nullptr, MB_OK | MB_ICONSTOP);
      }
    }
    OnFault();
  } catch (...) {
    // Nothing more can be told; the dialog still ends.
  }
  End(IDABORT);
}

}  // namespace twinseek
