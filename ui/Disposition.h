#pragma once
// A form's layout as one table: each control with its parent, its kind, its rectangle at 96 dots
// per inch, its font and its colour. The table makes the controls (in its order, which is also
// the order of Tab) and places them at the form's scale in one pass. What changes at run time is
// what is shown, the order of a stack, a colour or a text; the table's numbers never change.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Handle.h"
#include "ui/Composants.h"
#include "ui/Echelle.h"

namespace norvel {

enum class TypeGenreControle {
  Panneau,   // a container of controls (TPanneau)
  Image,     // TControleImage
  Patience,  // the busy indicator
  Lien,      // a text link (TLien), in the row's colour
  // A label: on one line, centred vertically, ending in an ellipsis when its width is not its
  // text's; wrapped when its height follows its text.
  Libelle,
  Saisie,    // an edit box
  Bouton,    // a push button
  Case,      // a check box
  Progression,  // a progress bar
};

enum class TypePolice { Normale, Grasse, Lien };

// How a row's rectangle is read; rules combine.
enum TypeRegleDisposition : unsigned {
  rdAucune = 0,
  // In its parent's vertical stack: Y is the room above it, below the element shown before it
  // in the stack's order; hidden elements take no room.
  rdPile = 1u << 0,
  // In a row: X is the room after the sibling shown before it in the table.
  rdSuite = 1u << 1,
  // Its text on one line sets its width, plus Largeur (a check box's box comes with its text).
  rdLargeurTexte = 1u << 2,
  // As wide as its children reach, and at least Largeur.
  rdLargeurContenu = 1u << 3,
  // Its text wraps at its width; its height grows from Hauteur to what the text needs.
  rdHauteurTexte = 1u << 4,
  // X and Y are the room between its right and bottom edges and its parent's.
  rdAncreBasDroite = 1u << 5,
};

// Pixels at 96 dots per inch. A width or height of 0 or less reaches the parent's right or
// bottom edge, less its magnitude.
struct TypeRectangle96 {
  int X, Y, Largeur, Hauteur;
};

// The colour of the system's text.
inline constexpr COLORREF CouleurTexteSysteme = CLR_INVALID;

struct TypeLigneDisposition {
  int Id;
  // The identifier of the parent's row; 0: the form itself.
  int Parent;
  TypeGenreControle Genre;
  TypeRectangle96 Place;
  unsigned Regles = rdAucune;
  TypePolice Police = TypePolice::Normale;
  COLORREF Couleur = CouleurTexteSysteme;
  std::wstring Texte = {};
};

class TDisposition {
 public:
  // Makes every control of the table under the form's window, in the table's order.
  TDisposition(HWND fiche, std::vector<TypeLigneDisposition> lignes);
  TDisposition(const TDisposition&) = delete;
  TDisposition& operator=(const TDisposition&) = delete;
  ~TDisposition();

  HWND Controle(int id) const;
  // The program's own control of that row (an image, a busy indicator, a link, a panel).
  template <class T>
  T& Composant(int id) const {
    return dynamic_cast<T&>(*Element(id).Composant);
  }

  // The fonts of the three kinds at a scale, from the platform's default font: the normal one,
  // bold, bold and underlined.
  void CreerPolices(UINT ppp);
  // The font and the text colour of a control of the table (none: null, the system's colour).
  HFONT PoliceDe(HWND controle) const;
  COLORREF CouleurDe(HWND controle) const;
  void SetCouleur(int id, COLORREF couleur);

  // Moves the element just below the reference in their parent's stack, then shows it.
  void InsererSous(int element, int reference);
  // The height of a label whose height follows its text: from its row's height on (false), or
  // exactly its text's (true).
  void SetHauteurExacte(int id, bool exacte);
  // The identifiers of a parent's stack in their current order, shown or not.
  std::vector<int> Pile(int parent) const;

  // Places every shown control at the scale in the form's client area. Answers the height the
  // client area needs so that no stack runs into a control anchored at the bottom of its panel
  // (with as much room above that control as below it).
  int Disposer(const TEchelle& echelle, SIZE client);

 private:
  struct TElement {
    TypeLigneDisposition Ligne;
    HWND Fenetre = nullptr;
    std::unique_ptr<TControlePersonnalise> Composant;
    COLORREF Couleur = CouleurTexteSysteme;
    bool HauteurExacte = false;
  };
  const TElement& Element(int id) const;
  TElement& Element(int id);
  const TElement* ElementDe(HWND controle) const;
  void Creer(TElement& element, HWND fiche);
  int Largeur(const TElement& element, const TEchelle& e, int x, int largeurParent) const;
  int Hauteur(const TElement& element, const TEchelle& e, int y, int largeur, int hauteurParent) const;
  // Places the children of one parent in its client area; answers the height they need.
  int DisposerEnfants(int parent, const TEchelle& e, int largeur, int hauteur);

  std::vector<TElement> FElements;
  std::map<int, size_t> FIndex;
  std::map<int, std::vector<int>> FPiles;
  TPoliceGdi FPolices[3];
};

}  // namespace norvel
