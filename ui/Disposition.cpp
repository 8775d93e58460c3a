#include "ui/Disposition.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/ApplicationGraphique.h"

namespace norvel {

namespace {

DWORD StyleLibelle(const TypeLigneDisposition& ligne) {
  if (ligne.Regles & rdHauteurTexte) return SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX;
  // A line too long for a width of its own shows that it goes on.
  if (ligne.Regles & rdLargeurTexte) return SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
  return SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX;
}

}  // namespace

TDisposition::TDisposition(HWND fiche, std::vector<TypeLigneDisposition> lignes) {
  FElements.reserve(lignes.size());
  for (auto& ligne : lignes) {
    FIndex.emplace(ligne.Id, FElements.size());
    if (ligne.Regles & rdPile) FPiles[ligne.Parent].push_back(ligne.Id);
    FElements.push_back(TElement{std::move(ligne)});
  }
  for (auto& element : FElements) Creer(element, fiche);
}

TDisposition::~TDisposition() {
  // Children before their parents.
  for (auto element = FElements.rbegin(); element != FElements.rend(); ++element) element->Composant.reset();
}

void TDisposition::Creer(TElement& element, HWND fiche) {
  const auto& ligne = element.Ligne;
  const HWND parent = ligne.Parent ? Controle(ligne.Parent) : fiche;
  element.Couleur = ligne.Couleur;
  switch (ligne.Genre) {
    case TypeGenreControle::Panneau:
      element.Composant = std::make_unique<TPanneau>(parent, ligne.Id);
      break;
    case TypeGenreControle::Image:
      element.Composant = std::make_unique<TControleImage>(parent, ligne.Id);
      break;
    case TypeGenreControle::Patience:
      element.Composant = std::make_unique<TIndicateurPatience>(parent, ligne.Id);
      break;
    case TypeGenreControle::Lien: {
      auto lien = std::make_unique<TLien>(parent, ligne.Id, ligne.Texte);
      lien->SetCouleur(ligne.Couleur);
      element.Composant = std::move(lien);
      break;
    }
    case TypeGenreControle::Libelle:
      element.Fenetre = CreerControle(parent, L"STATIC", ligne.Texte, StyleLibelle(ligne), ligne.Id);
      break;
    case TypeGenreControle::Saisie:
      element.Fenetre = CreerControle(parent, L"EDIT", ligne.Texte, WS_TABSTOP | ES_AUTOHSCROLL, ligne.Id);
      break;
    case TypeGenreControle::Bouton:
      element.Fenetre =
          CreerControle(parent, L"BUTTON", ligne.Texte, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, ligne.Id);
      break;
    case TypeGenreControle::Case:
      element.Fenetre =
          CreerControle(parent, L"BUTTON", ligne.Texte, WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, ligne.Id);
      break;
    case TypeGenreControle::Progression: {
      static const bool enregistree = [] {
        const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&classes) != FALSE;
      }();
      (void)enregistree;
      element.Fenetre = CreerControle(parent, PROGRESS_CLASSW, L"", 0, ligne.Id);
      break;
    }
  }
  if (element.Composant) element.Fenetre = element.Composant->Handle();
}

const TDisposition::TElement& TDisposition::Element(int id) const {
  const auto trouve = FIndex.find(id);
  if (trouve == FIndex.end()) throw std::logic_error("control not in the layout");
  return FElements[trouve->second];
}

TDisposition::TElement& TDisposition::Element(int id) {
  return const_cast<TElement&>(std::as_const(*this).Element(id));
}

const TDisposition::TElement* TDisposition::ElementDe(HWND controle) const {
  const auto trouve = std::find_if(FElements.begin(), FElements.end(),
                                   [controle](const TElement& e) { return e.Fenetre == controle; });
  return trouve == FElements.end() ? nullptr : &*trouve;
}

HWND TDisposition::Controle(int id) const { return Element(id).Fenetre; }

void TDisposition::CreerPolices(UINT ppp) {
  LOGFONTW description = TApplicationGraphique::Instance().DescriptionPoliceParDefaut(ppp);
  FPolices[static_cast<int>(TypePolice::Normale)] = TPoliceGdi(CreateFontIndirectW(&description));
  description.lfWeight = FW_BOLD;
  FPolices[static_cast<int>(TypePolice::Grasse)] = TPoliceGdi(CreateFontIndirectW(&description));
  description.lfUnderline = TRUE;
  FPolices[static_cast<int>(TypePolice::Lien)] = TPoliceGdi(CreateFontIndirectW(&description));
}

HFONT TDisposition::PoliceDe(HWND controle) const {
  const TElement* element = ElementDe(controle);
  return element ? FPolices[static_cast<int>(element->Ligne.Police)].Get() : nullptr;
}

COLORREF TDisposition::CouleurDe(HWND controle) const {
  const TElement* element = ElementDe(controle);
  return element ? element->Couleur : CouleurTexteSysteme;
}

void TDisposition::SetCouleur(int id, COLORREF couleur) {
  Element(id).Couleur = couleur;
  InvalidateRect(Controle(id), nullptr, TRUE);
}

