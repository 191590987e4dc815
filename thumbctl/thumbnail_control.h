// VellmorThumbCtl itself: a windowed ActiveX control with one method,
// ShowPicture (dispatch id 1, one string: the full path of a picture file, or
// an empty text to show none). It offers what a container such as atl.dll's
// AtlAxWin needs: IOleObject (client site, extent, in-place activation by
// DoVerb), IOleInPlaceObject (its window, its rectangles, deactivation) and
// IDispatch (late-bound calls, no type information). Apartment-threaded:
// every call comes on the thread that created it.
#pragma once

#include <ole2.h>

#include "base/win32/com_ptr.h"
#include "picture_window.h"

namespace twinseek::thumbctl {

class ThumbnailControl final : public IOleObject, public IOleInPlaceObject, public IDispatch {
 public:
  static constexpr DISPID kShowPictureId = 1;

  // A new control with one reference, held by the caller.
  ThumbnailControl();
  ThumbnailControl(const ThumbnailControl&) = delete;
  ThumbnailControl& operator=(const ThumbnailControl&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR application, LPCOLESTR object) override;
  STDMETHODIMP Close(DWORD save_option) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* active_site, LONG index, HWND parent,
                      LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* user_type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow and IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argument_error) override;

 private:
  ~ThumbnailControl();

  // Creates the window inside the site's window, where the site says.
  HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position);

  LONG references_ = 1;
  ComPtr<IOleClientSite> client_site_;
  ComPtr<IOleInPlaceSite> in_place_site_;  // held while in-place active
  SIZEL extent_{2540, 2540};               // HIMETRIC
  PictureWindow view_;
};

}  // namespace twinseek::thumbctl
