#include "ui/FicheModale.h"

#include "platform/ApplicationGraphique.h"

namespace norvel {

int TFicheModale::ExecuterModal() {
  auto& application = TApplicationGraphique::Instance();
  const HWND proprietaire = GetWindow(Handle(), GW_OWNER);
  const bool proprietaireActif = proprietaire && IsWindowEnabled(proprietaire);
  FResultatModal = mrAucun;
  AvantAffichage();
  HWND focus = GetFocus();
  if (proprietaireActif) EnableWindow(proprietaire, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetActiveWindow(Handle());
  // Showing the window may have moved the focus that AvantAffichage gave.
  if (focus && IsChild(Handle(), focus)) SetFocus(focus);
  UpdateWindow(Handle());
  // Asked before the loop sleeps too: a message sent by another thread (a driver's click) is
  // handled while the loop looks for posted ones, and may have closed the form meanwhile.
  const auto fermee = ConditionFinDAttente([this] { return FResultatModal != mrAucun; });
  try {
    while (FResultatModal == mrAucun) {
      if (application.Terminee())
        FResultatModal = mrAnnuler;
      else
        application.Iterer(fermee.Get());
    }
  } catch (...) {
    if (proprietaireActif) EnableWindow(proprietaire, TRUE);
    throw;
  }
  // The owner is enabled before this form goes, so that it gets the activation back.
  if (proprietaireActif) {
    EnableWindow(proprietaire, TRUE);
    SetActiveWindow(proprietaire);
  }
  return FResultatModal;
}

LRESULT TFicheModale::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      // Escape arrives as IDCANCEL; Enter as the default button (see DM_GETDEFID).
      if (LOWORD(w) == IDCANCEL && HIWORD(w) == BN_CLICKED) {
        SetResultatModal(mrAnnuler);
        return 0;
      }
      Commande(LOWORD(w), HIWORD(w));
      return 0;
    case DM_GETDEFID:
      if (const int defaut = BoutonParDefaut()) return MAKELONG(defaut, DC_HASDEFID);
      return 0;
    case WM_SIZE:
      Redimensionnee(LOWORD(l), HIWORD(l));
      return 0;
  }
  return TFiche::TraiterMessage(message, w, l);
}

}  // namespace norvel