void TDisposition::InsererSous(int element, int reference) {
  auto& pile = FPiles[Element(element).Ligne.Parent];
  pile.erase(std::find(pile.begin(), pile.end(), element));
  const auto apres = std::find(pile.begin(), pile.end(), reference);
  if (apres == pile.end()) throw std::logic_error("reference not in the stack");
  pile.insert(apres + 1, element);
  ShowWindow(Controle(element), SW_SHOWNA);
}

void TDisposition::SetHauteurExacte(int id, bool exacte) { Element(id).HauteurExacte = exacte; }

std::vector<int> TDisposition::Pile(int parent) const {
  const auto trouvee = FPiles.find(parent);
  return trouvee == FPiles.end() ? std::vector<int>{} : trouvee->second;
}

int TDisposition::Largeur(const TElement& element, const TEchelle& e, int x, int largeurParent) const {
  const auto& ligne = element.Ligne;
  if (ligne.Regles & rdLargeurTexte) {
    const int boite = ligne.Genre == TypeGenreControle::Case ? GetSystemMetricsForDpi(SM_CXMENUCHECK, e.Ppp) : 0;
    return TailleTexte(element.Fenetre).cx + boite + e(ligne.Place.Largeur);
  }
  if (ligne.Regles & rdLargeurContenu) {
    int contenu = e(ligne.Place.Largeur);
    for (const auto& enfant : FElements)
      if (enfant.Ligne.Parent == ligne.Id && EstMontre(enfant.Fenetre))
        contenu = std::max(contenu, e(enfant.Ligne.Place.X) + Largeur(enfant, e, 0, 0));
    return contenu;
  }
  if (ligne.Place.Largeur <= 0) return std::max(0, largeurParent - x - e(-ligne.Place.Largeur));
  return e(ligne.Place.Largeur);
}

int TDisposition::Hauteur(const TElement& element, const TEchelle& e, int y, int largeur, int hauteurParent) const {
  const auto& ligne = element.Ligne;
  if (ligne.Place.Hauteur <= 0) return std::max(0, hauteurParent - y - e(-ligne.Place.Hauteur));
  if (!(ligne.Regles & rdHauteurTexte)) return e(ligne.Place.Hauteur);
  const int texte = HauteurTexteRenvoye(element.Fenetre, largeur);
  return element.HauteurExacte ? texte : std::max(e(ligne.Place.Hauteur), texte);
}

int TDisposition::DisposerEnfants(int parent, const TEchelle& e, int largeurParent, int hauteurParent) {
  int besoin = 0;
  // A panel that reaches its parent's bottom makes its parent need what it needs itself.
  const auto placer = [&](const TElement& element, int x, int y, int largeur, int hauteur) {
    SetWindowPos(element.Fenetre, nullptr, x, y, largeur, hauteur, SWP_NOZORDER | SWP_NOACTIVATE);
    if (element.Ligne.Genre != TypeGenreControle::Panneau) return;
    const int besoinPanneau = DisposerEnfants(element.Ligne.Id, e, largeur, hauteur);
    if (element.Ligne.Place.Hauteur <= 0) besoin = std::max(besoin, y + besoinPanneau + e(-element.Ligne.Place.Hauteur));
  };
  // The stack first: a control anchored at the bottom needs to know where it ends.
  int basPile = 0;
  for (int id : Pile(parent)) {
    const TElement& element = Element(id);
    if (!EstMontre(element.Fenetre)) continue;
    const int x = e(element.Ligne.Place.X), y = basPile + e(element.Ligne.Place.Y);
    const int largeur = Largeur(element, e, x, largeurParent);
    const int hauteur = Hauteur(element, e, y, largeur, hauteurParent);
    placer(element, x, y, largeur, hauteur);
    basPile = y + hauteur;
  }
  besoin = std::max(besoin, basPile);
  int finPrecedent = 0;
  for (const TElement& element : FElements) {
    const auto& ligne = element.Ligne;
    if (ligne.Parent != parent || (ligne.Regles & rdPile) || !EstMontre(element.Fenetre)) continue;
    int x = ligne.Regles & rdSuite ? finPrecedent + e(ligne.Place.X) : e(ligne.Place.X);
    int y = e(ligne.Place.Y);
    const bool ancre = ligne.Regles & rdAncreBasDroite;
    const int largeur = Largeur(element, e, ancre ? 0 : x, largeurParent);
    const int hauteur = Hauteur(element, e, ancre ? 0 : y, largeur, hauteurParent);
    if (ancre) {
      x = largeurParent - e(ligne.Place.X) - largeur;
      y = hauteurParent - e(ligne.Place.Y) - hauteur;
      // Below the stack, with the same room above it as below it.
      besoin = std::max(besoin, basPile + 2 * e(ligne.Place.Y) + hauteur);
    }
    placer(element, x, y, largeur, hauteur);
    finPrecedent = x + largeur;
  }
  return besoin;
}

int TDisposition::Disposer(const TEchelle& echelle, SIZE client) {
  return DisposerEnfants(0, echelle, client.cx, client.cy);
}

}  // namespace norvel
