// The class object of VellmorThumbCtl that DllGetClassObject hands out: it
// makes ThumbnailControl objects (no aggregation) and locks the server.
#pragma once

#include <ole2.h>

namespace twinseek::thumbctl {

class ClassFactory final : public IClassFactory {
 public:
  // A new class object with one reference, held by the caller.
  ClassFactory();
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~ClassFactory();

  LONG references_ = 1;
};

}  // namespace twinseek::thumbctl
