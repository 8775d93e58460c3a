#pragma once
// The download's progress on screen beyond the page's own bar: the bar's share or its marquee,
// and the same progress on the window's taskbar button where the system offers it
// (ITaskbarList3).
#include <windows.h>
#include <shobjidl.h>

#include <optional>

#include "core/Interface.h"

namespace norvel {

// A progress bar (standard common control) at a share in thousandths, or running as a marquee
// when there is none (a size not known).
void AfficherProgression(HWND barre, std::optional<int> pourMille);

// The taskbar button of one window. Without a taskbar that offers the interface (an older
// system, a session without a shell), it does nothing.
class TProgressionBarreDesTaches {
 public:
  explicit TProgressionBarreDesTaches(HWND fenetre);
  // A share in thousandths; none: the button shows an activity without a share.
  void Afficher(std::optional<int> pourMille);
  void Effacer();

 private:
  HWND FFenetre;
  TRef<ITaskbarList3> FBarre;
};

}  // namespace norvel
