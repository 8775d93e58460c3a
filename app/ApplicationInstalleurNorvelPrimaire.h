#pragma once
// The installation assistant's application object: the assistant's own services on top of the
// frame's, and the wizard form.
#include <memory>

#include "app/ApplicationOvalisFmx.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "wizard/FicheInstalleurNorvelPrimaire.h"

namespace norvel {

class TApplicationInstalleurNorvelPrimaire : public TApplicationOvalisFmx {
 public:
  using TApplicationOvalisFmx::TApplicationOvalisFmx;

  // Registry lookups that fail with the registry's error when the service is missing.
  TRef<IDossierSpecial> GetDossierSpecial();
  TRef<IInformationApplication> GetInformationApplication();
  TRef<IAttente> GetAttente();
  TRef<ISessionsClientsHttp> GetSessionsHttp();

  TFicheInstalleurNorvelPrimaire* Fiche() const { return static_cast<TFicheInstalleurNorvelPrimaire*>(FFiche); }

 protected:
  void InitialiserApplication() override;
  void FinaliserApplication() override;
  void LancerApplication() override;
  void ArreterApplication() override;

  // The wizard form; created through the platform by LancerApplication.
  virtual std::unique_ptr<TFicheInstalleurNorvelPrimaire> NouvelleFiche();
  // The HTTP sessions service registered at start-up: the graphical one, which asks the user for
  // proxy credentials, with the user agent naming the computer.
  virtual TRef<ISessionsClientsHttp> NouveauServiceSessionsHttp(TRef<IInformationApplication> AInformationApplication,
                                                                TRef<IDossierSpecial> ADossierSpecial);

 private:
  TFiche* FFiche = nullptr;
};

}  // namespace norvel
