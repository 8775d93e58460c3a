// Measures the test of a configuration as step 1 of the assistant runs it: every test URL on
// its own worker, all at once, collected by the configuration thread. The configuration goes
// through a proxy at 127.0.0.1:<port> (the stand-in server answers proxy requests), so nothing
// leaves the machine; each test URL asks that server to wait before answering.
//
//   mesure_tests_config.exe PORT [URLS=3] [DELAI_MS=1000]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>

#include "platform/Attente.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "httpconfig/TestsConfigClientsHttp.h"

using namespace norvel;

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage : mesure_tests_config PORT [URLS] [DELAI_MS]\n");
    return 2;
  }
  const std::wstring proxy = L"127.0.0.1:" + std::wstring(argv[1]);
  const int nombre = argc > 2 ? _wtoi(argv[2]) : 3;
  const int delai = argc > 3 ? _wtoi(argv[3]) : 1000;
  const std::filesystem::path dossier =
      std::filesystem::temp_directory_path() / (L"mesure-tests-config-" + std::to_wstring(GetCurrentProcessId()));
  try {
    TThreadConfigClientsHttp thread(dossier.wstring(), L"NORVEL mesure");
    thread.Demarrer();
    thread.AttendreFinInitialisation();
    TypeConfigClientsHttp config;
    thread.VerifierChangementConfig(config, false);
    thread.SupprimerTabUrlTest(config.TabUrlTest(), config);
    for (int i = 1; i <= nombre; ++i)
      thread.AjouterUrlTest(L"http://internet.test/lente-" + std::to_wstring(i) + L"?delai=" + std::to_wstring(delai),
                            config);
    config.SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp::gcpConfigOvalis);
    config.SetProxyHttpOvalis(proxy);
    config.SetProxyHttpsOvalis(proxy);

    const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
    const ULONGLONG debut = GetTickCount64();
    const auto test = NouvelObjet<TTraitementTestConfigClientsHttp>(attente, thread, config);
    AttendreTraitement(attente.Get(), thread, static_cast<ITraitementTestConfigClientsHttp*>(test.Get()));
    const ULONGLONG duree = GetTickCount64() - debut;

    for (const TypeResultatTestConfigClientsHttp& resultat : test->GetTabResultats())
      std::printf("  %s : %d %s\n", VersUtf8(resultat.UrlTest).c_str(), static_cast<int>(resultat.Etat),
                  VersUtf8(resultat.InfoCompl.substr(0, resultat.InfoCompl.find(L'\r'))).c_str());
    std::printf("%d URLs each answered after %d ms (plus the built-in page): test of the configuration in %llu ms\n",
                nombre, delai, duree);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "échec : %s\n", VersUtf8(MessageDe(e)).c_str());
    return 1;
  }
  std::error_code ignore;
  std::filesystem::remove_all(dossier, ignore);
  return 0;
}
