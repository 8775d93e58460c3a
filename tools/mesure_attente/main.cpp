// Measures what an idle wait of the main thread costs: the wait runs for the given number of
// seconds (10 by default) with nothing to do until a worker wakes it, and the program prints
// the processor time it used meanwhile.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <thread>

#include "platform/AttenteApplication.h"

using namespace norvel;

namespace {

double TempsProcesseurMs() {
  FILETIME creation, fin, noyau, utilisateur;
  GetProcessTimes(GetCurrentProcess(), &creation, &fin, &noyau, &utilisateur);
  auto ms = [](const FILETIME& f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
  return ms(noyau) + ms(utilisateur);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int secondes = argc > 1 ? _wtoi(argv[1]) : 10;
  auto& application = TApplicationGraphique::Instance();
  application.Initialiser();
  auto attente = NouvelObjet<TAttenteApplicationFmx>();

  std::atomic<bool> fini{false};
  int questions = 0;
  auto condition = ConditionFinDAttente([&] {
    ++questions;
    return fini.load();
  });
  IReveilThread* reveil = attente.Get();
  std::thread travailleur([&] {
    Sleep(static_cast<DWORD>(secondes) * 1000);
    fini = true;
    reveil->Reveiller(nullptr);
  });

  const double avant = TempsProcesseurMs();
  const ULONGLONG debut = GetTickCount64();
  attente->Attendre(condition.Get(), 0);
  const ULONGLONG duree = GetTickCount64() - debut;
  const double cpu = TempsProcesseurMs() - avant;
  travailleur.join();

  std::printf("attente inactive: %.1f s, temps processeur %.1f ms (%.3f %%), condition demandée %d fois\n",
              duree / 1000.0, cpu, duree ? 100.0 * cpu / static_cast<double>(duree) : 0.0, questions);
  return 0;
}
