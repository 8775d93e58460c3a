#include "httpconfig/TestElemConfigClientsHttp.h"

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "http/RequeteHttp.h"
#include "http/UrlDecomposee.h"
#include "httpconfig/TraitementAutoProxy.h"

namespace norvel {

using enum TypeEtatTestConfigClientsHttp;

namespace {
// A test page is small; a proxy or portal that sends much more (or never stops) fails the test
// without holding more than this.
constexpr size_t CorpsMax = 256 * 1024;
}  // namespace

TThreadTestElemConfigClientsHttp::TThreadTestElemConfigClientsHttp(TThreadConfigClientsHttp& threadConfig,
                                                                   const TypeConfigClientsHttp& config,
                                                                   std::wstring urlTest)
    : TThreadTraitementConfigClientsHttp(threadConfig), FConfig(config.Dupliquer()), FUrlTest(std::move(urlTest)) {}

void TThreadTestElemConfigClientsHttp::Executer() {
  FResultat.UrlTest = FUrlTest;
  FResultat.Etat = etcErreurComm;
  // Every failure is a verdict: nothing of an ordinary failure reaches the treatment.
  try {
    const TypeUrlDecomposee url = TypeUrlDecomposee::Create(FUrlTest);
    const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
    TSessionClientsHttpTest session(FConfig.ConstruireInfoCreation(FConfig.AnciennesVersionsTLS()), *this);
    TClientHttp client(session, url.NomServeur, url.PortTcp);
    TRequeteHttp requete(client, attente.Get(), L"GET", url.ParamUrl + url.ExtraInfo, url.Https, false, L"HTTP/1.1");
    requete.LimiterCorpsEnMemoire(CorpsMax);
    requete.AffecterDelaiTotal(DelaiMaxTestUrl);
    requete.Executer({}, L"Accept: text/html\r\nAccept-Language: fr-FR", true);
    const std::wstring statut = requete.StatutReponse();
    // A 407 stays a demand when the credentials hook saw the proxy ask for what the program has
    // not; otherwise the proxy asked with a scheme the program cannot answer.
    if (statut == L"200")
      FResultat.Etat = etcSucces;
    else if (FResultat.Etat != etcAuthProxyNecessaire)
      FResultat.Etat = statut == L"407" ? etcErreurComm : etcErreurServeur;
    FResultat.InfoCompl = Format(Msg::CodeHttp, {statut, requete.StrStatutReponse()});
  } catch (const std::exception& e) {
    FResultat.Etat = etcErreurComm;
    FResultat.InfoCompl = MessageDe(e);
  }
}

TSessionClientsHttpTest::TSessionClientsHttpTest(const TypeInfoCreationSessionClientsHttp& infoCreation,
                                                 TThreadTestElemConfigClientsHttp& threadTest)
    : TSessionClientsHttp(infoCreation), FThreadTest(threadTest) {}

bool TSessionClientsHttpTest::ObtenirProxy(const std::wstring& nomServeur, uint16_t portTcp, bool https,
                                           IAttente* attente, std::wstring& proxy) {
  std::wstring urlAutoProxy;
  bool surRequete = false;
  if (!FThreadTest.FConfig.TryGetProxyEffectif(nomServeur, https, proxy, urlAutoProxy)) {
    // A script decides, for this server: the session itself has no proxy.
    const TRef<ITraitementAutoProxy> evaluation =
        TTraitementAutoProxy::CreateCompUrl(attente, FThreadTest.FThreadConfig, Handle(), urlAutoProxy, nomServeur,
                                            portTcp, https);
    AttendreTraitement(attente, FThreadTest.FThreadConfig, evaluation.Get());
    proxy = evaluation->GetProxy();
    TypeTabChaines traces = Decouper(evaluation->GetTraces(), L'\n');
    traces.pop_back();  // after the last line's end
    for (std::wstring& ligne : traces)
      if (!ligne.empty() && ligne.back() == L'\r') ligne.pop_back();
    FThreadTest.FResultat.TracesAutoProxy = std::move(traces);
    surRequete = !proxy.empty();
  }
  FThreadTest.FResultat.Proxy = proxy;
  return surRequete;
}

bool TSessionClientsHttpTest::ObtenirInfoAuthProxy(const std::wstring& proxy, uint32_t schemasProposes,
                                                   TypeInfoAuthHttp& infoAuth, uint32_t schemaPrefere) {
  uint32_t schemaRetenu = 0;
  if (FThreadTest.FThreadConfig.TryGetInfoAuthProxy(proxy, schemasProposes, schemaPrefere, schemaRetenu, infoAuth))
    return true;
  // The proxy offered a scheme the program can answer, and has nothing (new) for it.
  if (schemaRetenu != 0) {
    FThreadTest.FResultat.Etat = etcAuthProxyNecessaire;
    FThreadTest.FTabDemandesAuthProxy = {TypeDemandeAuthProxy::Create(proxy, schemaRetenu)};
  }
  return false;
}

TTraitementTestElemConfigClientsHttp::TTraitementTestElemConfigClientsHttp(TRef<IReveilThread> reveilThread,
                                                                           TThreadConfigClientsHttp& threadConfig,
                                                                           const TypeConfigClientsHttp& config,
                                                                           const std::wstring& urlTest)
    : TImplementeTraitement(std::move(reveilThread)),
      FThread(std::make_unique<TThreadTestElemConfigClientsHttp>(threadConfig, config, urlTest)),
      FUrlTest(urlTest) {
  FThread->Demarrer();
}

void TTraitementTestElemConfigClientsHttp::Traiter(TypeConfigClientsHttp&) {
  if (!FThread->Fini()) return;
  FResultat = FThread->Resultat().Dupliquer();
  FTabDemandesAuthProxy = FThread->TabDemandesAuthProxy();
  SignalerAcheve();
}

}  // namespace norvel
