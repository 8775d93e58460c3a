#include "install/HandlePartage.h"

#include "core/Handle.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

namespace {

class THandlePartage : public TImplemente<TObjetInterfacable, IHandle> {
 public:
  explicit THandlePartage(HANDLE h) : FHandle(h) {}
  HANDLE GetHandle() override { return FHandle.Get(); }

 private:
  // Closes anything but null and INVALID_HANDLE_VALUE, whatever call produced the handle.
  THandleFichier FHandle;
};

}  // namespace

TRef<IHandle> CreerIHandle(HANDLE AHandle) { return NouvelObjet<THandlePartage>(AHandle); }

}  // namespace norvel
