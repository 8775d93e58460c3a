// Multicast invokers: order, snapshot, the delivery queue with nested broadcasts, suspension,
// both error policies, for interface subscribers and bound-method subscribers alike.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "core/InvocateurMultiple.h"

using namespace norvel;

namespace norvel {
struct IAbonneEssai : IUnknown {
  virtual void Evenement(const std::string& nom) = 0;
};
}  // namespace norvel
NORVEL_GUID(norvel::IAbonneEssai, 0x4E0A3C11, 0x8B7D, 0x4C52, 0x9A, 0x61, 0x27, 0x3D, 0x55, 0x90, 0x1F, 0xC4)

namespace norvel {
template <>
class TConcentrateurInvocateurMultiple<IAbonneEssai> : public TConcentrateurDInterface<IAbonneEssai> {
 public:
  using TConcentrateurDInterface::TConcentrateurDInterface;
  void Evenement(const std::string& nom) override { Diffuser(&IAbonneEssai::Evenement, nom); }
};
}  // namespace norvel

namespace {

using Journal = std::vector<std::string>;
using TNotifEssai = TypePtrMethode<void(const std::string&), struct TagNotifEssai>;

// A subscriber that writes "name(event)" and may act while it is told.
class TAbonne : public TImplemente<TObjetInterfacable, IAbonneEssai> {
 public:
  TAbonne(Journal& journal, std::string nom) : FJournal(journal), FNom(std::move(nom)) {}
  void Evenement(const std::string& evenement) override {
    FJournal.push_back(FNom + "(" + evenement + ")");
    if (FReaction) FReaction(evenement);
  }
  std::function<void(const std::string&)> FReaction;

 private:
  Journal& FJournal;
  std::string FNom;
};

// Both variants behind one face, so every case runs on both.
class Invocateur : public testing::TestWithParam<bool> {
 protected:
  bool ParMethode() const { return GetParam(); }
  void Creer(TypeGestionExceptionInvocationMultiple gestion = geiAbandonner) {
    if (ParMethode())
      FMethodes = CreerInvocateur<TNotifEssai>(gestion);
    else
      FInterfaces = CreerInvocateur<IAbonneEssai>(gestion);
  }
  TRef<TAbonne> Abonne(const std::string& nom) {
    FAbonnes.push_back(NouvelObjet<TAbonne>(FJournal, nom));
    return FAbonnes.back();
  }
  static TNotifEssai Methode(const TRef<TAbonne>& a) { return TNotifEssai(a.Get(), &TAbonne::Evenement); }
  bool Abonner(const TRef<TAbonne>& a, bool enPremier = false) {
    return ParMethode() ? FMethodes->Abonner(Methode(a), enPremier) : FInterfaces->Abonner(a, enPremier);
  }
  bool Desabonner(const TRef<TAbonne>& a) {
    return ParMethode() ? FMethodes->Desabonner(Methode(a)) : FInterfaces->Desabonner(a);
  }
  void Diffuser(const std::string& evenement) {
    if (ParMethode())
      FMethodes->Diffuseur()(evenement);
    else
      FInterfaces->Diffuseur()->Evenement(evenement);
  }
  void Suspendre() { ParMethode() ? FMethodes->Suspendre() : FInterfaces->Suspendre(); }
  void Reprendre() { ParMethode() ? FMethodes->Reprendre() : FInterfaces->Reprendre(); }
  Journal Vider() { return std::exchange(FJournal, {}); }

  Journal FJournal;
  std::vector<TRef<TAbonne>> FAbonnes;
  TRef<IInvocateurMultiple<IAbonneEssai>> FInterfaces;
  TRef<IInvocateurMultiple<TNotifEssai>> FMethodes;
};

}  // namespace

