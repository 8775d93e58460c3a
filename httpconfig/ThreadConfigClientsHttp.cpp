#include "httpconfig/ThreadConfigClientsHttp.h"

#include <algorithm>
#include <utility>

#include "platform/Chemins.h"
#include "platform/DocumentXml.h"
#include "platform/RestrictionsApiWindows.h"
#include "core/ErreurSysteme.h"
#include "core/Finalisation.h"
#include "core/Exceptions.h"
#include "core/Messages.h"

namespace norvel {

namespace {

// The re-read of the machine-wide proxy settings costs a registry read: at most this often.
constexpr uint64_t IntervalleRelectureConfigSysteme = 50000;
// The loop wakes at least this often to look at the clock.
constexpr DWORD DelaiAttenteMax = 10000;
// A failed write is tried again after 1 s, then after twice the previous delay, up to this
// many times: a file that stays refused (another user's, a full disk) is not hammered for the
// whole run. The next change, and the stop, try again.
constexpr DWORD PremierDelaiNouvelEssaiEcriture = 1000;
constexpr int NombreMaxNouveauxEssaisEcriture = 7;

}  // namespace

// The store tells the thread that another program rewrote the file.
class TTraitementModifExterneConfigClientsHttp
    : public TImplemente<TObjetInterfacable, ITraitementModifExternePersistanceApplicatif> {
 public:
  explicit TTraitementModifExterneConfigClientsHttp(TThreadConfigClientsHttp& thread) : FThread(thread) {}
  void SurModificationExterne(IPersistanceParametresApplicatif*, bool) override { FThread.RechargerApresModifExterne(); }

 private:
  TThreadConfigClientsHttp& FThread;
};

TypeConfigClientsHttp ConfigClientsHttpParDefaut(const std::wstring& userAgent) {
  TypeConfigClientsHttp config;
  config.SetUserAgent(userAgent);
  const TypeRestrictionsApiWindows& restrictions = RestrictionsApiWindows();
  config.SetUtiliserVersionsTLSDuSysteme(restrictions.UtiliserVersionsTLSDuSysteme);
  config.SetSansSupportTls1_3(restrictions.WinhttpSansSupportTls1_3);
  config.SetTabExceptionsProxiesConnues({L"127.0.0.1", L"localhost", L"<local>"});
  config.SetTabUrlTest({L"https://www.google.fr/", L"https://www.microsoft.com/"});
  return config;
}

void VerifierNomServeur(std::wstring_view nom) {
  if (nom.find(L'/') != std::wstring_view::npos) throw EOvalis(Msg::NomServeurAvecBarreOblique);
}

TThreadConfigClientsHttp::TThreadConfigClientsHttp(const std::wstring& nomDossierFichierConfig,
                                                   const std::wstring& userAgent)
    : TOvThread(nullptr, true),
      FNomDossierASurveiller(AvecBarreFinale(nomDossierFichierConfig)),
      FNomFichier(FNomDossierASurveiller + NomFichierConfigClientsHttp),
      FEvenement(VerifierHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr), L"CreateEvent")),
      FConfig(ConfigClientsHttpParDefaut(userAgent)) {}

TThreadConfigClientsHttp::~TThreadConfigClientsHttp() {
  if (Demarre()) DemanderArret();
  TerminerEtAttendre();
  // A thread ended by an exception may leave treatments whose workers still call us: they go
  // (waiting for their workers) while everything they use is still here.
  std::vector<TRef<ITraitementConfigClientsHttp>> restants;
  {
    std::lock_guard verrou(FSectionCritique);
    restants.swap(FTraitementsEnCours);
  }
  restants.clear();
}

// ---- Change operations

bool TThreadConfigClientsHttp::Rafraichir(TypeConfigClientsHttp& config) {
  if (config.Revision() == FConfig.Revision()) return false;
  config = FConfig.Dupliquer();
  return true;
}

bool TThreadConfigClientsHttp::Modifier(TypeConfigClientsHttp& config, const TypeModificationConfigClientsHttp& changement) {
  std::lock_guard verrou(FSectionCritique);
  if (Rafraichir(config)) return true;
  changement(FConfig);
  const bool rafraichie = Rafraichir(config);
  SignalerEvenement();
  return rafraichie;
}

