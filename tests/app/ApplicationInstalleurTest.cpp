// The application object's life: services registered in their order, the main loop, and the
// shut-down in its exact order, also after a failed initialisation and a failed form. A
// recording registry, a recording form and recording services write one journal.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <thread>

#include "platform/AppelThreadPrincipal.h"
#include "platform/FormatDate.h"
#include "platform/GestionGlobaleEvenements.h"
#include "platform/InformationApplication.h"
#include "platform/ServicesApplication.h"
#include "core/Finalisation.h"
#include "core/Format.h"
#include "platform/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "core/GuidsServices.h"
#include "core/Resultat.h"
#include "core/Serialisation.h"
#include "http/ConseilControleurDomaine.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"
#include "httpconfig/UserAgentClientsHttp.h"
#include "support/FenetresEssai.h"
#include "app/ApplicationInstalleurNorvelPrimaire.h"

using namespace norvel;

namespace {

using Journal = std::vector<std::wstring>;
Journal GJournal;
void Noter(std::wstring ligne) { GJournal.push_back(std::move(ligne)); }

std::wstring NomService(REFGUID guid) {
  static const std::pair<const GUID*, const wchar_t*> noms[] = {
      {&IID_IInformationApplication, L"IInformationApplication"},
      {&IID_IContexteExecution, L"IContexteExecution"},
      {&IID_ISurchargeRepertoiresWindows, L"ISurchargeRepertoiresWindows"},
      {&IID_IDossierSpecial, L"IDossierSpecial"},
      {&IID_IGestionIcu, L"IGestionIcu"},
      {&IID_IGestionGlobaleEvenements, L"IGestionGlobaleEvenements"},
      {&IID_IListePersistanceParametresApplicatif, L"IListePersistanceParametresApplicatif"},
      {&IID_IAttente, L"IAttente"},
      {&IID_IGestionSkin, L"IGestionSkin"},
      {&IID_IPileGestionMessageSimple, L"IPileGestionMessageSimple"},
      {&IID_ISessionsClientsHttp, L"ISessionsClientsHttp"},
  };
  for (const auto& [g, nom] : noms)
    if (IsEqualGUID(*g, guid)) return nom;
  return L"?";
}

// Records every registration and unregistration, and mirrors them into the process registry
// where the rest of the program looks services up. Can refuse one GUID, as a service whose
// creation fails.
class TDictionnaireEnregistreur : public TDictionnaireExtensions {
 public:
  std::optional<GUID> FGuidEnPanne;

  void AjouterExtension(REFGUID guid, IInterface* extension) override {
    if (FGuidEnPanne && IsEqualGUID(*FGuidEnPanne, guid)) throw EOvalis(L"Service impossible à créer");
    TDictionnaireExtensions::AjouterExtension(guid, extension);
    TSingletonDictionnaireExtensions::AjouterExtension(guid, extension);
    Noter(L"+" + NomService(guid));
    if (IsEqualGUID(guid, IID_IGestionGlobaleEvenements)) AbonnerFermeture(extension);
  }
  void SupprimerExtension(REFGUID guid) override {
    Noter(L"-" + NomService(guid));
    TSingletonDictionnaireExtensions::SupprimerExtension(guid);
    TDictionnaireExtensions::SupprimerExtension(guid);
  }

