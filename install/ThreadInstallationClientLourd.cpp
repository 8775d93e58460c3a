#include "install/ThreadInstallationClientLourd.h"

#include <windows.h>

#include <functional>

#include "core/Com.h"
#include "core/Exceptions.h"
#include "install/RaccourciPortail.h"

namespace norvel {

TThreadInstallationClientLourd::TThreadInstallationClientLourd(TRef<ISessionsClientsHttp> ASessionsHttp,
                                                               const TypeDonneesInstallationClientLourd& ADonnees)
    : TOvThread(nullptr, false),
      FSimulation(ADonnees.Simulation),
      FUrlTelechargement(ADonnees.UrlTelechargement),
      FNomEcole(ADonnees.NomEcole),
      FNomDomaine(ADonnees.NomDomaine),
      FPort(ADonnees.Port),
      FServeurEnService(ADonnees.ServeurEnService),
      FUrlPortail(ADonnees.UrlPortail),
      FFichierIconePortail(ADonnees.FichierIconePortail),
      FCheminInstallation(ADonnees.CheminInstallation),
      FSessionsHttp(std::move(ASessionsHttp)) {}

TThreadInstallationClientLourd::~TThreadInstallationClientLourd() {
  // Executer uses this object's members: the thread must be over before they go.
  Arreter();
}

void TThreadInstallationClientLourd::Arreter() {
  FArretDemande = true;
  FInterruption.Demander();
  TerminerEtAttendre();
}

void TThreadInstallationClientLourd::AjouterEvenement(TypeNatureEvenementInstallation ANature, bool ASucces,
                                                      const std::wstring& AChaine) {
  Empiler({ANature, ASucces, AChaine});
}

void TThreadInstallationClientLourd::AjouterProgression(uint64_t ARecus, uint64_t ATotal) {
  Empiler({EI_ProgressionTelechargement, true, {}, ARecus, ATotal});
}

void TThreadInstallationClientLourd::Empiler(TypeEvenementInstallation AEvenement) {
  {
    std::lock_guard verrou(FSectionCritique);
    FListeEvenementInstallation.push_back(std::move(AEvenement));
  }
  // Each event gets its own wake-up, hence its own idle pass of the main loop.
  ReveillerBouclePrincipale();
}

bool TThreadInstallationClientLourd::ExtraireEvenement(TypeEvenementInstallation& AEvenement) {
  std::lock_guard verrou(FSectionCritique);
  if (FListeEvenementInstallation.empty()) return false;
  AEvenement = std::move(FListeEvenementInstallation.front());
  FListeEvenementInstallation.pop_front();
  return true;
}

bool TThreadInstallationClientLourd::EvenementsEnAttente() {
  std::lock_guard verrou(FSectionCritique);
  return !FListeEvenementInstallation.empty();
}

void TThreadInstallationClientLourd::EchecEtape(TypeNatureEvenementInstallation ANature, const std::wstring& AMessage) {
  AjouterEvenement(ANature, false, AMessage);
  throw EAnnulation();
}

void TThreadInstallationClientLourd::Executer() {
  // The shell-link component of the shortcut needs the component model, in the mode the
  // program itself started with.
  const TInitialisationCom com;
  std::wstring fichierTelecharge;
  struct TypeEtape {
    TypeNatureEvenementInstallation Nature;
    std::function<void()> Executer;
  };
  const TypeEtape etapes[] = {
      {EI_CreationRaccourciPortail, [this] { CreerRaccourciPortail(); }},
      {EI_Desinstallation, [this] { DesinstallerAnciennesVersions(); }},
      {EI_Telechargement, [&] { TelechargerInstallation(fichierTelecharge); }},
      {EI_Installation, [&] { InstallerClient(fichierTelecharge); }},
      {EI_Configuration, [this] { ConfigurerEtLancerClient(); }},
  };
  TypeNatureEvenementInstallation etapeEnCours = EI_CreationRaccourciPortail;
  try {
    for (const TypeEtape& etape : etapes) {
      if (&etape != etapes && FArretDemande) break;
      etapeEnCours = etape.Nature;
      etape.Executer();
    }
  } catch (const EAnnulation&) {
    // A stage that failed has posted its failure already.
  } catch (const std::exception& e) {
    // An error that no stage reported (the registry or the product catalogue unreadable, ...)
    // would leave the window showing its busy indicator for ever: reported as the stage's failure.
    AjouterEvenement(etapeEnCours, false, MessageDe(e));
  } catch (...) {
    // Nothing may escape the worker.
  }
  if (!fichierTelecharge.empty()) DeleteFileW(fichierTelecharge.c_str());
}

void TThreadInstallationClientLourd::CreerRaccourciPortail() {
  const TypeResultatRaccourciPortail resultat =
      norvel::CreerRaccourciPortail(FNomEcole, FUrlPortail, FFichierIconePortail);
  AjouterEvenement(EI_CreationRaccourciPortail, resultat.Succes, resultat.Message);
}

}  // namespace norvel
