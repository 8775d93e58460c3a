#pragma once
// TFiche: a top-level window of the program, owned by the user-interface platform. Closing the
// main form (the first one created) ends the main loop; the object and its window live on
// until the platform destroys them.
#include <windows.h>

#include <string>

#include "platform/FenetreProgramme.h"

namespace norvel {

class TFiche : public TFenetreProgramme {
 public:
  TFiche() = default;
  ~TFiche() override;

  void SetTitre(const std::wstring& titre);
  std::wstring Titre() const;
  void Afficher();


 protected:
  // Creates the window with a client area of the given size, in the default font of the
  // platform; centred on its owner when it has one (it then stays above it), on the screen
  // otherwise.
  void CreerFenetre(const std::wstring& titre, DWORD style, int largeurClient, int hauteurClient,
                    HWND proprietaire = nullptr);
  // The form's own handling; the default is the system's. Exceptions are shown by the
  // platform's exception handler.
  virtual LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l);
  // The close box: hides the form, and ends the program when it is the main form.
  virtual void Fermer();
  HFONT Police() const { return FPolice; }

 private:
  // Registers the forms' window class once and declares it to the main loop.
  static void EnregistrerClasse();
  static LRESULT CALLBACK Procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l);
  HFONT FPolice = nullptr;
};

}  // namespace norvel
