#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/DictionnaireExtensions.h"
#include "core/GuidsServices.h"
#include "ObjetsEssai.h"

using namespace norvel;
using namespace norvel::essais;

namespace {

const GUID GuidA = __uuidof(IEssaiA);
const GUID GuidB = __uuidof(IEssaiB);

// The interface pointer under which an object is registered: the registry compares these.
IInterface* CommeA(const TRef<TObjetEssai>& objet) { return static_cast<IEssaiA*>(objet.Get()); }
IInterface* CommeB(const TRef<TObjetEssai>& objet) { return static_cast<IEssaiB*>(objet.Get()); }

// Each test starts with its own registry; object n counts its destructions in FDestructions[n],
// which outlives the registry.
class Registre : public testing::Test {
 protected:
  TRef<TObjetEssai> Nouveau(int numero) { return NouvelObjet<TObjetEssai>(numero, &FDestructions[numero]); }
  int FDestructions[4] = {};
  TDictionnaireExtensions FRegistre;
};

TEST_F(Registre, SameReferenceUnderTwoGuidsIsUnregisteredByOneCall) {
  FRegistre.AjouterExtensions({GuidA, GuidB}, CommeA(Nouveau(1)));
  ASSERT_TRUE(FRegistre.Connait(GuidA));
  ASSERT_TRUE(FRegistre.Connait(GuidB));

  FRegistre.SupprimerExtension(GuidB);
  EXPECT_FALSE(FRegistre.Connait(GuidA));
  EXPECT_FALSE(FRegistre.Connait(GuidB));
  EXPECT_TRUE(FRegistre.EstVide());
  EXPECT_EQ(1, FDestructions[1]) << "the registry held the last references";
}

TEST_F(Registre, UnregisteringOneObjectLeavesAnother) {
  FRegistre.AjouterExtension(GuidA, CommeA(Nouveau(1)));
  FRegistre.AjouterExtension(GuidB, CommeB(Nouveau(2)));

  FRegistre.SupprimerExtension(GuidA);
  EXPECT_EQ(1, FDestructions[1]);
  EXPECT_EQ(0, FDestructions[2]);
  EXPECT_EQ(2, FRegistre.Service<IEssaiB>()->Numero());
}

TEST_F(Registre, SameObjectThroughTwoInterfacesIsTwoReferences) {
  const auto objet = Nouveau(1);
  FRegistre.AjouterExtension(GuidA, CommeA(objet));
  FRegistre.AjouterExtension(GuidB, CommeB(objet));

  FRegistre.SupprimerExtension(GuidA);
  EXPECT_FALSE(FRegistre.Connait(GuidA));
  EXPECT_TRUE(FRegistre.Connait(GuidB));
}

TEST_F(Registre, UnknownGuidOfTheSpecialFoldersNamesItInTheError) {
  try {
    FRegistre.GetNonType(IID_IDossierSpecial);
    FAIL() << "no error";
  } catch (const EExtensionNonSupportee_GraveNePasIgnorer& e) {
    EXPECT_EQ(L"Extension non recensée {97D44588-E77B-4674-AF7C-41BC63C241CF}", e.Message());
  }
}

TEST_F(Registre, ObjectThatDoesNotAnswerItsGuidIsNotFound) {
  FRegistre.AjouterExtension(IID_IAttente, CommeA(Nouveau(1)));
  ASSERT_TRUE(FRegistre.Connait(IID_IAttente));

  TRef<IInterface> trouve = CommeA(NouvelObjet<TObjetEssai>(9, nullptr));  // cleared by the lookup
  EXPECT_FALSE(FRegistre.TryGetNonType(IID_IAttente, trouve));
  EXPECT_FALSE(trouve);
  EXPECT_THROW(FRegistre.GetNonType(IID_IAttente), EExtensionNonSupportee_GraveNePasIgnorer);
  TRef<IEssaiB> typee;
  EXPECT_FALSE(FRegistre.TryService(typee));
  EXPECT_THROW(FRegistre.Service<IEssaiB>(), EExtensionNonSupportee_GraveNePasIgnorer);
}

TEST_F(Registre, LookupAnswersTheInterfaceOfTheGuid) {
  const auto objet = Nouveau(3);
  FRegistre.AjouterExtension(GuidB, CommeA(objet));
  TRef<IInterface> trouve;
  ASSERT_TRUE(FRegistre.TryGetNonType(GuidB, trouve));
  EXPECT_EQ(CommeB(objet), trouve.Get()) << "the object's IEssaiB, not the IEssaiA pointer registered";
  EXPECT_EQ(3, FRegistre.Service<IEssaiB>()->Numero());
}

TEST_F(Registre, DuplicateGuidKeepsTheFirstRegistration) {
  FRegistre.AjouterExtension(GuidA, CommeA(Nouveau(1)));
  try {
    FRegistre.AjouterExtension(GuidA, CommeA(Nouveau(2)));
    FAIL() << "no error";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"Doublons non autorisés", e.Message());
  }
  EXPECT_EQ(1, FRegistre.Service<IEssaiA>()->Numero());
  EXPECT_EQ(1, FDestructions[2]) << "the refused object was not kept";
}

