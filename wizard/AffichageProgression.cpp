#include "wizard/AffichageProgression.h"

#include <commctrl.h>

namespace norvel {

namespace {

constexpr int Graduations = 1000;
// A marquee's step, in milliseconds.
constexpr int PasMarquee = 40;

}  // namespace

void AfficherProgression(HWND barre, std::optional<int> pourMille) {
  const LONG_PTR style = GetWindowLongPtrW(barre, GWL_STYLE);
  const bool marquee = !pourMille;
  if (((style & PBS_MARQUEE) != 0) != marquee) {
    SetWindowLongPtrW(barre, GWL_STYLE, marquee ? style | PBS_MARQUEE : style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
    SendMessageW(barre, PBM_SETMARQUEE, marquee, PasMarquee);
  }
  if (marquee) return;
  SendMessageW(barre, PBM_SETRANGE32, 0, Graduations);
  SendMessageW(barre, PBM_SETPOS, static_cast<WPARAM>(*pourMille), 0);
}

TProgressionBarreDesTaches::TProgressionBarreDesTaches(HWND fenetre) : FFenetre(fenetre) {
  void* barre = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &barre))) {
    FBarre = TRef<ITaskbarList3>::Attacher(static_cast<ITaskbarList3*>(barre));
    if (FAILED(FBarre->HrInit())) FBarre.Vider();
  }
}

void TProgressionBarreDesTaches::Afficher(std::optional<int> pourMille) {
  if (!FBarre) return;
  FBarre->SetProgressState(FFenetre, pourMille ? TBPF_NORMAL : TBPF_INDETERMINATE);
  if (pourMille) FBarre->SetProgressValue(FFenetre, static_cast<ULONGLONG>(*pourMille), Graduations);
}

void TProgressionBarreDesTaches::Effacer() {
  if (FBarre) FBarre->SetProgressState(FFenetre, TBPF_NOPROGRESS);
}

}  // namespace norvel
