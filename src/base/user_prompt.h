// The one routine through which the core speaks to the user: a message box
// with a question or a notice, and the modal report window that shows a long
// text. The Windows program implements it with message boxes owned by the
// main window (captioned with the application title) and its report window;
// tests answer with a fake that records what was asked; the console tool has
// none and prints instead.
#pragma once

#include <string_view>

namespace twinseek {

enum class MessageButtons {
  kOk,
  kYesNo,
};

enum class MessageIcon {
  kNone,
  kExclamation,
  kInformation,
  kQuestion,
  kError,  // the stop sign
};

enum class MessageAnswer {
  kOk,
  kYes,
  kNo,
};

class UserPrompt {
 public:
  virtual ~UserPrompt() = default;

  // Shows text (code page 932, "\r\n" line breaks) with the buttons and the
  // icon, waits until the user answers, and returns the button pressed. With
  // kYesNo, closing the box any other way answers kNo; with kOk the answer
  // is always kOk.
  virtual MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageIcon icon) = 0;

  // Shows text in the modal report window, where the user may read, save or
  // copy it, and returns once the user has closed the window.
  virtual void ShowReport(std::string_view text) = 0;
};

}  // namespace twinseek
