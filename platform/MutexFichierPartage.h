#pragma once
// The machine-wide lock of a shared file: a named mutex that every process using the same
// file opens, whatever its user and session.
#include <string>

#include "core/Handle.h"

namespace norvel {

class TMutexFichierPartage {
 public:
  explicit TMutexFichierPartage(const std::wstring& nomFichier);

  // "Global\" and the MD5 of the path in lower case, so every spelling of one path meets.
  static std::wstring NomMutex(const std::wstring& nomFichier);

  // Holds the mutex for its lifetime. A mutex left by a process that died counts as taken:
  // files are replaced whole, so the dead owner cannot have left a half-written one.
  class TVerrou {
   public:
    explicit TVerrou(HANDLE mutex);
    TVerrou(const TVerrou&) = delete;
    TVerrou& operator=(const TVerrou&) = delete;
    ~TVerrou();

   private:
    HANDLE FMutex;
  };

  TVerrou Prendre() { return TVerrou(FMutex.Get()); }

 private:
  THandle FMutex;
};

}  // namespace norvel
