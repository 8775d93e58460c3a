#include <gtest/gtest.h>

#include <string>

#include "core/PileObjetsEmpilables.h"

using namespace norvel;

namespace {

// A queued item that records, in the test's journal, its letter when it is destroyed.
class TElement : public TObjetEmpilable {
 public:
  TElement(char lettre, std::string* detruits) : FLettre(lettre), FDetruits(detruits) {}
  ~TElement() override {
    if (FDetruits) *FDetruits += FLettre;
  }
  char Lettre() const { return FLettre; }

 private:
  char FLettre;
  std::string* FDetruits;
};

// Takes everything out, in order, and destroys it.
std::string Depiler(TPileObjetsEmpilables& pile) {
  std::string lettres;
  TObjetEmpilable* objet;
  while (pile.TryDepiler(objet)) {
    lettres += static_cast<TElement*>(objet)->Lettre();
    delete objet;
  }
  return lettres;
}

class Pile : public testing::Test {
 protected:
  TElement* Empiler(TPileObjetsEmpilables& pile, char lettre) {
    auto* element = new TElement(lettre, &FDetruits);
    pile.Empiler(element);
    return element;
  }
  std::string FDetruits;
};

TEST_F(Pile, FirstInFirstOut) {
  TPileObjetsEmpilables pile;
  EXPECT_TRUE(pile.EstVide());
  pile.Empiler(nullptr);
  EXPECT_TRUE(pile.EstVide());
  for (char c : std::string("abc")) Empiler(pile, c);
  EXPECT_EQ("abc", Depiler(pile));
  EXPECT_TRUE(pile.EstVide());
  Empiler(pile, 'd');
  EXPECT_EQ("d", Depiler(pile)) << "the tail was reset with the last item";
}

TEST_F(Pile, TryDepilerLeavesTheHeadThatIsNotToBeTaken) {
  TPileObjetsEmpilables pile;
  TElement* a = Empiler(pile, 'a');
  TElement* b = Empiler(pile, 'b');

  TObjetEmpilable* objet = a;
  EXPECT_FALSE(pile.TryDepiler(objet, a));
  EXPECT_EQ(nullptr, objet);
  EXPECT_FALSE(pile.EstVide());

  ASSERT_TRUE(pile.TryDepiler(objet, b));
  EXPECT_EQ(a, objet);
  delete objet;
  EXPECT_EQ("b", Depiler(pile));
}

TEST_F(Pile, TransferAppendsTheOtherQueueAndEmptiesIt) {
  TPileObjetsEmpilables pile, autre, vide;
  Empiler(pile, 'a');
  Empiler(autre, 'b');
  Empiler(autre, 'c');
  pile.TransfererDepuis(autre);
  pile.TransfererDepuis(vide);
  EXPECT_TRUE(autre.EstVide());
  Empiler(pile, 'd');
  Empiler(autre, 'x');
  EXPECT_EQ("abcd", Depiler(pile));
  EXPECT_EQ("x", Depiler(autre));

  vide.TransfererDepuis(pile);
  EXPECT_TRUE(vide.EstVide());
  Empiler(autre, 'y');
  vide.TransfererDepuis(autre);
  EXPECT_EQ("y", Depiler(vide));
}

TEST_F(Pile, ObjectsDestroyedWhenAskedAndWithTheQueue) {
  TElement gardes[2] = {{'g', nullptr}, {'h', nullptr}};
  {
    TPileObjetsEmpilables pile;
    pile.Empiler(&gardes[0]);
    pile.Empiler(&gardes[1]);
    pile.Vider(false);
    EXPECT_TRUE(pile.EstVide());

    Empiler(pile, 'a');
    Empiler(pile, 'b');
    pile.Vider(true);
    EXPECT_EQ("ab", FDetruits);

    Empiler(pile, 'c');
  }
  EXPECT_EQ("abc", FDetruits);
}

}  // namespace
