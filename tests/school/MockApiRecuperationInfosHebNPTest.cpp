// The test mode's sample schools: the millesime marker anywhere in the identifier, the school
// prefix at its start (letter case counts), and the record each combination gives.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "school/MockApiRecuperationInfosHebNP.h"

using namespace norvel;

namespace {

const std::wstring AucuneEcole = L"Aucune école correspondante, vérifiez les caractères saisis";
const std::wstring Telechargement2022 =
    L"http://telechargement.norvel-primaire.test/simulation/nvprim/v2022.0/exe/"
    L"Install_NVLPRIMclient_FR_2022.0.3.171_win64.exe";
const std::wstring Telechargement2023 =
    L"http://telechargement.norvel-primaire.test/simulation/nvprim/v2023.0/exe/"
    L"Install_NVLPRIMclient_FR_2023.0.0.204_win64.exe";

TypeInfosHebNP Ecole(const std::wstring& millesime, const std::wstring& nom, const std::wstring& adresse,
                     const std::wstring& codePostal, const std::wstring& ville, bool enService) {
  TypeInfosHebNP infos;
  infos.MillesimeServeur = millesime;
  if (millesime == L"2022") {
    infos.NomDomaine = L"ecoles-demo.norvel-primaire.test";
    infos.UrlTelechargementClient = Telechargement2022;
    infos.UrlPortail = L"https://ecoles-demo.norvel-primaire.test/primair7/norvelprimaire/api/portail.html";
  } else {
    infos.NomDomaine = L"preprod-ecoles.norvel-primaire.test";
    infos.UrlTelechargementClient = Telechargement2023;
    infos.UrlPortail = L"https://preprod-ecoles.norvel-primaire.test/pqdevsfr4/norvelprimaire/api/portail.html";
  }
  infos.Port = 21300;
  infos.Simulation = true;
  infos.NomEcole = nom;
  infos.AdresseEcole = adresse;
  infos.CodePostalEcole = codePostal;
  infos.VilleEcole = ville;
  infos.PaysEcole = L"France";
  infos.ServeurEnService = enService;
  return infos;
}

TypeInfosHebNP Victor(const std::wstring& millesime) {
  return Ecole(millesime, L"Ecole Victor", L"2, rue Napoléon", L"75001", L"Paris", true);
}
TypeInfosHebNP Pins(const std::wstring& millesime, bool enService = true,
                    const std::function<void(TypeInfosHebNP&)>& variante = nullptr) {
  auto infos = Ecole(millesime, L"Ecole Allée des pins", L"38, Allée des pins", L"13009", L"Marseille", enService);
  if (variante) variante(infos);
  return infos;
}

}  // namespace

TEST(MockApiRecuperationInfosHebNP, EchantillonsEtEchecs) {
  struct Cas {
    std::wstring identifiant;
    std::optional<TypeInfosHebNP> attendu;  // none: "Aucune école correspondante"
  };
  const Cas cas[] = {
      {L"VH2022", Victor(L"2022")},
      {L"VH2023", Victor(L"2023")},
      {L"VH", std::nullopt},      // no millesime marker
      {L"2023VH", std::nullopt},  // marker found, but no school prefix at the start
      {L"vh2022", std::nullopt},  // prefixes are case-sensitive
      {L"ALA2023", Pins(L"2023", false)},
      {L"ALP2022", Pins(L"2022", true, [](auto& i) { i.Port = 21400; })},
      {L"ALD2023", Pins(L"2023", true, [](auto& i) { i.NomDomaine = L"inexistant.norvel-primaire.test"; })},
      {L"ALT2022", Pins(L"2022", true,
                        [](auto& i) {
                          i.UrlTelechargementClient = L"http://telechargement.norvel-primaire.test/simulation/404.exe";
                        })},
      // "AL" takes what none of the longer prefixes matched; the 2022 rule is tested first.
      {L"AL2022-2023", Pins(L"2022")},
      {L"ALX-2023", Pins(L"2023")},
      {L"2022", std::nullopt},
      {L"", std::nullopt},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(VersUtf8(c.identifiant));
    auto api = NouvelObjet<TMockApiRecuperationInfosHebNP>();
    TypeInfosHebNP infos;
    infos.NomEcole = L"reste d'un appel précédent";
    if (c.attendu) {
      api->RecupererInfosHeb(c.identifiant, L"Win64", infos);
      EXPECT_EQ(infos, *c.attendu);
    } else {
      try {
        api->RecupererInfosHeb(c.identifiant, L"Win64", infos);
        ADD_FAILURE() << "aucune erreur";
      } catch (const EOvalis& e) {
        EXPECT_EQ(e.Message(), AucuneEcole);
      }
    }
  }
}

TEST(MockApiRecuperationInfosHebNP, LaPlateformeEstIgnoree) {
  auto api = NouvelObjet<TMockApiRecuperationInfosHebNP>();
  TypeInfosHebNP win32, win64;
  api->RecupererInfosHeb(L"ALP2023", L"Win32", win32);
  api->RecupererInfosHeb(L"ALP2023", L"Win64", win64);
  EXPECT_EQ(win32, win64);
}
