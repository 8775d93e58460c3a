#pragma once
// The machine-wide lock of a shared file: a named mutex that every process using the same
// file opens, whatever its user and session.
#include <windows.h>

#include <string>

#include "core/Handle.h"

namespace norvel {

// The longest wait for the lock of a shared file. Its holders keep it only while they read or
// write the file (milliseconds); one that keeps it longer is stuck, and a read or a write that
// waited for it would hang its thread for ever.
inline constexpr DWORD DelaiMaxVerrouFichierPartage = 10000;

class TMutexFichierPartage {
 public:
  // delaiMax: how long Prendre waits before it gives up.
  explicit TMutexFichierPartage(const std::wstring& nomFichier, DWORD delaiMax = DelaiMaxVerrouFichierPartage);

  // "Global\" and the MD5 of the path in lower case, so every spelling of one path meets.
  static std::wstring NomMutex(const std::wstring& nomFichier);

  // Holds the mutex for its lifetime; raises "Le fichier ... est verrouillé ..." when it is not
  // free within the delay. A mutex left by a process that died counts as taken: files are
  // replaced whole, so the dead owner cannot have left a half-written one, but it may have
  // replaced the file just before dying (Abandonne).
  class TVerrou {
   public:
    TVerrou(HANDLE mutex, DWORD delaiMax, const std::wstring& nomFichier);
    TVerrou(const TVerrou&) = delete;
    TVerrou& operator=(const TVerrou&) = delete;
    ~TVerrou();

    // The previous owner died holding it: what it did to the file is unknown.
    bool Abandonne() const { return FAbandonne; }

   private:
    HANDLE FMutex;
    bool FAbandonne = false;
  };

  TVerrou Prendre() { return TVerrou(FMutex.Get(), FDelaiMax, FNomFichier); }

 private:
  std::wstring FNomFichier;
  DWORD FDelaiMax;
  THandle FMutex;
};

}  // namespace norvel
