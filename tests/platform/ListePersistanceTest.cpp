#include <gtest/gtest.h>

#include "platform/ListePersistance.h"
#include "core/Exceptions.h"
#include "support/CheminsTest.h"

using namespace norvel;
using namespace norvel::test;

namespace {

TEST(ListePersistance, OneParameterFilePerLevel) {
  TDossierTemporaire temp;
  const auto liste = NouvelObjet<TListePersistanceParametresApplicatif>();
  TRef<IPersistanceParametresApplicatif> trouvee;
  EXPECT_FALSE(liste->TryGetPersistance(NDS_Societe, trouvee));
  EXPECT_FALSE(trouvee);

  const auto societe = NouvelObjet<TPersistanceParametresApplicatif>(temp.Fichier(L"Societe.xcfg"), L"1");
  const auto application = NouvelObjet<TPersistanceParametresApplicatif>(temp.Fichier(L"Application.xcfg"), L"1");
  application->SetNiveauDossierSpecial(NDS_Application);
  liste->AjouterPersistance(societe.Get());
  liste->AjouterPersistance(application.Get());
  ASSERT_TRUE(liste->TryGetPersistance(NDS_Application, trouvee));
  EXPECT_EQ(static_cast<IPersistanceParametresApplicatif*>(application.Get()), trouvee.Get());
  ASSERT_TRUE(liste->TryGetPersistance(NDS_Societe, trouvee));
  EXPECT_EQ(static_cast<IPersistanceParametresApplicatif*>(societe.Get()), trouvee.Get());

  // A second file for a level that has one is refused; the first stays.
  const auto doublon = NouvelObjet<TPersistanceParametresApplicatif>(temp.Fichier(L"Autre.xcfg"), L"1");
  try {
    liste->AjouterPersistance(doublon.Get());
    FAIL() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"Doublons non autorisés", e.Message());
  }
  ASSERT_TRUE(liste->TryGetPersistance(NDS_Societe, trouvee));
  EXPECT_EQ(static_cast<IPersistanceParametresApplicatif*>(societe.Get()), trouvee.Get());
}

}  // namespace
