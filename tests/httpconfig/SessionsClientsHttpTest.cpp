// The HTTP sessions service with its real configuration thread and file, against the stand-in
// server and a real Squid: the user agent, changes through the thread seen by every duplicate,
// the usage counter that defers refreshes, and the proxy and credential hooks of its sessions.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>

#include "platform/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "core/Messages.h"
#include "http/EchangeHttp.h"
#include "httpconfig/SessionsClientsHttp.h"
#include "httpconfig/UserAgentClientsHttp.h"
#include "support/CheminsTest.h"
#include "support/Monde.h"
#include "support/SessionsHttpEssai.h"
#include "support/Sondage.h"

namespace norvel::test {
namespace {

using enum TypeGenreConfigProxyClientsHttp;
using enum TypeEtatTestConfigClientsHttp;

constexpr uint32_t Basic = WINHTTP_AUTH_SCHEME_BASIC;

// The user's answers to the credential dialog, in order; when none is left, the user cancels.
class TSessionsEssai : public TSessionsClientsHttp {
 public:
  using TSessionsClientsHttp::TSessionsClientsHttp;

  std::vector<std::optional<TypeInfoAuthHttp>> Reponses;
  std::vector<std::wstring> ProxiesDemandes;

 protected:
  bool DemanderInfoAuthProxy(const std::wstring& AProxy, TypeInfoAuthHttp& AInfoAuth) override {
    ProxiesDemandes.push_back(AProxy);
    if (Reponses.empty()) return false;
    const std::optional<TypeInfoAuthHttp> reponse = Reponses.front();
    Reponses.erase(Reponses.begin());
    if (!reponse) return false;
    AInfoAuth = *reponse;
    return true;
  }
  TRef<TSessionsClientsHttp> NouveauDuplicata(const TypeOrigineDuplicata& AOrigine) override {
    return NouvelObjet<TSessionsEssai>(AOrigine);
  }
};

class TAbonne : public TImplemente<TObjetInterfacable, IAbonneChangementConfigClientsHttp> {
 public:
  void SurChangementConfig() override { ++Appels; }
  int Appels = 0;
};

class SessionsClientsHttp : public testing::Test {
 protected:
  void SetUp() override { FSessions->Abonner(FAbonne.Get()); }

  TMonde& Monde() { return MondePartage({.Squid = true, .HotesDuProxy = {L"www.ovalis.fr=127.0.0.1"}}); }
  std::wstring Squid(const char* port) { return Monde().AdresseProxy(port); }
  std::wstring PageInternet(std::wstring_view chemin) { return Monde().Url("http", chemin, L"internet.test"); }
  // The stand-in server playing a proxy.
  std::wstring ServeurCommeProxy() { return L"127.0.0.1:" + std::to_wstring(Monde().Port("http")); }
  TypeInfoAuthHttp Identifiants(std::wstring_view motDePasse) {
    return InfoAuth(Basic, Monde().Valeur("squid_utilisateur"), motDePasse);
  }
  TypeInfoAuthHttp BonsIdentifiants() { return Identifiants(Monde().Valeur("squid_motdepasse")); }
  static TypePropositionModifConfigClientsHttp ParProxy(const std::wstring& proxy) {
    return PropositionProxy(proxy, {L"<local>"});
  }

