// The stand-in client setup, uninstaller and client (tools/setup_client, desinstalleur_client,
// client_norvel) and their signed copies (tools/signature/signer.sh): run and checked the way
// the installation assistant uses them, so that the assistant's own tests can rely on them.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <softpub.h>
#include <wintrust.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "core/Chaines.h"
#include "core/Handle.h"
#include "install/LancementExecutable.h"
#include "install/ClientTemoin.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"

using namespace norvel;
using namespace norvel::test;

namespace {

constexpr const wchar_t* OptionsSetup = L"-hide_progress -hide_splash";
constexpr const wchar_t* OptionsDesinstallation = L"-clone_wait -hide_progress -hide_splash";

std::wstring DossierParDefaut() {
  wchar_t* programmes = nullptr;
  EXPECT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &programmes)));
  const std::wstring dossier = std::wstring(programmes) + L"\\Ovalis\\Client NORVEL Primaire";
  CoTaskMemFree(programmes);
  return dossier;
}

// A log file as the assistant makes it: a UTF-16 LE byte-order mark and nothing else.
std::wstring NouveauJournal(const TDossierTemporaire& dossier) {
  const std::wstring chemin = dossier.Fichier(L"journal.log");
  std::ofstream(std::filesystem::path(chemin), std::ios::binary) << "\xFF\xFE";
  return chemin;
}

// The variables the assistant sets before the setup runs.
struct TEnvironnementSetup {
  TEnvironnementSetup(const std::wstring& journal, const wchar_t* dossierInstallation)
      : Agent(L"OVALIS_IS_AGENT", L"1"),
        Contexte(L"OVALIS_IS_CONTEXTEOUTILINSTALLEUR", L"1"),
        Raccourci(L"OVALIS_IS_RACCOURCI", L"1"),
        Journal(L"OVALIS_IS_FICHIERLOG", journal),
        Dossier(L"OVALIS_IS_PATHEXE", dossierInstallation),
        Desinstallation(L"OVALIS_IS_UNINSTALL", nullptr) {}
  TVariableEnvironnement Agent, Contexte, Raccourci, Journal, Dossier, Desinstallation;
};

void Installer(const std::wstring& copie, const std::wstring& journal, const wchar_t* dossier) {
  TEnvironnementSetup environnement(journal, dossier);
  const TypeRetourExecutable retour = ExecuterCommeLAssistant(L"\"" + copie + L"\" " + OptionsSetup);
  ASSERT_EQ(0u, retour.CodeRetour) << VersUtf8(retour.SortieErr);
  ASSERT_EQ(L"", retour.SortieErr);
}

TypeRetourExecutable Desinstaller(const std::wstring& cleVersion) {
  const auto commande = UninstallString(cleVersion);
  if (!commande) throw std::runtime_error("version absente de la liste des programmes installés");
  TVariableEnvironnement demande(L"OVALIS_IS_UNINSTALL", L"1");
  return ExecuterCommeLAssistant(*commande + L" " + OptionsDesinstallation);
}

// Opens a connection file through the shell, as the assistant does, and gives back what the
// client wrote down: the path it was given, then the file's bytes.
std::string OuvrirAvecLeClient(const std::wstring& fichier, const std::wstring& dossierClient) {
  const std::wstring enregistrement = dossierClient + L"\\ConnexionRecue.txt";
  DeleteFileW(enregistrement.c_str());
  SHELLEXECUTEINFOW execution{};
  execution.cbSize = sizeof(execution);
  execution.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execution.lpVerb = L"open";
  execution.lpFile = fichier.c_str();
  execution.nShow = SW_SHOWNORMAL;
  EXPECT_TRUE(ShellExecuteExW(&execution)) << GetLastError();
  const THandle client(execution.hProcess);
  if (client) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(client.Get(), 30000));
  }
  return ConnexionRecue(dossierClient);
}

}  // namespace

