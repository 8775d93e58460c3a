#pragma once
// Failures that are not WinHTTP errors: an answer the caller did not expect, and the proxies
// that cannot keep up Windows authentication because they answer in HTTP/1.0.
#include <string_view>

#include "core/Exceptions.h"

namespace norvel {

// "Erreur HTTP %s : %s" with the response's status code and status text (or the server's
// own explanation of the error).
EOvalis ErreurStatutHttp(std::wstring_view statut, std::wstring_view texteStatut);

// A Squid of the given version (for example "2.7") that answered NTLM over HTTP/1.0.
EOvalis ErreurSquidSansHttp11(std::wstring_view versionSquid, std::wstring_view entetes);
// The same from a proxy that does not say what it is.
EOvalis ErreurProxySansHttp11(std::wstring_view entetes);

}  // namespace norvel
