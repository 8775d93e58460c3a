#pragma once
// Starts a program with its three standard streams on overlapped named pipes and collects, on
// the caller's thread, what it writes and how it ends.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
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

// Windows' answer to starting a program whose manifest asks for administrator rights.
inline constexpr DWORD ErreurElevationNecessaire = 740;

// Variables that the programs of a sequencer get besides the program's own environment.
using TypeVariablesEnvironnement = std::map<std::wstring, std::wstring>;

// The longest an uninstaller or the setup may run: a real setup on a slow machine takes
// minutes; one that waits for a window nobody sees, or for ever, is stopped after this.
inline constexpr int64_t DureeMaxProgramme = 60 * 60 * 1000;

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
  // The program's standard input is at its end from the start: a program that reads it does
  // not wait for ever. The programs run in a job of this process: none outlives it.
  void DebutProcessus(std::wstring_view AExecutable, std::wstring_view AParametres, std::wstring_view ADossier,
                      UINT APageDeCodeSortieStd, UINT APageDeCodeSortieErr, TypeRetourExecutable* APtrRetour);

  // Given to every program this sequencer starts from now on, in an environment of its own:
  // the program's own environment is never changed (other threads read it meanwhile).
  void DefinirVariable(const std::wstring& ANom, const std::wstring& AValeur) { FVariables[ANom] = AValeur; }
  const TypeVariablesEnvironnement& Variables() const { return FVariables; }

  using TSequenceurOperationsAsync::AnnulerEtAttendre;

  void FinProcessus(TParamExecutionProcessus& AParam);
  void DebutReadFile(TRef<IHandle> AHandle, std::wstring* APtrSortie, UINT APageDeCode,
                     std::string ADonneesDejaRecues);
  // Takes in what the read brought; answers whether reading goes on (the bytes so far then
  // stay in AParam), or decodes everything into the output once the pipe has ended.
  bool FinReadFile(TParamReadFile& AParam);

 protected:
  // The start itself, CreateProcessW's arguments: a test makes the system's answers.
  virtual bool CreerProcessus(std::wstring& ALigne, void* AEnvironnement, const wchar_t* ADossier,
                              STARTUPINFOW& ADemarrage, PROCESS_INFORMATION& AProcessus);
  // A program that needs administrator rights, which the program lacks: started by the shell,
  // which asks the user for them. Answers its process handle.
  virtual HANDLE DemarrerAvecElevation(const std::wstring& ALigne, const wchar_t* ADossier);

 private:
  TypeVariablesEnvironnement FVariables;
  TRef<IHandle> FSortieStd;
  TRef<IHandle> FSortieErr;
};

// Runs one command line with ASequenceur (outputs read in code page 850) until it ends, at most
// ADureeMax milliseconds: it is then stopped and "Le programme ... ne s'est pas terminé ..."
// raised. AApresDemarrage runs once the program has started. Whatever happens, nothing of it is
// left pending in the sequencer when this returns or raises: the outcome it fills lives here,
// and no read may complete into it later.
TypeRetourExecutable ExecuterProgramme(TSequenceurLancementExecutable& ASequenceur, std::wstring_view ALigne,
                                       int64_t ADureeMax = DureeMaxProgramme,
                                       const std::function<void()>& AApresDemarrage = {});

}  // namespace norvel
