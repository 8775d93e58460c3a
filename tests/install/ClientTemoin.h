#pragma once
// The stand-in client setup, uninstaller and client as the installation tests use them: the
// signed copies made at test time, silent runs as the assistant runs them, the list of installed
// programs and the ".ncprim" association read back, and the cleaning of what a run left.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <filesystem>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/Chaines.h"
#include "core/Handle.h"
#include "install/CatalogueProduits.h"
#include "install/LancementExecutable.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"

namespace norvel::test {

inline constexpr const wchar_t* CleAssociationNcprim = L"Software\\Classes\\.ncprim";
inline constexpr const wchar_t* CleClasseConnexion = L"Software\\Classes\\NorvelPrimaire.Connexion";

// The key of a version in the list of installed programs, as the assistant looks for it: a
// 32-bit version lands in the 32-bit view.
inline std::wstring CleVersionInstallee(const std::wstring& identifiant, std::wstring_view plateforme) {
  return (plateforme == L"Win32" ? L"Software\\WOW6432Node\\" : L"Software\\") +
         std::wstring(L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + identifiant;
}

// One set of copies of the stand-in setup made by tools/signature/signer.sh (CTest fixture
// setup_signe) in a folder of the build, all installing the same version.
struct TCopiesSetup {
  explicit TCopiesSetup(const std::wstring& dossier) : Dossier(FichierBuild(dossier)) {
    const std::wstring identite = Trim(DepuisUtf8(LireOctets(Dossier + L"\\identite.txt")));
    if (identite.size() != 44)
      throw std::runtime_error(VersUtf8(Dossier) + "\\identite.txt illisible : lancer par ctest (fixture setup_signe)");
    Identifiant = identite.substr(0, 38);
    Plateforme = identite.substr(39);
    Cle = CleVersionInstallee(Identifiant, Plateforme);
  }
  // "ovalis", "autre-editeur" or "non-signe".
  std::wstring Setup(std::wstring_view signataire) const {
    return Dossier + L"\\SetupNorvelPrimaire-" + std::wstring(signataire) + L".exe";
  }

  std::wstring Dossier;
  std::wstring Identifiant;
  std::wstring Plateforme;
  std::wstring Cle;
};

// The variables the installation sets for the rest of the program's run, and the stand-in
// setup's switch, given back afterwards.
struct TVariablesInstallation {
  TVariableEnvironnement Agent{L"OVALIS_IS_AGENT", nullptr}, Contexte{L"OVALIS_IS_CONTEXTEOUTILINSTALLEUR", nullptr},
      Raccourci{L"OVALIS_IS_RACCOURCI", nullptr}, Journal{L"OVALIS_IS_FICHIERLOG", nullptr},
      Dossier{L"OVALIS_IS_PATHEXE", nullptr}, Desinstallation{L"OVALIS_IS_UNINSTALL", nullptr},
      SansAssociation{L"NORVEL_SETUP_SANS_ASSOCIATION", nullptr};
};

// Runs a command line as the assistant runs setups and uninstallers, to its end.
inline TypeRetourExecutable ExecuterCommeLAssistant(const std::wstring& ligne) {
  TSequenceurLancementExecutable sequenceur;
  TypeRetourExecutable retour;
  sequenceur.DebutProcessus(L"", ligne, L"", 850, 850, &retour);
  if (!sequenceur.Boucler(0)) throw std::runtime_error("le lanceur n'est pas allé au bout");
  return retour;
}

// Installs a copy silently into `dossier`, outside the assistant (an earlier version).
inline TypeRetourExecutable InstallerCopie(const std::wstring& setup, const std::wstring& dossier) {
  TVariableEnvironnement cheminExe(L"OVALIS_IS_PATHEXE", dossier);
  return ExecuterCommeLAssistant(L"\"" + setup + L"\" -hide_progress -hide_splash");
}

// "UninstallString" of a version, read as the assistant reads it (read rights, no view); none
// when the version is not installed.
inline std::optional<std::wstring> UninstallString(const std::wstring& cleVersion) {
  TCleRegistre cle;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, cleVersion.c_str(), 0, KEY_READ, cle.Adresse()) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t valeur[2048] = {};
  DWORD taille = sizeof(valeur) - sizeof(wchar_t);
  if (RegGetValueW(cle.Get(), nullptr, L"UninstallString", RRF_RT_REG_SZ, nullptr, valeur, &taille) != ERROR_SUCCESS)
    return L"";
  return std::wstring(valeur);
}

// The command the shell runs to open a ".ncprim" file; empty when none is registered.
inline std::wstring CommandeOuvertureNcprim() {
  wchar_t commande[2048] = {};
  DWORD taille = ARRAYSIZE(commande);
  if (FAILED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".ncprim", L"open", commande, &taille))) return {};
  return commande;
}

