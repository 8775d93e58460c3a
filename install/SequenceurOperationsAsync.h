#pragma once
// A small single-threaded event loop: each pending operation offers a waitable handle; the loop
// waits for any of them and lets the operation that completed handle its end, on the caller's
// thread. No thread of its own.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "install/HandlePartage.h"

namespace norvel {

class TParamOperationAsync {
 public:
  explicit TParamOperationAsync(TRef<IHandle> AAttendable) : FAttendable(std::move(AAttendable)) {}
  TParamOperationAsync(const TParamOperationAsync&) = delete;
  TParamOperationAsync& operator=(const TParamOperationAsync&) = delete;
  virtual ~TParamOperationAsync() = default;

  // Handles the completion, once its handle is signalled (the operation is already out of the
  // sequencer's list, so it may add new operations).
  virtual void Terminer() = 0;
  // Asks the operation to stop; its handle is signalled once it has.
  virtual void DemanderAnnulation() = 0;

  HANDLE Attendable() const { return FAttendable->GetHandle(); }

 protected:
  TRef<IHandle> FAttendable;
};

class TSequenceurOperationsAsync {
 public:
  TSequenceurOperationsAsync() = default;
  TSequenceurOperationsAsync(const TSequenceurOperationsAsync&) = delete;
  TSequenceurOperationsAsync& operator=(const TSequenceurOperationsAsync&) = delete;
  // Pending operations are asked to stop and awaited: their buffers must not be freed while
  // the system may still write into them.
  virtual ~TSequenceurOperationsAsync();

  void AjouterParamOperation(std::unique_ptr<TParamOperationAsync> AParam);
  // Gives the operation back to the caller; null when it is not in the list.
  std::unique_ptr<TParamOperationAsync> EnleverParamOperation(TParamOperationAsync* AParam);

  // Runs until every operation has completed (true) or ADureeMax milliseconds have passed
  // (false; the operations stay pending). 0 or less: no limit.
  bool Boucler(int64_t ADureeMax);
  void DemanderAnnulationOperations();

  size_t NombreOperations() const { return FListeParamOperations.size(); }

 protected:
  // Asks every pending operation to stop and waits for all of them; never raises. A derived
  // sequencer calls it from its own destructor, before the state its operations use is gone.
  void AnnulerEtAttendre() noexcept;

 private:
  std::vector<std::unique_ptr<TParamOperationAsync>> FListeParamOperations;
};

}  // namespace norvel
