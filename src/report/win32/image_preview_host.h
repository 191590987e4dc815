// The host of the image preview control VellmorThumbCtl (CVellmorThumbCtl):
// an ActiveX control created by its class identifier through the system's
// atl.dll ("AtlAxWin" windows), called through IDispatch with one method,
// ShowPicture (dispatch id 1, one string). When the control cannot be created
// (not installed or not registered), every later call does nothing.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string_view>

#include "base/win32/com_ptr.h"

namespace twinseek {

// The control's class identifier, as the host names it (thumbctl/thumb_ctl_ids.h
// gives the control the same one).
inline constexpr const wchar_t* kThumbnailControlClsid = L"{5B0E3A52-8C41-4D7A-9F3E-2A6C1D7B9E41}";

// Loads and initialises the system's control hosting (atl.dll) at the first
// call, once per process, and keeps it for the rest of the process: the
// window class "AtlAxWin" it registers lives as long. True when hosting is
// available. The host enables it itself; the program does so at start-up.
bool EnableControlHosting();

class ImagePreviewHost {
 public:
  ImagePreviewHost() = default;
  // Releases the control and destroys its window.
  ~ImagePreviewHost();
  ImagePreviewHost(const ImagePreviewHost&) = delete;
  ImagePreviewHost& operator=(const ImagePreviewHost&) = delete;

  // Creates the control as a visible child of parent over rect (parent's
  // client coordinates). False when it cannot be created.
  bool Create(HWND parent, const RECT& rect);
  bool created() const { return static_cast<bool>(dispatch_); }
  HWND window() const { return window_; }

  void Show(int show_command);
  void Move(const RECT& rect);
  // Shows the picture of the file at path (code page 932); an empty text
  // drops the picture.
  void ShowPicture(std::string_view path);

 private:
  HWND window_ = nullptr;
  ComPtr<IDispatch> dispatch_;
};

}  // namespace twinseek
