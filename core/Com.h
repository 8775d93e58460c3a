#pragma once
// The component model for the calling thread, and checked creation of its objects.
#include <windows.h>
#include <objbase.h>

#include <string_view>

#include "core/Interface.h"

namespace norvel {

// Raises the generic system error naming the call when a COM call fails.
void VerifierHResult(HRESULT resultat, std::wstring_view nomAppel);

// Initialises COM for this thread for the object's lifetime. A thread already initialised in
// another mode keeps it (COM objects still work there); only a successful call is balanced.
class TInitialisationCom {
 public:
  explicit TInitialisationCom(DWORD mode = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ~TInitialisationCom();
  TInitialisationCom(const TInitialisationCom&) = delete;
  TInitialisationCom& operator=(const TInitialisationCom&) = delete;

 private:
  bool FAEquilibrer = false;
};

// An in-process instance of a class, asked for interface I; raises on failure.
template <class I>
TRef<I> CreerInstanceCom(REFCLSID classe) {
  void* p = nullptr;
  VerifierHResult(CoCreateInstance(classe, nullptr, CLSCTX_INPROC_SERVER, __uuidof(I), &p), L"CoCreateInstance");
  return TRef<I>::Attacher(static_cast<I*>(p));
}

}  // namespace norvel
