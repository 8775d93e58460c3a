#pragma once
// What the download measurements share: a monotonic clock in seconds, and the result line with
// the process's peak memory.
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>

namespace norvel::outils {

inline double Maintenant() {
  LARGE_INTEGER compteur, frequence;
  QueryPerformanceCounter(&compteur);
  QueryPerformanceFrequency(&frequence);
  return static_cast<double>(compteur.QuadPart) / static_cast<double>(frequence.QuadPart);
}

// "octets=... secondes=... debit_mio_s=... pic_memoire_mio=... pic_engage_mio=...", for the best
// run: its bytes and seconds.
inline void AfficherMesure(uintmax_t octets, double secondes) {
  PROCESS_MEMORY_COUNTERS memoire{};
  memoire.cb = sizeof memoire;
  GetProcessMemoryInfo(GetCurrentProcess(), &memoire, sizeof memoire);
  std::printf("octets=%ju secondes=%.3f debit_mio_s=%.1f pic_memoire_mio=%.1f pic_engage_mio=%.1f\n", octets, secondes,
              static_cast<double>(octets) / secondes / 1048576.0, memoire.PeakWorkingSetSize / 1048576.0,
              memoire.PeakPagefileUsage / 1048576.0);
}

}  // namespace norvel::outils
