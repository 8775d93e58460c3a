#include "httpconfig/SessionsClientsHttp.h"

#include "core/Format.h"
#include "core/Messages.h"
#include "httpconfig/JournalConfigClientsHttp.h"
#include "httpconfig/RechercheAutresConfigClientsHttp.h"
#include "httpconfig/TraitementConfigClientsHttp.h"
#include "platform/Journal.h"
#include "httpconfig/TestsConfigClientsHttp.h"
#include "httpconfig/TraitementAutoProxy.h"
#include "httpconfig/UserAgentClientsHttp.h"

namespace norvel {

using enum TypeGenreConfigProxyClientsHttp;

// ---- Sessions

TSessionClientsHttpAvecGestionProxy::TSessionClientsHttpAvecGestionProxy(
    const TypeInfoCreationSessionClientsHttp& AInfoCreation, TSessionsClientsHttp& ASessions)
    : TSessionClientsHttp(AInfoCreation), FSessions(ASessions) {}

void TSessionClientsHttpAvecGestionProxy::DebutUtilisation() { FSessions.DebutUtilisation(); }

void TSessionClientsHttpAvecGestionProxy::FinUtilisation() { FSessions.FinUtilisation(); }

bool TSessionClientsHttpAvecGestionProxy::ObtenirProxy(const std::wstring& nomServeur, uint16_t portTcp, bool https,
                                                       IAttente* attente, std::wstring& proxy) {
  return FSessions.ObtenirProxy(*this, nomServeur, portTcp, https, attente, proxy);
}

bool TSessionClientsHttpAvecGestionProxy::ObtenirInfoAuthProxy(const std::wstring& proxy, uint32_t schemasProposes,
                                                               TypeInfoAuthHttp& infoAuth, uint32_t schemaPrefere) {
  return FSessions.ObtenirInfoAuthProxy(proxy, schemasProposes, infoAuth, schemaPrefere);
}

// ---- Life

std::wstring DossierConfigClientsHttp(IDossierSpecial& ADossierSpecial) {
  return ADossierSpecial.GetDossier(BDS_DonneesCommunes, NDS_Societe, ODS_Creer, L"Commun");
}

TSessionsClientsHttp::TSessionsClientsHttp(TRef<IInformationApplication> AInformationApplication,
                                           TRef<IDossierSpecial> ADossierSpecial, bool AAvecNomPoste)
    : FAbonnes(CreerInvocateur<IAbonneChangementConfigClientsHttp>(geiPoursuivre)) {
  const std::wstring dossier = DossierConfigClientsHttp(*ADossierSpecial);
  const std::wstring userAgent = ConstruireUserAgent(*AInformationApplication, AAvecNomPoste);
  auto thread = std::make_shared<TThreadConfigClientsHttp>(dossier, userAgent);
  thread->Demarrer();
  thread->AttendreFinInitialisation();
  FThreadConfig = std::move(thread);
  VerifierChangementConfig(false);
}

TSessionsClientsHttp::TSessionsClientsHttp(const TypeOrigineDuplicata& AOrigine)
    : FThreadConfig(AOrigine.ThreadConfig),
      FAbonnes(CreerInvocateur<IAbonneChangementConfigClientsHttp>(geiPoursuivre)) {
  VerifierChangementConfig(false);
}

TSessionsClientsHttp::~TSessionsClientsHttp() {
  for (auto& session : FSessions) session.reset();
}

TRef<ISessionsClientsHttp> TSessionsClientsHttp::DupliquerPourThread() {
  return TRef<ISessionsClientsHttp>(NouveauDuplicata({FThreadConfig}).Get());
}

TRef<TSessionsClientsHttp> TSessionsClientsHttp::NouveauDuplicata(const TypeOrigineDuplicata& AOrigine) {
  return NouvelObjet<TSessionsClientsHttp>(AOrigine);
}

bool TSessionsClientsHttp::ObtenirInterface(REFIID iid, void** resultat) {
  if (IsEqualGUID(iid, __uuidof(IConfigClientsHttp))) {
    *resultat = static_cast<IConfigClientsHttp*>(static_cast<ISessionsClientsHttp*>(this));
    AddRef();
    return true;
  }
  return TImplemente::ObtenirInterface(iid, resultat);
}

bool TSessionsClientsHttp::DemanderInfoAuthProxy(const std::wstring&, TypeInfoAuthHttp&) { return false; }

// ---- The copy and the sessions

void TSessionsClientsHttp::VerifierChangementConfig(bool AVerifierConfigSysteme) {
  // Sessions in use are never reconfigured under a request: the next request to start does it.
  if (FCompteurUtilisation != 0) return;
  if (FThreadConfig->VerifierChangementConfig(FConfig, AVerifierConfigSysteme)) ReconfigurerEtNotifier();
}

void TSessionsClientsHttp::ReconfigurerEtNotifier() {
  const TypeInfoProxyHttp infoProxy = FConfig.ConstruireInfoProxy();
  for (int i = 0; i < tsNombre; ++i)
    if (FSessions[i]) FSessions[i]->Reconfigurer(infoProxy, AnciennesVersionsTLSDe(static_cast<TypeSession>(i)));
  FAbonnes->Diffuseur()->SurChangementConfig();
}

bool TSessionsClientsHttp::AnciennesVersionsTLSDe(TypeSession ASession) const {
  switch (ASession) {
    case tsSansAnciennesVersionsTLS: return false;
    case tsAvecAnciennesVersionsTLS: return true;
    default: return FConfig.AnciennesVersionsTLS();
  }
}

TSessionClientsHttp& TSessionsClientsHttp::Session(TypeSession ASession) {
  auto& session = FSessions[ASession];
  if (!session) {
    VerifierChangementConfig(false);
    session = std::make_unique<TSessionClientsHttpAvecGestionProxy>(
        FConfig.ConstruireInfoCreation(AnciennesVersionsTLSDe(ASession)), *this);
  }
  return *session;
}

TSessionClientsHttp& TSessionsClientsHttp::GetSessionSansAnciennesVersionsTLS() {
  return Session(tsSansAnciennesVersionsTLS);
}

TSessionClientsHttp& TSessionsClientsHttp::GetSessionAvecAnciennesVersionsTLS() {
  return Session(tsAvecAnciennesVersionsTLS);
}

TSessionClientsHttp& TSessionsClientsHttp::GetSessionAvecGestionProxy() { return Session(tsAvecGestionProxy); }

bool TSessionsClientsHttp::Abonner(IAbonneChangementConfigClientsHttp* AAbonne) {
  return FAbonnes->Abonner(TRef<IAbonneChangementConfigClientsHttp>(AAbonne), false);
}

bool TSessionsClientsHttp::Desabonner(IAbonneChangementConfigClientsHttp* AAbonne) {
  return FAbonnes->Desabonner(TRef<IAbonneChangementConfigClientsHttp>(AAbonne));
}

// ---- Changes, through the configuration thread

void TSessionsClientsHttp::SupprimerInfoAuthDeProxies(const TypeTabChaines& ATabProxies) {
  FThreadConfig->SupprimerInfoAuthDeProxies(ATabProxies);
}

void TSessionsClientsHttp::CopierConfigOvalisVersConfigSysteme() {
  Transmettre(&TThreadConfigClientsHttp::CopierConfigOvalisVersConfigSysteme);
}

void TSessionsClientsHttp::NotifierChangementConfigSystemeWin32() {
  Transmettre(&TThreadConfigClientsHttp::NotifierChangementConfigSystemeWin32);
}

void TSessionsClientsHttp::AppliquerPropositionModifConfig(const TypePropositionModifConfigClientsHttp& AProposition) {
  Journaliser(Format(Msg::JournalPropositionAppliquee, {DescriptionProposition(AProposition)}));
  Transmettre(&TThreadConfigClientsHttp::AppliquerPropositionModifConfig, AProposition);
}

std::wstring TSessionsClientsHttp::AttendreEnregistrementConfig(IAttente* AAttente) {
  const int32_t revision = FConfig.Revision();
  std::optional<std::wstring> etat;
  TThreadConfigClientsHttp& thread = *FThreadConfig;
  const TRef<IConditionFinDAttente> condition = NouvelObjet<TConditionFinDAttenteFonction>([&](bool, bool) {
    etat = thread.EtatEnregistrement(revision);
    if (!etat && thread.Fini()) std::rethrow_exception(thread.GetExceptionNonGeree(true, true));
    return etat.has_value();
  });
  AAttente->Attendre(condition.Get(), PeriodeVerificationThreadConfig);
  return etat.value_or(L"");
}

// ---- Hooks of the sessions

void TSessionsClientsHttp::DebutUtilisation() {
  if (FCompteurUtilisation == 0) VerifierChangementConfig(false);
  ++FCompteurUtilisation;
}

bool TSessionsClientsHttp::ObtenirProxy(TSessionClientsHttp& ASession, const std::wstring& ANomServeur,
                                        uint16_t APortTcp, bool AHttps, IAttente* AAttente, std::wstring& AProxy) {
  std::wstring urlAutoProxy;
  // Settled without a script: the session's own proxy settings route the request.
  if (FConfig.TryGetProxyEffectif(ANomServeur, AHttps, AProxy, urlAutoProxy)) return false;
  const TRef<ITraitementAutoProxy> evaluation = TTraitementAutoProxy::CreateCompUrl(
      AAttente, *FThreadConfig, ASession.Handle(), urlAutoProxy, ANomServeur, APortTcp, AHttps);
  AttendreTraitement(AAttente, *FThreadConfig, evaluation.Get());
  AProxy = evaluation->GetProxy();
  return !AProxy.empty();
}

bool TSessionsClientsHttp::ObtenirInfoAuthProxy(const std::wstring& AProxy, uint32_t ASchemasProposes,
                                                TypeInfoAuthHttp& AInfoAuth, uint32_t ASchemaPrefere) {
  uint32_t schemaRetenu = 0;
  if (FThreadConfig->TryGetInfoAuthProxy(AProxy, ASchemasProposes, ASchemaPrefere, schemaRetenu, AInfoAuth))
    return true;
  // Neither Digest nor Basic offered: nothing the user could type would be accepted.
  if (schemaRetenu == 0) return false;
  if (!DemanderInfoAuthProxy(AProxy, AInfoAuth)) return false;
  AInfoAuth.Schema = schemaRetenu;
  FThreadConfig->SetInfoAuthProxy(AProxy, AInfoAuth);
  return true;
}

// ---- Tests and search

bool TSessionsClientsHttp::DemanderInfosAuthProxies(const TypeTabDemandesAuthProxy& ADemandes) {
  bool donnees = false;
  for (const TypeDemandeAuthProxy& demande : ADemandes) {
    TypeInfoAuthHttp infoAuth;
    if (!DemanderInfoAuthProxy(demande.Proxy, infoAuth)) break;
    infoAuth.Schema = demande.SchemaRetenu;
    FThreadConfig->SetInfoAuthProxy(demande.Proxy, infoAuth);
    donnees = true;
  }
  return donnees;
}

void TSessionsClientsHttp::TesterConfig(const TypeConfigClientsHttp& AConfig, IAttente* AAttente,
                                        TypeTabResultatsTestsConfigClientsHttp& AResultats) {
  TypeTabDemandesAuthProxy demandes;
  do {
    const TRef<ITraitementTestConfigClientsHttp> test(
        NouvelObjet<TTraitementTestConfigClientsHttp>(AAttente, *FThreadConfig, AConfig).Get());
    AttendreTraitement(AAttente, *FThreadConfig, test.Get());
    AResultats = test->GetTabResultats();
    demandes = test->GetTabDemandesAuthProxy();
  } while (DemanderInfosAuthProxies(demandes));
}

TypeConfigClientsHttp TSessionsClientsHttp::ConfigDeTest() const {
  TypeConfigClientsHttp config;
  config.SetUserAgent(FConfig.UserAgent());
  config.SetUtiliserVersionsTLSDuSysteme(FConfig.UtiliserVersionsTLSDuSysteme());
  config.SetSansSupportTls1_3(FConfig.SansSupportTls1_3());
  config.SetAnciennesVersionsTLS(FConfig.AnciennesVersionsTLS());
  return config;
}

void TSessionsClientsHttp::TesterConfigCourante(IAttente* AAttente, TypeTabResultatsTestsConfigClientsHttp& AResultats) {
  Journaliser(DescriptionConfigClientsHttp(FConfig, FThreadConfig->GetTabProxiesAvecInfoAuth()));
  TesterConfig(FConfig, AAttente, AResultats);
  for (const TypeResultatTestConfigClientsHttp& resultat : AResultats) Journaliser(DescriptionResultatTest(resultat));
}

void TSessionsClientsHttp::TesterProxy(const std::wstring& AProxy, IAttente* AAttente,
                                       TypeTabResultatsTestsConfigClientsHttp& AResultats) {
  TypeConfigClientsHttp config = ConfigDeTest();
  config.SetGenreConfigProxy(gcpConfigOvalis);
  config.SetProxyHttpOvalis(AProxy);
  config.SetProxyHttpsOvalis(AProxy);
  TesterConfig(config, AAttente, AResultats);
}

void TSessionsClientsHttp::TesterUrlConfigProxies(const std::wstring& AUrl, IAttente* AAttente,
                                                  TypeTabResultatsTestsConfigClientsHttp& AResultats) {
  TypeConfigClientsHttp config = ConfigDeTest();
  config.SetGenreConfigProxy(gcpUrlConfig);
  config.SetUrlConfigProxies(AUrl);
  TesterConfig(config, AAttente, AResultats);
}

void TSessionsClientsHttp::RechercherAutresConfigs(IAttente* AAttente,
                                                   TypeTabPropositionsModifConfigClientsHttp& APropositions) {
  // The scripts are evaluated through the configured session's handle.
  TSessionClientsHttp& session = GetSessionAvecGestionProxy();
  TypeTabDemandesAuthProxy demandes;
  do {
    const TRef<ITraitementRechercheAutresConfigClientsHttp> recherche(
        NouvelObjet<TTraitementRechercheAutresConfigClientsHttp>(AAttente, *FThreadConfig, session.Handle(),
                                                                 FConfig.Dupliquer())
            .Get());
    AttendreTraitement(AAttente, *FThreadConfig, recherche.Get());
    APropositions = recherche->GetTabPropositions();
    demandes = recherche->GetTabDemandesAuthProxy();
  } while (DemanderInfosAuthProxies(demandes));
  Journaliser(Format(Msg::JournalPropositionsTrouvees, {APropositions.size()}));
  for (const TypePropositionModifConfigClientsHttp& proposition : APropositions)
    Journaliser(DescriptionProposition(proposition));
}

}  // namespace norvel
