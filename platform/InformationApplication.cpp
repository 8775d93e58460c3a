#include "platform/InformationApplication.h"

#include <windows.h>

#include "platform/Executable.h"
#include "platform/Registre.h"
#include "core/Chaines.h"

namespace norvel {

namespace {

// Per-user choice of the deployment environment, one value per executable path.
constexpr const wchar_t* CleEnvironnementDeploiement = L"Software\\Ovalis\\EnvironnementDeploiement";
constexpr const wchar_t* VariableEnvironnementDeploiement = L"OV_ENVIRONNEMENT";

TypeEnvironnementDeploiement EnvironnementSelonCode(std::wstring_view code) {
  for (auto environnement : {ED_Production, ED_PreProduction, ED_Developpement})
    if (MemeTexteSansCasse(code, CodeEnvironnementDeploiement(environnement))) return environnement;
  return ED_Production;
}

// Any failure reads as production: a broken setting must never point the program elsewhere.
TypeEnvironnementDeploiement LireEnvironnementDeploiement(TypeSourceEnvironnement source) {
  try {
    switch (source) {
      case TypeSourceEnvironnement::Registre:
        if (auto code = LireChaineRegistre(HKEY_CURRENT_USER, CleEnvironnementDeploiement, CheminExecutable()))
          return EnvironnementSelonCode(*code);
        break;
      case TypeSourceEnvironnement::VariableEnvironnement: {
        wchar_t tampon[64];
        const DWORD longueur = GetEnvironmentVariableW(VariableEnvironnementDeploiement, tampon, std::size(tampon));
        // A value too long for the buffer is none of the codes anyway.
        if (longueur > 0 && longueur < std::size(tampon)) return EnvironnementSelonCode({tampon, longueur});
        break;
      }
      case TypeSourceEnvironnement::Aucune:
        break;
    }
  } catch (...) {
  }
  return ED_Production;
}

// Millesime of a major version: the major number itself for the tool product.
int Millesime(TypeProduitOvalis, uint32_t majeur) { return static_cast<int>(majeur); }

// Dates from 2001 on are years; smaller millesimes are plain version numbers.
constexpr int PremiereAnneeMillesime = 2001;

}  // namespace

const wchar_t* CodeEnvironnementDeploiement(TypeEnvironnementDeploiement environnement) {
  switch (environnement) {
    case ED_PreProduction:
      return L"staging";
    case ED_Developpement:
      return L"development";
    default:
      return L"production";
  }
}

const wchar_t* CodePaysDistribution(TypePaysDistribution pays) {
  static constexpr const wchar_t* Codes[] = {L"FR", L"IT", L"BE", L"CH", L"NL", L"DE", L"GB", L"MA", L"CA", L"US"};
  return Codes[static_cast<size_t>(pays)];
}

const wchar_t* NomProduitOvalis(TypeProduitOvalis) { return L"OUTIL"; }

const wchar_t* CodeGenreApplication(TypeGenreApplication genre) {
  return genre == TypeGenreApplication::MONOPOSTE ? L"MONOPOSTE" : L"INDEFINI";
}

const wchar_t* CodePlateformeCompilation(TypePlateformeCompilation plateforme) {
  return plateforme == TypePlateformeCompilation::Bits32 ? L"32bit" : L"64bit";
}

TInformationApplication::TInformationApplication(std::wstring nom, TypeProduitOvalis produit,
                                                 TypeGenreApplication genre, TypeVersion version,
                                                 TypePlateformeCompilation plateforme, TypePaysDistribution pays,
                                                 TypeSourceEnvironnement source)
    : FNom(std::move(nom)),
      FProduit(produit),
      FGenre(genre),
      FVersion(std::move(version)),
      FPlateforme(plateforme),
      FPaysDistribution(pays),
      FSourceEnvironnement(source) {
  if (FGenre == TypeGenreApplication::INDEFINI) {
    FNomProduit = FNom;
    FNomApplication = FNom;
  } else {
    FNomProduit = NomProduitOvalis(FProduit);
    FNomApplication = NomSelonGenre(FProduit, FGenre);
    FCodeGenre = CodeGenreApplication(FGenre);
  }
  FNomProduitEtMillesime = FNomProduit;
  if (!FVersion.Vide()) {
    FMillesime = GetMillesimeTexte(NumeroMajeur(FVersion));
    FNomProduitEtMillesime += L" " + FMillesime;
  }
  FEnvironnementDeploiement = LireEnvironnementDeploiement(FSourceEnvironnement);
}

TInformationApplication::TInformationApplication(std::wstring nom, TypeProduitOvalis produit,
                                                 TypeGenreApplication genre, TypePaysDistribution pays,
                                                 TypeSourceEnvironnement source)
    : TInformationApplication(std::move(nom), produit, genre, VersionExecutable(), PlateformeCompilation, pays,
                              source) {}

std::wstring TInformationApplication::NomSelonGenre(TypeProduitOvalis produit, TypeGenreApplication genre) const {
  if (genre == TypeGenreApplication::INDEFINI) return FNom;
  return std::wstring(NomProduitOvalis(produit)) + L" Monoposte";
}

void TInformationApplication::SetEnvironnementDeploiement(TypeEnvironnementDeploiement environnement) {
  FEnvironnementDeploiement = environnement;
  if (FSourceEnvironnement == TypeSourceEnvironnement::Registre)
    EcrireChaineRegistre(HKEY_CURRENT_USER, CleEnvironnementDeploiement, CheminExecutable(),
                         CodeEnvironnementDeploiement(environnement));
}

std::wstring TInformationApplication::GetNomVersion(int nombreNumeros, uint32_t options) {
  return GetNomVersionProduit(FVersion, nombreNumeros, options, FProduit, FGenre);
}

std::wstring TInformationApplication::GetNomVersionDe(const TypeVersion& version, int nombreNumeros,
                                                      uint32_t options) {
  return GetNomVersionProduit(version, nombreNumeros, options, FProduit, FGenre);
}

std::wstring TInformationApplication::GetNomVersionProduit(const TypeVersion& version, int nombreNumeros,
                                                           uint32_t options, TypeProduitOvalis produit,
                                                           TypeGenreApplication genre) {
  std::wstring nom;
  if (options & ONV_NomApplication)
    nom = (produit == FProduit && genre == FGenre) ? FNomApplication : NomSelonGenre(produit, genre);
  else
    nom = produit == FProduit ? FNomProduit : NomProduitOvalis(produit);
  if (options & ONV_SansNom) nom.clear();
  if (nombreNumeros > 0) {
    const int millesime = GetMillesimeDecale(produit, NumeroMajeur(version), 0);
    if (millesime < PremiereAnneeMillesime) {
      nom += L" - " + VersionEnTexte(VersionTronquee(version, static_cast<size_t>(nombreNumeros), false));
    } else {
      nom += L" " + std::to_wstring(millesime);
      if (nombreNumeros > 1 && version.Numeros.size() > 1) nom += L"." + VersionEnTexte(version, L".", 1);
    }
  }
  if (options & ONV_AvecPlateforme) nom += std::wstring(L" (") + CodePlateformeCompilation(FPlateforme) + L")";
  return nom;
}

int TInformationApplication::GetMillesimeDecale(TypeProduitOvalis produit, uint32_t majeur, int decalage) {
  return Millesime(produit, majeur) + decalage;
}

int TInformationApplication::GetMillesimeNumerique(uint32_t majeur) { return GetMillesimeDecale(FProduit, majeur, 0); }

std::wstring TInformationApplication::GetMillesimeTexte(uint32_t majeur) {
  return std::to_wstring(GetMillesimeNumerique(majeur));
}

}  // namespace norvel
