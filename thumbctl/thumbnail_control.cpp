#include "thumbnail_control.h"

#include <olectl.h>

#include <string_view>
#include <utility>

#include "module.h"
#include "thumb_ctl_ids.h"

namespace twinseek::thumbctl {
namespace {

// The text of ShowPicture's one argument: a string, or a string by reference.
HRESULT StringArgument(const VARIANTARG& argument, std::wstring_view& text) {
  if (argument.vt == VT_BSTR) {
    text = argument.bstrVal != nullptr ? std::wstring_view(argument.bstrVal, SysStringLen(argument.bstrVal))
                                       : std::wstring_view();
    return S_OK;
  }
  if (argument.vt == (VT_BSTR | VT_BYREF) && argument.pbstrVal != nullptr) {
    const BSTR value = *argument.pbstrVal;
    text = value != nullptr ? std::wstring_view(value, SysStringLen(value)) : std::wstring_view();
    return S_OK;
  }
  return DISP_E_TYPEMISMATCH;
}

}  // namespace

ThumbnailControl::ThumbnailControl() { ObjectCreated(); }

ThumbnailControl::~ThumbnailControl() {
  InPlaceDeactivate();
  client_site_.reset();
  ObjectDestroyed();
}

// IUnknown

STDMETHODIMP ThumbnailControl::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleObject) {
    *object = static_cast<IOleObject*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
    *object = static_cast<IOleInPlaceObject*>(this);
  } else if (iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ThumbnailControl::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) ThumbnailControl::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// IOleObject

STDMETHODIMP ThumbnailControl::SetClientSite(IOleClientSite* site) {
  client_site_ = ComPtr<IOleClientSite>::Share(site);
  return S_OK;
}

STDMETHODIMP ThumbnailControl::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = ComPtr<IOleClientSite>::Share(client_site_.get()).release();
  return S_OK;
}

STDMETHODIMP ThumbnailControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP ThumbnailControl::Close(DWORD) { return InPlaceDeactivate(); }

STDMETHODIMP ThumbnailControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP ThumbnailControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ThumbnailControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP ThumbnailControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ThumbnailControl::DoVerb(LONG verb, LPMSG, IOleClientSite* active_site, LONG, HWND parent,
                                      LPCRECT position) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(active_site != nullptr ? active_site : client_site_.get(), parent, position);
    case OLEIVERB_HIDE:
      if (view_.window() != nullptr) ShowWindow(view_.window(), SW_HIDE);
      return S_OK;
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
}

STDMETHODIMP ThumbnailControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs != nullptr) *verbs = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ThumbnailControl::Update() { return S_OK; }

STDMETHODIMP ThumbnailControl::IsUpToDate() { return S_OK; }

STDMETHODIMP ThumbnailControl::GetUserClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = kControlClsid;
  return S_OK;
}

STDMETHODIMP ThumbnailControl::GetUserType(DWORD, LPOLESTR* user_type) {
  if (user_type != nullptr) *user_type = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP ThumbnailControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP ThumbnailControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP ThumbnailControl::Advise(IAdviseSink*, DWORD* connection) {
  if (connection != nullptr) *connection = 0;
  return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP ThumbnailControl::Unadvise(DWORD) { return OLE_E_NOCONNECTION; }

STDMETHODIMP ThumbnailControl::EnumAdvise(IEnumSTATDATA** advise) {
  if (advise != nullptr) *advise = nullptr;
  return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP ThumbnailControl::GetMiscStatus(DWORD, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
            OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

STDMETHODIMP ThumbnailControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

HRESULT ThumbnailControl::ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position) {
  if (view_.window() != nullptr) {
    ShowWindow(view_.window(), SW_SHOW);
    return S_OK;
  }
  if (site == nullptr) return E_INVALIDARG;
  ComPtr<IOleInPlaceSite> in_place_site;
  if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(in_place_site.Receive())))) {
    return E_NOINTERFACE;
  }
  if (in_place_site->CanInPlaceActivate() != S_OK) return E_FAIL;
  in_place_site->OnInPlaceActivate();

  HWND site_window = nullptr;
  if (FAILED(in_place_site->GetWindow(&site_window)) || site_window == nullptr) site_window = parent;
  RECT place = position != nullptr ? *position : RECT{};
  RECT clip{};
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  OLEINPLACEFRAMEINFO frame_info{};
  frame_info.cb = sizeof frame_info;
  in_place_site->GetWindowContext(frame.Receive(), document.Receive(), &place, &clip, &frame_info);
  if (site_window == nullptr || !view_.Create(site_window, place)) {
    in_place_site->OnInPlaceDeactivate();
    return E_FAIL;
  }
  in_place_site_ = std::move(in_place_site);
  return S_OK;
}

// IOleWindow and IOleInPlaceObject

STDMETHODIMP ThumbnailControl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = view_.window();
  return *window != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP ThumbnailControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ThumbnailControl::InPlaceDeactivate() {
  view_.Destroy();
  // Taken out first: the site may call back into the control.
  if (ComPtr<IOleInPlaceSite> site = std::move(in_place_site_)) site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP ThumbnailControl::UIDeactivate() { return S_OK; }

STDMETHODIMP ThumbnailControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (position == nullptr) return E_POINTER;
  view_.Move(*position);
  return S_OK;
}

STDMETHODIMP ThumbnailControl::ReactivateAndUndo() { return E_NOTIMPL; }

// IDispatch

STDMETHODIMP ThumbnailControl::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP ThumbnailControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP ThumbnailControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  if (count == 0) return S_OK;
  // Only the method's own name is known; ShowPicture has no named arguments.
  bool known =
      names[0] != nullptr && CompareStringOrdinal(names[0], -1, L"ShowPicture", -1, TRUE) == CSTR_EQUAL;
  ids[0] = known ? kShowPictureId : DISPID_UNKNOWN;
  for (UINT i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    known = false;
  }
  return known ? S_OK : DISP_E_UNKNOWNNAME;
}

STDMETHODIMP ThumbnailControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT* argument_error) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (id != kShowPictureId || (flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
  if (params == nullptr || params->cArgs != 1 || params->rgvarg == nullptr) return DISP_E_BADPARAMCOUNT;
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  std::wstring_view path;
  if (const HRESULT status = StringArgument(params->rgvarg[0], path); FAILED(status)) {
    if (argument_error != nullptr) *argument_error = 0;
    return status;
  }
  if (result != nullptr) VariantInit(result);
  view_.ShowPicture(path);
  return S_OK;
}

}  // namespace twinseek::thumbctl
