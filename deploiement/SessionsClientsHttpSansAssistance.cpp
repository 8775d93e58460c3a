#include "deploiement/SessionsClientsHttpSansAssistance.h"

#include "core/Format.h"
#include "core/Messages.h"
#include "platform/Journal.h"

namespace norvel {

TSessionsClientsHttpSansAssistance::TSessionsClientsHttpSansAssistance(
    TRef<IInformationApplication> AInformationApplication, TRef<IDossierSpecial> ADossierSpecial)
    : TSessionsClientsHttp(std::move(AInformationApplication), ADossierSpecial, true),
      FDemandes(std::make_shared<TypeDemandesSansReponse>()) {
  FDemandes->FichierConfig = DossierConfigClientsHttp(*ADossierSpecial) + NomFichierConfigClientsHttp;
}

TSessionsClientsHttpSansAssistance::TSessionsClientsHttpSansAssistance(const TypeOrigineDuplicata& AOrigine,
                                                                       std::shared_ptr<TypeDemandesSansReponse> ADemandes)
    : TSessionsClientsHttp(AOrigine), FDemandes(std::move(ADemandes)) {}

std::wstring TSessionsClientsHttpSansAssistance::ProxySansAuthentification() const {
  std::lock_guard verrou(FDemandes->Verrou);
  return FDemandes->Proxy;
}

bool TSessionsClientsHttpSansAssistance::DemanderInfoAuthProxy(const std::wstring& AProxy, TypeInfoAuthHttp&) {
  std::wstring fichier;
  {
    std::lock_guard verrou(FDemandes->Verrou);
    FDemandes->Proxy = AProxy;
    fichier = FDemandes->FichierConfig;
  }
  Journaliser(Format(Msg::JournalAuthProxyManquante, {AProxy, fichier}), TypeNatureLigneJournal::Erreur);
  return false;
}

TRef<TSessionsClientsHttp> TSessionsClientsHttpSansAssistance::NouveauDuplicata(const TypeOrigineDuplicata& AOrigine) {
  return NouvelObjet<TSessionsClientsHttpSansAssistance>(AOrigine, FDemandes);
}

}  // namespace norvel
