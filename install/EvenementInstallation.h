#pragma once
// What the installation worker tells the window: one event per stage started, succeeded or
// failed, handed to the wizard on the user-interface thread through its subscriber interface.
#include <cstdint>
#include <string>

#include "core/Interface.h"

namespace norvel {

enum TypeNatureEvenementInstallation : uint8_t {
  EI_CreationRaccourciPortail,
  EI_Desinstallation,
  EI_Telechargement,
  EI_Installation,
  EI_Configuration,
  EI_Termine,
};

struct TypeEvenementInstallation {
  TypeNatureEvenementInstallation Nature = EI_CreationRaccourciPortail;
  // Started (succeeded, for the shortcut and the end), or failed.
  bool Succes = false;
  // The display name of the version being removed, the error's message, or empty.
  std::wstring Chaine;

  bool operator==(const TypeEvenementInstallation&) const = default;
};

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
};

}  // namespace norvel

NORVEL_GUID(norvel::IAbonneEvenementInstallationsClientLourd, 0x928C9015, 0x4864, 0x415B, 0x9E, 0xBE, 0x53, 0x60, 0x5B,
            0xB4, 0x0C, 0x9E)

namespace norvel {

// Calls the subscriber's operation for the event's stage and outcome (a failed end calls none).
void TransmettreEvenement(IAbonneEvenementInstallationsClientLourd& AAbonne, const TypeEvenementInstallation& AEvenement);

}  // namespace norvel
