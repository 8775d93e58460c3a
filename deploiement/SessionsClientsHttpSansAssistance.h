#pragma once
// The HTTP sessions service of an unattended run: nobody is there to type a proxy's
// credentials. A proxy that asks for some the shared configuration file lacks gets none; the
// journal says which proxy asked and how to provide them, and the run learns that it happened
// (its duplicates, on the installation worker, share what they saw).
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "httpconfig/SessionsClientsHttp.h"

namespace norvel {

class TSessionsClientsHttpSansAssistance : public TSessionsClientsHttp {
 public:
  TSessionsClientsHttpSansAssistance(TRef<IInformationApplication> AInformationApplication,
                                     TRef<IDossierSpecial> ADossierSpecial);

  struct TypeDemandesSansReponse {
    std::mutex Verrou;
    std::wstring Proxy;
    std::wstring FichierConfig;
  };
  // A duplicate, sharing what its origin saw.
  TSessionsClientsHttpSansAssistance(const TypeOrigineDuplicata& AOrigine, std::shared_ptr<TypeDemandesSansReponse> ADemandes);

  // The proxy that asked last for credentials nobody gave (empty: none asked).
  std::wstring ProxySansAuthentification() const;

 protected:
  bool DemanderInfoAuthProxy(const std::wstring& AProxy, TypeInfoAuthHttp& AInfoAuth) override;
  TRef<TSessionsClientsHttp> NouveauDuplicata(const TypeOrigineDuplicata& AOrigine) override;

 private:
  std::shared_ptr<TypeDemandesSansReponse> FDemandes;
};

}  // namespace norvel
