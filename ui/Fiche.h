#pragma once
// TFiche: a top-level window of the program, owned by the user-interface platform. Closing the
// main form (the first one created) ends the main loop; the object and its window live on
// until the platform destroys them. A form follows the scale of its display: its font and
// its sizes, given at 96 dots per inch, are scaled to it, and again when it changes.
#include <windows.h>

#include <string>

#include "core/Handle.h"
#include "platform/FenetreProgramme.h"
#include "ui/Echelle.h"

namespace norvel {

class TFiche : public TFenetreProgramme {
 public:
  TFiche() = default;
  ~TFiche() override;

  void SetTitre(const std::wstring& titre);
  std::wstring Titre() const;
  void Afficher();
  const TEchelle& Echelle() const { return FEchelle; }

 protected:
  // Creates the window, in the default font of the platform at the scale of its display, with
  // a client area of the given size at 96 dots per inch; centred on its owner when it has one
  // (it then stays above it), on the screen otherwise.
  void CreerFenetre(const std::wstring& titre, DWORD style, int largeurClient, int hauteurClient,
                    HWND proprietaire = nullptr);
  // Sizes the window for a client area of this size in its own pixels, at the given place or
  // centred as at creation.
  void DimensionnerClient(int largeur, int hauteur, const POINT* position = nullptr);
  // The form's own handling; the default is the system's. Exceptions are shown by the
  // platform's exception handler.
  virtual LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l);
  // The close box: hides the form, and ends the program when it is the main form.
  virtual void Fermer();

  HFONT Police() const { return FPolice.Get(); }
  // The font of one of the form's controls: the form's own unless the form says otherwise.
  virtual HFONT PoliceDe(HWND controle) const { return Police(); }
  // Gives every control of the form its font: once they are created, and at each new scale.
  void AppliquerPolices();
  // The display's scale changed: the fonts are new and applied, the window has the place the
  // system proposed; the form lays its controls out again.
  virtual void EchelleChangee() {}

 private:
  void CreerPolice();
  TEchelle FEchelle;
  TPoliceGdi FPolice;
};

}  // namespace norvel
