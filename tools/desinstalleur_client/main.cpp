// Stand-in uninstaller of the client, installed by the stand-in setup. Its command line is the
// "UninstallString" the setup registered ("-identifiant {...} -plateforme Win64") followed by
// the assistant's "-clone_wait -hide_progress -hide_splash"; it insists on those options and on
// OVALIS_IS_UNINSTALL=1, which the assistant sets before removing earlier versions.
//
// A program cannot delete its own file while it runs, so it works as such uninstallers do:
// it copies itself to the temporary folder and starts that clone, which inherits its standard
// streams, waits for the original to end, then removes the version: its key in the list of
// installed programs, the ".ncprim" association when it still points at this installation's
// client, and the installed files. The caller sees the removal end when the clone ends: its
// pipes stay open until then. Failures go to the standard error.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "core/Exceptions.h"
#include "tools/client_commun/ClientCommun.h"
#include "tools/commun/LancementHeritant.h"

using namespace norvel;
using namespace norvel::client;

namespace {

constexpr const wchar_t* OptionClone = L"-clone_de";
constexpr const wchar_t* OptionDossier = L"-dossier";
constexpr DWORD AttenteOriginalMs = 30000;
constexpr const wchar_t* PrefixeClone = L"DesinstallerNorvelPrimaire";

std::wstring Citer(const std::wstring& texte) { return L"\"" + texte + L"\""; }

void VerifierDemandeDeLAssistant(const std::vector<std::wstring>& arguments) {
  if (Variable(L"OVALIS_IS_UNINSTALL") != L"1")
    throw EOvalis(L"OVALIS_IS_UNINSTALL=1 attendu : désinstallation refusée");
  for (const wchar_t* option : {OptionAttenteClone, OptionSansProgression, OptionSansEcranAccueil})
    if (!AOption(arguments, option)) throw EOvalis(std::wstring(L"désinstallation silencieuse seulement : ") + option + L" attendu");
}

// The original: hands the work to a clone that outlives it.
void LancerClone(const std::wstring& identifiant,
                 const std::wstring& plateforme) {
  const std::wstring original = CheminDuProgramme();
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  GUID guid{};
  CoCreateGuid(&guid);
  wchar_t texteGuid[40] = {};
  StringFromGUID2(guid, texteGuid, 40);
  const std::wstring clone = std::wstring(temp) + PrefixeClone + texteGuid + L".exe";
  VerifierWin32(CopyFileW(original.c_str(), clone.c_str(), FALSE), L"CopyFile");

  // Our own process handle, inheritable, for the clone to wait on.
  HANDLE soiMeme = nullptr;
  VerifierWin32(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &soiMeme, SYNCHRONIZE,
                                TRUE, 0),
                L"DuplicateHandle");
  const THandle gardeSoiMeme(soiMeme);
  std::wstring ligne = Citer(clone) + L" " + OptionClone + L" " +
                       std::to_wstring(reinterpret_cast<uintptr_t>(soiMeme)) + L" " + OptionDossier + L" " +
                       Citer(DossierDe(original)) + L" -identifiant " + identifiant + L" -plateforme " + plateforme;
  outils::LancerAvecSortiesHeritees(std::move(ligne));
}

// The file of a program that has just ended may stay locked for a moment on Windows.
void SupprimerFichier(const std::wstring& chemin) {
  for (int essai = 0;; ++essai) {
    if (DeleteFileW(chemin.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return;
    if (essai == 50) throw ErreurSysteme(L"DeleteFile " + chemin);
    Sleep(100);
  }
}

void SupprimerAssociation(const std::wstring& dossier) {
  const std::wstring classes = CleClasses;
  const std::wstring commande = classes + ProgIdConnexion + L"\\shell\\open\\command";
  // Another installation may own the association now: leave it to that one.
  if (!MemeTexteSansCasse(LireValeur(commande, KEY_WOW64_64KEY, nullptr), CommandeOuverture(dossier))) return;
  SupprimerCle(classes + ProgIdConnexion, KEY_WOW64_64KEY);
  if (LireValeur(classes + ExtensionConnexion, KEY_WOW64_64KEY, nullptr) == ProgIdConnexion)
    SupprimerCle(classes + ExtensionConnexion, KEY_WOW64_64KEY);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

// Clones of earlier removals that have ended; one still running keeps its file.
void SupprimerClonesPrecedents() {
  const std::wstring soi = CheminDuProgramme();
  const std::wstring dossier = DossierDe(soi);
  WIN32_FIND_DATAW trouve{};
  const TRechercheFichiers recherche(FindFirstFileW((dossier + L"\\" + PrefixeClone + L"{*}.exe").c_str(), &trouve));
  if (!recherche) return;
  do {
    const std::wstring chemin = dossier + L"\\" + trouve.cFileName;
    if (!MemeTexteSansCasse(chemin, soi)) DeleteFileW(chemin.c_str());
  } while (FindNextFileW(recherche.Get(), &trouve));
}

// The clone: removes the version once the original has ended.
void Desinstaller(HANDLE original, const std::wstring& dossier, const std::wstring& identifiant,
                  const std::wstring& plateforme) {
  if (WaitForSingleObject(original, AttenteOriginalMs) != WAIT_OBJECT_0)
    throw EOvalis(L"le désinstalleur d'origine ne s'est pas terminé");
  CloseHandle(original);
  SupprimerCle(std::wstring(CleDesinstallations) + identifiant, VuePlateforme(plateforme));
  SupprimerAssociation(dossier);
  for (const wchar_t* nom : {NomClient, NomDesinstalleur, NomConnexionRecue}) SupprimerFichier(dossier + L"\\" + nom);
  // Files the client's user left there keep the folder.
  RemoveDirectoryW(dossier.c_str());
  SupprimerClonesPrecedents();
  // The clone itself goes at the next restart, or with the next removal.
  MoveFileExW(CheminDuProgramme().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const auto arguments = Arguments();
  const std::wstring identifiant = ValeurOption(arguments, L"-identifiant");
  const std::wstring plateforme = ValeurOption(arguments, L"-plateforme");
  try {
    if (identifiant.empty() || plateforme.empty()) throw EOvalis(L"-identifiant et -plateforme attendus");
    const std::wstring original = ValeurOption(arguments, OptionClone);
    if (original.empty()) {
      VerifierDemandeDeLAssistant(arguments);
      LancerClone(identifiant, plateforme);
    } else {
      Desinstaller(reinterpret_cast<HANDLE>(std::stoull(original)), ValeurOption(arguments, OptionDossier),
                   identifiant, plateforme);
    }
    return 0;
  } catch (const std::exception& e) {
    EcrireErreur(L"Échec de la désinstallation du client NORVEL Primaire " + identifiant + L" : " + MessageDe(e));
    return CodeEchec;
  }
}
