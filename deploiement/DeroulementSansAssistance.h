#pragma once
// The installation without anybody at the machine: the wizard's seven steps in the same order,
// every question answered by the deployment's switches. Step 1 tests Internet access and, when
// it fails, applies the first proposal of the search; step 2 looks the school up; steps 3 and 4
// are the deployment's own -RNE and -AccepterConditions; steps 5 to 7 run on the installation
// manager's worker, whose events this object receives as the window would. Every step goes to
// the journal; the outcome is an exit code of core/CodesSortie.h.
#include <functional>
#include <optional>
#include <string>

#include "core/CodesSortie.h"
#include "core/ObjetInterfacable.h"
#include "deploiement/OptionsDeploiement.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "install/EvenementInstallation.h"
#include "install/GestionInstallationsClientLourd.h"
#include "platform/Attente.h"
#include "platform/DossierSpecial.h"
#include "platform/IInformationApplication.h"
#include "school/InfosHebNP.h"

namespace norvel {

class TDeroulementSansAssistance
    : public TImplemente<TObjetInterfacable, IAbonneEvenementInstallationsClientLourd> {
 public:
  struct TypeServices {
    TRef<IAttente> Attente;
    TRef<IDossierSpecial> DossierSpecial;
    TRef<IInformationApplication> InformationApplication;
    TRef<ISessionsClientsHttp> SessionsHttp;
    // The proxy that asked for credentials nobody gave (empty: none did).
    std::function<std::wstring()> ProxySansAuthentification;
  };
  // ASurProgression: shown by the passive mode's window (may be empty).
  TDeroulementSansAssistance(TypeServices AServices, TypeOptionsDeploiement AOptions,
                             std::function<void(const std::wstring&)> ASurProgression);

  // Runs the steps to the end or to the first failure; never raises. ASansUtilisateur: no user
  // session (the shortcut on the public desktop, the client configured but not started).
  TypeCodeSortie Executer(bool ASansUtilisateur);

  // ---- Steps 5 to 7, from the installation manager on the user-interface thread
  void RaccourciPortailCree() override {}
  void EchecRaccourciPortail(const std::wstring& AMessage) override;
  void DesinstallationEnCours(const std::wstring& ANomAffichage) override;
  void EchecDesinstallation(const std::wstring& AMessage) override;
  void TelechargementEnCours() override;
  void EchecTelechargement(const std::wstring& AMessage) override;
  void InstallationEnCours() override;
  void EchecInstallation(const std::wstring& AMessage) override;
  void InstallationTerminee() override;
  void LancementTermine() override;
  void EchecLancement(const std::wstring& AMessage) override;

 protected:
  // The installation manager of steps 5 to 7 (tests give theirs).
  virtual TRef<TGestionInstallationsClientLourd> CreerGestionInstallations();

 private:
  // A failure of a step: the code the run ends with, and why.
  struct EEchecEtape {
    TypeCodeSortie Code;
    std::wstring Message;
  };
  void Progression(const std::wstring& texte);
  void TesterAccesInternet();
  TypeInfosHebNP RechercherEcole();
  TypeCodeSortie Installer(const TypeInfosHebNP& AInfos, bool ASansUtilisateur);
  // A proxy that asked for credentials nobody gave explains a failure better than its symptom.
  TypeCodeSortie CodeSelonProxy(TypeCodeSortie ACode) const;
  void Terminer(TypeCodeSortie ACode);

  TypeServices FServices;
  TypeOptionsDeploiement FOptions;
  std::function<void(const std::wstring&)> FSurProgression;
  // Steps 5 to 7: the failure that ended them (or success), once known.
  std::optional<TypeCodeSortie> FFinInstallation;
  TypeCodeSortie FEchecRaccourci = TypeCodeSortie::Succes;
};

}  // namespace norvel
