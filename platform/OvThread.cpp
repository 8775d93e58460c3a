#include "platform/OvThread.h"

#include "core/ErreurSysteme.h"
#include "core/Finalisation.h"
#include "core/Exceptions.h"
#include "core/Messages.h"
#include "core/NomClasse.h"

namespace norvel {

void NommerThreadCourant(const std::wstring& nom) {
  // SetThreadDescription exists from Windows 10 1607 only: look it up rather than link it.
  using TypeSetThreadDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  static const auto proc = reinterpret_cast<TypeSetThreadDescription>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
  if (proc) proc(GetCurrentThread(), nom.c_str());
}

TOvThread::TOvThread(TRef<IReveilThread> reveilThreadControle, bool avecInitialisation)
    : FReveilThreadControle(std::move(reveilThreadControle)) {
  if (avecInitialisation)
    FEvtFinInitialisation.Reinitialiser(VerifierHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr), L"CreateEvent"));
  FHandle.Reinitialiser(
      VerifierHandle(CreateThread(nullptr, 0, &Procedure, this, CREATE_SUSPENDED, &FIdThread), L"CreateThread"));
}

TOvThread::~TOvThread() { TerminerEtAttendre(); }

void TOvThread::TerminerEtAttendre() {
  // A thread that frees itself on termination runs this destructor on its own stack.
  if (!FHandle || GetCurrentThreadId() == FIdThread) return;
  FTermine = true;
  if (!FDemarre) Demarrer();
  WaitForSingleObject(FHandle.Get(), INFINITE);
}

void TOvThread::Demarrer() {
  if (FDemarre.exchange(true)) return;
  if (ResumeThread(FHandle.Get()) == static_cast<DWORD>(-1)) {
    FDemarre = false;
    throw ErreurSysteme(L"ResumeThread");
  }
}

std::wstring TOvThread::NomThread() const { return NomDeClasse(typeid(*this)); }

DWORD WINAPI TOvThread::Procedure(void* parametre) {
  auto* thread = static_cast<TOvThread*>(parametre);
  // Everything the thread does is caught here: nothing may escape a worker.
  try {
    NommerThreadCourant(thread->NomThread());
    if (!thread->FTermine) thread->Executer();
  } catch (const std::exception&) {
    thread->FExceptionFatale = std::current_exception();
    thread->FExceptionOrdinaire = true;
  } catch (...) {
    thread->FExceptionFatale = std::current_exception();
  }
  try {
    if (thread->FSurTerminaison) thread->FSurTerminaison(*thread);
  } catch (const std::exception&) {
    if (!thread->FExceptionFatale) {
      thread->FExceptionFatale = std::current_exception();
      thread->FExceptionOrdinaire = true;
    }
  } catch (...) {
  }
  // The per-thread singletons the work used end with it.
  TClasseFinalisable::FinaliserTout(cfFinalisationThread);
  const bool liberer = thread->FLibererEnFin;
  thread->FFini = true;
  // The object stays valid until this function returns: its destructor waits for the
  // system thread, not for the finished flag.
  thread->Reveil();
  if (liberer) delete thread;
  return 0;
}

void TOvThread::Reveil() {
  if (FReveilThreadControle)
    FReveilThreadControle->Reveiller(this);
  else
    ReveillerBouclePrincipale();
}

void TOvThread::SignalerFinInitialisation() {
  if (FEvtFinInitialisation) SetEvent(FEvtFinInitialisation.Get());
}

void TOvThread::AttendreFinInitialisation() {
  HANDLE objets[2];
  DWORD nombre = 0;
  if (FEvtFinInitialisation) objets[nombre++] = FEvtFinInitialisation.Get();
  objets[nombre++] = FHandle.Get();
  const DWORD resultat = WaitForMultipleObjects(nombre, objets, FALSE, INFINITE);
  if (resultat == WAIT_FAILED) throw ErreurSysteme(L"WaitForMultipleObjects");
  if (FEvtFinInitialisation && resultat == WAIT_OBJECT_0) return;
  std::rethrow_exception(GetExceptionNonGeree(true, true));
}

std::exception_ptr TOvThread::GetExceptionNonGeree(bool devenirProprietaire, bool creerSiNecessaire) {
  if (!FFini) return nullptr;
  std::exception_ptr exception = FExceptionOrdinaire ? FExceptionFatale : nullptr;
  if (exception && devenirProprietaire) {
    FExceptionFatale = nullptr;
    FExceptionOrdinaire = false;
  }
  if (!exception && creerSiNecessaire) exception = std::make_exception_ptr(EOvalis(Msg::AucunMessage));
  return exception;
}

void TOvThread::AttendreArret() {
  if (WaitForSingleObject(FHandle.Get(), INFINITE) == WAIT_FAILED) throw ErreurSysteme(L"WaitForSingleObject");
  if (auto exception = GetExceptionNonGeree(true, false)) std::rethrow_exception(exception);
}

}  // namespace norvel
