#include "report/win32/image_preview_host.h"

#include <ole2.h>

#include "base/win32/wide_text.h"

namespace twinseek {
namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

// The system's control hosting (atl.dll), loaded and initialised once per
// process and kept: the "AtlAxWin" window class it registers lives as long
// as the process, so the library must too. Null when it is missing.
AtlAxGetControlFunction AtlHosting() {
  static const AtlAxGetControlFunction get_control = []() -> AtlAxGetControlFunction {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    if (atl == nullptr) return nullptr;
    auto init =
        reinterpret_cast<AtlAxWinInitFunction>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto get = reinterpret_cast<AtlAxGetControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    if (init == nullptr || get == nullptr) return nullptr;
    // The program enables the hosting at start-up already; a second
    // registration of the window class answers FALSE and changes nothing.
    init();
    return get;
  }();
  return get_control;
}

}  // namespace

ImagePreviewHost::~ImagePreviewHost() {
  if (dispatch_ != nullptr) dispatch_->Release();
  if (window_ != nullptr) DestroyWindow(window_);
}

bool ImagePreviewHost::Create(HWND parent, const RECT& rect) {
  if (window_ != nullptr) return created();
  const AtlAxGetControlFunction get_control = AtlHosting();
  if (get_control == nullptr) return false;
  // The window's text names the control; creating the window creates it.
  window_ = CreateWindowExW(0, L"AtlAxWin", kThumbnailControlClsid, WS_CHILD | WS_VISIBLE, rect.left,
                            rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) return false;
  IUnknown* control = nullptr;
  if (SUCCEEDED(get_control(window_, &control)) && control != nullptr) {
    control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch_));
    control->Release();
  }
  if (dispatch_ == nullptr) {
    // An empty host window is left when the control is not registered.
    DestroyWindow(window_);
    window_ = nullptr;
  }
  return created();
}

void ImagePreviewHost::Show(int show_command) {
  if (created()) ShowWindow(window_, show_command);
}

void ImagePreviewHost::Move(const RECT& rect) {
  if (created())
    MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void ImagePreviewHost::ShowPicture(std::string_view path) {
  if (!created()) return;
  const std::wstring wide = Cp932ToWide(path);
  VARIANTARG argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (argument.bstrVal == nullptr) return;
  DISPPARAMS params{&argument, nullptr, 1, 0};
  dispatch_->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  VariantClear(&argument);
}

}  // namespace twinseek
