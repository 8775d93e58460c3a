#pragma once
// The installation without anybody at the machine: the very step flow the window drives
// (steps/ExecutionEtapes.h), driven here by the deployment's switches. Step 1 tests Internet
// access and, when it fails, applies the search's first proposal; step 2 looks up the school of
// -RNE; steps 3 and 4 are the deployment's own -RNE and -AccepterConditions; steps 5 to 7 run on
// the installation manager's worker. Every step goes to the journal; the outcome is an exit code
// of core/CodesSortie.h, read from the flow's last state.
#include <functional>
#include <optional>
#include <string>

#include "core/CodesSortie.h"
#include "deploiement/OptionsDeploiement.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "install/GestionInstallationsClientLourd.h"
#include "platform/Attente.h"
#include "platform/DossierSpecial.h"
#include "platform/IInformationApplication.h"
#include "steps/ConducteurEtapes.h"
#include "steps/EtatEtapes.h"

namespace norvel {

class TDeroulementSansAssistance : public IConducteurEtapes {
 public:
  struct TypeServices {
    TRef<IAttente> Attente;
    TRef<IDossierSpecial> DossierSpecial;
    TRef<IInformationApplication> InformationApplication;
    TRef<ISessionsClientsHttp> SessionsHttp;
    // The proxy that asked for credentials nobody gave (empty: none did).
    std::function<std::wstring()> ProxySansAuthentification;
  };
  // ASurProgression: what the passive mode's window shows (may be empty).
  TDeroulementSansAssistance(TypeServices AServices, TypeOptionsDeploiement AOptions,
                             std::function<void(const std::wstring&)> ASurProgression);

  // Runs the steps to the end or to the first failure; never raises. ASansUtilisateur: no user
  // session (the shortcut on the public desktop, the client configured but not started).
  TypeCodeSortie Executer(bool ASansUtilisateur);

  // The code a finished flow ends with.
  static TypeCodeSortie CodeDeEtat(const TypeEtatEtapes& AEtat);

  // IConducteurEtapes: nobody answers; the first proposal is taken, no credentials are given.
  void EtatModifie(const TypeEtatEtapes& AEtat) override;
  std::optional<size_t> ChoisirConfiguration(const TypeTabPropositionsModifConfigClientsHttp& APropositions) override;
  std::optional<TypeInfoAuthHttp> DemanderInfoAuthProxy(const std::wstring& AProxy) override;

 protected:
  // The installation manager of steps 5 to 7, with the flow as its subscriber.
  virtual TRef<TGestionInstallationsClientLourd> CreerGestionInstallations(
      TRef<IAbonneEvenementInstallationsClientLourd> AAbonne);

 private:
  void Progression(const std::wstring& texte);
  // A proxy that asked for credentials nobody gave explains a failure better than its symptom.
  TypeCodeSortie CodeSelonProxy(TypeCodeSortie ACode) const;

  TypeServices FServices;
  TypeOptionsDeploiement FOptions;
  std::function<void(const std::wstring&)> FSurProgression;
  TypeEtatEtapes FEtat;
};

}  // namespace norvel
