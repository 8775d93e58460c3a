#pragma once
// Classes used only through class-level operations, and the ordered finalisation of the
// process-wide and per-thread singletons they hold.

namespace norvel {

// Groups class-level operations; never instantiated.
class TClasseNonInstanciable {
 public:
  TClasseNonInstanciable() = delete;
};

enum TypeGenreClasseFinalisable { cfFinalisationPrecoce, cfFinalisationTardive, cfFinalisationThread };

// A finalisable class's Finaliser: releases its singleton state.
using TypeProcFinalisation = void (*)();

// A class holding singleton state enters a finalisation list on first use; FinaliserTout
// then releases the states, last entered first.
// - cfFinalisationPrecoce: the early list, run by the application object's destruction;
// - cfFinalisationTardive: the late list, run at the end of the process;
// - cfFinalisationThread: the calling thread's own list, run by a worker at the end of its work.
class TClasseFinalisable : public TClasseNonInstanciable {
 public:
  static void InscrireFinalisation(TypeProcFinalisation finaliser, TypeGenreClasseFinalisable genre);
  template <class C>
  static void InscrireFinalisation(TypeGenreClasseFinalisable genre) {
    InscrireFinalisation(&C::Finaliser, genre);
  }

  // Runs, last entered first: early then thread list (cfFinalisationPrecoce); early, thread,
  // then late list (cfFinalisationTardive); the thread list only (cfFinalisationThread).
  // Exceptions of a Finaliser are swallowed: the next class is still finalised.
  static void FinaliserTout(TypeGenreClasseFinalisable genre);
};

}  // namespace norvel