 private:
  // The closing notification also tells what the user-interface layer left behind.
  struct TObservateurFermeture {
    void Fermeture() {
      auto& plateforme = TApplicationGraphique::Instance();
      Noter(Format(L"fermeture annoncée (gestionnaire d'inactivité %s, %d fiche(s))",
                   {plateforme.GetSurInactivite() ? L"présent" : L"retiré", static_cast<int>(plateforme.NombreFiches())}));
    }
  };
  void AbonnerFermeture(IInterface* extension) {
    TRef<IGestionGlobaleEvenements> evenements = TRef<IInterface>(extension).Demander<IGestionGlobaleEvenements>();
    evenements->GestionnaireInvocateurs().GetInvocateur<TNotifFermetureApplication>()->Abonner(
        TNotifFermetureApplication(&FObservateur, &TObservateurFermeture::Fermeture), false);
  }
  TObservateurFermeture FObservateur;
};

// A main-loop service: notes its last pass (once the program is closing) and its deactivation.
class TServiceBoucleEssai : public TServiceOvalisNonReentrant {
 public:
  bool Traiter() override {
    if (TApplicationGraphique::Instance().Terminee()) Noter(L"dernier passage des services de boucle");
    return true;
  }
  void SetActif(bool actif) override {
    if (!actif && EstActif()) Noter(L"services désactivés");
    TServiceOvalisNonReentrant::SetActif(actif);
  }
};

enum class Panne { Aucune, Fiche, Initialiser };

// What a test does once the form is initialised, before the user closes it.
std::function<void()> GPendantLaBoucle;

class TFicheEssai : public TFicheInstalleurNorvelPrimaire {
 public:
  explicit TFicheEssai(Panne panne) : FPanne(panne) {}
  ~TFicheEssai() override { Noter(L"fiche détruite"); }
  void Initialiser(TRef<IAttente> attente, TRef<IDossierSpecial> dossierSpecial,
                   TRef<IInformationApplication> informationApplication, TRef<ISessionsClientsHttp> sessions,
                   const std::wstring& chemin) override {
    if (!sessions) Noter(L"Initialiser sans le service de sessions HTTP");
    TFicheInstalleurNorvelPrimaire::Initialiser(attente, dossierSpecial, informationApplication, sessions, chemin);
    Noter(L"Initialiser(" + chemin + L") " + Titre());
    if (FPanne == Panne::Initialiser) throw EOvalis(L"L'étape 1 a échoué");
    if (GPendantLaBoucle) AppelerSurThreadPrincipal(std::exchange(GPendantLaBoucle, nullptr));
    // The user closes the window a little later.
    AppelerSurThreadPrincipal([this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); });
  }

 protected:
  // The application's life only: the access test would reach the public pages of a new
  // configuration (the wizard's own tests drive step 1 against the stand-in world).
  void TesterAccesInternet() override {}

 private:
  Panne FPanne;
};

class TApplicationEssai : public TApplicationInstalleurNorvelPrimaire {
 public:
  TApplicationEssai(TDictionnaireExtensions& dictionnaire, Panne panne)
      : TApplicationInstalleurNorvelPrimaire(Information(), nullptr, &dictionnaire), FPanne(panne) {}

 protected:
  static TRef<IInformationApplication> Information() {
    return TRef<IInformationApplication>(
        NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             VersionDepuisNumeros({1, 9}), TypePlateformeCompilation::Bits64,
                                             TypePaysDistribution::FRANCE, TypeSourceEnvironnement::Aucune)
            .Get());
  }
  void InitialiserApplication() override {
    TApplicationInstalleurNorvelPrimaire::InitialiserApplication();
    TServicesApplication::Ajouter(FService.Get(), dsiBouclePrincApp, psiIndifferent, true);
  }
  std::unique_ptr<TFicheInstalleurNorvelPrimaire> NouvelleFiche() override {
    if (FPanne == Panne::Fiche) throw EOvalis(L"La fenêtre ne peut pas être créée");
    return std::make_unique<TFicheEssai>(FPanne);
  }
  void TraiterErreurInitialisation(const std::wstring& classe, const std::wstring& message) override {
    Noter(L"erreur d'initialisation (" + classe + L") : " + message);
    TApplicationInstalleurNorvelPrimaire::TraiterErreurInitialisation(classe, message);
  }

 private:
  Panne FPanne;
  TRef<TServiceBoucleEssai> FService = NouvelObjet<TServiceBoucleEssai>();
};

// Answers the one message box the run may show, as a user would, and notes it.
class TUtilisateur {
 public:
  TUtilisateur()
      : FThread([this, thread = GetCurrentThreadId()] {
          if (HWND boite = essai::AttendreBoiteDialogue(thread, std::chrono::seconds(10))) {
            wchar_t legende[64]{};
            GetWindowTextW(boite, legende, 64);
            FBoite = std::wstring(legende) + L" : " + essai::TexteBoiteDialogue(boite);
            essai::CliquerBouton(boite, IDOK);
          }
        }) {}
  ~TUtilisateur() {
    if (FThread.joinable()) FThread.join();
  }
  std::wstring Boite() {
    FThread.join();
    return FBoite;
  }

 private:
  std::wstring FBoite;
  std::thread FThread;
};

