#include "support/ProcessusEnfant.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/Chaines.h"
#include "core/Handle.h"

namespace norvel::test {

namespace {

constexpr const wchar_t* VariableEnfant = L"NORVEL_PROGRAMME_ENFANT";
constexpr DWORD DelaiEnfantMs = 30000;

std::map<std::wstring, TFonctionEnfant>& Enfants() {
  static std::map<std::wstring, TFonctionEnfant> enfants;
  return enfants;
}

std::wstring CheminDeCeProgramme() {
  std::wstring chemin(32768, L'\0');
  chemin.resize(GetModuleFileNameW(nullptr, chemin.data(), static_cast<DWORD>(chemin.size())));
  return chemin;
}

// This process's environment with the child's name added (any earlier choice replaced).
std::wstring EnvironnementEnfant(std::wstring_view nom) {
  std::wstring bloc;
  const std::wstring prefixe = std::wstring(VariableEnfant) + L"=";
  if (wchar_t* chaines = GetEnvironmentStringsW()) {
    for (const wchar_t* p = chaines; *p; p += wcslen(p) + 1)
      if (!MemeTexteSansCasse(std::wstring_view(p).substr(0, prefixe.size()), prefixe)) bloc.append(p).push_back(L'\0');
    FreeEnvironmentStringsW(chaines);
  }
  bloc.append(prefixe).append(nom).push_back(L'\0');
  bloc.push_back(L'\0');
  return bloc;
}

[[noreturn]] void Echec(const std::string& quoi) {
  throw std::runtime_error(quoi + " (erreur " + std::to_string(GetLastError()) + ")");
}

// Starts the child; the caller owns both handles of the answer.
PROCESS_INFORMATION DemarrerEnfant(std::wstring_view nom, std::wstring_view arguments, std::wstring& executable,
                                   STARTUPINFOW& demarrage, bool heriterHandles) {
  if (executable.empty()) executable = CheminDeCeProgramme();
  std::wstring ligne = L"\"" + executable + L"\" " + std::wstring(arguments);
  std::wstring environnement = EnvironnementEnfant(nom);
  PROCESS_INFORMATION infos{};
  if (!CreateProcessW(executable.c_str(), ligne.data(), nullptr, nullptr, heriterHandles, CREATE_UNICODE_ENVIRONMENT,
                      environnement.data(), nullptr, &demarrage, &infos))
    Echec("CreateProcess " + VersUtf8(executable));
  return infos;
}

}  // namespace

TEnregistrementEnfant::TEnregistrementEnfant(const wchar_t* nom, TFonctionEnfant fonction) {
  Enfants()[nom] = fonction;
}

bool ExecuterProgrammeEnfantDemande(int& codeSortie) {
  wchar_t nom[256];
  const DWORD longueur = GetEnvironmentVariableW(VariableEnfant, nom, std::size(nom));
  if (longueur == 0 || longueur >= std::size(nom)) return false;
  const auto trouve = Enfants().find(nom);
  if (trouve == Enfants().end()) {
    std::fprintf(stderr, "programme enfant inconnu : %s\n", VersUtf8(nom).c_str());
    codeSortie = 3;
    return true;
  }
  try {
    codeSortie = trouve->second();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "programme enfant %s : %s\n", VersUtf8(nom).c_str(), e.what());
    codeSortie = 4;
  }
  return true;
}

void EcrireLigneEnfant(std::wstring_view ligne) {
  const std::string octets = VersUtf8(ligne) + "\n";
  DWORD ecrits = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
}

namespace {

// One of the child's output streams: a pipe whose end the child inherits, read whole by a thread
// of ours until the child's copy closes.
class TTubeSortie {
 public:
  TTubeSortie() {
    SECURITY_ATTRIBUTES heritable{sizeof(heritable), nullptr, TRUE};
    if (!CreatePipe(FLecture.Adresse(), FEcriture.Adresse(), &heritable, 0)) Echec("CreatePipe");
    SetHandleInformation(FLecture.Get(), HANDLE_FLAG_INHERIT, 0);
  }
  HANDLE CoteEnfant() const { return FEcriture.Get(); }
  // Once the child holds its copy: ours goes, so that the reading ends with the child.
  void Lire() {
    FEcriture.Reinitialiser();
    FLecteur = std::thread([this] {
      char tampon[4096];
      DWORD lus = 0;
      while (ReadFile(FLecture.Get(), tampon, sizeof(tampon), &lus, nullptr) && lus > 0) FOctets.append(tampon, lus);
    });
  }
  std::wstring Texte() {
    if (FLecteur.joinable()) FLecteur.join();
    return DepuisUtf8(FOctets);
  }
  ~TTubeSortie() {
    if (FLecteur.joinable()) FLecteur.join();
  }

