#include "httpconfig/ResultatsConfigClientsHttp.h"

#include <algorithm>

#include "core/Chaines.h"

namespace norvel {

bool TestsHttpsReussis(const TypeTabResultatsTestsConfigClientsHttp& resultats) {
  return std::any_of(resultats.begin(), resultats.end(), [](const TypeResultatTestConfigClientsHttp& r) {
    const bool repondu = r.Etat == TypeEtatTestConfigClientsHttp::etcErreurServeur ||
                         r.Etat == TypeEtatTestConfigClientsHttp::etcSucces;
    return repondu && r.UrlTest.size() >= 8 && MemeTexteSansCasse(std::wstring_view(r.UrlTest).substr(0, 8), L"https://");
  });
}

void FusionnerDemandesAuthProxy(TypeTabDemandesAuthProxy& cible, const TypeTabDemandesAuthProxy& source) {
  if (cible.empty()) {
    cible = source;
    return;
  }
  const size_t existantes = cible.size();
  for (const TypeDemandeAuthProxy& demande : source) {
    const auto fin = cible.begin() + existantes;
    if (std::none_of(cible.begin(), fin,
                     [&](const TypeDemandeAuthProxy& d) { return MemeTexteSansCasse(d.Proxy, demande.Proxy); }))
      cible.push_back(demande);
  }
}

}  // namespace norvel
