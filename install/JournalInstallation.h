#pragma once
// The installation's steps in the journal: the subscriber of the worker's events seen through
// a stand-in that notes each call (started steps as progress, failures as errors) and passes it
// on unchanged.
#include <string>

#include "core/ObjetInterfacable.h"
#include "install/EvenementInstallation.h"
#include "platform/Journal.h"

namespace norvel {

class TAbonneJournalise : public TImplemente<TObjetInterfacable, IAbonneEvenementInstallationsClientLourd> {
 public:
  explicit TAbonneJournalise(TRef<IAbonneEvenementInstallationsClientLourd> ADestinataire)
      : FDestinataire(std::move(ADestinataire)) {}

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
  // Too frequent for the journal: passed on only.
  void ProgressionTelechargement(uint64_t ARecus, uint64_t ATotal) override {
    FDestinataire->ProgressionTelechargement(ARecus, ATotal);
  }

 private:
  TRef<IAbonneEvenementInstallationsClientLourd> FDestinataire;
};

// The line of a step: the format with the call's text in place of its "%s".
std::wstring LigneEtapeInstallation(const wchar_t* AFormat, const std::wstring& ATexte = {});

}  // namespace norvel
