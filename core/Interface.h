#pragma once
// Interfaces are COM-style: each derives from IUnknown and carries its GUID, declared with
// NORVEL_GUID at global scope so that __uuidof(I) finds it. TRef<I> holds a counted reference.
#include <unknwn.h>

#include <cstddef>
#include <utility>

#define NORVEL_GUID(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)

namespace norvel {

using IInterface = IUnknown;

template <class T>
class TRef {
 public:
  TRef() = default;
  TRef(std::nullptr_t) {}
  TRef(T* p) : FPtr(p) {
    if (FPtr) FPtr->AddRef();
  }
  TRef(const TRef& autre) : TRef(autre.FPtr) {}
  TRef(TRef&& autre) noexcept : FPtr(std::exchange(autre.FPtr, nullptr)) {}
  template <class U>
  TRef(const TRef<U>& autre) : TRef(static_cast<T*>(autre.Get())) {}
  template <class U>
  TRef(TRef<U>&& autre) noexcept : FPtr(autre.Detacher()) {}
  ~TRef() { Vider(); }

  TRef& operator=(TRef autre) noexcept {
    std::swap(FPtr, autre.FPtr);
    return *this;
  }

  // Takes over a reference already counted for us (the output of QueryInterface).
  static TRef Attacher(T* p) {
    TRef r;
    r.FPtr = p;
    return r;
  }
  T* Detacher() { return std::exchange(FPtr, nullptr); }
  void Vider() {
    if (T* p = std::exchange(FPtr, nullptr)) p->Release();
  }

  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  T& operator*() const { return *FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }

  // Asks the object for another of its interfaces; empty when it does not support it.
  template <class I>
  TRef<I> Demander() const {
    void* p = nullptr;
    if (FPtr && SUCCEEDED(FPtr->QueryInterface(__uuidof(I), &p))) return TRef<I>::Attacher(static_cast<I*>(p));
    return {};
  }

  friend bool operator==(const TRef& a, const TRef& b) { return a.FPtr == b.FPtr; }
  friend bool operator==(const TRef& a, std::nullptr_t) { return a.FPtr == nullptr; }

 private:
  T* FPtr = nullptr;
};

// Asks any interface for another one (the Supports of other languages).
template <class I, class T>
TRef<I> Demander(T* objet) {
  return TRef<T>(objet).template Demander<I>();
}

// The identity of the object behind an interface: its IUnknown pointer.
template <class T>
IUnknown* IdentiteObjet(T* objet) {
  if (!objet) return nullptr;
  IUnknown* inconnu = nullptr;
  if (FAILED(objet->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&inconnu)))) return nullptr;
  inconnu->Release();
  return inconnu;
}

}  // namespace norvel
