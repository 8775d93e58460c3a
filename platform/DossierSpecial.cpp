#include "platform/DossierSpecial.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/Chemins.h"
#include "platform/Executable.h"
#include "platform/LigneDeCommande.h"
#include "platform/Registre.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"

namespace norvel {

namespace {

constexpr wchar_t kSociete[] = L"Ovalis";
constexpr wchar_t kToutesVersions[] = L"TOUTES VERSIONS";
constexpr wchar_t kVersion[] = L"VERSION %s";
constexpr wchar_t kVersionMillesime[] = L"VERSION %s (%s)";
constexpr wchar_t kValeurDonneesCommunes[] = L"CSIDL_COMMON_APPDATA";
constexpr wchar_t kValeurDocuments[] = L"CSIDL_MYDOCUMENTS";

std::wstring DossierConnu(REFKNOWNFOLDERID dossier) {
  PWSTR chemin = nullptr;
  std::wstring resultat;
  if (SUCCEEDED(SHGetKnownFolderPath(dossier, 0, nullptr, &chemin)) && chemin && wcslen(chemin) <= MAX_PATH)
    resultat = chemin;
  CoTaskMemFree(chemin);
  return resultat;
}

std::wstring DossierTemporaire() {
  std::wstring valeur(32767, L'\0');
  const DWORD longueur = GetEnvironmentVariableW(L"TEMP", valeur.data(), static_cast<DWORD>(valeur.size()));
  valeur.resize(longueur < valeur.size() ? longueur : 0);
  return valeur.empty() ? std::wstring(L"C:\\TEMP") : valeur;
}

std::wstring NomNiveauVersion(IInformationApplication& information) {
  const TypeVersion version = VersionMajeureMineureDossier(information.GetVersion());
  const std::wstring texte = VersionEnTexte(version, L"-");
  const std::wstring millesime = information.GetMillesime();
  if (!millesime.empty() && millesime != std::to_wstring(NumeroMajeur(version)))
    return Format(kVersionMillesime, {texte, millesime});
  return Format(kVersion, {texte});
}

std::wstring Ajouter(const std::wstring& chemin, const std::wstring& composant) {
  return TPath::Make(chemin, composant, true);
}

}  // namespace

std::wstring DossierExecutableDonnees() {
  static const std::wstring dossier = [] {
    const std::wstring exe = AvecBarreFinale(DossierDe(CheminExecutable()));
    // Development builds run from bin\win32: their files belong to the "bin" folder.
    if (exe.size() >= 7 && MemeTexteSansCasse(std::wstring_view(exe).substr(exe.size() - 7), L"\\win32\\")) {
      const std::wstring parent = AvecBarreFinale(DossierDe(SansBarreFinale(exe)));
      if (parent.size() >= 5 && MemeTexteSansCasse(std::wstring_view(parent).substr(parent.size() - 5), L"\\bin\\"))
        return parent;
    }
    return exe;
  }();
  return dossier;
}

TDossierSpecial::TDossierSpecial(TRef<IInformationApplication> AInformationApplication,
                                 TRef<ISurchargeRepertoiresWindows> ASurcharges, TRef<IContexteExecution> AContexte)
    : FInformationApplication(std::move(AInformationApplication)) {
  // Without administrator rights the key cannot be written: the overrides then stay as they
  // are. A refused value is no reason to stop the program either.
  if (ASurcharges) {
    if (const TCleRegistre cle = CreerCleRegistre(HKEY_LOCAL_MACHINE, CleSurchargeRepertoiresWindows, KEY_WOW64_64KEY))
      for (const std::wstring& nom : ASurcharges->GetNomsSurcharges()) {
        try {
          EcrireValeurChaineRegistre(cle.Get(), nom, ASurcharges->GetSurcharge(nom));
        } catch (const EOvalis&) {
        }
      }
  }

  // The value named after this program's folder wins over the one for all programs.
  const auto lire = [](const std::wstring& nom) {
    return LireChaineRegistre(HKEY_LOCAL_MACHINE, CleSurchargeRepertoiresWindows, nom, KEY_WOW64_64KEY)
        .value_or(std::wstring());
  };
  FDossierDonneesCommunes = lire(DossierDe(CheminExecutable()));
  if (FDossierDonneesCommunes.empty()) FDossierDonneesCommunes = lire(kValeurDonneesCommunes);
  FDossierDocuments = lire(kValeurDocuments);

  if (FDossierDonneesCommunes.empty()) FDossierDonneesCommunes = DossierConnu(FOLDERID_ProgramData);
  if (FDossierDocuments.empty()) FDossierDocuments = DossierConnu(FOLDERID_Documents);

  if (AContexte) FDossierParDefaut = GetDossierContexte(AContexte.Get());
}

std::wstring TDossierSpecial::GetDossier(int ABase, TypeNiveauDossierSpecial ANiveau, int AOptions,
                                         const std::wstring& ASousDossier) {
  const std::wstring genre = FInformationApplication ? FInformationApplication->GetCodeGenre() : std::wstring();
  return GetDossierApplication(genre, ABase, ANiveau, AOptions, ASousDossier);
}

std::wstring TDossierSpecial::GetDossierApplication(const std::wstring& ANomApplication, int ABase,
                                                    TypeNiveauDossierSpecial ANiveau, int AOptions,
                                                    const std::wstring& ASousDossier) {
  std::wstring instance;
  TLigneDeCommande::ValeurParam(L"instance", instance);

  std::wstring chemin;
  switch (ABase) {
    case BDS_DonneesCommunes: chemin = FDossierDonneesCommunes; break;
    case BDS_Documents: chemin = FDossierDocuments; break;
    case BDS_Temporaire: chemin = DossierTemporaire(); break;
    default: break;
  }

  if (!chemin.empty()) {
    chemin = Ajouter(chemin, kSociete);
    if (ANiveau != NDS_Societe && FInformationApplication) chemin = Ajouter(chemin, FInformationApplication->GetNom());
    if (ANiveau != NDS_Societe && ANiveau != NDS_Produit) {
      chemin = Ajouter(chemin, ANomApplication);
      if (ANiveau == NDS_ApplicationCommun)
        chemin = Ajouter(chemin, kToutesVersions);
      else if (ANiveau == NDS_AppliVersionnee && FInformationApplication)
        chemin = Ajouter(chemin, NomNiveauVersion(*FInformationApplication));
    }
  } else {
    // No base folder at all: keep the files beside the program rather than nowhere.
    chemin = DossierExecutableDonnees();
  }

  if ((AOptions & ODS_AvecPays) && FInformationApplication)
    chemin = Ajouter(chemin, CodePaysDistribution(FInformationApplication->GetPaysDistribution()));
  if (!ASousDossier.empty()) chemin = Ajouter(chemin, ASousDossier);
  if (!instance.empty()) chemin = Ajouter(chemin, instance);
  chemin = AvecBarreFinale(chemin);
  // A folder that cannot be created shows when its user writes a file there.
  if (AOptions & ODS_Creer) CreerDossierEtParents(chemin);
  return chemin;
}

std::wstring TDossierSpecial::GetDossierContexte(IContexteExecution* AContexte) {
  if (!AContexte) return {};
  const wchar_t* dossierGenre = nullptr;
  switch (AContexte->GetGenreContexte()) {
    case gceServeur: dossierGenre = L"Serveurs"; break;
    case gcePlanning: dossierGenre = L"Plannings"; break;
    case gceInstallation: dossierGenre = L"Installations"; break;
    default: return GetDossier(BDS_DonneesCommunes, NDS_AppliVersionnee, ODS_Creer, L"");
  }
  const std::wstring base = GetDossier(BDS_DonneesCommunes, NDS_AppliVersionnee, ODS_Creer | ODS_AvecPays, L"");
  return AvecBarreFinale(Ajouter(Ajouter(base, dossierGenre), AContexte->GetNomContexte()));
}

std::wstring TDossierSpecial::GetDossierParDefaut() {
  if (FDossierParDefaut.empty()) {
    if (FInformationApplication && FInformationApplication->GetProduit() != POV_OUTIL)
      FDossierParDefaut = GetDossier(BDS_DonneesCommunes, NDS_AppliVersionnee, ODS_Creer | ODS_AvecPays, L"");
    else
      FDossierParDefaut = GetDossier(BDS_DonneesCommunes, NDS_Application, ODS_Creer, L"");
  }
  return FDossierParDefaut;
}

bool TDossierSpecial::SetDossierParDefaut(const std::wstring& ADossier) {
  FDossierParDefaut = ADossier;
  return CreerDossierEtParents(ADossier);
}

}  // namespace norvel
