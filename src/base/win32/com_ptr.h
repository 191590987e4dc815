// One reference to a COM object, owned: released when the owner goes or
// takes another. Move-only; Share takes a reference of its own to an object
// someone else holds.
#pragma once

#include <unknwn.h>

#include "base/win32/unique_handle.h"

namespace twinseek {

struct ComReleaser {
  void operator()(IUnknown* object) const { object->Release(); }
};

template <typename Interface>
class ComPtr : public UniqueHandle<Interface*, ComReleaser> {
 public:
  // ComPtr(object) takes over a reference the caller holds (a call's
  // out-parameter).
  using UniqueHandle<Interface*, ComReleaser>::UniqueHandle;

  // A reference of its own to object (which may be null).
  static ComPtr Share(Interface* object) {
    if (object != nullptr) object->AddRef();
    return ComPtr(object);
  }

  Interface* operator->() const { return this->get(); }

  // The object's interface iid, as a reference of its own; null when the
  // object has no such interface.
  template <typename Other>
  ComPtr<Other> Query(REFIID iid) const {
    ComPtr<Other> other;
    if (this->get() != nullptr) this->get()->QueryInterface(iid, reinterpret_cast<void**>(other.Receive()));
    return other;
  }
};

}  // namespace twinseek
