#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "core/Resultat.h"

using namespace norvel;

namespace {

TRef<IResultat> Erreur(const wchar_t* message) { return TRef<IResultat>(NouvelObjet<TErreur>(message).Get()); }
TRef<IResultat> Annulation(const wchar_t* message) {
  return TRef<IResultat>(NouvelObjet<TErreurAnnulation>(message).Get());
}
TRef<IResultat> Succes() { return TRef<IResultat>(NouvelObjet<TResultat>().Get()); }

// The messages of a list of results, joined by commas.
std::wstring Messages(const TypeResultats& resultats) {
  std::wstring texte;
  for (const auto& r : resultats) texte += (texte.empty() ? L"" : L",") + r->GetMessage();
  return texte;
}

// The whole of a tree: each result as message, kind (e error, a cancellation) and children.
std::wstring Arbre(const TRef<IResultat>& r) {
  std::wstring texte = r->GetMessage();
  if (r->EstErreur()) texte += L"/e";
  if (r->EstAnnulation()) texte += L"/a";
  if (r->GetNbResultatsFils() == 0) return texte;
  texte += L"(";
  for (const auto& fils : r->GetResultatsFils()) texte += Arbre(fils) + L" ";
  return texte + L")";
}

TEST(Resultat, DescendantsDepthFirstInOrder) {
  const auto racine = Succes(), a = Erreur(L"A"), a1 = Erreur(L"A1"), b = Erreur(L"B");
  a1->AjouterAResultatParent(a.Get());
  racine->AjouterResultatFils(a.Get());
  racine->AjouterResultatFils(nullptr);
  b->AjouterAResultatParent(racine.Get());
  EXPECT_EQ(L"A,A1,B", Messages(racine->GetTousResultatsDescendants()));
  EXPECT_EQ(L"A,B", Messages(racine->GetResultatsFils()));
  EXPECT_EQ(2, racine->GetNbResultatsFils());
}

TEST(Resultat, KindsOfResults) {
  EXPECT_FALSE(Succes()->EstErreur());
  EXPECT_EQ(L"", Succes()->GetMessage());
  EXPECT_TRUE(Erreur(L"x")->EstErreur());
  EXPECT_FALSE(Erreur(L"x")->EstAnnulation());
  EXPECT_TRUE(Annulation(L"x")->EstErreur());
  EXPECT_TRUE(Annulation(L"x")->EstAnnulation());
  EXPECT_TRUE(Erreur(L"x").Demander<IErreur>());
  EXPECT_FALSE(Succes().Demander<IErreur>());
}

TEST(Resultat, ResultCannotBecomeItsOwnDescendant) {
  const auto racine = Erreur(L"R"), fils = Erreur(L"F"), petitFils = Erreur(L"P");
  racine->AjouterResultatFils(fils.Get());
  fils->AjouterResultatFils(petitFils.Get());
  for (const auto& ancetre : {racine, fils}) {
    EXPECT_THROW(petitFils->AjouterResultatFils(ancetre.Get()), EOvalis);
  }
  EXPECT_THROW(racine->AjouterResultatFils(racine.Get()), EOvalis);
  EXPECT_EQ(L"R/e(F/e(P/e ) )", Arbre(racine));
}

TEST(Resultat, ErrorGoesUnderAParentCreatedOnFirstNeed) {
  TRef<IErreur> parente;
  const auto premiere = Erreur(L"disque plein").Demander<IErreur>();
  const auto seconde = Erreur(L"réseau absent").Demander<IErreur>();
  premiere->AjouterAErreur(parente, L"Échec de l'installation");
  seconde->AjouterAErreur(parente, L"autre message, pas utilisé");
  ASSERT_TRUE(parente);
  EXPECT_EQ(L"Échec de l'installation/e(disque plein/e réseau absent/e )", Arbre(TRef<IResultat>(parente.Get())));
}

TEST(Resultat, ExceptionOfAResultFollowsItsKind) {
  struct Cas {
    TRef<IResultat> resultat;
    bool annulation;
  };
  const Cas cas[] = {{Erreur(L"échec"), false}, {Annulation(L"abandon"), true}, {Succes(), false}};
  for (const Cas& c : cas) {
    const auto exception = c.resultat->CreerException();
    EXPECT_EQ(c.annulation, dynamic_cast<EResultatAnnulation*>(exception.get()) != nullptr);
    EXPECT_EQ(c.resultat->GetMessage(), exception->Message());
    try {
      exception->Lever();
    } catch (const EResultat& e) {
      EXPECT_EQ(c.annulation, typeid(e) == typeid(EResultatAnnulation)) << "raised with its own class";
      EXPECT_EQ(c.resultat.Get(), const_cast<EResultat&>(e).GetResultat().Get());
    }
  }
}

TEST(Resultat, ExceptionIsWrappedByTheResultsOfEnclosingOperations) {
  EResultat exception(Erreur(L"fichier introuvable"));
  EXPECT_EQ(L"fichier introuvable", exception.Message());
  exception.AjouterResultatParent(Erreur(L"Téléchargement impossible"));
  exception.AjouterResultatParent(nullptr);
  EXPECT_EQ(L"Téléchargement impossible", exception.Message());
  EXPECT_EQ(L"Téléchargement impossible/e(fichier introuvable/e )", Arbre(exception.GetResultat()));
  EXPECT_TRUE(Demander<IExceptionAvecResultat>(static_cast<IExceptionAvecResultat*>(&exception)));
  EXPECT_EQ(L"", EResultat(nullptr).Message());
}

// ---- Serialisation

class Serialisation : public testing::Test {
 protected:
  void SetUp() override { DeclarerClassesSerialisables(); }

