#pragma once
// The order of the seven steps and what each event does to what they show: the access test's
// result, the search's, the choice of a configuration, the school lookup's answer, an edit of
// the identifier, the school's confirmation, the terms accepted, and the eleven calls of the
// installation's worker. It runs nothing itself: each event answers what comes next, which the
// one who drives the steps (the window, or a run without one) carries out. Every change is told
// to the observer. User-interface thread only.
#include <cstdint>
#include <functional>
#include <string>

#include "core/ObjetInterfacable.h"
#include "install/EvenementInstallation.h"
#include "install/ProgressionTelechargement.h"
#include "school/InfosHebNP.h"
#include "steps/EtatEtapes.h"

namespace norvel {

// What the driver does after an event.
enum class TypeSuiteEtapes : uint8_t {
  Aucune,
  RechercherConfigurations,  // access failed: search other configurations
  ChoisirConfiguration,      // proposals found: ask which one to apply
  LancerInstallation,        // terms accepted: start the installation, once
};

class TDeroulementEtapes : public TImplemente<TObjetInterfacable, IAbonneEvenementInstallationsClientLourd> {
 public:
  TDeroulementEtapes() = default;

  const TypeEtatEtapes& Etat() const { return FEtat; }
  // Called after every change with the new state.
  void SetSurChangement(std::function<void(const TypeEtatEtapes&)> AObservateur) { FSurChangement = std::move(AObservateur); }

  // ---- Step 1
  void TestAccesCommence();
  // AHttpsReussi: some HTTPS test address answered, whatever its answer.
  TypeSuiteEtapes AccesTeste(bool AHttpsReussi);
  TypeSuiteEtapes ConfigurationsTrouvees(size_t ANombre);
  void ChoixConfigurationRefuse();
  // AErreurEnregistrement: why the shared file refused it (empty: saved).
  void ConfigurationAppliquee(const std::wstring& AErreurEnregistrement = {});

  // ---- Step 2. A lookup is numbered when it starts: its answer counts only while no later
  // lookup, edit or confirmation came after it (lookups wait in nested loops, so the newest
  // answer may come first).
  void IdentifiantModifie(bool ASaisi);
  uint64_t RechercheEcoleCommencee();
  void EcoleTrouvee(uint64_t ANumero, const TypeInfosHebNP& AEcole);
  void EcoleIntrouvable(uint64_t ANumero, const std::wstring& AMessage);

  // ---- Steps 3 and 4
  void EcoleConfirmee();
  // LancerInstallation the first time only.
  TypeSuiteEtapes ConditionsAcceptees();

  // ---- Steps 5 to 7, from the installation's worker
  void RaccourciPortailCree() override;
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
  // The line says how far the download is (with the time left once it can be told); the bar
  // shows the same.
  void ProgressionTelechargement(uint64_t ARecus, uint64_t ATotal) override;

 private:
  void AfficherEtape2();
  void ArreterEtape1(const wchar_t* AMessage);
  void AfficherSousEtape(const std::wstring& ATexte);
  // Step 6 stops on an error: no more busy indicator, the sub-step's line in red.
  void EchouerSousEtape(const std::wstring& ATexte);
  // The download is over, well or not: its bar goes.
  void FinirTelechargement();
  void Signaler();

  TypeEtatEtapes FEtat;
  uint64_t FNumeroRecherche = 0;
  TEstimationTempsRestant FEstimationTelechargement;
  std::function<void(const TypeEtatEtapes&)> FSurChangement;
};

}  // namespace norvel