Journal Executer(Panne panne, std::optional<GUID> guidEnPanne = std::nullopt) {
  GJournal.clear();
  TDictionnaireEnregistreur dictionnaire;
  dictionnaire.FGuidEnPanne = guidEnPanne;
  TClasseFinalisable::InscrireFinalisation([] { Noter(L"finalisation précoce"); }, cfFinalisationPrecoce);
  {
    TApplicationEssai application(dictionnaire, panne);
    application.Execute();
  }
  return GJournal;
}

const Journal Enregistrements = {
    L"+IInformationApplication", L"+ISurchargeRepertoiresWindows", L"+IDossierSpecial", L"+IGestionIcu",
    L"+IGestionGlobaleEvenements", L"+IListePersistanceParametresApplicatif", L"+IAttente", L"+IGestionSkin",
    L"+IPileGestionMessageSimple", L"+ISessionsClientsHttp",
};
const Journal Desenregistrements = {
    L"-ISessionsClientsHttp",
    L"-IPileGestionMessageSimple",
    L"-IGestionSkin",
    L"-IAttente",
    L"-IListePersistanceParametresApplicatif",
    L"fermeture annoncée (gestionnaire d'inactivité retiré, 0 fiche(s))",
    L"-IGestionGlobaleEvenements",
    L"-IGestionIcu",
    L"-IDossierSpecial",
    L"-ISurchargeRepertoiresWindows",
    L"-IContexteExecution",
    L"-IInformationApplication",
    L"finalisation précoce",
};

Journal Concatener(std::initializer_list<Journal> parties) {
  Journal tout;
  for (const auto& p : parties) tout.insert(tout.end(), p.begin(), p.end());
  return tout;
}

}  // namespace

TEST(ApplicationInstalleur, VieNormaleEtOrdreExactDeLArret) {
  const Journal journal = Executer(Panne::Aucune);
  EXPECT_EQ(journal, Concatener({Enregistrements,
                                 {L"Initialiser() Assistant d'installation de NORVEL Primaire - 1.9",
                                  L"dernier passage des services de boucle", L"fiche détruite", L"services désactivés"},
                                 Desenregistrements}));
  EXPECT_FALSE(TSingletonDictionnaireExtensions::Connait(IID_IAttente));
}

TEST(ApplicationInstalleur, InitialisationEnEchecPasseDirectementALaFinalisation) {
  // The simple messages are not registered yet when the failure happens: nothing is shown.
  const Journal journal = Executer(Panne::Aucune, IID_IPileGestionMessageSimple);
  Journal attendu = Enregistrements;
  attendu.resize(attendu.size() - 2);
  attendu.push_back(L"erreur d'initialisation (EOvalis) : Service impossible à créer");
  EXPECT_EQ(journal, Concatener({attendu, Desenregistrements}));
}

TEST(ApplicationInstalleur, FicheEnEchecMontreLeMessageEtArreteSansBoucle) {
  TUtilisateur utilisateur;
  const Journal journal = Executer(Panne::Fiche);
  EXPECT_EQ(utilisateur.Boite(), L"Information : La fenêtre ne peut pas être créée");
  EXPECT_EQ(journal, Concatener({Enregistrements, {L"services désactivés"}, Desenregistrements}));
}

TEST(ApplicationInstalleur, InitialiserEnEchecDetruitLaFicheSansBoucle) {
  TUtilisateur utilisateur;
  const Journal journal = Executer(Panne::Initialiser);
  EXPECT_EQ(utilisateur.Boite(), L"Information : L'étape 1 a échoué");
  EXPECT_EQ(journal, Concatener({Enregistrements,
                                 {L"Initialiser() Assistant d'installation de NORVEL Primaire - 1.9",
                                  L"fiche détruite", L"services désactivés"},
                                 Desenregistrements}));
}

TEST(ApplicationInstalleur, FicheDiffereeInitialiseeAuDebutDeLaBoucleAvantLaPremiereInactivite) {
  auto& plateforme = TApplicationGraphique::Instance();
  plateforme.SetCreationFichesDifferee(true);
  // The handler found at start-up runs first in every idle step, then is not put back.
  static bool premiere;
  premiere = true;
  plateforme.SetSurInactivite([](bool&) {
    if (std::exchange(premiere, false)) Noter(L"première inactivité");
  });
  const Journal journal = Executer(Panne::Aucune);
  plateforme.SetCreationFichesDifferee(false);
  const auto initialiser = std::find(journal.begin(), journal.end(),
                                     L"Initialiser() Assistant d'installation de NORVEL Primaire - 1.9");
  ASSERT_NE(initialiser, journal.end());
  ASSERT_NE(initialiser + 1, journal.end());
  EXPECT_EQ(*(initialiser + 1), L"première inactivité");
  EXPECT_EQ(std::count(journal.begin(), journal.end(), *initialiser), 1);
  EXPECT_FALSE(plateforme.GetSurInactivite());
}