TEST_P(Invocateur, OrdreDeLaListeAbonnementEnTeteEtDoublon) {
  Creer();
  auto s1 = Abonne("S1"), s2 = Abonne("S2"), s0 = Abonne("S0");
  EXPECT_TRUE(Abonner(s1));
  EXPECT_TRUE(Abonner(s2));
  EXPECT_FALSE(Abonner(s1)) << "already subscribed";
  EXPECT_TRUE(Abonner(s0, true));
  Diffuser("e");
  EXPECT_EQ(Vider(), (Journal{"S0(e)", "S1(e)", "S2(e)"}));
  EXPECT_TRUE(Desabonner(s1));
  EXPECT_FALSE(Desabonner(s1));
  Diffuser("f");
  EXPECT_EQ(Vider(), (Journal{"S0(f)", "S2(f)"}));
}

TEST_P(Invocateur, DiffusionImbriqueeLivreeApresLesLivraisonsEnAttente) {
  Creer();
  auto s1 = Abonne("S1"), s2 = Abonne("S2");
  s1->FReaction = [&](const std::string& e) {
    if (e == "e1") Diffuser("e2");
  };
  Abonner(s1);
  Abonner(s2);
  Diffuser("e1");
  EXPECT_EQ(Vider(), (Journal{"S1(e1)", "S2(e1)", "S1(e2)", "S2(e2)"}));
}

TEST_P(Invocateur, LaDiffusionPartDUnInstantaneDeLaListe) {
  Creer();
  auto s1 = Abonne("S1"), s2 = Abonne("S2"), s3 = Abonne("S3");
  s1->FReaction = [&](const std::string&) {
    Desabonner(s2);
    Abonner(s3);
  };
  Abonner(s1);
  Abonner(s2);
  Diffuser("e");
  EXPECT_EQ(Vider(), (Journal{"S1(e)", "S2(e)"}));
  s1->FReaction = nullptr;
  Diffuser("f");
  EXPECT_EQ(Vider(), (Journal{"S1(f)", "S3(f)"}));
}

TEST_P(Invocateur, SuspendreDeuxFoisReprendreUneFoisResteSuspendu) {
  Creer();
  Abonner(Abonne("S1"));
  Suspendre();
  Suspendre();
  Reprendre();
  Diffuser("ignoré");
  EXPECT_EQ(Vider(), Journal{});
  Reprendre();
  Diffuser("livré");
  EXPECT_EQ(Vider(), Journal{"S1(livré)"});
}

TEST_P(Invocateur, ErreurDUnAbonneSelonLaPolitique) {
  struct Cas {
    TypeGestionExceptionInvocationMultiple gestion;
    Journal attendu;
    bool erreurAttendue;
  } cas[] = {
      {geiAbandonner, {"S1(e)", "S2(e)"}, true},
      {geiPoursuivre, {"S1(e)", "S2(e)", "S3(e)"}, false},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.gestion == geiAbandonner ? "abandonner" : "poursuivre");
    FAbonnes.clear();
    Creer(c.gestion);
    auto s1 = Abonne("S1"), s2 = Abonne("S2"), s3 = Abonne("S3");
    s2->FReaction = [](const std::string&) { throw EOvalis(L"S2 en panne"); };
    Abonner(s1);
    Abonner(s2);
    Abonner(s3);
    std::wstring erreur;
    try {
      Diffuser("e");
    } catch (const EOvalis& e) {
      erreur = e.Message();
    }
    EXPECT_EQ(Vider(), c.attendu);
    EXPECT_EQ(erreur, c.erreurAttendue ? L"S2 en panne" : L"");
    // The failure belongs to its broadcast only: the next one is delivered normally.
    s2->FReaction = nullptr;
    Diffuser("suivant");
    EXPECT_EQ(Vider(), (Journal{"S1(suivant)", "S2(suivant)", "S3(suivant)"}));
  }
}

