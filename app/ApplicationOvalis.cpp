#include "app/ApplicationOvalis.h"

#include "platform/DossierSpecial.h"
#include "platform/GestionGlobaleEvenements.h"
#include "platform/GestionIcu.h"
#include "platform/ListePersistance.h"
#include "platform/OvThread.h"
#include "platform/RestrictionsApiWindows.h"
#include "platform/SurchargeRepertoires.h"
#include "core/Finalisation.h"
#include "core/GuidsServices.h"
#include "core/NomClasse.h"
#include "core/Resultat.h"
#include "http/ConseilControleurDomaine.h"

namespace norvel {

TApplicationOvalis::TApplicationOvalis(TRef<IInformationApplication> informationApplication,
                                       TRef<IContexteExecution> contexteExecution,
                                       TDictionnaireExtensions* dictionnaire)
    : FDictionnaireExtensions(dictionnaire ? *dictionnaire : TSingletonDictionnaireExtensions::GetDictionnaireExtensions()) {
  DefinirRestrictionsApiWindows();
  // The HTTP errors advise about a read-only domain controller only where DPAPI has master keys.
  DefinirSourceSansMasterkeyDPAPI(+[] { return RestrictionsApiWindows().SansMasterkeyDPAPI; });
  // Results and errors read back from serialised data need their classes known from the start;
  // the early finalisation of the destructor forgets them.
  DeclarerClassesSerialisables();
  if (informationApplication) {
    AjouterService(informationApplication);
    if (contexteExecution) AjouterService(contexteExecution);
  }
  AjouterService<ISurchargeRepertoiresWindows>(NouvelObjet<TSurchargeRepertoireWindows>());
}

TApplicationOvalis::~TApplicationOvalis() {
  SupprimerExtension(IID_ISurchargeRepertoiresWindows);
  SupprimerExtension(IID_IContexteExecution);
  SupprimerExtension(IID_IInformationApplication);
  TClasseFinalisable::FinaliserTout(cfFinalisationPrecoce);
}

void TApplicationOvalis::Execute() {
  auto phase = [](auto&& action, auto&& signaler) {
    try {
      action();
      return true;
    } catch (const std::exception& e) {
      signaler(NomDeClasse(typeid(e)), MessageDe(e));
      return false;
    }
  };
  const bool initialisee =
      phase([this] { InitialiserApplication(); },
            [this](const std::wstring& c, const std::wstring& m) { TraiterErreurInitialisation(c, m); });
  if (initialisee)
    phase([this] { ExecuterApplication(); },
          [this](const std::wstring& c, const std::wstring& m) { TraiterErreurExecution(c, m); });
  phase([this] { FinaliserApplication(); },
        [this](const std::wstring& c, const std::wstring& m) { TraiterErreurFinalisation(c, m); });
}

void TApplicationOvalis::InitialiserApplication() {
  NommerThreadCourant(L"Thread principal");
  TRef<IInformationApplication> information;
  if (FDictionnaireExtensions.TryService(information)) {
    TRef<IContexteExecution> contexte;
    FDictionnaireExtensions.TryService(contexte);
    auto surcharges = FDictionnaireExtensions.Service<ISurchargeRepertoiresWindows>();
    if (!FDictionnaireExtensions.Connait(IID_IDossierSpecial))
      AjouterService<IDossierSpecial>(NouvelObjet<TDossierSpecial>(information, surcharges, contexte));
  }
  AjouterService<IGestionIcu>(NouvelObjet<TGestionIcu>());
  AjouterService<IGestionGlobaleEvenements>(NouvelObjet<TGestionGlobaleEvenements>());
  AjouterService<IListePersistanceParametresApplicatif>(NouvelObjet<TListePersistanceParametresApplicatif>());
}

void TApplicationOvalis::FinaliserApplication() {
  SupprimerExtension(IID_IListePersistanceParametresApplicatif);
  TRef<IGestionGlobaleEvenements> evenements;
  if (FDictionnaireExtensions.TryService(evenements))
    evenements->GestionnaireInvocateurs().GetInvocateur<TNotifFermetureApplication>()->Diffuseur()();
  evenements = nullptr;
  SupprimerExtension(IID_IGestionGlobaleEvenements);
  SupprimerExtension(IID_IGestionIcu);
  SupprimerExtension(IID_IDossierSpecial);
}

}  // namespace norvel

namespace norvel {
// The services are registered under their interface's own GUID and unregistered by the table's.
static_assert(MemesGuid(__uuidof(IInformationApplication), IID_IInformationApplication));
static_assert(MemesGuid(__uuidof(IContexteExecution), IID_IContexteExecution));
static_assert(MemesGuid(__uuidof(ISurchargeRepertoiresWindows), IID_ISurchargeRepertoiresWindows));
static_assert(MemesGuid(__uuidof(IDossierSpecial), IID_IDossierSpecial));
static_assert(MemesGuid(__uuidof(IGestionIcu), IID_IGestionIcu));
static_assert(MemesGuid(__uuidof(IGestionGlobaleEvenements), IID_IGestionGlobaleEvenements));
}  // namespace norvel
