#include <gtest/gtest.h>

#include <string>

#include "core/Exceptions.h"
#include "core/NomClasse.h"
#include "ObjetsEssai.h"

using namespace norvel;
using namespace norvel::essais;

namespace {

// Hands itself out as an interface while it is being built, as objects that subscribe
// themselves somewhere do: the count goes 1 then 0 before construction ends.
class TObjetQuiSePrete : public TObjetEssai {
 public:
  explicit TObjetQuiSePrete(int* destructions) : TObjetEssai(1, destructions) {
    TRef<IEssaiA> pret(static_cast<IEssaiA*>(this));
  }
};

TEST(ObjetInterfacable, CountBackToZeroInsideTheConstructorDoesNotDestroy) {
  int destructions = 0;
  {
    const auto objet = NouvelObjet<TObjetQuiSePrete>(&destructions);
    EXPECT_EQ(0, destructions);
    EXPECT_EQ(1, objet->CompteurReferences());
    EXPECT_EQ(1, objet->Numero());
  }
  EXPECT_EQ(1, destructions);
}

// Takes and drops a reference to itself while it ends.
class TObjetQuiSeRepreteEnFin : public TObjetEssai {
 public:
  using TObjetEssai::TObjetEssai;
  ~TObjetQuiSeRepreteEnFin() override { TRef<IEssaiA> pret(static_cast<IEssaiA*>(this)); }
};

TEST(ObjetInterfacable, ReferenceTakenDuringDestructionDoesNotDestroyTwice) {
  int destructions = 0;
  NouvelObjet<TObjetQuiSeRepreteEnFin>(1, &destructions);
  EXPECT_EQ(1, destructions);
}

TEST(ObjetInterfacable, InterfaceQueries) {
  const auto objet = NouvelObjet<TObjetEssai>(4, nullptr);
  const TRef<IEssaiA> a(objet.Get());
  EXPECT_EQ(4, a.Demander<IEssaiB>()->Numero());
  EXPECT_TRUE(a.Demander<IAvecConteneur>());
  EXPECT_EQ(IdentiteObjet(a.Get()), IdentiteObjet(a.Demander<IEssaiB>().Get()));
  void* rien = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, a->QueryInterface(IID_IDispatch, &rien));
  EXPECT_EQ(nullptr, rien);
}

// An object contained in another: its references count on the container.
class Conteneur : public testing::Test {
 protected:
  int FDestructions = 0;
  TRef<TObjetEssai> FConteneur = NouvelObjet<TObjetEssai>(1, &FDestructions);
  TRef<TObjetEssai> FAutre = NouvelObjet<TObjetEssai>(2, &FDestructions);
  // The contained object belongs to its container, which outlives it: not self-destroying.
  TObjetEssai* FContenu = new TObjetEssai(3, &FDestructions, false);
  IUnknown* Inconnu(const TRef<TObjetEssai>& objet) { return static_cast<IEssaiA*>(objet.Get()); }
  void TearDown() override { TObjetInterfacable::Detruire(FContenu); }
};

TEST_F(Conteneur, ReferencesHeldBeforeMoveToTheContainer) {
  FContenu->AddRef();
  FContenu->AddRef();
  ASSERT_TRUE(FContenu->AffecterConteneur(Inconnu(FConteneur), false));
  EXPECT_EQ(3, FConteneur->CompteurReferences());
  EXPECT_EQ(0, FContenu->CompteurReferences());
  FContenu->Release();
  FContenu->Release();
  EXPECT_EQ(1, FConteneur->CompteurReferences());
  EXPECT_EQ(0, FDestructions);
}

TEST_F(Conteneur, SecondContainerIsRefusedAndTheFirstKept) {
  ASSERT_TRUE(FContenu->AffecterConteneur(Inconnu(FConteneur), false));
  EXPECT_FALSE(FContenu->AffecterConteneur(Inconnu(FAutre), true));
  EXPECT_EQ(Inconnu(FConteneur), FContenu->GetConteneur().Get());
  // The refused call did not switch delegation on either.
  EXPECT_EQ(3, Demander<IEssaiA>(static_cast<IEssaiA*>(FContenu))->Numero());
}

TEST_F(Conteneur, DelegatedQueriesAnswerTheContainersInterfaces) {
  ASSERT_TRUE(FContenu->AffecterConteneur(Inconnu(FConteneur), true));
  EXPECT_EQ(1, Demander<IEssaiB>(static_cast<IEssaiA*>(FContenu))->Numero());
  EXPECT_EQ(1, FConteneur->CompteurReferences());
}

TEST(ObjetInterfacable, ExplicitDestructionRefusedWhileReferenced) {
  int destructions = 0;
  auto* objet = new TObjetEssai(1, &destructions, false);
  TRef<IEssaiA> reference(static_cast<IEssaiA*>(objet));
  try {
    TObjetInterfacable::Detruire(objet);
    FAIL() << "no error";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"Erreur interne : tentative de destruction d'un objet de classe TObjetEssai référencé comme interface.",
              e.Message());
  }
  EXPECT_EQ(0, destructions);
  EXPECT_EQ(1, reference->Numero());
  reference.Vider();
  EXPECT_EQ(0, destructions) << "not self-destroying";
  TObjetInterfacable::Detruire(objet);
  EXPECT_EQ(1, destructions);
}

// Asks for its own destruction again while it is being destroyed.
class TObjetDetruitDeuxFois : public TObjetEssai {
 public:
  TObjetDetruitDeuxFois(std::wstring* message) : TObjetEssai(1, nullptr), FMessage(message) {}
  ~TObjetDetruitDeuxFois() override {
    try {
      TObjetInterfacable::Detruire(this);
    } catch (const EOvalis& e) {
      *FMessage = e.Message();
    }
  }

 private:
  std::wstring* FMessage;
};

TEST(ObjetInterfacable, DoubleDestructionIsRefused) {
  std::wstring message;
  NouvelObjet<TObjetDetruitDeuxFois>(&message);
  EXPECT_EQ(L"Erreur interne : double destruction d'un objet de classe TObjetDetruitDeuxFois.", message);
}

}  // namespace

namespace {

TEST(NomDeClasse, NamespacesDroppedTemplateArgumentsKept) {
  EXPECT_EQ(L"TObjetEssai", NomDeClasse(typeid(TObjetEssai)));
  EXPECT_EQ(L"TRef<norvel::essais::IEssaiA>", NomDeClasse(typeid(TRef<IEssaiA>)));
  EXPECT_EQ(L"TObjetEssai", NouvelObjet<TObjetEssai>(1, nullptr)->NomClasse()) << "the object's own class";
}

}  // namespace
