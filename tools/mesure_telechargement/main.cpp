// Measures a download through TRequeteHttp, the way the setup download runs it (a worker's
// blocking wait, the same time-outs): mesure_telechargement URL [REPETITIONS]. Prints, for the
// best run, the bytes, the seconds and the throughput, then the peak memory of the process.
// Bodies of the stand-in server's test pattern are checked block by block after each run.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/Attente.h"
#include "core/Exceptions.h"
#include "http/RequeteHttp.h"
#include "http/SessionClientsHttp.h"
#include "http/UrlDecomposee.h"
#include "tools/commun/Mesure.h"

using namespace norvel;
using namespace norvel::outils;

namespace {

// The pattern numbers its 4096-byte blocks in their first 8 bytes (big-endian).
bool MotifIntact(const std::string& corps) {
  for (size_t bloc = 0; bloc * 4096 + 8 <= corps.size(); ++bloc) {
    uint64_t numero = 0;
    for (int i = 0; i < 8; ++i) numero = numero << 8 | static_cast<uint8_t>(corps[bloc * 4096 + i]);
    if (numero != bloc) return false;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: mesure_telechargement URL [REPETITIONS]\n");
    return 2;
  }
  const int repetitions = argc > 2 ? _wtoi(argv[2]) : 1;
  try {
    const TypeUrlDecomposee url = TypeUrlDecomposee::Create(argv[1]);
    TSessionClientsHttp session({L"NORVEL mesure", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    TClientHttp client(session, url.NomServeur, url.PortTcp);
    const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
    double meilleur = 0;
    size_t octets = 0;
    for (int i = 0; i < repetitions; ++i) {
      TRequeteHttp requete(client, attente.Get(), L"GET", url.ParamUrl + url.ExtraInfo, url.Https, false, L"HTTP/1.1");
      requete.AffecterTimeOuts(30000, 60000, 600000, 3600000);
      const double debut = Maintenant();
      requete.Executer();
      const double duree = Maintenant() - debut;
      octets = requete.Reponse().size();
      if (requete.StatutReponse() != L"200" || !MotifIntact(requete.Reponse())) {
        std::fwprintf(stderr, L"réponse incorrecte : statut %ls, %zu octets\n", requete.StatutReponse().c_str(), octets);
        return 1;
      }
      if (i == 0 || duree < meilleur) meilleur = duree;
    }
    AfficherMesure(octets, meilleur);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
