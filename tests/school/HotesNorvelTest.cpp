// The endpoints of the hosting-information web service: HTTPS everywhere, the local stand-in
// for development (its port movable for the tests only through one variable), and keys that
// decode.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/Chaines.h"
#include "school/HotesNorvel.h"
#include "support/EnvironnementTest.h"

using namespace norvel;
using namespace norvel::test;

TEST(HotesNorvel, TroisPointsDAccesHttpsAvecLeurCle) {
  const TVariableEnvironnement sansSurcharge(VariablePortInfosHebDeveloppement, nullptr);
  std::wstring cles[3];
  for (auto environnement : {ED_Production, ED_PreProduction, ED_Developpement}) {
    const auto point = PointAccesInfosHeb(environnement);
    EXPECT_TRUE(CommencePar(point.UrlBase, L"https://")) << VersUtf8(point.UrlBase);
    EXPECT_TRUE(FinitPar(point.UrlBase, L"/api/InfosNP/")) << VersUtf8(point.UrlBase);
    cles[environnement] = point.CleApi.GetValeur();
    EXPECT_FALSE(cles[environnement].empty());
  }
  EXPECT_NE(cles[ED_Production], cles[ED_PreProduction]);
  EXPECT_NE(cles[ED_Production], cles[ED_Developpement]);
  // The key the local stand-in (tools/monde/ecoles.py) expects.
  EXPECT_EQ(cles[ED_Developpement], L"NvP-dev-5J3h6T0");
  EXPECT_EQ(PointAccesInfosHeb(ED_Developpement).UrlBase, L"https://localhost:44380/api/InfosNP/");
}

TEST(HotesNorvel, PortDeDeveloppementSurchargeable) {
  struct Cas {
    const wchar_t* valeur;
    const wchar_t* attendu;
  };
  const Cas cas[] = {
      {L"50123", L"https://localhost:50123/api/InfosNP/"},
      // Anything but a port keeps the fixed one.
      {L"0", L"https://localhost:44380/api/InfosNP/"},
      {L"70000", L"https://localhost:44380/api/InfosNP/"},
      {L"443x", L"https://localhost:44380/api/InfosNP/"},
      {L"", L"https://localhost:44380/api/InfosNP/"},
  };
  for (const auto& c : cas) {
    const TVariableEnvironnement surcharge(VariablePortInfosHebDeveloppement, c.valeur);
    EXPECT_EQ(PointAccesInfosHeb(ED_Developpement).UrlBase, c.attendu) << VersUtf8(c.valeur);
    // Production never moves.
    EXPECT_EQ(PointAccesInfosHeb(ED_Production).UrlBase, L"https://infosheb.norvel-primaire.test/api/InfosNP/");
  }
}