  static std::string Ecrire(IUnknown* objet) {
    TEcrivainSerialisation ecrivain;
    ecrivain.EcrireObjet(objet);
    return ecrivain.Donnees();
  }
  // Writing does not change an exception; the writer takes objects through their interface.
  static std::string Ecrire(const EExceptionSerialisable& exception) {
    return Ecrire(static_cast<ISerialisable*>(const_cast<EExceptionSerialisable*>(&exception)));
  }
  static TRef<IResultat> LireResultat(const std::string& donnees) {
    TLecteurSerialisation lecteur(donnees);
    auto resultat = lecteur.LireObjet().Demander<IResultat>();
    EXPECT_TRUE(lecteur.EstTermine());
    return resultat;
  }
  static std::unique_ptr<EExceptionSerialisable> LireException(const std::string& donnees) {
    TLecteurSerialisation lecteur(donnees);
    return lecteur.LireException();
  }
  // A tree with every kind of result, unicode messages and an empty one.
  static TRef<IResultat> ArbreComplet() {
    const auto racine = Erreur(L"Échec « complet »");
    const auto a = Succes(), b = Annulation(L"annulé");
    a->AjouterResultatFils(Erreur(L"").Get());
    a->AjouterResultatFils(Erreur(L"ligne 1\r\nligne 2").Get());
    racine->AjouterResultatFils(a.Get());
    racine->AjouterResultatFils(b.Get());
    return racine;
  }
};

TEST_F(Serialisation, ResultTreeReadsBackWithItsClassesAndMessages) {
  const auto original = ArbreComplet();
  const auto relu = LireResultat(Ecrire(original.Get()));
  ASSERT_TRUE(relu);
  EXPECT_NE(original.Get(), relu.Get());
  EXPECT_EQ(Arbre(original), Arbre(relu));
  EXPECT_TRUE(typeid(TErreurAnnulation) == typeid(*relu->GetResultatsFils()[1].Get()));
}

TEST_F(Serialisation, ExceptionsReadBackWithTheirClassAndContent) {
  EResultat avecResultat(ArbreComplet());
  const EExceptionSerialisable simple(L"simple");
  const EExceptionSerialisableAvecTitre avecTitre(L"message", L"titre");
  const EExceptionRendueSerialisable rendue(L"accès refusé", L"EOSError");
  const EResultatAnnulation annulation(Annulation(L"abandon"));
  const EResultat sansResultat;
  const EExceptionSerialisable* cas[] = {&simple, &avecTitre, &rendue, &avecResultat, &annulation, &sansResultat};
  for (const EExceptionSerialisable* original : cas) {
    const auto relue = LireException(Ecrire(*original));
    ASSERT_TRUE(relue);
    EXPECT_TRUE(typeid(*original) == typeid(*relue)) << relue->what();
    EXPECT_EQ(original->Message(), relue->Message());
  }
  const auto titre = LireException(Ecrire(avecTitre));
  EXPECT_EQ(L"titre", static_cast<EExceptionSerialisableAvecTitre&>(*titre).Titre());
  const auto origine = LireException(Ecrire(rendue));
  EXPECT_EQ(L"EOSError", static_cast<EExceptionRendueSerialisable&>(*origine).NomClasseExceptionOrigine());

  auto resultat = LireException(Ecrire(avecResultat));
  EXPECT_EQ(Arbre(avecResultat.GetResultat()), Arbre(static_cast<EResultat&>(*resultat).GetResultat()));
  EXPECT_FALSE(static_cast<EResultat&>(*LireException(Ecrire(sansResultat))).GetResultat());
  EXPECT_THROW(LireException(Ecrire(annulation))->Lever(), EResultatAnnulation);
}

// A serialisable object that is not a result.
class TNote : public TImplemente<TObjetInterfacable, ISerialisable> {
 public:
  void Ecrire(TEcrivainSerialisation& ecrivain) override { ecrivain.EcrireEntier(42); }
  void Lire(TLecteurSerialisation& lecteur) override { lecteur.LireEntier(); }
};

TEST_F(Serialisation, ObjectsThatAreNotResultsAreDroppedFromAList) {
  DeclarerMetaInfoClasse<TNote>();
  EExceptionSerialisable exception(L"pas un résultat");
  TEcrivainSerialisation ecrivain;
  ecrivain.EcrireEntier(5);
  ecrivain.EcrireObjet(Erreur(L"un").Get());
  ecrivain.EcrireObjet(static_cast<ISerialisable*>(NouvelObjet<TNote>().Get()));
  ecrivain.EcrireObjet(Erreur(L"deux").Get());
  ecrivain.EcrireObjet(static_cast<ISerialisable*>(&exception));
  ecrivain.EcrireObjet(Erreur(L"trois").Get());

  const auto liste = Succes();
  TLecteurSerialisation lecteur(ecrivain.Donnees());
  Demander<ISerialisable>(liste.Get())->Lire(lecteur);
  EXPECT_EQ(L"un,deux,trois", Messages(liste->GetResultatsFils()));
  EXPECT_TRUE(lecteur.EstTermine());
}

TEST_F(Serialisation, TruncatedOrMismatchedDataRaises) {
  const std::string donnees = Ecrire(ArbreComplet().Get());
  for (std::size_t longueur = 0; longueur < donnees.size(); ++longueur) {
    EXPECT_THROW(LireResultat(donnees.substr(0, longueur)), EOvalis) << "cut at " << longueur;
  }
  TEcrivainSerialisation ecrivain;
  ecrivain.EcrireEntier(1);
  TLecteurSerialisation lecteur(ecrivain.Donnees());
  try {
    lecteur.LireChaine();
    FAIL() << "an integer read as a string";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"Données sérialisées invalides.", e.Message());
  }
}

