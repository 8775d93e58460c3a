// The services polled by the main loop: filing, triggers, priorities, snapshot, failures, re-entrancy.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ServicesApplication.h"
#include "core/Exceptions.h"

using namespace norvel;

namespace {

// A service that writes its name into a shared journal each time it runs.
class TServiceJournal : public TServiceOvalisNonReentrant {
 public:
  TServiceJournal(std::vector<std::string>& journal, std::string nom, std::function<bool()> travail = nullptr)
      : FJournal(journal), FNom(std::move(nom)), FTravail(std::move(travail)) {}
  bool Traiter() override {
    FJournal.push_back(FNom);
    return FTravail ? FTravail() : true;
  }
  void SetActif(bool actif) override {
    if (!actif) FJournal.push_back(FNom + " inactif");
    TServiceOvalisNonReentrant::SetActif(actif);
  }

 private:
  std::vector<std::string>& FJournal;
  std::string FNom;
  std::function<bool()> FTravail;
};

class ServicesApplication : public testing::Test {
 protected:
  void SetUp() override { TServicesApplication::SetBouclePrincipaleDisponible(true); }
  void TearDown() override {
    TServicesApplication::Arreter();
    TServicesApplication::SetBouclePrincipaleDisponible(false);
  }
  TRef<TServiceJournal> Service(std::string nom, std::function<bool()> travail = nullptr) {
    return NouvelObjet<TServiceJournal>(FJournal, std::move(nom), std::move(travail));
  }
  std::vector<std::string> Vider() { return std::exchange(FJournal, {}); }
  std::vector<std::string> FJournal;
};

using Journal = std::vector<std::string>;

}  // namespace

TEST_F(ServicesApplication, PrioritesDansLOrdreEtSeulementLeDeclenchementDemande) {
  auto dernier = Service("dernier"), premier = Service("premier"), indifferent = Service("indifférent");
  auto boucle = Service("boucle"), inactif = Service("inactif");
  TServicesApplication::Ajouter(dernier.Get(), dsiIdle, psiEnDernier, true);
  TServicesApplication::Ajouter(indifferent.Get(), dsiIdle, psiIndifferent, true);
  TServicesApplication::Ajouter(premier.Get(), dsiIdle, psiEnPremier, true);
  TServicesApplication::Ajouter(boucle.Get(), dsiBouclePrincApp, psiEnPremier, true);
  TServicesApplication::Ajouter(inactif.Get(), dsiIdle, psiEnPremier, false);
  EXPECT_TRUE(TServicesApplication::Invoquer(dsiIdle));
  EXPECT_EQ(Vider(), (Journal{"premier", "indifférent", "dernier"}));
  EXPECT_TRUE(TServicesApplication::Invoquer(dsiBouclePrincApp));
  EXPECT_EQ(Vider(), (Journal{"boucle"}));
}

TEST_F(ServicesApplication, ClasseDeuxFoisResteUneFoisDansLaNouvelleListe) {
  auto service = Service("s");
  EXPECT_TRUE(TServicesApplication::Ajouter(service.Get(), dsiIdle, psiEnPremier, true));
  EXPECT_FALSE(TServicesApplication::Ajouter(service.Get(), dsiBouclePrincApp, psiEnDernier, true));
  TServicesApplication::Invoquer(dsiIdle);
  EXPECT_EQ(Vider(), Journal{});
  TServicesApplication::Invoquer(dsiBouclePrincApp);
  EXPECT_EQ(Vider(), Journal{"s"});
  EXPECT_TRUE(TServicesApplication::Enlever(service.Get()));
  EXPECT_FALSE(TServicesApplication::Enlever(service.Get()));
  TServicesApplication::Invoquer(dsiBouclePrincApp);
  EXPECT_EQ(Vider(), Journal{});
}