TEST(SetupClientTemoin, InstallsThenUninstallsAsTheAssistantRunsThem) {
  struct Cas {
    const char* nom;
    const wchar_t* copies;
    const wchar_t* signataire;
    bool dossierDonne;  // OVALIS_IS_PATHEXE set, or the default folder
  };
  const Cas cas[] = {
      {"signed copy, folder given", L"setup-signe", L"ovalis", true},
      {"unsigned copy, default folder", L"setup-signe", L"non-signe", false},
      {"32-bit version", L"setup-signe-win32", L"ovalis", true},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const TCopiesSetup copies(c.copies);
    const std::wstring& identifiant = copies.Identifiant;
    EffacerInstallation(copies.Cle);
    TDossierTemporaire temp;
    const std::wstring journal = NouveauJournal(temp);
    const std::wstring dossier = c.dossierDonne ? temp.Fichier(L"Client NORVEL") : DossierParDefaut();

    Installer(copies.Setup(c.signataire), journal, c.dossierDonne ? dossier.c_str() : nullptr);

    // The list of installed programs, the association and the installed files.
    const std::wstring desinstalleur = dossier + L"\\DesinstallerNorvelPrimaire.exe";
    const auto commande = UninstallString(copies.Cle);
    ASSERT_TRUE(commande.has_value());
    EXPECT_EQ(0u, commande->rfind(L"\"" + desinstalleur + L"\"", 0)) << VersUtf8(*commande);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(desinstalleur.c_str()));
    EXPECT_TRUE(MemeTexteSansCasse(L"\"" + dossier + L"\\ClientNorvelPrimaire.exe\" \"%1\"", CommandeOuvertureNcprim()))
        << VersUtf8(CommandeOuvertureNcprim());

    // One line in the log, telling what the assistant passed.
    const std::wstring lignes = LignesDuJournal(journal);
    EXPECT_EQ(L"Installation de Client NORVEL Primaire " + identifiant + L" (" + copies.Plateforme + L") dans \"" + dossier +
                  L"\" : OVALIS_IS_AGENT=1, OVALIS_IS_CONTEXTEOUTILINSTALLEUR=1, OVALIS_IS_RACCOURCI=1, "
                  L"OVALIS_IS_UNINSTALL=(absente)\r\n",
              lignes);

    // The client opened through the association writes down the file and its bytes.
    const std::wstring connexion = temp.Fichier(L"École du Centre.ncprim");
    const std::string contenu = "\xEF\xBB\xBFServeur=École du Centre:serveur.test:21300:TestConnexion";
    std::ofstream(std::filesystem::path(connexion), std::ios::binary) << contenu;
    EXPECT_EQ(VersUtf8(connexion) + "\r\n" + contenu, OuvrirAvecLeClient(connexion, dossier));

    // Removed as the assistant removes earlier versions: nothing is left.
    const TypeRetourExecutable retour = Desinstaller(copies.Cle);
    EXPECT_EQ(0u, retour.CodeRetour);
    EXPECT_EQ(L"", retour.SortieErr);
    EXPECT_FALSE(UninstallString(copies.Cle).has_value());
    EXPECT_EQ(L"", CommandeOuvertureNcprim());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dossier.c_str())) << "folder left behind";
  }
}

