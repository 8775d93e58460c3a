#pragma once
// A worker thread that needs the user-interface thread (to show a dialog, for example) hands it
// the call and sleeps until it has run. The call runs in an idle step of the main thread's loop
// (nested waits and modal forms included), so the window stays alive meanwhile.
#include <functional>

namespace norvel {

// Runs `appel` on the main thread and answers true once it ran; on the main thread itself it
// runs at once. An exception the call raises reaches the caller. When the program's loop has
// ended (or there never was one) before the call could start, the call is dropped and the
// answer is false: a worker never waits for a main thread that will not answer.
bool ExecuterSurThreadPrincipal(const std::function<void()>& appel);

}  // namespace norvel
