#pragma once
// The page's steps one below the other. Every element is aligned at the top of the room the
// elements above it leave, hidden elements take no room, and an element that is revealed is
// inserted directly below the element it follows (whatever its first place was).
#include <windows.h>

#include <vector>

#include "ui/Composants.h"

namespace norvel {

class TPileVerticale {
 public:
  // Adds an element at the end of the order: its top margin, its height and its indent from the
  // left edge, in pixels at 96 dots per inch. An element whose height follows its text wraps
  // its text at the width it is given.
  void Ajouter(HWND element, int marge, int hauteur, int retrait = 0, bool hauteurSuitTexte = false);
  // Moves the element just below the reference in the order, then shows it.
  void InsererSous(HWND element, HWND reference);
  void SetHauteurSuitTexte(HWND element, bool suitTexte);

  // Places the shown elements from the top, across `largeur` minus `margeDroite`; answers the
  // bottom of the last one.
  int Disposer(const TEchelle& echelle, int largeur, int margeDroite) const;
  // The elements in their current order.
  std::vector<HWND> Ordre() const;

 private:
  struct TElement {
    HWND Fenetre;
    int Marge;
    int Hauteur;
    int Retrait;
    bool HauteurSuitTexte;
  };
  std::vector<TElement>::iterator Trouver(HWND element);
  std::vector<TElement> FElements;
};

}  // namespace norvel
