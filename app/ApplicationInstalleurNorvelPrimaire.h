#pragma once
// The installation assistant's application object: the assistant's own services on top of the
// frame's, the journal of the run, and either the wizard form or the unattended run that the
// deployment's switches ask for. Its exit code is the outcome of the run.
#include <cstdint>
#include <memory>
#include <optional>

#include "app/ApplicationOvalisFmx.h"
#include "core/CodesSortie.h"
#include "deploiement/InstallationExclusive.h"
#include "deploiement/OptionsDeploiement.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "platform/Journal.h"
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

  // What the process ends with (core/CodesSortie.h).
  uint32_t CodeSortie() const { return ValeurCodeSortie(FCodeSortie); }

 protected:
  void InitialiserApplication() override;
  void FinaliserApplication() override;
  void LancerApplication() override;
  void ArreterApplication() override;
  void TraiterErreurInitialisation(const std::wstring& classe, const std::wstring& message) override;
  void TraiterErreurExecution(const std::wstring& classe, const std::wstring& message) override;

  // The wizard form; created through the platform by LancerApplication.
  virtual std::unique_ptr<TFicheInstalleurNorvelPrimaire> NouvelleFiche();
  // The HTTP sessions service registered at start-up: the graphical one, which asks the user for
  // proxy credentials, with the user agent naming the computer; without assistance, one that
  // asks nobody.
  virtual TRef<ISessionsClientsHttp> NouveauServiceSessionsHttp(TRef<IInformationApplication> AInformationApplication,
                                                                TRef<IDossierSpecial> ADossierSpecial);

 private:
  // The journal of this run: the file -Journal names, else a new one among the assistant's own.
  void OuvrirJournal(IDossierSpecial& ADossierSpecial);
  // A reason not to run, for the journal, the console and (unless silent) a message box.
  void Signaler(const std::wstring& AMessage, TypeCodeSortie ACode);
  void AfficherAideLigneDeCommande();
  void LancerAssistant();
  void LancerSansAssistance();
  // No window at all may open.
  bool Silencieux() const;

  TFiche* FFiche = nullptr;
  TypeOptionsDeploiement FOptions;
  std::optional<std::wstring> FErreurArguments;
  TypeCodeSortie FCodeSortie = TypeCodeSortie::Succes;
  std::shared_ptr<TConsoleParente> FConsole;
  std::optional<TInstallationExclusive> FExclusivite;
  std::wstring FDossierJournaux;
};

// The folder of the assistant's journals: "Journaux" in its default folder.
std::wstring DossierJournaux(IDossierSpecial& ADossierSpecial);

}  // namespace norvel
