#include "wizard/PileVerticale.h"

#include <algorithm>

#include <stdexcept>

namespace norvel {

void TPileVerticale::Ajouter(HWND element, int marge, int hauteur, int retrait, bool hauteurSuitTexte) {
  FElements.push_back({element, marge, hauteur, retrait, hauteurSuitTexte});
}

std::vector<TPileVerticale::TElement>::iterator TPileVerticale::Trouver(HWND element) {
  const auto trouve =
      std::find_if(FElements.begin(), FElements.end(), [element](const TElement& e) { return e.Fenetre == element; });
  if (trouve == FElements.end()) throw std::logic_error("element not in the page");
  return trouve;
}

void TPileVerticale::InsererSous(HWND element, HWND reference) {
  const TElement deplace = *Trouver(element);
  FElements.erase(Trouver(element));
  FElements.insert(Trouver(reference) + 1, deplace);
  ShowWindow(element, SW_SHOWNA);
}

void TPileVerticale::SetHauteurSuitTexte(HWND element, bool suitTexte) { Trouver(element)->HauteurSuitTexte = suitTexte; }

int TPileVerticale::Disposer(const TEchelle& echelle, int largeur, int margeDroite) const {
  int y = 0;
  for (const TElement& e : FElements) {
    if (!EstMontre(e.Fenetre)) continue;
    y += echelle(e.Marge);
    const int x = echelle(e.Retrait);
    const int l = std::max(0, largeur - x - margeDroite);
    const int h = e.HauteurSuitTexte ? HauteurTexteRenvoye(e.Fenetre, l) : echelle(e.Hauteur);
    SetWindowPos(e.Fenetre, nullptr, x, y, l, h, SWP_NOZORDER | SWP_NOACTIVATE);
    y += h;
  }
  return y;
}

std::vector<HWND> TPileVerticale::Ordre() const {
  std::vector<HWND> ordre;
  for (const TElement& e : FElements) ordre.push_back(e.Fenetre);
  return ordre;
}

}  // namespace norvel
