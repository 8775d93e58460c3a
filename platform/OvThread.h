#pragma once
// TOvThread: the base of the program's worker threads. The thread is created suspended and
// started by its creator; it may signal the end of its initialisation; an exception that
// escapes its work is kept as its fatal exception and raised again in whoever waits for it;
// when it ends it wakes its waiter (or the main loop when it has none).
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <string>

#include "platform/Attente.h"
#include "core/Handle.h"

namespace norvel {

class TOvThread {
 public:
  // reveilThreadControle: woken when the thread ends; without one, the main loop is woken.
  // avecInitialisation: the thread will call SignalerFinInitialisation.
  TOvThread(TRef<IReveilThread> reveilThreadControle, bool avecInitialisation);
  TOvThread(const TOvThread&) = delete;
  TOvThread& operator=(const TOvThread&) = delete;
  // Sets the terminated flag, starts a thread never started (it then skips its work) and
  // waits for the system thread to end. A derived class whose Executer uses its own members
  // calls TerminerEtAttendre in its own destructor, before those members go.
  virtual ~TOvThread();

  void Demarrer();
  // Asks the work to stop; Executer polls Termine().
  void Terminer() { FTermine = true; }
  bool Termine() const { return FTermine; }
  bool Demarre() const { return FDemarre; }
  // True once the work and the termination handler have run (before the waiter is woken).
  bool Fini() const { return FFini; }
  DWORD IdThread() const { return FIdThread; }
  HANDLE Handle() const { return FHandle.Get(); }

  // The object deletes itself when its thread ends; nobody may delete it then.
  void SetLibererEnFin(bool liberer) { FLibererEnFin = liberer; }
  // Runs on the worker after its work, before the finished flag is set.
  void SetSurTerminaison(std::function<void(TOvThread&)> gestionnaire) { FSurTerminaison = std::move(gestionnaire); }

  // Called by the thread itself.
  void SignalerFinInitialisation();
  // Returns once the thread signalled its initialisation; raises the thread's exception (or
  // "Aucun message") when the thread ended first.
  void AttendreFinInitialisation();
  // Nothing before the end; after it, the fatal exception of the ordinary family. With
  // devenirProprietaire the thread gives it up; with creerSiNecessaire, "Aucun message" when
  // there is none.
  std::exception_ptr GetExceptionNonGeree(bool devenirProprietaire, bool creerSiNecessaire);
  // Waits for the end, then raises the thread's exception if there is one.
  void AttendreArret();

  // The name debuggers show; the class name by default.
  virtual std::wstring NomThread() const;

 protected:
  virtual void Executer() = 0;
  void TerminerEtAttendre();

 private:
  static DWORD WINAPI Procedure(void* parametre);
  void Reveil();

  TRef<IReveilThread> FReveilThreadControle;
  THandle FEvtFinInitialisation;
  THandle FHandle;
  DWORD FIdThread = 0;
  std::atomic<bool> FDemarre{false};
  std::atomic<bool> FTermine{false};
  std::atomic<bool> FFini{false};
  bool FLibererEnFin = false;
  std::function<void(TOvThread&)> FSurTerminaison;
  std::exception_ptr FExceptionFatale;
  bool FExceptionOrdinaire = false;
};

// Names the calling thread for debuggers where the system allows it.
void NommerThreadCourant(const std::wstring& nom);

}  // namespace norvel
