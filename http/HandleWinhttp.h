#pragma once
// Owner of a WinHTTP session or connection handle. Requests are closed by TRequeteHttp itself,
// which must wait for WinHTTP to let go of them.
#include <windows.h>
#include <winhttp.h>

#include "core/Handle.h"

namespace norvel {

namespace detail {
inline void FermerHinternet(HINTERNET h) { WinHttpCloseHandle(h); }
}  // namespace detail

using THinternet = THandleUnique<HINTERNET, detail::Nul<HINTERNET>, detail::FermerHinternet>;

}  // namespace norvel
