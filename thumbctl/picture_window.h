// The control's child window: a white area with the current picture drawn
// centred in it, scaled down to fit. The picture is kept whether or not the
// window exists, so it can be set before the control is activated.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "picture.h"

namespace twinseek::thumbctl {

class PictureWindow {
 public:
  PictureWindow() = default;
  // Destroys the window.
  ~PictureWindow();
  PictureWindow(const PictureWindow&) = delete;
  PictureWindow& operator=(const PictureWindow&) = delete;

  // Creates the window as a visible child of parent over rect (parent's
  // client coordinates); true when it exists afterwards.
  bool Create(HWND parent, const RECT& rect);
  void Destroy();
  HWND window() const { return window_; }

  void Move(const RECT& rect);
  // Replaces the picture by the one of the file at path; an empty path or a
  // file that is no picture leaves the window white.
  void ShowPicture(std::wstring_view path);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnPaint();
  void Paint(HDC dc) const;

  HWND window_ = nullptr;
  std::unique_ptr<Picture> picture_;
};

}  // namespace twinseek::thumbctl
