#pragma once
// A form shown modally to its owner: the owner is disabled while the program's own loop runs
// (idle services, calls queued by workers and waits keep going) until the form gets a modal
// result. The close box and Escape give Cancel; the program's end gives Cancel too.
#include <windows.h>

#include "ui/Fiche.h"

namespace norvel {

// The usual dialog results.
enum TypeResultatModal : int {
  mrAucun = 0,
  mrOK = IDOK,
  mrAnnuler = IDCANCEL,
};

class TFicheModale : public TFiche {
 public:
  // Shows the form above its owner and runs the loop until a modal result is set; enables the
  // owner again and answers the result. The form stays on screen until it is destroyed: the
  // caller frees it at once (hiding a window first would only cost time).
  int ExecuterModal();

  int ResultatModal() const { return FResultatModal; }
  void SetResultatModal(int resultat) { FResultatModal = resultat; }

 protected:
  // Before the form is shown (the first focus, a last layout).
  virtual void AvantAffichage() {}
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;
  // The close box cancels, unless a result is already set.
  void Fermer() override {
    if (FResultatModal == mrAucun) SetResultatModal(mrAnnuler);
  }
  // A control told the form something (WM_COMMAND): a button clicked (BN_CLICKED, also for the
  // default button pressed by Enter), a list's selection changed...
  virtual void Commande(int identifiant, int notification) {}
  // The identifier of the button that Enter presses; 0 for none.
  virtual int BoutonParDefaut() const { return 0; }
  // The form's client area changed size.
  virtual void Redimensionnee(int largeur, int hauteur) {}


 private:
  int FResultatModal = mrAucun;
};

}  // namespace norvel
