// The most WinHTTP gives here, as the reference of the download measurements: one synchronous
// GET, one large buffer, straight to a file, nothing else.
//   lecture_winhttp_minimale URL FICHIER [REPETITIONS]
// Prints, for the best run, the bytes written, the seconds and the throughput, then the peak
// memory of the process. The file is deleted after each run.
#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "core/Handle.h"
#include "http/HandleWinhttp.h"
#include "tools/commun/Mesure.h"

using namespace norvel;
using namespace norvel::outils;

namespace {

constexpr DWORD TailleTampon = 1024 * 1024;

bool Echec(const char* appel) {
  std::fprintf(stderr, "%s : erreur %lu\n", appel, GetLastError());
  return false;
}

bool Lire(HINTERNET connexion, const URL_COMPONENTS& url, const wchar_t* chemin, uintmax_t& octets) {
  THinternet requete(WinHttpOpenRequest(connexion, L"GET", url.lpszUrlPath, nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES,
                                        url.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!requete) return Echec("WinHttpOpenRequest");
  if (!WinHttpSendRequest(requete.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(requete.Get(), nullptr))
    return Echec("WinHttpSendRequest");
  THandleFichier fichier(CreateFileW(chemin, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!fichier) return Echec("CreateFile");
  std::vector<char> tampon(TailleTampon);
  octets = 0;
  for (DWORD lus = 0;; octets += lus) {
    if (!WinHttpReadData(requete.Get(), tampon.data(), TailleTampon, &lus)) return Echec("WinHttpReadData");
    if (lus == 0) return true;
    DWORD ecrits = 0;
    if (!WriteFile(fichier.Get(), tampon.data(), lus, &ecrits, nullptr)) return Echec("WriteFile");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: lecture_winhttp_minimale URL FICHIER [REPETITIONS]\n");
    return 2;
  }
  const int repetitions = argc > 3 ? _wtoi(argv[3]) : 1;
  wchar_t hote[256] = {}, chemin[2048] = {};
  URL_COMPONENTS url{sizeof url};
  url.lpszHostName = hote;
  url.dwHostNameLength = 256;
  url.lpszUrlPath = chemin;
  url.dwUrlPathLength = 2048;
  if (!WinHttpCrackUrl(argv[1], 0, 0, &url)) return Echec("WinHttpCrackUrl"), 1;
  THinternet session(WinHttpOpen(L"NORVEL reference", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
  THinternet connexion(session ? WinHttpConnect(session.Get(), hote, url.nPort, 0) : nullptr);
  if (!connexion) return Echec("WinHttpConnect"), 1;
  double meilleur = 0;
  uintmax_t octets = 0;
  for (int i = 0; i < repetitions; ++i) {
    const double debut = Maintenant();
    if (!Lire(connexion.Get(), url, argv[2], octets)) return 1;
    const double duree = Maintenant() - debut;
    DeleteFileW(argv[2]);
    if (i == 0 || duree < meilleur) meilleur = duree;
  }
  AfficherMesure(octets, meilleur);
  return 0;
}
