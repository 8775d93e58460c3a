// Measures a download through TRequeteHttp, the way the setup download runs it (a worker's
// blocking wait, the body streamed to a file as it arrives):
//   mesure_telechargement URL FICHIER [REPETITIONS]
// Prints, for the best run, the bytes, the seconds and the throughput, then the peak memory of
// the process. The file is deleted after each run.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "core/ErreurSysteme.h"
#include "platform/Attente.h"
#include "core/Exceptions.h"
#include "core/Handle.h"
#include "http/RequeteHttp.h"
#include "http/SessionClientsHttp.h"
#include "http/UrlDecomposee.h"
#include "tools/commun/Mesure.h"

using namespace norvel;
using namespace norvel::outils;

namespace {

class TPuitsFichier : public TPuitsCorpsHttp {
 public:
  explicit TPuitsFichier(const wchar_t* chemin)
      : FFichier(CreateFileW(chemin, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!FFichier) throw ErreurSysteme(L"CreateFile");
  }
  void DebutCorps(const TRequeteHttp&) override {}
  void Morceau(const char* octets, size_t taille) override {
    DWORD ecrits = 0;
    VerifierWin32(WriteFile(FFichier.Get(), octets, static_cast<DWORD>(taille), &ecrits, nullptr), L"WriteFile");
  }

 private:
  THandleFichier FFichier;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: mesure_telechargement URL FICHIER [REPETITIONS]\n");
    return 2;
  }
  const int repetitions = argc > 3 ? _wtoi(argv[3]) : 1;
  try {
    const TypeUrlDecomposee url = TypeUrlDecomposee::Create(argv[1]);
    TSessionClientsHttp session({L"NORVEL mesure", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    TClientHttp client(session, url.NomServeur, url.PortTcp);
    const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
    double meilleur = 0;
    uint64_t octets = 0;
    for (int i = 0; i < repetitions; ++i) {
      const double debut = Maintenant();
      {
        TPuitsFichier fichier(argv[2]);
        TRequeteHttp requete(client, attente.Get(), L"GET", url.ParamUrl + url.ExtraInfo, url.Https, false, L"HTTP/1.1");
        requete.AffecterTimeOuts(30000, 60000, 600000, 3600000);
        requete.EnvoyerCorpsDans(&fichier);
        requete.Executer();
        octets = requete.OctetsRecus();
        if (requete.StatutReponse() != L"200") {
          std::fwprintf(stderr, L"réponse incorrecte : statut %ls\n", requete.StatutReponse().c_str());
          return 1;
        }
      }
      const double duree = Maintenant() - debut;
      DeleteFileW(argv[2]);
      if (i == 0 || duree < meilleur) meilleur = duree;
    }
    AfficherMesure(octets, meilleur);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