// The lines the setup added to its log, after checking the log is still one UTF-16 LE text.
inline std::wstring LignesDuJournal(const std::wstring& chemin) {
  const std::string octets = LireOctets(chemin);
  EXPECT_EQ(0u, octets.rfind("\xFF\xFE", 0)) << "byte-order mark lost";
  EXPECT_EQ(0u, octets.size() % 2);
  std::wstring texte(octets.size() > 2 ? (octets.size() - 2) / 2 : 0, L'\0');
  if (!texte.empty()) memcpy(texte.data(), octets.data() + 2, texte.size() * sizeof(wchar_t));
  EXPECT_EQ(std::wstring::npos, texte.find(L'\xFEFF')) << "a second byte-order mark";
  return texte;
}

// The log of the last setup run that wrote its line: the newest "tmp*" file of the user's
// temporary folder holding a stand-in setup's line (the assistant names it to the setup alone).
inline std::wstring DernierJournalSetup(const std::wstring& dossierTemporaire) {
  std::wstring trouve;
  auto date = std::filesystem::file_time_type::min();
  for (const auto& entree : std::filesystem::directory_iterator(dossierTemporaire)) {
    const std::wstring nom = entree.path().filename().wstring();
    if (!entree.is_regular_file() || !CommencePar(EnMinuscules(nom), L"tmp") || entree.last_write_time() < date) continue;
    const std::string octets = LireOctets(entree.path());
    if (octets.rfind("\xFF\xFE", 0) != 0 || octets.find(std::string("I\0n\0s\0t\0", 8)) == std::string::npos) continue;
    trouve = entree.path().wstring();
    date = entree.last_write_time();
  }
  return trouve;
}

// What the stand-in client wrote down when it was opened (the path of the connection file it
// was given, CR LF, then the file's bytes), waiting up to 30 s for it; empty when it never came.
inline std::string ConnexionRecue(const std::wstring& dossierClient) {
  const std::wstring enregistrement = dossierClient + L"\\ConnexionRecue.txt";
  for (int i = 0; i < 300 && GetFileAttributesW(enregistrement.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  return LireOctets(enregistrement);
}

inline void SupprimerCleMachine(const std::wstring& cle) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, cle.c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, cle.c_str());
}

// What an earlier failed run may have left in the prefix: the version's key and the association.
inline void EffacerInstallation(const std::wstring& cleVersion) {
  SupprimerCleMachine(cleVersion);
  SupprimerCleMachine(CleClasseConnexion);
  SupprimerCleMachine(CleAssociationNcprim);
}

// Every catalogue version, of both kinds and under both roots, and the association: what earlier
// runs may have left (the files were in test folders, gone with them).
inline void EffacerClientsCatalogue() {
  for (const TypeVersionCatalogue& version : CatalogueProduits()) {
    for (const std::wstring& identifiant : {version.Guid, version.Simu}) {
      SupprimerCleMachine(CleVersionInstallee(identifiant, L"Win64"));
      SupprimerCleMachine(CleVersionInstallee(identifiant, L"Win32"));
    }
  }
  SupprimerCleMachine(CleClasseConnexion);
  SupprimerCleMachine(CleAssociationNcprim);
}

}  // namespace norvel::test
