#include "support/Monde.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <memory>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Handle.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"

namespace norvel::test {

namespace {

// Time the world may take to start: the first run makes the test certificates.
constexpr int DelaiDemarrageMs = 90000;
constexpr int DelaiArretMs = 20000;

struct TSocket {
  SOCKET S;
  ~TSocket() {
    if (S != INVALID_SOCKET) closesocket(S);
  }
};

[[noreturn]] void Echec(const std::wstring& message) { throw EOvalis(L"Monde de test : " + message); }

// A Linux path that CTest gives in the environment (NORVEL_SOURCE_DIR, NORVEL_BUILD_DIR).
std::wstring VariableEnvironnement(const wchar_t* nom, const wchar_t* defaut = nullptr) {
  wchar_t valeur[4096];
  const DWORD n = GetEnvironmentVariableW(nom, valeur, std::size(valeur));
  if (n > 0 && n < std::size(valeur)) return std::wstring(valeur, n);
  if (!defaut) Echec(std::wstring(nom) + L" n'est pas défini : lancer les tests par scripts/test ou ctest");
  return defaut;
}

std::wstring CheminWindows(std::wstring_view cheminLinux) { return CheminWindowsDepuisLinux(VersUtf8(cheminLinux)); }

std::string LireFichier(const std::wstring& chemin) {
  THandleFichier fichier(CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!fichier) Echec(L"impossible de lire " + chemin);
  std::string contenu;
  char tampon[65536];
  DWORD lus = 0;
  while (ReadFile(fichier.Get(), tampon, sizeof tampon, &lus, nullptr) && lus > 0) contenu.append(tampon, lus);
  return contenu;
}

void DemarrerWinsock() {
  static const bool demarre = [] {
    WSADATA donnees;
    return WSAStartup(MAKEWORD(2, 2), &donnees) == 0;
  }();
  if (!demarre) Echec(L"WSAStartup a échoué");
}

// Waits until the socket can be read, at most delaiMs.
bool AttendreLecture(SOCKET s, int delaiMs) {
  fd_set lecture;
  FD_ZERO(&lecture);
  FD_SET(s, &lecture);
  timeval delai{delaiMs / 1000, (delaiMs % 1000) * 1000};
  return select(0, &lecture, nullptr, nullptr, &delai) == 1;
}

std::string LireLigne(SOCKET s, int delaiMs) {
  std::string ligne;
  char c;
  while (AttendreLecture(s, delaiMs) && recv(s, &c, 1, 0) == 1) {
    if (c == '\n') return ligne;
    ligne += c;
  }
  return ligne;
}

std::wstring Guillemets(const std::wstring& texte) { return L"\"" + texte + L"\""; }

// Starts a Linux program (Wine gives no process handle to wait on for those).
void LancerProgrammeLinux(std::wstring ligneCommande) {
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof demarrage;
  PROCESS_INFORMATION processus{};
  if (!CreateProcessW(nullptr, ligneCommande.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &demarrage,
                      &processus))
    Echec(L"impossible de lancer " + ligneCommande + L" (erreur " + std::to_wstring(GetLastError()) + L")");
  if (processus.hThread) CloseHandle(processus.hThread);
  if (processus.hProcess) CloseHandle(processus.hProcess);
}

// The test authority goes into the prefix's Root store through the helper program, as a
// person preparing a test machine would do it.
void AjouterAutoriteRacine(const std::wstring& fichierDer) {
  const TResultatEnfant resultat = LancerProgrammeEnfant(L"certificatracine", L"ajouter " + Guillemets(CheminWindows(fichierDer)),
                                                         FichierBuild(L"tools\\certificatracine.exe"));
  if (resultat.CodeSortie != 0)
    Echec(L"certificatracine.exe n'a pas ajouté l'autorité de test " + fichierDer + L" (code " +
          std::to_wstring(resultat.CodeSortie) + L")");
}

}  // namespace

std::string MotifMonde(uint64_t debut, size_t longueur) {
  constexpr uint64_t Bloc = 4096;
  std::string motif(longueur, '\0');
  for (size_t i = 0; i < longueur; ++i) {
    const uint64_t position = debut + i;
    const uint64_t dans = position % Bloc;
    motif[i] = static_cast<char>(dans < 8 ? (position / Bloc) >> (8 * (7 - dans)) : dans);
  }
  return motif;
}

TMonde::TMonde(const TOptionsMonde& options) : FConnexion(INVALID_SOCKET) {
  DemarrerWinsock();
  TSocket ecoute{socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)};
  if (ecoute.S == INVALID_SOCKET) Echec(L"socket a échoué");
  sockaddr_in adresse{};
  adresse.sin_family = AF_INET;
  adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int taille = sizeof adresse;
  if (bind(ecoute.S, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 || listen(ecoute.S, 1) != 0 ||
      getsockname(ecoute.S, reinterpret_cast<sockaddr*>(&adresse), &taille) != 0)
    Echec(L"impossible d'écouter sur 127.0.0.1");

  std::wstring commande =
      Guillemets(CheminWindows(VariableEnvironnement(L"NORVEL_PYTHON", L"/usr/bin/python3"))) + L" " +
      Guillemets(VariableEnvironnement(L"NORVEL_SOURCE_DIR") + L"/tools/monde/monde.py") + L" --controle " +
      std::to_wstring(ntohs(adresse.sin_port)) + L" --pki " +
      Guillemets(VariableEnvironnement(L"NORVEL_BUILD_DIR") + L"/monde-pki");
  if (options.Squid) commande += L" --squid";
  for (const std::wstring& hote : options.HotesDuProxy) commande += L" --hote " + Guillemets(hote);
  if (!options.Telechargements.empty()) commande += L" --telechargements " + Guillemets(options.Telechargements);
  LancerProgrammeLinux(commande);

  if (!AttendreLecture(ecoute.S, DelaiDemarrageMs))
    Echec(L"tools/monde/monde.py ne s'est pas annoncé (python3 absent ? voir sa sortie d'erreur)");
  FConnexion = accept(ecoute.S, nullptr, nullptr);
  if (FConnexion == INVALID_SOCKET) Echec(L"accept a échoué");

  const std::string ligne = LireLigne(FConnexion, DelaiDemarrageMs);
  if (!CommencePar(DepuisUtf8(ligne), L"PRET ")) {
    Arreter();
    Echec(ligne.empty() ? L"le monde s'est arrêté sans rien dire" : DepuisUtf8(ligne));
  }
  for (const std::wstring& paire : Decouper(DepuisUtf8(ligne.substr(5)), L'\t')) {
    const size_t egal = paire.find(L'=');
    if (egal != std::wstring::npos) FValeurs[VersUtf8(paire.substr(0, egal))] = paire.substr(egal + 1);
  }
  try {
    AjouterAutoriteRacine(Valeur("ac"));
  } catch (...) {
    Arreter();
    throw;
  }
}

TMonde::~TMonde() { Arreter(); }

void TMonde::Arreter() {
  if (FConnexion == INVALID_SOCKET) return;
  const SOCKET s = FConnexion;
  FConnexion = INVALID_SOCKET;
  send(s, "arret\n", 6, 0);
  // The world answers "FIN" once Squid and the servers are down.
  LireLigne(s, DelaiArretMs);
  closesocket(s);
}

std::wstring TMonde::Valeur(const std::string& nom) const {
  const auto trouve = FValeurs.find(nom);
  if (trouve == FValeurs.end()) Echec(L"le monde n'a pas de valeur « " + DepuisUtf8(nom) + L" »");
  return trouve->second;
}

uint16_t TMonde::Port(const std::string& nom) const { return static_cast<uint16_t>(std::stoi(Valeur(nom))); }

std::wstring TMonde::Url(const std::string& ecoute, std::wstring_view cheminEtRequete, std::wstring_view hote) const {
  const std::wstring schema = CommencePar(DepuisUtf8(ecoute), L"https") ? L"https" : L"http";
  return schema + L"://" + std::wstring(hote) + L":" + std::to_wstring(Port(ecoute)) + std::wstring(cheminEtRequete);
}

std::string TMonde::Fichier(const std::string& nom) const { return LireFichier(CheminWindows(Valeur(nom))); }

std::wstring TMonde::AdresseProxy(const std::string& portSquid) const {
  return L"127.0.0.1:" + std::to_wstring(Port(portSquid));
}

namespace {
struct TMondesPartages {
  std::map<TOptionsMonde, std::unique_ptr<TMonde>> Mondes;
  std::map<TOptionsMonde, std::wstring> Echecs;
};
TMondesPartages& Partages() {
  static TMondesPartages partages;
  return partages;
}
}  // namespace

TMonde& MondePartage(const TOptionsMonde& options) {
  TMondesPartages& partages = Partages();
  if (const auto echec = partages.Echecs.find(options); echec != partages.Echecs.end()) throw EOvalis(echec->second);
  auto& monde = partages.Mondes[options];
  if (!monde) {
    try {
      monde = std::make_unique<TMonde>(options);
    } catch (const EOvalis& e) {
      partages.Mondes.erase(options);
      partages.Echecs[options] = e.Message();
      throw;
    }
  }
  return *monde;
}

void ArreterMondesPartages() { Partages().Mondes.clear(); }

}  // namespace norvel::test
