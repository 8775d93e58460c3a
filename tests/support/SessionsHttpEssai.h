#pragma once
// The HTTP sessions service for the tests that need it, on a configuration file of its own: a
// private HKEY_LOCAL_MACHINE, while the special folders are made, sends the machine-wide data
// folder to a temporary one (only then: the authorities trusted for HTTPS live in the real
// one). Its configuration goes direct whatever the machine-wide proxy settings and has no public
// test page: nothing leaves this machine. Header only: the test programs that use it link the
// HTTP configuration library.
#include "platform/DossierSpecial.h"
#include "platform/InformationApplication.h"
#include "platform/RestrictionsApiWindows.h"
#include "platform/SurchargeRepertoires.h"
#include "core/Exceptions.h"
#include "httpconfig/SessionsClientsHttp.h"
#include "support/CheminsTest.h"
#include "support/RegistreIsole.h"

namespace norvel::test {

// The assistant's own information, version 1.9.
inline TRef<IInformationApplication> InformationInstalleur() {
  return NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             VersionDepuisNumeros({1, 9}), TypePlateformeCompilation::Bits64,
                                             TypePaysDistribution::FRANCE, TypeSourceEnvironnement::Aucune);
}

// The proposal of one proxy for both protocols, with these bypass entries.
inline TypePropositionModifConfigClientsHttp PropositionProxy(const std::wstring& proxy,
                                                             TypeTabChaines exceptions = {}) {
  return {TypeGenreConfigProxyClientsHttp::gcpConfigOvalis, proxy, proxy, std::move(exceptions), L""};
}

// TService: TSessionsClientsHttp or a class derived from it with the same constructor.
template <class TService = TSessionsClientsHttp>
class TMachineSessionsHttp {
 public:
  TMachineSessionsHttp() {
    DefinirRestrictionsApiWindows();
    {
      TRegistreIsole registre(HKEY_LOCAL_MACHINE);
      registre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", FTemp.Chemin().wstring());
      Dossiers = NouvelObjet<TDossierSpecial>(Information, NouvelObjet<TSurchargeRepertoireWindows>(), nullptr);
    }
    Sessions = NouvelObjet<TService>(Information, Dossiers, true);
    Sessions->AppliquerPropositionModifConfig(PropositionProxy(L""));
    if (Sessions->GetGenreConfigProxy() != TypeGenreConfigProxyClientsHttp::gcpConfigOvalis)
      throw EOvalis(L"La configuration directe des essais n'a pas été appliquée");
    Sessions->SupprimerTabUrlTest(Sessions->Config().TabUrlTest());
  }
  TMachineSessionsHttp(const TMachineSessionsHttp&) = delete;
  TMachineSessionsHttp& operator=(const TMachineSessionsHttp&) = delete;

  std::wstring FichierConfig() const { return DossierConfigClientsHttp(*Dossiers) + NomFichierConfigClientsHttp; }

 private:
  // First made, last gone: the service and its configuration thread go before it.
  TDossierTemporaire FTemp;

 public:
  TRef<IInformationApplication> Information = InformationInstalleur();
  TRef<IDossierSpecial> Dossiers;
  TRef<TService> Sessions;
};

}  // namespace norvel::test
