#pragma once
// What the installation worker tells the window: each stage started, succeeded or failed, as a
// call of the wizard's subscriber interface. The worker calls a stand-in that posts each call
// to the user-interface thread, where the subscriber receives it.
#include <cstdint>
#include <string>
#include <utility>

#include "core/Interface.h"
#include "core/ObjetInterfacable.h"
#include "platform/AppelThreadPrincipal.h"

namespace norvel {

// Implemented by the wizard; called on the user-interface thread only.
struct IAbonneEvenementInstallationsClientLourd : IUnknown {
  virtual void RaccourciPortailCree() = 0;
  virtual void EchecRaccourciPortail(const std::wstring& AMessage) = 0;
  virtual void DesinstallationEnCours(const std::wstring& ANomAffichage) = 0;
  virtual void EchecDesinstallation(const std::wstring& AMessage) = 0;
  virtual void TelechargementEnCours() = 0;
  virtual void EchecTelechargement(const std::wstring& AMessage) = 0;
  virtual void InstallationEnCours() = 0;
  virtual void EchecInstallation(const std::wstring& AMessage) = 0;
  virtual void InstallationTerminee() = 0;
  virtual void LancementTermine() = 0;
  virtual void EchecLancement(const std::wstring& AMessage) = 0;
  // A few times a second during the download: the setup's bytes received so far of its size
  // (0 while unknown); a subscriber that shows no progress ignores it.
  virtual void ProgressionTelechargement(uint64_t /*ARecus*/, uint64_t /*ATotal*/) {}
};

}  // namespace norvel

NORVEL_GUID(norvel::IAbonneEvenementInstallationsClientLourd, 0x928C9015, 0x4864, 0x415B, 0x9E, 0xBE, 0x53, 0x60, 0x5B,
            0xB4, 0x0C, 0x9E)

namespace norvel {

// The failure operation of a stage.
using TypeEchecEtapeInstallation = void (IAbonneEvenementInstallationsClientLourd::*)(const std::wstring&);

// The subscriber as the worker sees it: every operation, called on any thread, is posted to the
// user-interface thread and reaches the real subscriber there, in order, while the address's
// box is open (the manager closes it when the window goes).
class TAbonnePosteInstallations final
    : public TImplemente<TObjetInterfacable, IAbonneEvenementInstallationsClientLourd> {
 public:
  TAbonnePosteInstallations(IAbonneEvenementInstallationsClientLourd* ADestinataire, TAdresseAppels AAdresse)
      : FDestinataire(ADestinataire), FAdresse(std::move(AAdresse)) {}

  void RaccourciPortailCree() override { Poster(&IAbonneEvenementInstallationsClientLourd::RaccourciPortailCree); }
  void EchecRaccourciPortail(const std::wstring& AMessage) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::EchecRaccourciPortail, AMessage);
  }
  void DesinstallationEnCours(const std::wstring& ANomAffichage) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::DesinstallationEnCours, ANomAffichage);
  }
  void EchecDesinstallation(const std::wstring& AMessage) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::EchecDesinstallation, AMessage);
  }
  void TelechargementEnCours() override { Poster(&IAbonneEvenementInstallationsClientLourd::TelechargementEnCours); }
  void EchecTelechargement(const std::wstring& AMessage) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::EchecTelechargement, AMessage);
  }
  void InstallationEnCours() override { Poster(&IAbonneEvenementInstallationsClientLourd::InstallationEnCours); }
  void EchecInstallation(const std::wstring& AMessage) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::EchecInstallation, AMessage);
  }
  void InstallationTerminee() override { Poster(&IAbonneEvenementInstallationsClientLourd::InstallationTerminee); }
  void LancementTermine() override { Poster(&IAbonneEvenementInstallationsClientLourd::LancementTermine); }
  void EchecLancement(const std::wstring& AMessage) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::EchecLancement, AMessage);
  }
  void ProgressionTelechargement(uint64_t ARecus, uint64_t ATotal) override {
    Poster(&IAbonneEvenementInstallationsClientLourd::ProgressionTelechargement, ARecus, ATotal);
  }

 private:
  // The arguments travel as copies of their own.
  template <class... TypeParametres, class... TypeArguments>
  void Poster(void (IAbonneEvenementInstallationsClientLourd::*AOperation)(TypeParametres...),
              const TypeArguments&... AArguments) {
    FAdresse.Poster([destinataire = FDestinataire, AOperation, ... copies = AArguments] {
      (destinataire->*AOperation)(copies...);
    });
  }

  IAbonneEvenementInstallationsClientLourd* const FDestinataire;
  const TAdresseAppels FAdresse;
};

}  // namespace norvel