TEST(ApplicationInstalleur, ServiceDeSessionsHttpEtConseilDuControleurDeDomaine) {
  DefinirSourceSansMasterkeyDPAPI(nullptr);
  std::wstring userAgent;
  GPendantLaBoucle = [&] {
    const TRef<ISessionsClientsHttp> sessions = TSingletonDictionnaireExtensions::Service<ISessionsClientsHttp>();
    userAgent = dynamic_cast<TSessionsClientsHttpAppGraphiqueFmx&>(*sessions).Config().UserAgent();
  };
  Executer(Panne::Aucune);
  EXPECT_TRUE(CommencePar(userAgent, L"InstalleurNorvelPrimaire_MONOPOSTE/1.9 (64bit; FR; Windows ")) << VersUtf8(userAgent);
  EXPECT_TRUE(FinitPar(userAgent, L"; " + NomPosteReseau() + L")")) << VersUtf8(userAgent);
  // The HTTP errors learn from the platform restrictions whether DPAPI has master keys.
  ASSERT_NE(SourceSansMasterkeyDPAPI(), nullptr);
  EXPECT_EQ(SourceSansMasterkeyDPAPI()(), RestrictionsApiWindows().SansMasterkeyDPAPI);
}

TEST(ApplicationInstalleur, PoliceParDefautArial12) {
  Executer(Panne::Aucune);
  auto* service = TApplicationGraphique::Instance().ServicePolice();
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(service->GetDefaultFontFamilyName(), L"Arial");
  EXPECT_EQ(service->GetDefaultFontSize(), 12.0f);
  HFONT police = TApplicationGraphique::Instance().CreerPoliceParDefaut();
  LOGFONTW description{};
  GetObjectW(police, sizeof(description), &description);
  DeleteObject(police);
  EXPECT_STREQ(description.lfFaceName, L"Arial");
}

// Results and errors read back from serialised data: their classes are known while the program
// runs, and forgotten with the rest at its end.
TEST(ApplicationInstalleur, ClassesSerialisablesDeclareesAuDemarrage) {
  const std::vector<std::string> classes = {typeid(EExceptionSerialisable).name(),
                                            typeid(EExceptionSerialisableAvecTitre).name(),
                                            typeid(EExceptionRendueSerialisable).name(),
                                            typeid(EResultat).name(),
                                            typeid(EResultatAnnulation).name(),
                                            typeid(TErreur).name(),
                                            typeid(TErreurAnnulation).name()};
  std::vector<std::string> declarees;
  GPendantLaBoucle = [&] {
    for (const std::string& classe : classes)
      if (TMetaInfosClasses::Instanciateur(classe)) declarees.push_back(classe);
  };
  Executer(Panne::Aucune);
  EXPECT_EQ(declarees, classes);
  for (const std::string& classe : classes) EXPECT_FALSE(TMetaInfosClasses::Instanciateur(classe)) << classe;
}

TEST(ApplicationInstalleur, FormatDeDateNormaliseAuDemarrageEtAuChangementDeParametres) {
  const std::wstring origine = FormatDateCourte();
  wchar_t formatUtilisateur[80] = L"dd/MM/yyyy";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, formatUtilisateur, 80);
  SetFormatDateCourte(L"yyyy-MM-dd");
  std::wstring auDemarrage, apresChangement;
  GPendantLaBoucle = [&] {
    auDemarrage = FormatDateCourte();
    // The user changes the regional settings: the system tells every top-level window.
    EXPECT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, L"d.M.yyyy"));
    SendMessageW(TApplicationGraphique::Instance().FenetreUtilitaire(), WM_SETTINGCHANGE, 0,
                 reinterpret_cast<LPARAM>(L"intl"));
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, formatUtilisateur);
    apresChangement = FormatDateCourte();
  };
  Executer(Panne::Aucune);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, formatUtilisateur);
  SetFormatDateCourte(origine);
  EXPECT_EQ(auDemarrage, L"yyyy/mm/dd");
  EXPECT_EQ(apresChangement, L"dd/mm/yyyy");
}