 private:
  THandle FLecture;
  THandle FEcriture;
  std::string FOctets;
  std::thread FLecteur;
};

}  // namespace

TResultatEnfant LancerProgrammeEnfant(std::wstring_view nom, std::wstring_view arguments, std::wstring executable,
                                      bool capturerErreurs) {
  TTubeSortie sortie;
  std::optional<TTubeSortie> erreurs;
  if (capturerErreurs) erreurs.emplace();

  STARTUPINFOW demarrage{sizeof(demarrage)};
  demarrage.dwFlags = STARTF_USESTDHANDLES;
  demarrage.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  demarrage.hStdOutput = sortie.CoteEnfant();
  demarrage.hStdError = erreurs ? erreurs->CoteEnfant() : GetStdHandle(STD_ERROR_HANDLE);
  const PROCESS_INFORMATION infos = DemarrerEnfant(nom, arguments, executable, demarrage, true);
  THandle processus(infos.hProcess);
  THandle thread(infos.hThread);
  sortie.Lire();
  if (erreurs) erreurs->Lire();

  const bool termine = WaitForSingleObject(processus.Get(), DelaiEnfantMs) == WAIT_OBJECT_0;
  if (!termine) TerminateProcess(processus.Get(), 1);
  TResultatEnfant resultat;
  resultat.Sortie = sortie.Texte();
  if (erreurs) resultat.Erreurs = erreurs->Texte();
  if (!termine) throw std::runtime_error("le programme enfant ne s'est pas terminé à temps : " + VersUtf8(nom));
  GetExitCodeProcess(processus.Get(), &resultat.CodeSortie);
  return resultat;
}

TProgrammeEnfantEnCours::TProgrammeEnfantEnCours(std::wstring_view nom, std::wstring_view arguments,
                                                 std::wstring executable) {
  STARTUPINFOW demarrage{sizeof(demarrage)};
  const PROCESS_INFORMATION infos = DemarrerEnfant(nom, arguments, executable, demarrage, false);
  CloseHandle(infos.hThread);
  FProcessus = infos.hProcess;
}

TProgrammeEnfantEnCours::~TProgrammeEnfantEnCours() {
  if (WaitForSingleObject(FProcessus, 0) == WAIT_TIMEOUT) Tuer();
  CloseHandle(FProcessus);
}

DWORD TProgrammeEnfantEnCours::AttendreFin(DWORD delaiMs) {
  if (WaitForSingleObject(FProcessus, delaiMs) != WAIT_OBJECT_0)
    throw std::runtime_error("le programme enfant ne s'est pas terminé à temps");
  DWORD code = 0;
  GetExitCodeProcess(FProcessus, &code);
  return code;
}

void TProgrammeEnfantEnCours::Tuer() {
  TerminateProcess(FProcessus, 99);
  WaitForSingleObject(FProcessus, 10000);
}

TEvenementNomme::TEvenementNomme(const std::wstring& nom) {
  FEvenement = CreateEventW(nullptr, TRUE, FALSE, nom.c_str());
  if (!FEvenement) Echec("CreateEvent");
}

TEvenementNomme::~TEvenementNomme() { CloseHandle(FEvenement); }

void TEvenementNomme::Signaler() { SetEvent(FEvenement); }

bool TEvenementNomme::Attendre(DWORD delaiMs) { return WaitForSingleObject(FEvenement, delaiMs) == WAIT_OBJECT_0; }

std::wstring NomUnique(const std::wstring& prefixe) {
  static std::atomic<unsigned> compteur{0};
  return prefixe + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) + L"-" +
         std::to_wstring(++compteur);
}

}  // namespace norvel::test
