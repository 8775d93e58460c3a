// Measures the download of the client setup as the installation runs it (TelechargerFichier:
// written to disk as it arrives, its progress reported as the worker would post it):
//   mesure_telechargement_setup URL FICHIER [REPETITIONS]
// Prints, for the best run, the bytes written, the seconds and the throughput, then the peak
// memory of the process. The file is checked against the size received and deleted after
// each run.
#include <windows.h>

#include <cstdio>
#include <filesystem>

#include "core/Exceptions.h"
#include "http/SessionClientsHttp.h"
#include "install/TelechargementSetup.h"
#include "tools/commun/Mesure.h"

using namespace norvel;
using namespace norvel::outils;

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: mesure_telechargement_setup URL FICHIER [REPETITIONS]\n");
    return 2;
  }
  const int repetitions = argc > 3 ? _wtoi(argv[3]) : 1;
  try {
    const std::wstring url = argv[1];
    const std::wstring fichier = argv[2];
    uint64_t signalements = 0;
    TypeOptionsTelechargement options;
    options.Progression = [&](uint64_t, uint64_t) { ++signalements; };
    TSessionClientsHttp session({L"NORVEL mesure", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    double meilleur = 0;
    uintmax_t octets = 0;
    for (int i = 0; i < repetitions; ++i) {
      const double debut = Maintenant();
      TelechargerFichier(session, url, fichier, options);
      const double duree = Maintenant() - debut;
      octets = std::filesystem::file_size(fichier);
      std::filesystem::remove(fichier);
      if (i == 0 || duree < meilleur) meilleur = duree;
    }
    AfficherMesure(octets, meilleur);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
