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
  // The setup's bytes received so far (Recus) of its size (Total, 0 while unknown).
  EI_ProgressionTelechargement,
};

struct TypeEvenementInstallation {
  TypeNatureEvenementInstallation Nature = EI_CreationRaccourciPortail;
  // Started (succeeded, for the shortcut and the end), or failed.
  bool Succes = false;
  // The display name of the version being removed, the error's message, or empty.
  std::wstring Chaine;
  uint64_t Recus = 0;
  uint64_t Total = 0;

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
  // A few times a second during the download; a subscriber that shows no progress ignores it.
  virtual void ProgressionTelechargement(uint64_t /*ARecus*/, uint64_t /*ATotal*/) {}
};

}  // namespace norvel

NORVEL_GUID(norvel::IAbonneEvenementInstallationsClientLourd, 0x928C9015, 0x4864, 0x415B, 0x9E, 0xBE, 0x53, 0x60, 0x5B,
            0xB4, 0x0C, 0x9E)

namespace norvel {

// Calls the subscriber's operation for the event's stage and outcome (a failed end calls none).
void TransmettreEvenement(IAbonneEvenementInstallationsClientLourd& AAbonne, const TypeEvenementInstallation& AEvenement);

}  // namespace norvel
