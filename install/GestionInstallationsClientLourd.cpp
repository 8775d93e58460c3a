#include "install/GestionInstallationsClientLourd.h"

#include <algorithm>

#include "platform/Chemins.h"
#include "core/Exceptions.h"
#include "core/Messages.h"
#include "install/RessourceFichier.h"

namespace norvel {

TGestionInstallationsClientLourd::TGestionInstallationsClientLourd(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial,
    TRef<IAbonneEvenementInstallationsClientLourd> AAbonne)
    : FSessionsHttp(std::move(ASessionsHttp)), FDossierSpecial(std::move(ADossierSpecial)), FAbonne(std::move(AAbonne)) {}

TGestionInstallationsClientLourd::~TGestionInstallationsClientLourd() { Fermer(); }

std::wstring TGestionInstallationsClientLourd::EcrireIconePortail() {
  const std::wstring dossier = FDossierSpecial->GetDossierParDefaut();
  const bool caractereInterdit = dossier.find_first_of(L"<>\"|?*") != std::wstring::npos ||
                                 std::any_of(dossier.begin(), dossier.end(), [](wchar_t c) { return c < L' '; });
  if (caractereInterdit) throw EOvalis(Msg::CaracteresNonValidesChemin);
  const std::wstring chemin = TPath::Make(dossier, L"Portail.ico", false);
  EcrireRessourceDansFichier(L"PORTAILICONE", chemin);
  return chemin;
}

void TGestionInstallationsClientLourd::LancerInstallation(TypeDonneesInstallationClientLourd ADonnees) {
  ADonnees.FichierIconePortail = EcrireIconePortail();
  // A sessions service object serves one thread: the worker gets a duplicate of its own, made
  // here, on the thread that owns the original.
  FThread = CreerThreadInstallation(
      FSessionsHttp->DupliquerPourThread(),
      NouvelObjet<TAbonnePosteInstallations>(FAbonne.Get(), FBoiteAppels.Adresse()), ADonnees);
  FActif = true;
  FThread->Demarrer();
}

void TGestionInstallationsClientLourd::Fermer() {
  if (FThread) {
    FThread->Arreter();
    FThread.reset();
  }
  FBoiteAppels.Fermer();
  FActif = false;
}

}  // namespace norvel