bool TThreadConfigClientsHttp::AppliquerPropositionModifConfig(const TypePropositionModifConfigClientsHttp& proposition,
                                                               TypeConfigClientsHttp& config) {
  const TypePropositionModifConfigClientsHttp copie = proposition.Dupliquer();
  return Modifier(config, [&](TypeConfigClientsHttp& m) { m.AppliquerPropositionModif(copie); });
}

bool TThreadConfigClientsHttp::CopierConfigOvalisVersConfigSysteme(TypeConfigClientsHttp& config) {
  return Modifier(config, [&](TypeConfigClientsHttp& m) {
    m.ConstruireInfoProxyDeGenre(TypeGenreConfigProxyClientsHttp::gcpConfigOvalis).SetConfigProxyParDefaut();
    RelireConfigSysteme();
    m.SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp::gcpConfigSysteme);
  });
}

// ---- Copies and credentials

bool TThreadConfigClientsHttp::VerifierChangementConfig(TypeConfigClientsHttp& config, bool verifierConfigSysteme) {
  std::lock_guard verrou(FSectionCritique);
  if (verifierConfigSysteme) RelireConfigSysteme();
  return Rafraichir(config);
}

bool TThreadConfigClientsHttp::NotifierChangementConfigSystemeWin32(TypeConfigClientsHttp& config) {
  std::lock_guard verrou(FSectionCritique);
  FConfig.IncRevision();
  Rafraichir(config);
  SignalerEvenement();
  return true;
}

bool TThreadConfigClientsHttp::TryGetInfoAuthProxy(const std::wstring& proxy, uint32_t schemas,
                                                   uint32_t premierSchema, uint32_t& schemaRetenu,
                                                   TypeInfoAuthHttp& infoAuth) {
  std::lock_guard verrou(FSectionCritique);
  const int32_t revision = FConfig.Revision();
  const bool offertes = FConfig.TryGetInfoAuthProxy(proxy, schemas, premierSchema, schemaRetenu, infoAuth);
  // A scheme relabelled in the master: written with the next event.
  if (FConfig.Revision() != revision) SignalerEvenement();
  return offertes;
}

void TThreadConfigClientsHttp::SetInfoAuthProxy(const std::wstring& proxy, const TypeInfoAuthHttp& infoAuth) {
  std::lock_guard verrou(FSectionCritique);
  FConfig.SetInfoAuthProxy(proxy, infoAuth.Dupliquer());
  SignalerEvenement();
}

TypeTabChaines TThreadConfigClientsHttp::GetTabProxiesAvecInfoAuth() {
  std::lock_guard verrou(FSectionCritique);
  return FConfig.GetTabProxiesAvecInfoAuth();
}

void TThreadConfigClientsHttp::SupprimerInfoAuthDeProxies(const TypeTabChaines& proxies) {
  std::lock_guard verrou(FSectionCritique);
  const int32_t revision = FConfig.Revision();
  for (const std::wstring& proxy : proxies) FConfig.SupprimerInfoAuthDeProxy(proxy);
  if (FConfig.Revision() != revision) SignalerEvenement();
}

// ---- Treatments and signals

void TThreadConfigClientsHttp::SignalerEvenement() { VerifierWin32(SetEvent(FEvenement.Get()), L"SetEvent"); }

void TThreadConfigClientsHttp::AjouterTraitement(ITraitementConfigClientsHttp* traitement) {
  {
    std::lock_guard verrou(FSectionCritique);
    FTraitementsEnCours.emplace_back(traitement);
  }
  SignalerEvenement();
}

bool TThreadConfigClientsHttp::TraitementAcheve(ITraitementConfigClientsHttp* traitement) {
  std::lock_guard verrou(FSectionCritique);
  return traitement->Acheve();
}

void TThreadConfigClientsHttp::DemanderArret() {
  FArretDemande = true;
  SignalerEvenement();
}

// ---- The thread

