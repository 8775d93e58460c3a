#pragma once
// A stop asked from another thread (a window that closes) for a worker's network work: it
// interrupts the request the worker is executing and ends the pauses between its attempts at
// once, so the worker can clean up and end within moments.
#include <windows.h>

#include <atomic>
#include <mutex>

#include "core/Handle.h"

namespace norvel {

class TRequeteHttp;

class TInterruptionRequete {
 public:
  TInterruptionRequete();
  TInterruptionRequete(const TInterruptionRequete&) = delete;
  TInterruptionRequete& operator=(const TInterruptionRequete&) = delete;

  // Any thread, any number of times.
  void Demander();
  bool Demandee() const { return FDemandee; }
  // Worker: sleeps millisecondes, less when the stop is asked; answers whether it slept whole.
  bool Patienter(DWORD millisecondes) const;

  // Worker: while it lives, a stop interrupts requete; a stop asked before interrupts it at once.
  class TBranchement {
   public:
    TBranchement(TInterruptionRequete* interruption, TRequeteHttp& requete);
    ~TBranchement();
    TBranchement(const TBranchement&) = delete;
    TBranchement& operator=(const TBranchement&) = delete;

   private:
    TInterruptionRequete* FInterruption;
  };

 private:
  std::mutex FVerrou;  // guards FRequete against a request that goes while it is interrupted
  TRequeteHttp* FRequete = nullptr;
  std::atomic<bool> FDemandee{false};
  THandle FEvenement;
};

}  // namespace norvel