TEST_F(Registre, AbsentExtensionAndUnknownGuidAreIgnored) {
  FRegistre.AjouterExtension(GuidA, nullptr);
  FRegistre.AjouterExtensions({GuidA, GuidB}, nullptr);
  EXPECT_TRUE(FRegistre.EstVide());
  FRegistre.SupprimerExtension(GuidA);
  EXPECT_TRUE(FRegistre.EstVide());
}

// A service whose end unregisters another one, as services that own others do.
class TServiceQuiDesinscrit : public TImplemente<TObjetInterfacable, IEssaiA> {
 public:
  TServiceQuiDesinscrit(TDictionnaireExtensions& registre) : FRegistre(registre) {}
  ~TServiceQuiDesinscrit() override { FRegistre.SupprimerExtension(__uuidof(IEssaiB)); }
  int Numero() override { return 0; }

 private:
  TDictionnaireExtensions& FRegistre;
};

TEST_F(Registre, ServiceMayUseTheRegistryWhileItEnds) {
  FRegistre.AjouterExtension(GuidA, static_cast<IEssaiA*>(NouvelObjet<TServiceQuiDesinscrit>(FRegistre).Get()));
  FRegistre.AjouterExtension(GuidB, CommeB(Nouveau(2)));

  FRegistre.SupprimerExtension(GuidA);
  EXPECT_TRUE(FRegistre.EstVide());
  EXPECT_EQ(1, FDestructions[2]);

  FRegistre.AjouterExtension(GuidA, static_cast<IEssaiA*>(NouvelObjet<TServiceQuiDesinscrit>(FRegistre).Get()));
  FRegistre.AjouterExtension(GuidB, CommeB(Nouveau(3)));
  FRegistre.Vider();
  EXPECT_TRUE(FRegistre.EstVide());
  EXPECT_EQ(1, FDestructions[3]);
}

TEST(SingletonRegistre, RefusedFromASecondThreadWithoutChange) {
  int destructions = 0;
  TSingletonDictionnaireExtensions::AjouterExtension(GuidA, CommeA(NouvelObjet<TObjetEssai>(1, &destructions)));

  std::wstring message;
  std::thread autre([&] {
    try {
      TSingletonDictionnaireExtensions::SupprimerExtension(GuidA);
    } catch (const EOvalis& e) {
      message = e.Message();
    }
  });
  autre.join();
  EXPECT_EQ(L"On ne doit pas accéder aux extensions plusieurs threads.", message);
  EXPECT_EQ(1, TSingletonDictionnaireExtensions::Service<IEssaiA>()->Numero());

  TSingletonDictionnaireExtensions::SupprimerExtension(GuidA);
  EXPECT_EQ(1, destructions);
}

TEST(SingletonRegistre, EarlyFinalisationEndsTheRegistryAndItsServices) {
  int destructions = 0;
  TSingletonDictionnaireExtensions::AjouterExtension(GuidA, CommeA(NouvelObjet<TObjetEssai>(1, &destructions)));

  TClasseFinalisable::FinaliserTout(cfFinalisationPrecoce);
  EXPECT_EQ(1, destructions);

  // A later use starts an empty registry, finalised again by the next early finalisation.
  EXPECT_FALSE(TSingletonDictionnaireExtensions::Connait(GuidA));
  TSingletonDictionnaireExtensions::AjouterExtension(GuidA, CommeA(NouvelObjet<TObjetEssai>(2, &destructions)));
  TClasseFinalisable::FinaliserTout(cfFinalisationPrecoce);
  EXPECT_EQ(2, destructions);
}

}  // namespace