void TThreadConfigClientsHttp::RelireConfigSysteme() {
  const TypeInfoProxyHttp info = TypeInfoProxyHttp::GetConfigProxyParDefaut();
  if (info == FInfoProxyParDefautSysteme) return;
  FInfoProxyParDefautSysteme = info;
  FConfig.AffecterInfoProxySysteme(info);
  SignalerEvenement();
}

void TThreadConfigClientsHttp::PurgerNomsAvecBarreOblique() {
  const int32_t revision = FConfig.Revision();
  const auto avecBarre = [](const TypeTabChaines& liste) {
    TypeTabChaines trouves;
    std::copy_if(liste.begin(), liste.end(), std::back_inserter(trouves),
                 [](const std::wstring& nom) { return nom.find(L'/') != std::wstring::npos; });
    return trouves;
  };
  for (const std::wstring& proxy : avecBarre(FConfig.TabProxiesConnus())) FConfig.SupprimerProxyConnu(proxy);
  for (const std::wstring& exception : avecBarre(FConfig.TabExceptionsProxiesConnues()))
    FConfig.SupprimerExceptionProxiesConnue(exception);
  if (FConfig.Revision() != revision) SignalerEvenement();
}

void TThreadConfigClientsHttp::ChargerDepuisDocument() {
  FConfig.LireXml(FPersistance->GetNodeRoot().Get());
  RelireConfigSysteme();
  FRevisionDerniereEcriture = FConfig.Revision();
  // After the reference revision, so that the purge is written back.
  PurgerNomsAvecBarreOblique();
}

void TThreadConfigClientsHttp::RechargerApresModifExterne() {
  // Found while writing: the reload comes once the store is done, so that only its own
  // failures count as failures of the write.
  if (FEcritureEnCours) {
    FRechargementDiffere = true;
    return;
  }
  FPersistance->LireFichier();
  {
    std::lock_guard verrou(FSectionCritique);
    ChargerDepuisDocument();
  }
  ReveillerBouclePrincipale();
}

bool TThreadConfigClientsHttp::TraiterEvenement() {
  bool ecrit = false, arreter = false;
  {
    std::lock_guard verrou(FSectionCritique);
    // A snapshot: a treatment registered meanwhile by a worker waits for the next event.
    const std::vector<TRef<ITraitementConfigClientsHttp>> instantane = FTraitementsEnCours;
    for (const TRef<ITraitementConfigClientsHttp>& traitement : instantane) {
      if (!traitement->Acheve()) traitement->Traiter(FConfig);
      if (traitement->Acheve())
        FTraitementsEnCours.erase(std::find(FTraitementsEnCours.begin(), FTraitementsEnCours.end(), traitement));
    }
    const bool change = FRevisionDerniereEcriture != FConfig.Revision();
    // A change starts a new series of attempts; so does the stop, the last chance to keep it.
    if (change || FArretDemande) FNouveauxEssaisEcriture = 0;
    if (change || (FEcritureEnEchec && (FArretDemande || NouvelEssaiEcritureDu()))) {
      FConfig.EcrireXml(FPersistance->GetNodeRoot().Get());
      FRevisionDerniereEcriture = FConfig.Revision();
      FEnregistrementEnCours = true;
      ecrit = true;
    }
    arreter = FArretDemande && FTraitementsEnCours.empty();
  }
  if (ecrit) EcrireFichier();
  return arreter;
}

bool TThreadConfigClientsHttp::NouvelEssaiEcritureDu() const {
  return FNouveauxEssaisEcriture < NombreMaxNouveauxEssaisEcriture && GetTickCount64() >= FProchainEssaiEcriture;
}

DWORD TThreadConfigClientsHttp::DelaiAttente() const {
  if (!FEcritureEnEchec || FNouveauxEssaisEcriture >= NombreMaxNouveauxEssaisEcriture) return DelaiAttenteMax;
  const uint64_t maintenant = GetTickCount64();
  return FProchainEssaiEcriture <= maintenant
             ? 0
             : static_cast<DWORD>(std::min<uint64_t>(FProchainEssaiEcriture - maintenant, DelaiAttenteMax));
}

