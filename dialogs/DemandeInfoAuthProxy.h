#pragma once
// The question a proxy's demand for credentials puts to the user, whichever thread needs them:
// the login dialog always runs on the user-interface thread, the asking thread sleeps until
// the user has answered.
#include <string>

#include "http/InfoHttp.h"

namespace norvel {

// Shows the login dialog titled "Demande d'authentification" for the proxy. True when the user
// validated: the typed login and password, trimmed and obfuscated, are then in infoAuth (its
// scheme is left to the caller). False (cancelled, or the program is closing) leaves infoAuth
// unchanged.
bool DemanderInfoAuthProxyGraphique(const std::wstring& proxy, TypeInfoAuthHttp& infoAuth);

}  // namespace norvel
