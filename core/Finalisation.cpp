#include "core/Finalisation.h"

#include <exception>
#include <mutex>
#include <vector>

namespace norvel {
namespace {

using TypeListeFinalisation = std::vector<TypeProcFinalisation>;

// Constant-initialised, so usable from any other static initialiser, and destroyed only after
// GFinProcessus below has run the late finalisation.
std::mutex GVerrouListes;
TypeListeFinalisation GListePrecoce;
TypeListeFinalisation GListeTardive;
// A plain pointer: the late finalisation at process end may still reach the main thread's list
// after the run time has begun tearing down thread-local objects.
thread_local TypeListeFinalisation* GListeThread = nullptr;

// A finalisation that keeps registering new classes would never end: stop after this many.
constexpr int MaxCroissances = 100;

// The process-wide lists are locked only while they change, never during a Finaliser, which
// may itself register classes.
TypeListeFinalisation& Liste(TypeGenreClasseFinalisable genre) {
  switch (genre) {
    case cfFinalisationPrecoce:
      return GListePrecoce;
    case cfFinalisationTardive:
      return GListeTardive;
    case cfFinalisationThread:
      break;
  }
  if (!GListeThread) GListeThread = new TypeListeFinalisation;
  return *GListeThread;
}

void FinaliserListe(TypeGenreClasseFinalisable genre) {
  if (genre == cfFinalisationThread && !GListeThread) return;
  TypeListeFinalisation& liste = Liste(genre);
  int croissances = 0;
  for (;;) {
    TypeProcFinalisation finaliser;
    std::size_t restants;
    {
      std::lock_guard verrou(GVerrouListes);
      if (liste.empty()) break;
      finaliser = liste.back();
      liste.pop_back();
      restants = liste.size();
    }
    try {
      finaliser();
    } catch (const std::exception&) {
    }
    std::lock_guard verrou(GVerrouListes);
    if (liste.size() > restants && ++croissances > MaxCroissances) break;
  }
  if (genre == cfFinalisationThread && GListeThread && GListeThread->empty()) {
    delete GListeThread;
    GListeThread = nullptr;
  }
}

struct TFinalisationFinProcessus {
  TFinalisationFinProcessus() {}
  ~TFinalisationFinProcessus() { TClasseFinalisable::FinaliserTout(cfFinalisationTardive); }
} GFinProcessus;

}  // namespace

void TClasseFinalisable::InscrireFinalisation(TypeProcFinalisation finaliser, TypeGenreClasseFinalisable genre) {
  if (!finaliser) return;
  TypeListeFinalisation& liste = Liste(genre);
  std::lock_guard verrou(GVerrouListes);
  liste.push_back(finaliser);
}

void TClasseFinalisable::FinaliserTout(TypeGenreClasseFinalisable genre) {
  switch (genre) {
    case cfFinalisationPrecoce:
      FinaliserListe(cfFinalisationPrecoce);
      FinaliserListe(cfFinalisationThread);
      break;
    case cfFinalisationTardive:
      FinaliserListe(cfFinalisationPrecoce);
      FinaliserListe(cfFinalisationThread);
      FinaliserListe(cfFinalisationTardive);
      break;
    case cfFinalisationThread:
      FinaliserListe(cfFinalisationThread);
      break;
  }
}

}  // namespace norvel