  // The stand-in server's journal lines that mention `marque`.
  std::vector<std::string> JournalServeur(const std::string& marque) {
    TSessionClientsHttp direct({L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    TEchange echange(direct, Monde().Url("http", L"/__monde/journal"), FAttente.Get());
    echange.Requete.Executer();
    std::vector<std::string> lignes;
    for (const std::wstring& ligne : Decouper(DepuisUtf8(echange.Requete.Reponse()), L'\n'))
      if (VersUtf8(ligne).find(marque) != std::string::npos) lignes.push_back(VersUtf8(ligne));
    return lignes;
  }
  // One GET through the configured session of `sessions`.
  TEchange* Requete(ISessionsClientsHttp& sessions, const std::wstring& url) {
    FEchanges.push_back(std::make_unique<TEchange>(sessions.GetSessionAvecGestionProxy(), url, FAttente.Get()));
    return FEchanges.back().get();
  }

  TMachineSessionsHttp<TSessionsEssai> FMachine;
  const TRef<TSessionsEssai>& FSessions = FMachine.Sessions;
  TRef<TAbonne> FAbonne = NouvelObjet<TAbonne>();
  TRef<IAttente> FAttente = AttenteBloquante();
  std::vector<std::unique_ptr<TEchange>> FEchanges;  // before the services they use

  void TearDown() override { FEchanges.clear(); }
};

// ---- User agent

TEST(UserAgentClientsHttp, FormeEtCodes) {
  DefinirRestrictionsApiWindows();
  const TRef<IInformationApplication> information = InformationInstalleur();
  TypeInfoOS os{L"6.1.7601", L"Service Pack 1", L"VER_NT_SERVER", L"PROCESSOR_ARCHITECTURE_INTEL", L""};
  EXPECT_EQ(ConstruireUserAgent(*information, os, L""),
            L"InstalleurNorvelPrimaire_MONOPOSTE/1.9 (64bit; FR; Windows 6.1.7601 Service Pack 1; VER_NT_SERVER; "
            L"PROCESSOR_ARCHITECTURE_INTEL)");
  os.ServicePack.clear();
  os.InformationsComplementaires = L"WINE";
  EXPECT_EQ(ConstruireUserAgent(*information, os, L"poste.domaine.test"),
            L"InstalleurNorvelPrimaire_MONOPOSTE/1.9 (64bit; FR; Windows 6.1.7601; VER_NT_SERVER; "
            L"PROCESSOR_ARCHITECTURE_INTEL; WINE; poste.domaine.test)");

  const std::pair<std::wstring, std::wstring> codes[] = {
      {NomProductType(1), L"VER_NT_WORKSTATION"},
      {NomProductType(2), L"VER_NT_DOMAIN_CONTROLLER"},
      {NomProductType(3), L"VER_NT_SERVER"},
      {NomProductType(0x1c), L"0000001C"},
      {NomProcesseurArchitecture(0), L"PROCESSOR_ARCHITECTURE_INTEL"},
      {NomProcesseurArchitecture(6), L"PROCESSOR_ARCHITECTURE_IA64"},
      {NomProcesseurArchitecture(9), L"PROCESSOR_ARCHITECTURE_AMD64"},
      {NomProcesseurArchitecture(12), L"0000000C"},
  };
  for (const auto& [obtenu, attendu] : codes) EXPECT_EQ(obtenu, attendu);

  // This machine: a 64-bit workstation, named as its network parameters say.
  const TypeInfoOS ici = TypeInfoOS::DuProcessus();
  EXPECT_TRUE(std::regex_match(VersUtf8(ici.Version), std::regex(R"(\d+\.\d+\.\d+)"))) << VersUtf8(ici.Version);
  EXPECT_EQ(ici.ProductType, L"VER_NT_WORKSTATION");
  EXPECT_EQ(ici.ProcesseurArchitecture, L"PROCESSOR_ARCHITECTURE_AMD64");
  EXPECT_EQ(ici.InformationsComplementaires, RestrictionsApiWindows().InformationsComplementairesUserAgent);
  wchar_t hote[256];
  DWORD taille = 256;
  ASSERT_TRUE(GetComputerNameExW(ComputerNameDnsHostname, hote, &taille));
  EXPECT_TRUE(CommencePar(EnMinuscules(NomPosteReseau()), EnMinuscules(hote))) << VersUtf8(NomPosteReseau());
}

TEST_F(SessionsClientsHttp, UserAgentDuServiceEnvoyeAvecChaqueRequete) {
  const std::wstring attendu = ConstruireUserAgent(*FMachine.Information, TypeInfoOS::DuProcessus(), NomPosteReseau());
  EXPECT_EQ(FSessions->Config().UserAgent(), attendu);
  EXPECT_TRUE(CommencePar(attendu, L"InstalleurNorvelPrimaire_MONOPOSTE/1.9 (64bit; FR; Windows "));
  const std::wstring page = L"/user-agent-" + std::to_wstring(GetTickCount64());
  TEchange* echange = Requete(*FSessions, Monde().Url("http", page));
  echange->Requete.Executer();
  const std::vector<std::string> lignes = JournalServeur(VersUtf8(page));
  ASSERT_EQ(lignes.size(), 1u);
  EXPECT_NE(lignes[0].find("\"User-Agent\": \"" + VersUtf8(attendu) + "\""), std::string::npos) << lignes[0];
}

// ---- Changes through the configuration thread

TEST_F(SessionsClientsHttp, PropositionAppliqueeEcriteDansLeFichierEtVueDesDuplicatas) {
  TRef<ISessionsClientsHttp> duplicata = FSessions->DupliquerPourThread();
  const TRef<ISessionsClientsHttp> duplicataDuDuplicata = duplicata->DupliquerPourThread();
  // A duplicate is of the class of its source (its credential dialog included).
  EXPECT_NE(dynamic_cast<TSessionsEssai*>(duplicataDuDuplicata.Get()), nullptr);
  const TRef<TAbonne> abonneDuplicata = NouvelObjet<TAbonne>();
  EXPECT_TRUE(duplicata->Abonner(abonneDuplicata.Get()));
  EXPECT_FALSE(duplicata->Abonner(abonneDuplicata.Get()));
  // Reconfigured in place, never recreated.
  TSessionClientsHttp* sessionDuplicata = &duplicata->GetSessionAvecGestionProxy();

  FSessions->AppliquerPropositionModifConfig(ParProxy(L"proxy.test:3128"));
  EXPECT_EQ(FAbonne->Appels, 1);
  EXPECT_EQ(FSessions->GetGenreConfigProxy(), gcpConfigOvalis);
  EXPECT_EQ(FSessions->GetProxyHttpsOvalis(), L"proxy.test:3128");

  // Written by the configuration thread, soon after.
  const std::wstring fichier = FMachine.FichierConfig();
  EXPECT_TRUE(AttendreQue([&] {
    return LireOctets(fichier).find("<ProxyHttpsOvalis>proxy.test:3128") != std::string::npos;
  })) << LireOctets(fichier);

  // Each duplicate sees the change at its next refresh, once.
  for (ISessionsClientsHttp* d : {duplicata.Get(), duplicataDuDuplicata.Get()}) {
    EXPECT_EQ(d->GetProxyHttpOvalis(), L"");  // the readers do not refresh
    d->VerifierChangementConfig(false);
    EXPECT_EQ(d->GetProxyHttpOvalis(), L"proxy.test:3128");
    EXPECT_EQ(d->GetTabExceptionsProxiesOvalis(), TypeTabChaines{L"<local>"});
  }
  EXPECT_EQ(abonneDuplicata->Appels, 1);
  duplicata->VerifierChangementConfig(false);
  EXPECT_EQ(abonneDuplicata->Appels, 1);
  EXPECT_EQ(&duplicata->GetSessionAvecGestionProxy(), sessionDuplicata);
  EXPECT_EQ(sessionDuplicata->InfoCreation().InfoProxy.ServeurProxy, L"proxy.test:3128");
  EXPECT_EQ(sessionDuplicata->InfoCreation().InfoProxy.PasDeProxyPour, L"<local>");

  // A duplicate that goes leaves the configuration thread running.
  EXPECT_TRUE(duplicata->Desabonner(abonneDuplicata.Get()));
  duplicata = nullptr;
  FSessions->AppliquerPropositionModifConfig({gcpWpad});
  EXPECT_TRUE(AttendreQue([&] { return LireOctets(fichier).find("gcpWpad") != std::string::npos; }));
}

TEST_F(SessionsClientsHttp, ChangementsSansEffetNiNotification) {
  FSessions->SetProxyHttpOvalis(L"a:1");
  FSessions->AjouterUrlTest(L"http://essai.test/");
  const int revision = FSessions->Config().Revision();
  const int appels = FAbonne->Appels;
  FSessions->SetProxyHttpOvalis(L"a:1");
  FSessions->RenommerProxyConnu(L"a:1", L"a:1");
  FSessions->RenommerUrlTest(L"http://essai.test/", L"http://essai.test/");
  FSessions->SupprimerTabProxiesConnus({});
  FSessions->SupprimerTabUrlTest({});
  FSessions->VerifierChangementConfig(false);
  EXPECT_EQ(FSessions->Config().Revision(), revision);
  EXPECT_EQ(FAbonne->Appels, appels);

  // A refused change leaves the copy as it was.
  try {
    FSessions->AjouterProxyConnu(L"a/b:1");
    ADD_FAILURE() << "nom avec \"/\" accepté";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), Msg::NomServeurAvecBarreOblique);
  }
  EXPECT_EQ(FSessions->Config().Revision(), revision);
  EXPECT_EQ(FSessions->GetTabProxiesConnus(), TypeTabChaines{L"a:1"});
}

// ---- Usage counter

TEST_F(SessionsClientsHttp, UneRequeteEnCoursDiffereLeRafraichissement) {
  const TRef<ISessionsClientsHttp> autre = FSessions->DupliquerPourThread();
  const int appels = FAbonne->Appels;
  std::optional<TEchange> enCours;
  enCours.emplace(FSessions->GetSessionAvecGestionProxy(), Monde().Url("http", L"/compteur?corps=un"), FAttente.Get());
  EXPECT_EQ(FSessions->CompteurUtilisation(), 1);
  autre->SetProxyHttpOvalis(L"proxy.test:1");
  // The download runs: the sessions keep the configuration it started with.
  FSessions->VerifierChangementConfig(false);
  enCours->Requete.Executer();
  EXPECT_EQ(enCours->Requete.Reponse(), "un");
  EXPECT_EQ(FSessions->GetProxyHttpOvalis(), L"");
  EXPECT_EQ(FAbonne->Appels, appels);
  enCours.reset();
  EXPECT_EQ(FSessions->CompteurUtilisation(), 0);
  EXPECT_EQ(FSessions->GetProxyHttpOvalis(), L"");
  // The next request refreshes before it starts.
  TEchange suivante(FSessions->GetSessionAvecGestionProxy(), Monde().Url("http", L"/compteur"), FAttente.Get());
  EXPECT_EQ(FSessions->GetProxyHttpOvalis(), L"proxy.test:1");
  EXPECT_EQ(FAbonne->Appels, appels + 1);
}

// ---- Proxy and credential hooks

TEST_F(SessionsClientsHttp, IdentifiantsStockesOuDemandesPourSquid) {
  // Through Squid's Basic port: the proxy must be known before the session is opened (Wine
  // uses the proxy given at the opening only).
  FSessions->AppliquerPropositionModifConfig(ParProxy(Squid("squid_auth")));
  ISessionsClientsHttp& sessions = *FSessions;

  // Nothing stored: the user is asked once, the credentials are kept and the request goes through.
  FSessions->Reponses = {BonsIdentifiants()};
  TEchange* demandee = Requete(sessions, PageInternet(L"/demandee?corps=ok"));
  EXPECT_EQ(demandee->Requete.Proxy(), Squid("squid_auth"));
  demandee->Requete.Executer();
  EXPECT_EQ(demandee->Requete.StatutReponse(), L"200");
  EXPECT_EQ(FSessions->ProxiesDemandes, std::vector<std::wstring>{Squid("squid_auth")});
  EXPECT_EQ(sessions.GetTabProxiesAvecInfoAuth(), TypeTabChaines{Squid("squid_auth")});

  // Stored: a duplicate's requests use them without asking.
  const TRef<ISessionsClientsHttp> duplicata = FSessions->DupliquerPourThread();
  TEchange* stockee = Requete(*duplicata, PageInternet(L"/stockee?corps=ok"));
  stockee->Requete.Executer();
  EXPECT_EQ(stockee->Requete.Reponse(), "ok");
  EXPECT_EQ(dynamic_cast<TSessionsEssai&>(*duplicata).ProxiesDemandes.size(), 0u);

  // Stored but wrong, and the user cancels: the request ends with the proxy's refusal.
  FSessions->ThreadConfig().SetInfoAuthProxy(Squid("squid_auth"), Identifiants(L"faux"));
  FSessions->ProxiesDemandes.clear();
  TEchange* refusee = Requete(sessions, PageInternet(L"/refusee"));
  refusee->Requete.Executer();
  EXPECT_EQ(refusee->Requete.StatutReponse(), L"407");
  EXPECT_EQ(FSessions->ProxiesDemandes.size(), 1u);
  FEchanges.clear();
  EXPECT_EQ(FSessions->CompteurUtilisation(), 0);
}

TEST_F(SessionsClientsHttp, AuthentificationRepeteeBornee) {
  struct TCas {
    const char* Nom;
    std::wstring Proxy;
    std::wstring Url;
    std::vector<std::optional<TypeInfoAuthHttp>> Reponses;
    size_t Demandes;  // times the user is asked
  };
  std::vector<std::optional<TypeInfoAuthHttp>> fausses;
  for (int i = 0; i < 2 * MaxRenvoisAuthProxy; ++i) fausses.push_back(Identifiants(L"faux" + std::to_wstring(i)));
  const std::wstring ntlmSeul = L"/ntlm-" + std::to_wstring(GetTickCount64());
  const TCas cas[] = {
      // A proxy that wants Windows authentication only: the stored Basic credentials go once,
      // never twice in a row, and the user is not asked.
      {"NTLM seul", ServeurCommeProxy(),
       L"http://internet.test" + ntlmSeul + L"?statut=407&entete=Proxy-Authenticate:%20NTLM", {}, 0},
      // The stored credentials once, then a user who keeps typing wrong ones.
      {"saisies fausses", Squid("squid_auth"), PageInternet(L"/fausses"), fausses, size_t(MaxRenvoisAuthProxy - 1)},
  };
  for (const TCas& c : cas) {
    SCOPED_TRACE(c.Nom);
    // A fresh duplicate per case: its sessions open with the case's proxy. (Stored credentials
    // move the master: a change from an old copy would be dropped.)
    FSessions->VerifierChangementConfig(false);
    FSessions->AppliquerPropositionModifConfig(ParProxy(c.Proxy));
    FSessions->ThreadConfig().SetInfoAuthProxy(c.Proxy, Identifiants(L"stocke-faux"));
    const TRef<ISessionsClientsHttp> sessions = FSessions->DupliquerPourThread();
    auto& essai = dynamic_cast<TSessionsEssai&>(*sessions);
    essai.Reponses = c.Reponses;
    TEchange* echange = Requete(*sessions, c.Url);
    echange->Requete.Executer();
    EXPECT_EQ(echange->Requete.StatutReponse(), L"407");
    EXPECT_EQ(essai.ProxiesDemandes.size(), c.Demandes);
    FEchanges.clear();
  }
  EXPECT_EQ(JournalServeur(VersUtf8(ntlmSeul)).size(), 2u);
}

TEST_F(SessionsClientsHttp, TestDUnProxyAvecIdentifiantsDemandes) {
  FSessions->AjouterUrlTest(PageInternet(L"/test-proxy?corps=ok"));
  const std::wstring page = PageInternet(L"/test-proxy?corps=ok");
  const auto resultatPage = [&](const TypeTabResultatsTestsConfigClientsHttp& resultats) {
    for (const auto& r : resultats)
      if (r.UrlTest == page) return r;
    ADD_FAILURE() << "page non testée";
    return TypeResultatTestConfigClientsHttp{};
  };
  TypeTabResultatsTestsConfigClientsHttp resultats;

  // The user cancels: the results as they are.
  FSessions->TesterProxy(Squid("squid_auth"), FAttente.Get(), resultats);
  EXPECT_EQ(resultatPage(resultats).Etat, etcAuthProxyNecessaire);
  EXPECT_EQ(FSessions->ProxiesDemandes, std::vector<std::wstring>{Squid("squid_auth")});

  // The user gives credentials: they are kept and the test runs again, without asking.
  FSessions->ProxiesDemandes.clear();
  FSessions->Reponses = {BonsIdentifiants()};
  FSessions->TesterProxy(Squid("squid_auth"), FAttente.Get(), resultats);
  EXPECT_EQ(resultatPage(resultats).Etat, etcSucces) << VersUtf8(resultatPage(resultats).InfoCompl);
  EXPECT_EQ(resultatPage(resultats).Proxy, Squid("squid_auth"));
  EXPECT_EQ(FSessions->ProxiesDemandes.size(), 1u);
  EXPECT_EQ(FSessions->GetTabProxiesAvecInfoAuth(), TypeTabChaines{Squid("squid_auth")});
  // The copy was not changed by the test of another configuration: still direct.
  EXPECT_EQ(FSessions->GetGenreConfigProxy(), gcpConfigOvalis);
  EXPECT_EQ(FSessions->GetProxyHttpOvalis(), L"");
}

TEST_F(SessionsClientsHttp, RechercheAvecIdentifiantsDemandesPuisPropositionAppliquee) {
  FSessions->AjouterUrlTest(PageInternet(L"/recherche-service"));
  FSessions->AjouterProxyConnu(Squid("squid_ouvert"));
  FSessions->AjouterProxyConnu(Squid("squid_auth"));
  // The first search meets the proxy that wants credentials; the user gives them and the search
  // runs again, without asking any more.
  FSessions->Reponses = {BonsIdentifiants()};
  TypeTabPropositionsModifConfigClientsHttp propositions;
  FSessions->RechercherAutresConfigs(FAttente.Get(), propositions);
  EXPECT_EQ(FSessions->ProxiesDemandes, std::vector<std::wstring>{Squid("squid_auth")});
  EXPECT_EQ(FSessions->GetTabProxiesAvecInfoAuth(), TypeTabChaines{Squid("squid_auth")});
  // The open proxy reaches every page, the built-in HTTPS one included.
  const auto parSquid = std::find_if(propositions.begin(), propositions.end(), [&](const auto& p) {
    return p.GenreConfigProxy == gcpConfigOvalis && p.ProxyHttpsOvalis == Squid("squid_ouvert");
  });
  ASSERT_NE(parSquid, propositions.end()) << propositions.size();

  // As the wizard does: refresh, the user's choice, applied.
  FSessions->VerifierChangementConfig(false);
  FSessions->AppliquerPropositionModifConfig(*parSquid);
  EXPECT_EQ(FSessions->GetProxyHttpsOvalis(), Squid("squid_ouvert"));
  EXPECT_EQ(FSessions->GetProxyHttpOvalis(), parSquid->ProxyHttpOvalis);
  EXPECT_TRUE(AttendreQue([&] {
    return LireOctets(FMachine.FichierConfig()).find("<ProxyHttpsOvalis>" + VersUtf8(Squid("squid_ouvert"))) !=
           std::string::npos;
  }));
}

}  // namespace
}  // namespace norvel::test
