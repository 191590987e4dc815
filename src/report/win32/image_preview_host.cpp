#include "report/win32/image_preview_host.h"

#include <ole2.h>

#include "base/win32/wide_text.h"

namespace twinseek {
namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

// The hosting's AtlAxGetControl; null when the library or an entry point is
// missing. The library is never freed (see EnableControlHosting).
AtlAxGetControlFunction AtlHosting() {
  static const AtlAxGetControlFunction get_control = []() -> AtlAxGetControlFunction {
    const HMODULE atl = LoadLibraryW(L"atl.dll");
    if (atl == nullptr) return nullptr;
    auto init =
        reinterpret_cast<AtlAxWinInitFunction>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto get = reinterpret_cast<AtlAxGetControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    if (init == nullptr || get == nullptr) return nullptr;
    init();
    return get;
  }();
  return get_control;
}

}  // namespace

bool EnableControlHosting() { return AtlHosting() != nullptr; }

ImagePreviewHost::~ImagePreviewHost() {
  dispatch_.reset();
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
  ComPtr<IUnknown> control;
  if (SUCCEEDED(get_control(window_, control.Receive()))) dispatch_ = control.Query<IDispatch>(IID_IDispatch);
  if (!dispatch_) {
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
