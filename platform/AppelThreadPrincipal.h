#pragma once
// The one way for any thread to reach the user-interface thread: post a call, the main thread
// runs it in an idle step of its loop (nested waits and modal forms included), one call per
// step, in the order they were posted. A worker that needs the answer waits for its call
// (ExecuterSurThreadPrincipal); an object that receives calls owns a TBoiteAppels, so that
// calls still on their way when it goes are dropped instead of reaching a dead object.
#include <atomic>
#include <functional>
#include <memory>

namespace norvel {

// Any thread. False when there is no main loop to run it: the call is dropped.
bool AppelerSurThreadPrincipal(std::function<void()> appel);

// Runs `appel` on the main thread and answers true once it ran; on the main thread itself it
// runs at once. An exception the call raises reaches the caller. When the program's loop has
// ended (or there never was one) before the call could start, the call is dropped and the
// answer is false: a worker never waits for a main thread that will not answer.
bool ExecuterSurThreadPrincipal(const std::function<void()>& appel);

// Where other threads post calls for one receiver; copied freely, used from any thread.
class TAdresseAppels {
 public:
  // The call runs on the main thread while the receiver's box is open, otherwise never.
  void Poster(std::function<void()> appel) const;

 private:
  friend class TBoiteAppels;
  std::shared_ptr<const std::atomic<bool>> FOuverte;
};

// Owned by the receiver, opened with it; closed (on the main thread, where the calls run) when
// it goes or says so.
class TBoiteAppels {
 public:
  TBoiteAppels();
  ~TBoiteAppels() { Fermer(); }
  TBoiteAppels(const TBoiteAppels&) = delete;
  TBoiteAppels& operator=(const TBoiteAppels&) = delete;

  TAdresseAppels Adresse() const;
  // Calls posted but not yet run are dropped; so are later ones.
  void Fermer() { *FOuverte = false; }

 private:
  std::shared_ptr<std::atomic<bool>> FOuverte;
};

}  // namespace norvel