TEST_P(Invocateur, LErreurDUneDiffusionImbriqueeArreteSesLivraisonsPasCellesDeLExterieure) {
  Creer(geiAbandonner);
  auto s1 = Abonne("S1"), s2 = Abonne("S2");
  // S1 raises e2 during e1 and swallows e2's failure; S2 fails on e2 only.
  s1->FReaction = [&](const std::string& e) {
    if (e == "e1") {
      EXPECT_THROW(Diffuser("e2"), EOvalis);
    }
  };
  s2->FReaction = [](const std::string& e) {
    if (e == "e2") throw EOvalis(L"e2 refusé");
  };
  Abonner(s1);
  Abonner(s2);
  EXPECT_NO_THROW(Diffuser("e1"));
  EXPECT_EQ(Vider(), (Journal{"S1(e1)", "S2(e1)", "S1(e2)", "S2(e2)"}));
}

INSTANTIATE_TEST_SUITE_P(Variantes, Invocateur, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Methodes" : "Interfaces"; });

TEST(InvocateurInterface, LeDiffuseurSeDonnePourLInterfaceEtGardeLInvocateurEnVie) {
  Journal journal;
  auto abonne = NouvelObjet<TAbonne>(journal, "S");
  TRef<IAbonneEssai> diffuseur;
  {
    auto invocateur = CreerInvocateur<IAbonneEssai>(geiPoursuivre);
    invocateur->Abonner(abonne, false);
    diffuseur = invocateur->Diffuseur();
    EXPECT_EQ(diffuseur.Demander<IAbonneEssai>().Get(), diffuseur.Get());
  }
  diffuseur->Evenement("après");
  EXPECT_EQ(journal, Journal{"S(après)"});
  diffuseur = nullptr;
  EXPECT_EQ(abonne->CompteurReferences(), 1) << "the invoker released its subscriber";
}

TEST(InvocateurMethode, MemeObjetEtMemeCodeFontLeMemeAbonne) {
  Journal journal;
  auto a = NouvelObjet<TAbonne>(journal, "A"), b = NouvelObjet<TAbonne>(journal, "B");
  auto invocateur = CreerInvocateur<TNotifEssai>(geiAbandonner);
  EXPECT_TRUE(invocateur->Abonner(TNotifEssai(a.Get(), &TAbonne::Evenement), false));
  EXPECT_FALSE(invocateur->Abonner(TNotifEssai(a.Get(), &TAbonne::Evenement), false));
  EXPECT_TRUE(invocateur->Abonner(TNotifEssai(b.Get(), &TAbonne::Evenement), false));
  EXPECT_EQ(invocateur->NombreAbonnes(), 2);
  invocateur->DesabonnerTous();
  EXPECT_EQ(invocateur->NombreAbonnes(), 0);
}

TEST(GestionnaireInvocateursMultiples, UnInvocateurParTypeAvecLaPolitiqueDuGestionnaire) {
  using TAutreNotif = TypePtrMethode<void(const std::string&), struct TagAutreNotif>;
  TGestionnaireInvocateursMultiples gestionnaire(geiAbandonner);
  auto premier = gestionnaire.GetInvocateur<TNotifEssai>();
  EXPECT_EQ(gestionnaire.GetInvocateur<TNotifEssai>().Get(), premier.Get());
  EXPECT_NE(static_cast<void*>(gestionnaire.GetInvocateur<TAutreNotif>().Get()), static_cast<void*>(premier.Get()));
  EXPECT_EQ(gestionnaire.GetInvocateur<IAbonneEssai>().Get(), gestionnaire.GetInvocateur<IAbonneEssai>().Get());

  Journal journal;
  auto s1 = NouvelObjet<TAbonne>(journal, "S1"), s2 = NouvelObjet<TAbonne>(journal, "S2");
  s1->FReaction = [](const std::string&) { throw EOvalis(L"arrêt"); };
  premier->Abonner(TNotifEssai(s1.Get(), &TAbonne::Evenement), false);
  premier->Abonner(TNotifEssai(s2.Get(), &TAbonne::Evenement), false);
  EXPECT_THROW(premier->Diffuseur()("e"), EOvalis);
  EXPECT_EQ(journal, Journal{"S1(e)"});
}
