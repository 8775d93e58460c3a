#pragma once
// What the window shows of a download in progress: sizes in MiB, the time left once the rate
// is known, and the line under step 6.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace norvel {

// "12,3 Mio": one decimal, the French way.
std::wstring TexteMio(uint64_t octets);

// "45 s", "3 min 05 s", "1 h 02 min".
std::wstring TexteDuree(uint64_t secondes);

// The time left from the mean rate since the download (or its last restart from zero) began.
class TEstimationTempsRestant {
 public:
  // Nothing while the total is unknown or the rate not yet settled (the first seconds).
  std::optional<uint64_t> SecondesRestantes(uint64_t recus, uint64_t total, ULONGLONG maintenantMs);

 private:
  ULONGLONG FDebutMs = 0;
  uint64_t FRecusAuDebut = 0;
  uint64_t FDerniersRecus = 0;
  bool FCommence = false;
};

// "Téléchargement de l'installation en cours ... 42 % (84,0 Mio sur 200,0 Mio, encore 12 s)";
// with an unknown total (0), the bytes received alone.
std::wstring TexteProgressionTelechargement(uint64_t recus, uint64_t total, std::optional<uint64_t> secondesRestantes);

// Percent of the total, 0 to 100 (0 while unknown).
int PourcentTelechargement(uint64_t recus, uint64_t total);

}  // namespace norvel
