#include "install/ThreadInstallationClientLourd.h"

#include <windows.h>

#include <functional>

#include "core/Com.h"
#include "core/Exceptions.h"
#include "install/RaccourciPortail.h"

namespace norvel {

TThreadInstallationClientLourd::TThreadInstallationClientLourd(TRef<ISessionsClientsHttp> ASessionsHttp,
                                                               TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
                                                               const TypeDonneesInstallationClientLourd& ADonnees)
    : TOvThread(nullptr, false),
      FDonnees(ADonnees),
      FSessionsHttp(std::move(ASessionsHttp)),
      FAbonne(std::move(AAbonne)) {}

TThreadInstallationClientLourd::~TThreadInstallationClientLourd() {
  // Executer uses this object's members: the thread must be over before they go.
  Arreter();
}

void TThreadInstallationClientLourd::Arreter() {
  FArretDemande = true;
  FInterruption.Demander();
  TerminerEtAttendre();
}

void TThreadInstallationClientLourd::EchecEtape(TypeEchecEtapeInstallation AEchec, const std::wstring& AMessage) {
  (Abonne().*AEchec)(AMessage);
  throw EAnnulation();
}

void TThreadInstallationClientLourd::Executer() {
  // The shell-link component of the shortcut needs the component model, in the mode the
  // program itself started with.
  const TInitialisationCom com;
  std::wstring fichierTelecharge;
  using I = IAbonneEvenementInstallationsClientLourd;
  struct TypeEtape {
    TypeEchecEtapeInstallation Echec;
    std::function<void()> Executer;
  };
  const TypeEtape etapes[] = {
      {&I::EchecRaccourciPortail, [this] { CreerRaccourciPortail(); }},
      {&I::EchecDesinstallation, [this] { DesinstallerAnciennesVersions(); }},
      {&I::EchecTelechargement, [&] { fichierTelecharge = TelechargerInstallation(); }},
      {&I::EchecInstallation, [&] { InstallerClient(fichierTelecharge); }},
      {&I::EchecLancement, [this] { ConfigurerEtLancerClient(); }},
  };
  const TypeEtape* etapeEnCours = etapes;
  try {
    for (const TypeEtape& etape : etapes) {
      if (&etape != etapes && FArretDemande) break;
      etapeEnCours = &etape;
      etape.Executer();
    }
  } catch (const EAnnulation&) {
    // A stage that failed has posted its failure already.
  } catch (const std::exception& e) {
    // An error that no stage reported (the registry or the product catalogue unreadable, ...)
    // would leave the window showing its busy indicator for ever: reported as the stage's failure.
    (Abonne().*etapeEnCours->Echec)(MessageDe(e));
  } catch (...) {
    // Nothing may escape the worker.
  }
  if (!fichierTelecharge.empty()) DeleteFileW(fichierTelecharge.c_str());
}

void TThreadInstallationClientLourd::CreerRaccourciPortail() {
  const TypeResultatRaccourciPortail resultat =
      norvel::CreerRaccourciPortail(FDonnees.NomEcole, FDonnees.UrlPortail, FDonnees.FichierIconePortail);
  if (resultat.Succes)
    Abonne().RaccourciPortailCree();
  else
    Abonne().EchecRaccourciPortail(resultat.Message);
}

}  // namespace norvel
