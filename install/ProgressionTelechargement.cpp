#include "install/ProgressionTelechargement.h"

#include <algorithm>

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

// The rate of the first moments says little (connection, slow start): no estimate before.
constexpr ULONGLONG DelaiAvantEstimationMs = 2000;

std::wstring DeuxChiffres(uint64_t valeur) { return (valeur < 10 ? L"0" : L"") + std::to_wstring(valeur); }

}  // namespace

std::wstring TexteMio(uint64_t octets) {
  // In two parts: ten times a very large size would not fit in 64 bits.
  const uint64_t dixiemes = octets / 1048576 * 10 + (octets % 1048576 * 10 + 524288) / 1048576;
  return std::to_wstring(dixiemes / 10) + L"," + std::to_wstring(dixiemes % 10) + L" Mio";
}

std::wstring TexteDuree(uint64_t secondes) {
  if (secondes < 60) return std::to_wstring(secondes) + L" s";
  if (secondes < 3600) return std::to_wstring(secondes / 60) + L" min " + DeuxChiffres(secondes % 60) + L" s";
  return std::to_wstring(secondes / 3600) + L" h " + DeuxChiffres(secondes % 3600 / 60) + L" min";
}

std::optional<uint64_t> TEstimationTempsRestant::SecondesRestantes(uint64_t recus, uint64_t total,
                                                                   ULONGLONG maintenantMs) {
  // A restart from zero makes the rate so far meaningless.
  if (!FCommence || recus < FDerniersRecus) {
    FCommence = true;
    FDebutMs = maintenantMs;
    FRecusAuDebut = recus;
  }
  FDerniersRecus = recus;
  const ULONGLONG ecoule = maintenantMs - FDebutMs;
  if (total == 0 || recus >= total || ecoule < DelaiAvantEstimationMs || recus <= FRecusAuDebut) return std::nullopt;
  const double octetsParMs = static_cast<double>(recus - FRecusAuDebut) / static_cast<double>(ecoule);
  return static_cast<uint64_t>(static_cast<double>(total - recus) / octetsParMs / 1000.0 + 0.5);
}

int PourcentTelechargement(uint64_t recus, uint64_t total) {
  if (total == 0) return 0;
  return static_cast<int>(std::min<uint64_t>(recus, total) * 100 / total);
}

std::wstring TexteProgressionTelechargement(uint64_t recus, uint64_t total, std::optional<uint64_t> secondesRestantes) {
  if (total == 0) return Format(Msg::ProgressionTelechargementTailleInconnue, {Msg::TelechargementEnCours, TexteMio(recus)});
  const int pourcent = PourcentTelechargement(recus, total);
  if (!secondesRestantes)
    return Format(Msg::ProgressionTelechargement, {Msg::TelechargementEnCours, pourcent, TexteMio(recus), TexteMio(total)});
  return Format(Msg::ProgressionTelechargementTempsRestant, {Msg::TelechargementEnCours, pourcent, TexteMio(recus),
                                                            TexteMio(total), TexteDuree(*secondesRestantes)});
}

}  // namespace norvel