std::optional<std::wstring> TThreadConfigClientsHttp::EtatEnregistrement(int32_t ARevision) {
  std::lock_guard verrou(FSectionCritique);
  if (FEnregistrementEnCours || FRevisionDerniereEcriture < ARevision) return std::nullopt;
  return FErreurEcriture;
}

void TThreadConfigClientsHttp::EcrireFichier() {
  // Outside the lock: holders of copies need not wait for the disk. When another program wrote
  // the file meanwhile, the store does not write and the thread reloads. A write that fails
  // (the file held open by another program, a folder this user may not write) is tried again
  // later: the master keeps the change, the program goes on working with it, and whoever asks
  // learns why it is not saved.
  FEcritureEnCours = true;
  std::wstring erreur;
  try {
    FPersistance->EcrireFichier();
  } catch (const std::exception& e) {
    erreur = MessageDe(e);
    if (erreur.empty()) erreur = Msg::AucunMessage;
  }
  FEcritureEnCours = false;
  {
    std::lock_guard verrou(FSectionCritique);
    FEcritureEnEchec = !erreur.empty();
    if (FEcritureEnEchec) {
      FProchainEssaiEcriture = GetTickCount64() + (uint64_t{PremierDelaiNouvelEssaiEcriture} << FNouveauxEssaisEcriture);
      ++FNouveauxEssaisEcriture;
    }
    FErreurEcriture = std::move(erreur);
    FEnregistrementEnCours = false;
  }
  if (std::exchange(FRechargementDiffere, false)) RechargerApresModifExterne();
  ReveillerBouclePrincipale();
}

void TThreadConfigClientsHttp::Executer() {
  AssurerComSurCeThread();
  // On the way out, normally or not (after the folder watch, closed first): the store's XML
  // objects belong to this thread's apartment and go before it, then the thread's singletons.
  struct TFinThread {
    TRef<IPersistanceParametresApplicatifPartages>& Persistance;
    ~TFinThread() {
      Persistance = nullptr;
      TClasseFinalisable::FinaliserTout(cfFinalisationThread);
    }
  } finThread{FPersistance};

  FPersistance = NouvelObjet<TPersistanceParametresApplicatif>(FNomFichier, L"1");
  FPersistance->SetTraitementModifExterne(NouvelObjet<TTraitementModifExterneConfigClientsHttp>(*this).Get());
  {
    std::lock_guard verrou(FSectionCritique);
    ChargerDepuisDocument();
    FProchaineRelectureConfigSysteme = GetTickCount64() + IntervalleRelectureConfigSysteme;
  }
  SignalerFinInitialisation();

  // On a machine where no program of the publisher wrote its files yet, the folder is missing:
  // without it there is nothing to watch, and the first write would create it anyway.
  CreerDossierEtParents(FNomDossierASurveiller);
  TNotificationChangement surveillance(FindFirstChangeNotificationW(
      FNomDossierASurveiller.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
  if (!surveillance) throw ErreurSysteme(L"FindFirstChangeNotification");
  FPersistance->VerifierModifExterne();

  const HANDLE objets[] = {FEvenement.Get(), surveillance.Get()};
  for (;;) {
    const DWORD resultat = WaitForMultipleObjects(2, objets, FALSE, DelaiAttente());
    if (resultat == WAIT_OBJECT_0 || (resultat == WAIT_TIMEOUT && FEcritureEnEchec)) {
      if (TraiterEvenement()) break;
    } else if (resultat == WAIT_OBJECT_0 + 1) {
      VerifierWin32(FindNextChangeNotification(surveillance.Get()), L"FindNextChangeNotification");
      FPersistance->VerifierModifExterne();
    } else if (resultat != WAIT_TIMEOUT) {
      throw ErreurSysteme(L"WaitForMultipleObjects");
    }
    // Looked at on every wake-up, not only at time-outs: a busy thread would otherwise never
    // see the machine-wide settings change.
    std::lock_guard verrou(FSectionCritique);
    if (GetTickCount64() >= FProchaineRelectureConfigSysteme) {
      FProchaineRelectureConfigSysteme = GetTickCount64() + IntervalleRelectureConfigSysteme;
      RelireConfigSysteme();
    }
  }
}

}  // namespace norvel
