#include "app/ApplicationInstalleurNorvelPrimaire.h"

#include "ui/GestionSkin.h"
#include "ui/ServicePoliceSysteme.h"
#include "platform/LigneDeCommande.h"
#include "ui/MessageSimple.h"
#include "core/GuidsServices.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"

namespace norvel {

void TApplicationInstalleurNorvelPrimaire::InitialiserApplication() {
  TApplicationOvalisFmx::InitialiserApplication();
  const auto dossierSpecial = GetDossierSpecial();
  const auto informationApplication = GetInformationApplication();
  AjouterService<IGestionSkin>(NouvelObjet<TGestionSkin>());
  auto pile = NouvelObjet<TPileGestionMessageSimple>();
  pile->EmpilerGestion(NouvelObjet<TGestionMessageSimpleMin>().Get());
  AjouterService<IPileGestionMessageSimple>(pile);
  // Its creation starts the HTTP configuration thread and waits for the end of its
  // initialisation; the user agent names this computer on the network.
  AjouterService<ISessionsClientsHttp>(NouveauServiceSessionsHttp(informationApplication, dossierSpecial));
  TApplicationGraphique::Instance().SetServicePolice(std::make_unique<TFMXSystemFontServiceOv>());
}

void TApplicationInstalleurNorvelPrimaire::FinaliserApplication() {
  SupprimerExtension(IID_ISessionsClientsHttp);
  SupprimerExtension(IID_IPileGestionMessageSimple);
  SupprimerExtension(IID_IGestionSkin);
  TApplicationOvalisFmx::FinaliserApplication();
}

void TApplicationInstalleurNorvelPrimaire::LancerApplication() {
  // The values the form needs, captured once: the closure holds the services until released.
  struct TypeValeurs {
    TRef<IAttente> LAttente;
    TRef<IInformationApplication> LInformationApplication;
    TRef<ISessionsClientsHttp> LSessionsHttp;
    TRef<IDossierSpecial> LDossierSpecial;
    std::wstring LCheminInstallation;
    TApplicationInstalleurNorvelPrimaire* Self;
  };
  auto valeurs = std::make_shared<TypeValeurs>();
  valeurs->LAttente = GetAttente();
  valeurs->LInformationApplication = GetInformationApplication();
  valeurs->LSessionsHttp = GetSessionsHttp();
  valeurs->LDossierSpecial = GetDossierSpecial();
  TLigneDeCommande::ValeurParam(L"CheminInstallation", valeurs->LCheminInstallation);
  valeurs->Self = this;
  CreerFiche([this] { return std::unique_ptr<TFiche>(NouvelleFiche()); }, &FFiche, [valeurs] {
    valeurs->Self->Fiche()->Initialiser(valeurs->LAttente, valeurs->LDossierSpecial, valeurs->LInformationApplication,
                                        valeurs->LSessionsHttp, valeurs->LCheminInstallation);
  });
}

void TApplicationInstalleurNorvelPrimaire::ArreterApplication() {
  if (FFiche) TApplicationGraphique::Instance().DetruireFiche(std::exchange(FFiche, nullptr));
  TApplicationOvalisFmx::ArreterApplication();
}

std::unique_ptr<TFicheInstalleurNorvelPrimaire> TApplicationInstalleurNorvelPrimaire::NouvelleFiche() {
  return std::make_unique<TFicheInstalleurNorvelPrimaire>();
}

TRef<IDossierSpecial> TApplicationInstalleurNorvelPrimaire::GetDossierSpecial() {
  return FDictionnaireExtensions.Service<IDossierSpecial>();
}

TRef<IInformationApplication> TApplicationInstalleurNorvelPrimaire::GetInformationApplication() {
  return FDictionnaireExtensions.Service<IInformationApplication>();
}

TRef<IAttente> TApplicationInstalleurNorvelPrimaire::GetAttente() { return FDictionnaireExtensions.Service<IAttente>(); }

TRef<ISessionsClientsHttp> TApplicationInstalleurNorvelPrimaire::GetSessionsHttp() {
  return FDictionnaireExtensions.Service<ISessionsClientsHttp>();
}

TRef<ISessionsClientsHttp> TApplicationInstalleurNorvelPrimaire::NouveauServiceSessionsHttp(
    TRef<IInformationApplication> AInformationApplication, TRef<IDossierSpecial> ADossierSpecial) {
  return NouvelObjet<TSessionsClientsHttpAppGraphiqueFmx>(std::move(AInformationApplication),
                                                         std::move(ADossierSpecial), true);
}

}  // namespace norvel

namespace norvel {
static_assert(MemesGuid(__uuidof(IGestionSkin), IID_IGestionSkin));
static_assert(MemesGuid(__uuidof(IPileGestionMessageSimple), IID_IPileGestionMessageSimple));
}  // namespace norvel
