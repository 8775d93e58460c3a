#pragma once
// The installation worker: runs the last three steps of the wizard (portal shortcut; removal of
// earlier versions, download and silent setup; connection file and client launch) on its own
// thread, never touching the window. Each stage tells the wizard's subscriber what it does
// through a stand-in that posts the call to the user-interface thread. Between stages the
// worker checks whether the window asked it to stop; a stage itself (a running setup, a
// download) is never interrupted.
#include <atomic>
#include <cstdint>
#include <string>

#include "http/InterruptionRequete.h"
#include "platform/OvThread.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "install/EvenementInstallation.h"
#include "install/LancementExecutable.h"

namespace norvel {

// What the wizard knows of the school when the installation starts, and the portal icon the
// manager wrote for the shortcut.
struct TypeDonneesInstallationClientLourd {
  bool Simulation = false;
  std::wstring CheminInstallation;  // may be empty
  std::wstring UrlTelechargement;
  std::wstring NomEcole;
  std::wstring NomDomaine;
  uint16_t Port = 0;
  bool ServeurEnService = false;
  std::wstring UrlPortail;
  std::wstring FichierIconePortail;
};

class TThreadInstallationClientLourd : public TOvThread {
 public:
  // Created suspended, with no controller to wake (its end wakes the main loop). The values
  // are copied: nothing is shared with the user-interface thread. ASessionsHttp: the worker's
  // own sessions service, a duplicate that no other thread uses; AAbonne: the subscriber as
  // seen from this thread (its calls are posted to the user-interface thread).
  TThreadInstallationClientLourd(TRef<ISessionsClientsHttp> ASessionsHttp,
                                 TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
                                 const TypeDonneesInstallationClientLourd& ADonnees);
  ~TThreadInstallationClientLourd() override;

  // User-interface thread: asks the worker to stop at its next check (a download stops at once)
  // and waits, without limit, for its end (a worker never started ends at once).
  void Arreter();

  // Worker side: what the stages tell the wizard.
  IAbonneEvenementInstallationsClientLourd& Abonne() const { return *FAbonne; }

 protected:
  // The stages, in the order Executer runs them. Each tells its own progress; a stage that fails
  // tells its failure and raises the cancellation exception (EchecEtape).
  // TelechargerInstallation answers the file it downloaded, which the worker deletes at its end.
  // The shortcut: exactly one call, success or failure; never raises, never stops the worker.
  virtual void CreerRaccourciPortail();
  virtual void DesinstallerAnciennesVersions() = 0;
  virtual std::wstring TelechargerInstallation() = 0;
  virtual void InstallerClient(const std::wstring& AFichier) = 0;
  virtual void ConfigurerEtLancerClient() = 0;

  // Tells the failure of a stage and ends the worker.
  [[noreturn]] void EchecEtape(TypeEchecEtapeInstallation AEchec, const std::wstring& AMessage);

  bool ArretDemande() const { return FArretDemande; }
  // Stops the download in progress when the window asks the worker to stop.
  TInterruptionRequete& Interruption() { return FInterruption; }

  void Executer() override;

  // The worker's own copy.
  const TypeDonneesInstallationClientLourd FDonnees;
  // The worker's own process launcher, for the uninstallers, the setup and the client.
  TSequenceurLancementExecutable FSequenceur;
  // The worker's own HTTP sessions, for the download.
  const TRef<ISessionsClientsHttp> FSessionsHttp;

 private:
  const TRef<IAbonneEvenementInstallationsClientLourd> FAbonne;
  std::atomic<bool> FArretDemande{false};
  TInterruptionRequete FInterruption;
};

}  // namespace norvel
