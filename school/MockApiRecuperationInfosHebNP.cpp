#include "school/MockApiRecuperationInfosHebNP.h"

#include "core/Exceptions.h"
#include "core/Messages.h"
#include "school/HotesNorvel.h"

namespace norvel {

namespace {

struct TypeProfilMillesime {
  const wchar_t* Marqueur;
  const wchar_t* NomDomaine;
  const wchar_t* CheminTelechargement;
  const wchar_t* CheminPortail;
};

// The first marker found wins: "2022" is looked for before "2023".
constexpr TypeProfilMillesime ProfilsMillesime[] = {
    {L"2022", hotes_echantillons::Ecoles2022,
     L"/simulation/nvprim/v2022.0/exe/Install_NVLPRIMclient_FR_2022.0.3.171_win64.exe",
     L"/primair7/norvelprimaire/api/portail.html"},
    {L"2023", hotes_echantillons::Ecoles2023,
     L"/simulation/nvprim/v2023.0/exe/Install_NVLPRIMclient_FR_2023.0.0.204_win64.exe",
     L"/pqdevsfr4/norvelprimaire/api/portail.html"},
};

enum class TypeVarianteEcole { Aucune, PortDifferent, ServeurInexistant, TelechargementInexistant };

struct TypeProfilEcole {
  const wchar_t* Prefixe;
  const wchar_t* NomEcole;
  const wchar_t* AdresseEcole;
  const wchar_t* CodePostalEcole;
  const wchar_t* VilleEcole;
  bool ServeurEnService;
  TypeVarianteEcole Variante;
};

constexpr const wchar_t* Pins = L"Ecole Allée des pins";
constexpr const wchar_t* AdressePins = L"38, Allée des pins";

// In this order: the longer "AL..." prefixes before "AL", which takes the rest.
constexpr TypeProfilEcole ProfilsEcole[] = {
    {L"VH", L"Ecole Victor", L"2, rue Napoléon", L"75001", L"Paris", true, TypeVarianteEcole::Aucune},
    {L"ALA", Pins, AdressePins, L"13009", L"Marseille", false, TypeVarianteEcole::Aucune},
    {L"ALP", Pins, AdressePins, L"13009", L"Marseille", true, TypeVarianteEcole::PortDifferent},
    {L"ALD", Pins, AdressePins, L"13009", L"Marseille", true, TypeVarianteEcole::ServeurInexistant},
    {L"ALT", Pins, AdressePins, L"13009", L"Marseille", true, TypeVarianteEcole::TelechargementInexistant},
    {L"AL", Pins, AdressePins, L"13009", L"Marseille", true, TypeVarianteEcole::Aucune},
};

std::wstring UrlTelechargement(const wchar_t* chemin) {
  return std::wstring(L"http://") + hotes_echantillons::Telechargement + chemin;
}

[[noreturn]] void AucuneEcole() { throw EOvalis(Msg::AucuneEcoleCorrespondante); }

}  // namespace

void TMockApiRecuperationInfosHebNP::RecupererInfosHeb(const std::wstring& AIdentifiant, const std::wstring&,
                                                       TypeInfosHebNP& AInfos) {
  AInfos = {};
  AInfos.Port = 21300;
  AInfos.Simulation = true;
  AInfos.ServeurEnService = true;

  const TypeProfilMillesime* millesime = nullptr;
  for (const auto& profil : ProfilsMillesime) {
    if (AIdentifiant.find(profil.Marqueur) != std::wstring::npos) {
      millesime = &profil;
      break;
    }
  }
  if (!millesime) AucuneEcole();
  AInfos.MillesimeServeur = millesime->Marqueur;
  AInfos.NomDomaine = millesime->NomDomaine;
  AInfos.UrlTelechargementClient = UrlTelechargement(millesime->CheminTelechargement);
  AInfos.UrlPortail = std::wstring(L"https://") + millesime->NomDomaine + millesime->CheminPortail;

  const TypeProfilEcole* ecole = nullptr;
  for (const auto& profil : ProfilsEcole) {
    if (AIdentifiant.starts_with(profil.Prefixe)) {
      ecole = &profil;
      break;
    }
  }
  if (!ecole) AucuneEcole();
  AInfos.NomEcole = ecole->NomEcole;
  AInfos.AdresseEcole = ecole->AdresseEcole;
  AInfos.CodePostalEcole = ecole->CodePostalEcole;
  AInfos.VilleEcole = ecole->VilleEcole;
  AInfos.PaysEcole = L"France";
  AInfos.ServeurEnService = ecole->ServeurEnService;
  switch (ecole->Variante) {
    case TypeVarianteEcole::Aucune:
      break;
    case TypeVarianteEcole::PortDifferent:
      AInfos.Port = 21400;
      break;
    case TypeVarianteEcole::ServeurInexistant:
      AInfos.NomDomaine = hotes_echantillons::Inexistant;
      break;
    case TypeVarianteEcole::TelechargementInexistant:
      AInfos.UrlTelechargementClient = UrlTelechargement(L"/simulation/404.exe");
      break;
  }
}

}  // namespace norvel
