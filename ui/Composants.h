#pragma once
// The building blocks of the program's forms on plain Win32: panels that hand their children's
// notifications to the form, images, the circular busy indicator, the link, and the creation
// and measuring of the standard controls.
#include <windows.h>

#include <string>

#include "core/ImageRessource.h"
#include "platform/FenetreObjet.h"
#include "ui/Echelle.h"

namespace norvel {

// The rate of every animation of the program: the busy indicators are the only ones, and five
// frames a second is enough for a turning wheel.
inline constexpr UINT ImagesParSeconde = 5;

// A child window made by the program: the object owns the window's behaviour, its owner keeps
// the object as long as the window lives.
class TControlePersonnalise : public TFenetreObjet {
 protected:
  // Makes the window, tied to this object, in a class of its own (the page's background, this
  // cursor).
  void Creer(const wchar_t* classe, HWND parent, int id, DWORD style, DWORD styleEtendu = 0,
             const std::wstring& texte = {}, const wchar_t* curseur = IDC_ARROW);
};

// A container of controls on a background of the system's colours (the page's by default). The
// notifications of its children (commands, drawing, colours) go to the form, which handles
// every control in one place; Tab walks into it.
class TPanneau : public TControlePersonnalise {
 public:
  TPanneau(HWND parent, int id, int couleurFond = COLOR_WINDOW);

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;

 private:
  int FCouleurFond;
};

// An image drawn with its transparency, resampled to the control's width with its proportions;
// a control taller than that carries the image's last line on down to its bottom.
class TControleImage : public TControlePersonnalise {
 public:
  TControleImage(HWND parent, int id);
  // The image is not copied: its owner keeps it while it is shown.
  void SetImage(const TImageBitmap* image);
  const TImageBitmap* Image() const { return FImage; }

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;

 private:
  const TImageBitmap* FImage = nullptr;
};

// A circle of dots turning while the control is on screen; its timer runs only then, so a
// hidden indicator costs nothing.
class TIndicateurPatience : public TControlePersonnalise {
 public:
  TIndicateurPatience(HWND parent, int id);
  int Etape() const { return FEtape; }
  bool Anime() const { return FMinuterieActive; }

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;

 private:
  void Dessiner(HDC dc);
  int FEtape = 0;
  bool FMinuterieActive = false;
};

// A text link that behaves like a button: Tab reaches it, Space or Enter presses it when it has
// the focus, the mouse shows a hand over it. Its parent gets BN_CLICKED like from a button.
class TLien : public TControlePersonnalise {
 public:
  TLien(HWND parent, int id, const std::wstring& texte);
  void SetCouleur(COLORREF couleur) { FCouleur = couleur; }

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;

 private:
  void Cliquer();
  HFONT FPolice = nullptr;
  COLORREF FCouleur = RGB(0, 0, 255);
  bool FEnfonce = false;
};

// A window given either way: a standard control's handle or one of ours.
struct TCible {
  TCible(HWND fenetre) : Fenetre(fenetre) {}
  TCible(const TControlePersonnalise* controle) : Fenetre(controle->Handle()) {}
  HWND Fenetre;
};

// A standard control (STATIC, BUTTON, EDIT, LISTBOX...) as a visible child with an identifier;
// its form gives it its font and its place.
HWND CreerControle(HWND parent, const wchar_t* classe, const std::wstring& texte, DWORD style, int id);

std::wstring TexteControle(HWND controle);
// How the program draws a text wrapped at a width: at spaces, and inside a word longer than the
// width (an address), never beyond it.
inline constexpr UINT FormatTexteRenvoye = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
// The size of a text in a font: on one line, or wrapped at `largeur` (FormatTexteRenvoye). An
// empty text is one line high.
SIZE TailleTexte(HFONT police, const std::wstring& texte, int largeur = 0);
// The control's text in its own font: width of one line, or height when wrapped at `largeur`.
SIZE TailleTexte(HWND controle);
int HauteurTexteRenvoye(HWND controle, int largeur);
// The height of one line of the font, its leading included.
int HauteurLigne(HFONT police);

// Shown by its own style, whatever its parents: hidden elements of a page take no room even
// before the window is on screen.
inline bool EstMontre(HWND controle) { return (GetWindowLongPtrW(controle, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace norvel
