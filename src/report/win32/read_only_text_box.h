// A multi-line edit control that shows a text and ignores typing: the caret,
// the selection, moving through the text and copying it work as in any edit
// control, but no character, Delete key, paste, cut, clear or undo reaches
// it. Ctrl+A selects the whole text. The control stays an ordinary edit
// control (not read-only), so caret and selection show.
//
// The box filters an edit control that already exists (one of a dialog's
// controls) and does not own it; it keeps no copy of the text, so whoever
// needs the text exactly as given keeps it (the box's content can still be
// changed through the control's own context menu).
#pragma once

#include <windows.h>

#include <string_view>

namespace twinseek {

class ReadOnlyTextBox {
 public:
  // Starts filtering the input of edit, a multi-line edit control. The filter
  // ends when the control is destroyed or this object is.
  explicit ReadOnlyTextBox(HWND edit);
  ~ReadOnlyTextBox();
  ReadOnlyTextBox(const ReadOnlyTextBox&) = delete;
  ReadOnlyTextBox& operator=(const ReadOnlyTextBox&) = delete;

  HWND handle() const { return edit_; }

  // Shows text (code page 932) in place of what the box showed, whatever its
  // length: the control's length limit is lifted first.
  void SetText(std::string_view text);

 private:
  HWND edit_;
};

}  // namespace twinseek
