#include "deploiement/FenetreProgression.h"

#include <commctrl.h>

#include "ui/Composants.h"
#include "ui/IdentifiantsControles.h"

namespace norvel {

namespace {

// At 96 dots per inch: a label of two lines above the bar.
constexpr int Largeur = 420, Hauteur = 92, Marge = 12, HauteurLibelle = 36, HauteurBarre = 18;

}  // namespace

TFenetreProgression::TFenetreProgression(const std::wstring& ATitre) {
  CreerFenetre(ATitre, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, Largeur, Hauteur);
  FLibelle = CreerControle(Handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IdControle::LabelProgression);
  FBarre = CreerControle(Handle(), PROGRESS_CLASSW, L"", PBS_MARQUEE, IdControle::BarreProgression);
  SendMessageW(FLibelle, WM_SETFONT, reinterpret_cast<WPARAM>(Police()), TRUE);
  SendMessageW(FBarre, PBM_SETMARQUEE, TRUE, 30);
  MoveWindow(FLibelle, Marge, Marge, Largeur - 2 * Marge, HauteurLibelle, FALSE);
  MoveWindow(FBarre, Marge, Marge + HauteurLibelle + 8, Largeur - 2 * Marge, HauteurBarre, FALSE);
  Afficher();
}

void TFenetreProgression::AfficherEtape(const std::wstring& ATexte) {
  SetWindowTextW(FLibelle, ATexte.c_str());
  UpdateWindow(Handle());
}

std::wstring TFenetreProgression::Etape() const { return TexteControle(FLibelle); }

}  // namespace norvel