TEST_F(ServicesApplication, AvantLaBouclePrincipaleLesServicesDeBouclePassentEnInactivite) {
  TServicesApplication::SetBouclePrincipaleDisponible(false);
  auto service = Service("tôt");
  TServicesApplication::Ajouter(service.Get(), dsiBouclePrincApp, psiIndifferent, true);
  TServicesApplication::SetBouclePrincipaleDisponible(true);
  TServicesApplication::Invoquer(dsiBouclePrincApp);
  EXPECT_EQ(Vider(), Journal{});
  TServicesApplication::Invoquer(dsiIdle);
  EXPECT_EQ(Vider(), Journal{"tôt"});
}

TEST_F(ServicesApplication, TousLesServicesSontAppelesEtLesReponsesSeCombinent) {
  auto occupe = Service("occupé", [] { return false; });
  auto enPanne = Service("en panne", []() -> bool { throw EOvalis(L"panne"); });
  auto libre = Service("libre");
  TServicesApplication::Ajouter(occupe.Get(), dsiIdle, psiEnPremier, true);
  TServicesApplication::Ajouter(enPanne.Get(), dsiIdle, psiIndifferent, true);
  TServicesApplication::Ajouter(libre.Get(), dsiIdle, psiEnDernier, true);
  EXPECT_FALSE(TServicesApplication::Invoquer(dsiIdle));
  EXPECT_EQ(Vider(), (Journal{"occupé", "en panne", "libre"}));
  // The failure neither changes the answer nor unfiles the service.
  TServicesApplication::Enlever(occupe.Get());
  EXPECT_TRUE(TServicesApplication::Invoquer(dsiIdle));
  EXPECT_EQ(Vider(), (Journal{"en panne", "libre"}));
  EXPECT_TRUE(enPanne->EstActif());
}

TEST_F(ServicesApplication, LesChangementsPendantUneInvocationValentPourLaSuivante) {
  auto ajoute = Service("ajouté");
  auto enleve = Service("enlevé");
  auto modificateur = Service("modificateur", [&] {
    TServicesApplication::Ajouter(ajoute.Get(), dsiIdle, psiEnPremier, true);
    TServicesApplication::Enlever(enleve.Get());
    return true;
  });
  TServicesApplication::Ajouter(modificateur.Get(), dsiIdle, psiEnPremier, true);
  TServicesApplication::Ajouter(enleve.Get(), dsiIdle, psiEnPremier, true);
  TServicesApplication::Invoquer(dsiIdle);
  EXPECT_EQ(Vider(), (Journal{"modificateur", "enlevé"}));
  TServicesApplication::Invoquer(dsiIdle);
  EXPECT_EQ(Vider(), (Journal{"modificateur", "ajouté"}));
}

TEST_F(ServicesApplication, UnServiceQuiAttendNEstPasRappeleDansLesEtapesImbriqueesPuisRepart) {
  int profondeur = 0;
  TRef<TServiceJournal> attentif = Service("attentif", [&] {
    // Its Traiter opens a wait: nested idle steps run twice, the service must not re-enter.
    if (++profondeur == 1) {
      TServicesApplication::Invoquer(dsiIdle);
      TServicesApplication::Invoquer(dsiIdle);
    }
    --profondeur;
    return true;
  });
  TServicesApplication::Ajouter(attentif.Get(), dsiIdle, psiIndifferent, true);
  TServicesApplication::Invoquer(dsiIdle);
  EXPECT_EQ(Vider(), Journal{"attentif"});
  TServicesApplication::Invoquer(dsiIdle);
  EXPECT_EQ(Vider(), Journal{"attentif"}) << "the guard must be open again after the nested steps";
}

TEST_F(ServicesApplication, ArreterDesactiveEtVideTout) {
  auto a = Service("a"), b = Service("b");
  TServicesApplication::Ajouter(a.Get(), dsiIdle, psiEnPremier, true);
  TServicesApplication::Ajouter(b.Get(), dsiBouclePrincApp, psiEnDernier, true);
  TServicesApplication::Arreter();
  EXPECT_EQ(Vider(), (Journal{"b inactif", "a inactif"}));
  EXPECT_FALSE(TServicesApplication::Enlever(a.Get()));
  a->SetActif(true);
  TServicesApplication::Invoquer(dsiIdle);
  TServicesApplication::Invoquer(dsiBouclePrincApp);
  EXPECT_EQ(Vider(), Journal{});
}