// Written by this program but never declared readable.
class TInconnu : public TNote {};

TEST_F(Serialisation, UndeclaredClassOrUnserialisableObjectRaises) {
  EXPECT_THROW(LireResultat(Ecrire(static_cast<ISerialisable*>(NouvelObjet<TInconnu>().Get()))), EOvalis);
  TEcrivainSerialisation ecrivain;
  EXPECT_THROW(ecrivain.EcrireObjet(static_cast<IAvecConteneur*>(NouvelObjet<TObjetInterfacable>().Get())), EOvalis);
}

class TErreurMarquee : public TErreur {};

TEST_F(Serialisation, FirstInstantiatorDeclaredStays) {
  // An instantiator of ours, declared before the class declares its own.
  EXPECT_TRUE(TMetaInfosClasses::DeclarerInstanciateur(typeid(TErreurMarquee), [] {
    TInstanceSerialisable instance;
    instance.FObjet = TRef<ISerialisable>(static_cast<ISerialisable*>(NouvelObjet<TErreur>(L"marque").Get()));
    return instance;
  }));
  DeclarerMetaInfoClasse<TErreurMarquee>();
  // Read through a TErreurMarquee: the first instantiator made a TErreur, which reads the message.
  const auto relu = LireResultat(Ecrire(static_cast<IErreur*>(NouvelObjet<TErreurMarquee>().Get())));
  EXPECT_TRUE(typeid(TErreur) == typeid(*relu.Get()));
}

}  // namespace
