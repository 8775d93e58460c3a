// Stand-in of the client's setup program: installs the stand-in client and its uninstaller
// silently, the way the installation assistant expects of the real one. It
//   - copies the client and the uninstaller (carried as resources) into the folder named by
//     OVALIS_IS_PATHEXE, or into "<Program Files>\Ovalis\Client NORVEL Primaire";
//   - registers the version under its catalogue identifier in the list of installed programs
//     (HKLM, the 64-bit view for Win64, WOW6432Node for Win32), with an "UninstallString";
//   - associates ".ncprim" with the client (HKLM\SOFTWARE\Classes, shell\open\command);
//   - appends one UTF-16 line to the log named by OVALIS_IS_FICHIERLOG.
// It insists on "-hide_progress -hide_splash": it has no window to show. A test that needs a
// client nobody can open sets NORVEL_SETUP_SANS_ASSOCIATION=1: the association is then left out;
// one whose setup asks for a restart sets NORVEL_SETUP_REDEMARRAGE=1: it then ends with 3010.
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/Exceptions.h"
#include "tools/client_commun/ClientCommun.h"

using namespace norvel;
using namespace norvel::client;

namespace {

// The catalogue identifier and platform of the version this copy installs. The signing script
// (tools/signature/signer.sh) writes another identity over it, same length, before signing: one
// build serves every version. Read through volatile so that the compiler keeps the bytes.
constexpr size_t LongueurMarque = 16;
volatile const wchar_t ZoneIdentite[] = L"NORVEL-IDENTITE:{9C4D2A61-5B7E-4F38-A1D0-3E6F8B2C7A45};Win64";

struct TypeIdentite {
  std::wstring Identifiant;
  std::wstring Plateforme;
};

TypeIdentite LireIdentite() {
  std::wstring zone;
  for (size_t i = LongueurMarque; ZoneIdentite[i] != L'\0'; ++i) zone += ZoneIdentite[i];
  const size_t separateur = zone.find(L';');
  return {zone.substr(0, separateur), zone.substr(separateur + 1)};
}

std::wstring DossierInstallation() {
  std::wstring dossier = Variable(L"OVALIS_IS_PATHEXE");
  if (!dossier.empty()) return dossier;
  wchar_t* programmes = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &programmes)))
    throw EOvalis(L"dossier des programmes introuvable");
  dossier = std::wstring(programmes) + L"\\Ovalis\\Client NORVEL Primaire";
  CoTaskMemFree(programmes);
  return dossier;
}

void ExtraireRessource(const wchar_t* nom, const std::wstring& fichier) {
  const HRSRC ressource = VerifierPointeur(FindResourceW(nullptr, nom, RT_RCDATA), L"FindResource");
  const HGLOBAL donnees = VerifierPointeur(LoadResource(nullptr, ressource), L"LoadResource");
  const DWORD taille = SizeofResource(nullptr, ressource);
  THandleFichier sortie(CreateFileW(fichier.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!sortie) throw ErreurSysteme(L"CreateFile");
  DWORD ecrits = 0;
  VerifierWin32(WriteFile(sortie.Get(), LockResource(donnees), taille, &ecrits, nullptr), L"WriteFile");
}

// The log holds UTF-16 LE: the assistant writes its byte-order mark, the setup its lines.
void AjouterAuJournal(const std::wstring& ligne) {
  const std::wstring chemin = Variable(L"OVALIS_IS_FICHIERLOG");
  if (chemin.empty()) return;
  THandleFichier journal(CreateFileW(chemin.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!journal) return;
  std::wstring texte = ligne + L"\r\n";
  LARGE_INTEGER taille{};
  if (GetFileSizeEx(journal.Get(), &taille) && taille.QuadPart == 0) texte.insert(0, 1, L'\xFEFF');
  DWORD ecrits = 0;
  WriteFile(journal.Get(), texte.data(), static_cast<DWORD>(texte.size() * sizeof(wchar_t)), &ecrits, nullptr);
}

std::wstring ValeurPourJournal(const wchar_t* nom) {
  const std::wstring valeur = Variable(nom);
  return std::wstring(nom) + L"=" + (valeur.empty() ? L"(absente)" : valeur);
}

void Installer(const TypeIdentite& identite, const std::wstring& dossier) {
  std::filesystem::create_directories(dossier);
  ExtraireRessource(L"CLIENT", dossier + L"\\" + NomClient);
  ExtraireRessource(L"DESINSTALLEUR", dossier + L"\\" + NomDesinstalleur);

  const std::wstring cle = std::wstring(CleDesinstallations) + identite.Identifiant;
  const REGSAM vue = VuePlateforme(identite.Plateforme);
  EcrireValeur(cle, vue, L"DisplayName", L"Client NORVEL Primaire (" + identite.Plateforme + L")");
  EcrireValeur(cle, vue, L"Publisher", L"OVALIS");
  EcrireValeur(cle, vue, L"InstallLocation", dossier);
  EcrireValeur(cle, vue, L"UninstallString",
               L"\"" + dossier + L"\\" + NomDesinstalleur + L"\" -identifiant " + identite.Identifiant +
                   L" -plateforme " + identite.Plateforme);

  if (Variable(L"NORVEL_SETUP_SANS_ASSOCIATION") == L"1") return;
  const std::wstring classes = CleClasses;
  EcrireValeur(classes + ExtensionConnexion, KEY_WOW64_64KEY, nullptr, ProgIdConnexion);
  EcrireValeur(classes + ProgIdConnexion, KEY_WOW64_64KEY, nullptr, L"Connexion NORVEL Primaire");
  EcrireValeur(classes + ProgIdConnexion + L"\\shell\\open\\command", KEY_WOW64_64KEY, nullptr,
               CommandeOuverture(dossier));
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const TypeIdentite identite = LireIdentite();
  const std::wstring version = L"Client NORVEL Primaire " + identite.Identifiant + L" (" + identite.Plateforme + L")";
  try {
    const auto arguments = Arguments();
    if (!AOption(arguments, OptionSansProgression) || !AOption(arguments, OptionSansEcranAccueil))
      throw EOvalis(L"installation silencieuse seulement : -hide_progress et -hide_splash attendus");
    const std::wstring dossier = DossierInstallation();
    Installer(identite, dossier);
    AjouterAuJournal(L"Installation de " + version + L" dans \"" + dossier + L"\" : " +
                     ValeurPourJournal(L"OVALIS_IS_AGENT") + L", " +
                     ValeurPourJournal(L"OVALIS_IS_CONTEXTEOUTILINSTALLEUR") + L", " +
                     ValeurPourJournal(L"OVALIS_IS_RACCOURCI") + L", " + ValeurPourJournal(L"OVALIS_IS_UNINSTALL"));
    // Windows' code for a success that needs a restart.
    return Variable(L"NORVEL_SETUP_REDEMARRAGE") == L"1" ? 3010 : 0;
  } catch (const std::exception& e) {
    const std::wstring message = L"Échec de l'installation de " + version + L" : " + MessageDe(e);
    AjouterAuJournal(message);
    EcrireErreur(message);
    return CodeEchec;
  }
}
