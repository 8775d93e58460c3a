#pragma once
// What the journal says of the HTTP configuration: the configuration a run uses, the results
// of its tests, the proposals of a search. Credentials never appear: only the names of the
// proxies that have some stored.
#include <string>

#include "httpconfig/ConfigClientsHttp.h"
#include "httpconfig/ResultatsConfigClientsHttp.h"

namespace norvel {

// AProxiesAvecInfoAuth: the proxies the master copy holds credentials for (copies hold none).
std::wstring DescriptionConfigClientsHttp(const TypeConfigClientsHttp& AConfig, const TypeTabChaines& AProxiesAvecInfoAuth);
std::wstring DescriptionProposition(const TypePropositionModifConfigClientsHttp& AProposition);
std::wstring DescriptionResultatTest(const TypeResultatTestConfigClientsHttp& AResultat);

}  // namespace norvel
