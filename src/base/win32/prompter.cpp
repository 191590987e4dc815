// The core's questions and notices as message boxes of the prompt routine.
#include "base/win32/prompter.h"

namespace twinseek {

UINT MessageBoxType(MessageButtons buttons, MessageIcon icon) {
  UINT type = buttons == MessageButtons::kYesNo ? MB_YESNO : MB_OK;
  switch (icon) {
    case MessageIcon::kNone:
      break;
    case MessageIcon::kExclamation:
      type |= MB_ICONEXCLAMATION;
      break;
    case MessageIcon::kInformation:
      type |= MB_ICONINFORMATION;
      break;
    case MessageIcon::kQuestion:
      type |= MB_ICONQUESTION;
      break;
    case MessageIcon::kError:
      type |= MB_ICONSTOP;
      break;
  }
  return type;
}

MessageAnswer OwnedUserPrompt::Ask(std::string_view text, MessageButtons buttons, MessageIcon icon) {
  const int answer = prompter_.ShowMessage(owner_, text, {}, MessageBoxType(buttons, icon));
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  return answer == IDYES ? MessageAnswer::kYes : MessageAnswer::kNo;
}

void OwnedUserPrompt::ShowReport(std::string_view text) { prompter_.ShowReport(owner_, text); }

}  // namespace twinseek