TEST(SetupClientTemoin, RefusesWhatTheAssistantWouldNotAsk) {
  const TCopiesSetup copies(L"setup-signe");
  const std::wstring& identifiant = copies.Identifiant;
  EffacerInstallation(copies.Cle);
  TDossierTemporaire temp;
  const std::wstring journal = NouveauJournal(temp);
  const std::wstring dossier = temp.Fichier(L"Client");

  {
    // A setup run without the silent options installs nothing and says why.
    TEnvironnementSetup environnement(journal, dossier.c_str());
    const TypeRetourExecutable retour = ExecuterCommeLAssistant(L"\"" + copies.Setup(L"ovalis") + L"\"");
    EXPECT_EQ(1603u, retour.CodeRetour);
    EXPECT_EQ(0u, retour.SortieErr.rfind(L"Échec de l'installation de Client NORVEL Primaire " + identifiant, 0))
        << VersUtf8(retour.SortieErr);
    EXPECT_EQ(retour.SortieErr, LignesDuJournal(journal));
    EXPECT_FALSE(UninstallString(copies.Cle).has_value());
  }

  Installer(copies.Setup(L"ovalis"), journal, dossier.c_str());
  const std::wstring commande = UninstallString(copies.Cle).value_or(L"");
  struct Cas {
    const char* nom;
    const wchar_t* variable;  // OVALIS_IS_UNINSTALL
    const wchar_t* options;
  };
  const Cas cas[] = {
      {"OVALIS_IS_UNINSTALL unset", nullptr, OptionsDesinstallation},
      {"OVALIS_IS_UNINSTALL not 1", L"0", OptionsDesinstallation},
      {"without -clone_wait", L"1", L"-hide_progress -hide_splash"},
      {"without -hide_splash", L"1", L"-clone_wait -hide_progress"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    TVariableEnvironnement demande(L"OVALIS_IS_UNINSTALL", c.variable);
    const TypeRetourExecutable retour = ExecuterCommeLAssistant(commande + L" " + c.options);
    EXPECT_EQ(1603u, retour.CodeRetour);
    EXPECT_EQ(0u, retour.SortieErr.rfind(L"Échec de la désinstallation du client NORVEL Primaire " + identifiant, 0))
        << VersUtf8(retour.SortieErr);
    EXPECT_TRUE(UninstallString(copies.Cle).has_value());
  }

  const TypeRetourExecutable retour = Desinstaller(copies.Cle);
  EXPECT_EQ(0u, retour.CodeRetour);
  EXPECT_EQ(L"", retour.SortieErr);
  EXPECT_FALSE(UninstallString(copies.Cle).has_value());
}

TEST(SetupClientTemoin, SignedCopiesAndTheirSigners) {
  struct Cas {
    const wchar_t* copie;
    LONG verification;
    std::wstring signataire;  // subject in X.500 text form
  };
  const Cas cas[] = {
      {L"ovalis", 0, L"C=FR, O=OVALIS, CN=OVALIS SAS"},
      {L"autre-editeur", 0, L"C=FR, O=Editions Tiers, CN=EDITIONS TIERS"},
      {L"non-signe", static_cast<LONG>(TRUST_E_NOSIGNATURE), L""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(VersUtf8(c.copie));
    const std::wstring chemin = TCopiesSetup(L"setup-signe").Setup(c.copie);
    WINTRUST_FILE_INFO fichier{};
    fichier.cbStruct = sizeof(fichier);
    fichier.pcwszFilePath = chemin.c_str();
    WINTRUST_DATA donnees{};
    donnees.cbStruct = sizeof(donnees);
    donnees.dwUIChoice = WTD_UI_NONE;
    donnees.fdwRevocationChecks = WTD_REVOKE_NONE;
    donnees.dwUnionChoice = WTD_CHOICE_FILE;
    donnees.pFile = &fichier;
    donnees.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    EXPECT_EQ(c.verification, WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &donnees));

    std::wstring sujet;
    if (CRYPT_PROVIDER_DATA* fournisseur = WTHelperProvDataFromStateData(donnees.hWVTStateData)) {
      if (CRYPT_PROVIDER_SGNR* signataire = WTHelperGetProvSignerFromChain(fournisseur, 0, FALSE, 0)) {
        if (CRYPT_PROVIDER_CERT* certificat = WTHelperGetProvCertFromChain(signataire, 0)) {
          DWORD type = CERT_X500_NAME_STR;
          wchar_t nom[512] = {};
          CertGetNameStringW(certificat->pCert, CERT_NAME_RDN_TYPE, 0, &type, nom, ARRAYSIZE(nom));
          sujet = nom;
        }
      }
    }
    EXPECT_EQ(c.signataire, sujet);
    donnees.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &donnees);
  }
}
