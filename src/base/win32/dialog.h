// A dialog of the program's resources, modal or modeless, and the one dialog
// procedure that serves every dialog of the program: it keeps the object in
// the window (DWLP_USER, from WM_INITDIALOG to WM_NCDESTROY) and calls one
// small handler per message. A dialog class derives from Dialog, overrides
// the handlers it needs and gives its own public way to run, which calls Run
// (modal) or Create (modeless).
//
// What the procedure decides once for every dialog:
// - WM_SIZE: OnSize, then the default handling. WM_SIZING: OnSizing may
//   change the proposed rectangle; the answer is TRUE.
// - WM_CLOSE: OnClose; when it does not take the message, the dialog manager
//   turns it into the cancel command (IDCANCEL).
// - Any other message goes to OnMessage; an answer from it is the message's
//   result (through DWLP_MSGRESULT, or directly for the messages whose result
//   the dialog procedure returns itself, such as WM_QUERYDRAGICON).
// - No exception leaves a handler for the system: the procedure catches it,
//   tells the user "内部エラーが発生しました。" (with the exception's text)
//   through the prompt routine, calls OnFault and ends the dialog (a modal
//   one's Run answers IDABORT).
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>
#include <utility>

#include "base/win32/prompter.h"

namespace twinseek {

// The message shown when a handler of a dialog failed unexpectedly.
inline constexpr const char* kInternalErrorMessage = "内部エラーが発生しました。";

class Dialog {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // The dialog's window while it exists; null before and after.
  HWND window() const { return window_; }
  // One of its controls; null when there is no window or no such control.
  HWND Control(int id) const { return GetDlgItem(window_, id); }

 protected:
  // template_id: the dialog resource in the program's module. fault_prompter
  // shows the message of a failed handler; without one (null) it is a plain
  // message box. It must outlive the dialog.
  explicit Dialog(int template_id, Prompter* fault_prompter = nullptr);
  // Destroys a modeless window that still exists.
  virtual ~Dialog();

  // Runs the dialog modally, owned by owner (may be null), on the calling
  // thread; returns once it has ended, with the result given to End (-1 when
  // the window could not be made).
  INT_PTR Run(HWND owner);
  // Creates the dialog modeless, owned by owner, visible only when its
  // template says so. True when the window exists (also when it existed
  // already).
  bool Create(HWND owner);
  // Ends the dialog: a modal one's Run returns result once the current
  // handler has returned; a modeless one's window is destroyed now. Nothing
  // when there is no window.
  void End(INT_PTR result);

  // WM_INITDIALOG, before the window shows. True: the dialog manager gives
  // the focus to the first control that takes it.
  virtual bool OnInit() { return true; }
  // WM_COMMAND (id: LOWORD of WPARAM, code: HIWORD). True when handled. The
  // default hands a click (BN_CLICKED, also the code of a menu command) to
  // OnButton and leaves every other notification alone.
  virtual bool OnCommand(int id, int code);
  // A button clicked. True when handled. The default: IDOK goes to OnOK,
  // IDCANCEL (also Escape and the close box) to OnCancel.
  virtual bool OnButton(int id);
  // The defaults end the dialog with IDOK and with IDCANCEL.
  virtual void OnOK() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }
  virtual void OnSize() {}
  virtual void OnSizing(RECT& /*proposed*/) {}
  // WM_CLOSE (the close box, the system menu, Alt+F4). True when handled;
  // false (the default) lets it become the cancel command.
  virtual bool OnClose() { return false; }
  // Every other message: the answer when handled, nothing for the default
  // handling.
  virtual std::optional<INT_PTR> OnMessage(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) {
    return std::nullopt;
  }
  // A handler threw; the dialog is ended right after. A dialog that runs a
  // worker asks it to stop here.
  virtual void OnFault() {}

  // Gives control id the keyboard focus as the Tab key would.
  void FocusControl(int id);
  // Gives the text field id the focus with its whole text selected and the
  // caret in view.
  void SelectField(int id);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
  // The message's answer when handled.
  INT_PTR Answer(UINT message, INT_PTR result);
  void Fault(std::string_view what) noexcept;

  int template_id_;
  Prompter* fault_prompter_;
  HWND window_ = nullptr;
  bool modal_ = false;
  bool faulted_ = false;
};

// A modal dialog that asks for one request: Run answers it only when the
// dialog ends with OK, from what the dialog put into result_ before it ended.
template <typename Request>
class RequestDialog : public Dialog {
 public:
  // Runs the dialog modally, owned by owner: the request on OK, nothing
  // otherwise.
  std::optional<Request> Run(HWND owner) {
    result_ = Request{};
    if (Dialog::Run(owner) != IDOK) return std::nullopt;
    return result_;
  }
  // The same, the request put into request on OK (true), which is left
  // untouched otherwise (false).
  bool Run(HWND owner, Request& request) {
    std::optional<Request> answer = Run(owner);
    if (answer) request = std::move(*answer);
    return answer.has_value();
  }

 protected:
  using Dialog::Dialog;

  Request result_;
};

}  // namespace twinseek
