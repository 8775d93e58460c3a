#pragma once
// The wait of the main thread: it keeps running the message loop, so the window stays alive
// while a worker or an asynchronous request does the work. It sleeps in the system between
// messages; a wake-up from any thread is a posted message.
#include "platform/ApplicationGraphique.h"
#include "platform/Attente.h"

namespace norvel {

class TAttenteApplicationFmx : public TAttenteBase {
 public:
  void Attendre(IConditionFinDAttente* condition, int64_t delaiReveil) override;
  void Reveiller(const void* emetteur) override { TApplicationGraphique::Reveiller(); }

  // The current period of the timer that wakes the waits; 0 outside them.
  UINT IntervalleMinuterie() const { return FTimer.Intervalle(); }

 private:
  // Nested waits run it at the shortest delay any of them asked.
  TMinuterie FTimer;
};

}  // namespace norvel
