#pragma once
// Starts a program with its three standard streams on overlapped named pipes and collects, on
// the caller's thread, what it writes and how it ends.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "install/SequenceurOperationsAsync.h"

namespace norvel {

// The outcome of one program. The caller owns it and keeps it until the loop has ended.
struct TypeRetourExecutable {
  DWORD CodeRetour = 0;
  std::wstring SortieStd;
  std::wstring SortieErr;
};

class TSequenceurLancementExecutable;

// The process itself: completes when it ends.
class TParamExecutionProcessus : public TParamOperationAsync {
 public:
  TParamExecutionProcessus(TSequenceurLancementExecutable* ASequenceur, TRef<IHandle> AHandle,
                           TypeRetourExecutable* APtrCodeRetour);
  void Terminer() override;
  // Ends the process with the system's timeout code (1460).
  void DemanderAnnulation() override;

  TSequenceurLancementExecutable* FSequenceur;
  TRef<IHandle> FHandle;
  TypeRetourExecutable* FPtrCodeRetour;
  bool FAnnulationDemandee = false;
};

using TypeTamponReadFile = std::array<char, 4096>;

// One overlapped read on a pipe; completes through its own auto-reset event.
class TParamReadFile : public TParamOperationAsync {
 public:
  TParamReadFile(TSequenceurLancementExecutable* ASequenceur, TRef<IHandle> AHandle, std::wstring* APtrSortie,
                 UINT APageDeCode, std::string ADonneesDejaRecues);
  void Terminer() override;
  // Cancels the read in flight on the pipe.
  void DemanderAnnulation() override;

  // Starts the read; true when it is pending.
  bool LancerLecture();
  // The read's outcome, without waiting: the bytes read, or the error that ended it.
  DWORD Resultat(DWORD& AOctetsLus);

  TSequenceurLancementExecutable* FSequenceur;
  TRef<IHandle> FHandle;
  std::wstring* FPtrSortie;
  UINT FPageDeCode;
  std::string FDonneesDejaRecues;
  OVERLAPPED FOverlapped{};
  TypeTamponReadFile FTampon{};
  bool FAnnulationDemandee = false;

 private:
  // A read that fails at once leaves the overlapped record untouched: its error is kept here.
  DWORD FErreurImmediate = ERROR_SUCCESS;
};

class TSequenceurLancementExecutable : public TSequenceurOperationsAsync {
 public:
  TSequenceurLancementExecutable() = default;
  ~TSequenceurLancementExecutable() override;

  // Starts AExecutable (quoted; may be empty, AParametres then being the whole command line)
  // with AParametres, in ADossier (empty: the caller's folder). Its outputs are decoded with the
  // code pages given; APtrRetour is filled as the loop runs.
  void DebutProcessus(std::wstring_view AExecutable, std::wstring_view AParametres, std::wstring_view ADossier,
                      UINT APageDeCodeSortieStd, UINT APageDeCodeSortieErr, TypeRetourExecutable* APtrRetour);

  void FinProcessus(TParamExecutionProcessus& AParam);
  void DebutReadFile(TRef<IHandle> AHandle, std::wstring* APtrSortie, UINT APageDeCode,
                     std::string ADonneesDejaRecues);
  // Takes in what the read brought; answers whether reading goes on (the bytes so far then
  // stay in AParam), or decodes everything into the output once the pipe has ended.
  bool FinReadFile(TParamReadFile& AParam);

 private:
  TRef<IHandle> FEntreeStd;
  TRef<IHandle> FSortieStd;
  TRef<IHandle> FSortieErr;
};

}  // namespace norvel
