// The product catalogue built into the program, and its reading: the versions of NVLPRIM for
// FRANCE only, in document order.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Ressources.h"
#include "install/CatalogueProduits.h"

using namespace norvel;

TEST(CatalogueProduits, TenClientVersionsWithTheirIdentifiers) {
  const auto versions = CatalogueProduits();
  ASSERT_EQ(versions.size(), 10u);
  EXPECT_EQ(DonneesRessource(L"PRODUITS").substr(0, 3), "\xEF\xBB\xBF") << "UTF-8 with its byte-order mark";
  const std::wregex forme(L"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
  std::set<std::wstring> identifiants;
  for (size_t i = 0; i < versions.size(); ++i) {
    const TypeVersionCatalogue& v = versions[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(v.Millesime, std::to_wstring(2020 + i / 2));
    EXPECT_EQ(v.Plateforme, i % 2 ? L"Win64" : L"Win32");
    EXPECT_EQ(v.Module, L"Client");
    EXPECT_TRUE(std::regex_match(v.Guid, forme)) << VersUtf8(v.Guid);
    EXPECT_TRUE(std::regex_match(v.Simu, forme)) << VersUtf8(v.Simu);
    identifiants.insert({v.Guid, v.Simu});
    EXPECT_EQ(&v.Identifiant(false), &v.Guid);
    EXPECT_EQ(&v.Identifiant(true), &v.Simu);
  }
  EXPECT_EQ(identifiants.size(), 20u) << "every identifier names one version";
  EXPECT_EQ(versions[4].NomAffichage(), L"Client NORVEL Primaire 2022 (Win32)");
}

TEST(CatalogueProduits, OnlyTheProductAndCountryOfTheProgram) {
  const auto versions = LireCatalogueProduits(
      "<produits>"
      "<produit nom=\"NVLPRIM\"><pays nom=\"BELGIQUE\"><version millesime=\"2020\" guid=\"{B}\"/></pays>"
      "<pays nom=\"FRANCE\"><langue code=\"FR\" defaut=\"true\"/>"
      "<version millesime=\"2023\" module=\"Client\" plateforme=\"Win64\" guid=\"{1}\" simu=\"{2}\"/>"
      "<version millesime=\"2021\" plateforme=\"Win32\" guid=\"{3}\"/></pays></produit>"
      "<produit nom=\"AUTRE\"><pays nom=\"FRANCE\"><version millesime=\"2019\" guid=\"{4}\"/></pays></produit>"
      "</produits>");
  const std::vector<TypeVersionCatalogue> attendu = {{L"2023", L"Client", L"Win64", L"{1}", L"{2}"},
                                                     {L"2021", L"", L"Win32", L"{3}", L""}};
  EXPECT_EQ(versions, attendu);
}

TEST(CatalogueProduits, UnreadableCatalogueRaises) {
  try {
    LireCatalogueProduits("<produits><produit>");
    ADD_FAILURE() << "no error";
  } catch (const EOvalis& e) {
    EXPECT_TRUE(CommencePar(e.Message(), L"Catalogue des produits illisible : ")) << e.what();
  }
}
