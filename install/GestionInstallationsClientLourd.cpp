#include "install/GestionInstallationsClientLourd.h"

#include <algorithm>

#include "platform/Chemins.h"
#include "platform/ServicesApplication.h"
#include "core/Exceptions.h"
#include "core/Messages.h"
#include "install/RessourceFichier.h"

namespace norvel {

TGestionInstallationsClientLourd::TGestionInstallationsClientLourd(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial,
    TRef<IAbonneEvenementInstallationsClientLourd> AAbonne)
    : FSessionsHttp(std::move(ASessionsHttp)), FDossierSpecial(std::move(ADossierSpecial)), FAbonne(std::move(AAbonne)) {
  TServicesApplication::Ajouter(this, dsiIdle, psiIndifferent, false);
}

TGestionInstallationsClientLourd::~TGestionInstallationsClientLourd() {
  // Reached only once Fermer has unfiled the service; the worker may still be there when the
  // construction of a derived class failed.
  FThread.reset();
}

std::wstring TGestionInstallationsClientLourd::EcrireIconePortail() {
  const std::wstring dossier = FDossierSpecial->GetDossierParDefaut();
  const bool caractereInterdit = dossier.find_first_of(L"<>\"|?*") != std::wstring::npos ||
                                 std::any_of(dossier.begin(), dossier.end(), [](wchar_t c) { return c < L' '; });
  if (caractereInterdit) throw EOvalis(Msg::CaracteresNonValidesChemin);
  const std::wstring chemin = TPath::Make(dossier, L"Portail.ico", false);
  EcrireRessourceDansFichier(L"PORTAILICONE", chemin);
  return chemin;
}

void TGestionInstallationsClientLourd::LancerInstallation(bool ASimulation, const std::wstring& ACheminInstallation,
                                                          const std::wstring& AUrlTelechargement,
                                                          const std::wstring& ANomEcole,
                                                          const std::wstring& ANomDomaine, uint16_t APort,
                                                          bool AServeurEnService, const std::wstring& AUrlPortail) {
  const std::wstring icone = EcrireIconePortail();
  // A sessions service object serves one thread: the worker gets a duplicate of its own, made
  // here, on the thread that owns the original.
  FThread = CreerThreadInstallation(FSessionsHttp->DupliquerPourThread(),
                                    {ASimulation, ACheminInstallation, AUrlTelechargement, ANomEcole, ANomDomaine,
                                     APort, AServeurEnService, AUrlPortail, icone});
  SetActif(true);
  FThread->Demarrer();
}

bool TGestionInstallationsClientLourd::Traiter() {
  if (!FThread) return true;
  TypeEvenementInstallation evenement;
  if (FThread->ExtraireEvenement(evenement) && FAbonne) TransmettreEvenement(*FAbonne, evenement);
  // Several events may have come with wake-ups that the loop handled before its idle pass: the
  // ones left must not wait for some unrelated message to be delivered.
  return !FThread->EvenementsEnAttente();
}

void TGestionInstallationsClientLourd::Fermer() {
  if (FThread) {
    FThread->Arreter();
    FThread.reset();
  }
  SetActif(false);
  TServicesApplication::Enlever(this);
}

}  // namespace norvel
