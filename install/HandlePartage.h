#pragma once
// IHandle: a counted reference to an operating-system handle, closed when the last reference
// goes. The process launcher shares one pipe end between itself and the read in flight on it,
// so neither may close it while the other still uses it.
#include <windows.h>

#include "core/Interface.h"

namespace norvel {

struct IHandle : IUnknown {
  virtual HANDLE GetHandle() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IHandle, 0x161EB0E6, 0xD017, 0x4672, 0xB5, 0x88, 0x7D, 0x77, 0xB2, 0x8B, 0x7E, 0xDF)

namespace norvel {

// Takes ownership of AHandle (null or INVALID_HANDLE_VALUE give an owner of nothing).
TRef<IHandle> CreerIHandle(HANDLE AHandle);

}  // namespace norvel
