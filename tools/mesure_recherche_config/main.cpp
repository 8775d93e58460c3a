// Measures a search of other configurations as step 1 of the assistant runs it: three known
// proxies (Squid, the stand-in server playing a proxy for HTTP only, and a dead one), one
// script address naming Squid, discovery, and test pages of both schemes that only the proxies
// reach, all on 127.0.0.1. With a delay, the script comes that much later, as on a network
// where it never comes: the search still ends once evaluations are given up.
//
//   mesure_recherche_config.exe PORT_HTTP PORT_HTTPS PORT_SQUID [DELAI_SCRIPT_MS=0]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>

#include "platform/Attente.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "httpconfig/RechercheAutresConfigClientsHttp.h"

using namespace norvel;

namespace {

std::string Texte(const TypePropositionModifConfigClientsHttp& proposition) {
  switch (proposition.GenreConfigProxy) {
    case TypeGenreConfigProxyClientsHttp::gcpConfigSysteme:
      return "system settings";
    case TypeGenreConfigProxyClientsHttp::gcpConfigOvalis:
      return "custom settings, HTTP " + VersUtf8(proposition.ProxyHttpOvalis) + ", HTTPS " +
             VersUtf8(proposition.ProxyHttpsOvalis);
    case TypeGenreConfigProxyClientsHttp::gcpUrlConfig:
      return "script " + VersUtf8(proposition.UrlConfigProxies);
    case TypeGenreConfigProxyClientsHttp::gcpWpad:
      return "discovery";
  }
  return "?";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage : mesure_recherche_config PORT_HTTP PORT_HTTPS PORT_SQUID [DELAI_SCRIPT_MS]\n");
    return 2;
  }
  const std::wstring portHttp = argv[1], portHttps = argv[2];
  const std::wstring squid = L"127.0.0.1:" + std::wstring(argv[3]);
  const int delaiScript = argc > 4 ? _wtoi(argv[4]) : 0;
  const std::filesystem::path dossier =
      std::filesystem::temp_directory_path() / (L"mesure-recherche-config-" + std::to_wstring(GetCurrentProcessId()));
  int code = 0;
  try {
    TThreadConfigClientsHttp thread(dossier.wstring(), L"NORVEL mesure");
    thread.Demarrer();
    thread.AttendreFinInitialisation();
    TypeConfigClientsHttp config;
    thread.VerifierChangementConfig(config, false);
    thread.SupprimerTabUrlTest(config.TabUrlTest(), config);
    thread.AjouterUrlTest(L"http://internet.test:" + portHttp + L"/mesure", config);
    thread.AjouterUrlTest(L"https://internet.test:" + portHttps + L"/mesure", config);
    for (const std::wstring& proxy : {squid, L"127.0.0.1:" + portHttp, std::wstring(L"127.0.0.1:9")})
      thread.AjouterProxyConnu(proxy, config);
    // The stand-in server answers the script from the query itself.
    thread.AjouterUrlConfigProxiesConnue(L"http://localhost:" + portHttp +
                                             L"/mesure.pac?type=application/x-ns-proxy-autoconfig&delai=" +
                                             std::to_wstring(delaiScript) +
                                             L"&corps=function%20FindProxyForURL(u,h){return%20'PROXY%20" + squid +
                                             L"';}",
                                         config);

    TSessionClientsHttp session({L"NORVEL mesure", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
    const ULONGLONG debut = GetTickCount64();
    const TRef<ITraitementRechercheAutresConfigClientsHttp> recherche =
        NouvelObjet<TTraitementRechercheAutresConfigClientsHttp>(attente, thread, session.Handle(), config);
    AttendreTraitement(attente.Get(), thread, recherche.Get());
    const ULONGLONG duree = GetTickCount64() - debut;

    for (const TypePropositionModifConfigClientsHttp& proposition : recherche->GetTabPropositions())
      std::printf("  proposal: %s\n", Texte(proposition).c_str());
    std::printf("3 known proxies (one dead), 1 script address (answered after %d ms), discovery, 3 test pages: "
                "search in %llu ms (an evaluation is given up after %u ms)\n",
                delaiScript, duree, DelaiMaxEvaluationAutoProxy());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "échec : %s\n", VersUtf8(MessageDe(e)).c_str());
    code = 1;
  }
  std::error_code ignore;
  std::filesystem::remove_all(dossier, ignore);
  return code;
}
