// The changes of what the assistant's window shows, each followed by the layout, and the button
// that Enter presses.
#include "wizard/FicheInstalleurNorvelPrimaire.h"
#include "wizard/DispositionAssistant.h"

namespace norvel {

namespace {

bool EstBoutonPoussoir(HWND controle) {
  wchar_t classe[16] = L"";
  GetClassNameW(controle, classe, 16);
  const auto type = GetWindowLongPtrW(controle, GWL_STYLE) & BS_TYPEMASK;
  return lstrcmpiW(classe, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

// A keystroke in the identifier's box changes nothing shown most of the time: the layout runs
// only when something did change (and once at the end of AfficherEtat).
void TFicheInstalleurNorvelPrimaire::Montrer(TCible controle) {
  if (EstMontre(controle.Fenetre)) return;
  ShowWindow(controle.Fenetre, SW_SHOWNA);
  if (!FAffichageEnCours) Disposer();
}

void TFicheInstalleurNorvelPrimaire::Cacher(TCible controle) {
  if (!EstMontre(controle.Fenetre)) return;
  ShowWindow(controle.Fenetre, SW_HIDE);
  if (!FAffichageEnCours) Disposer();
}

void TFicheInstalleurNorvelPrimaire::SetTexte(HWND controle, const std::wstring& texte) {
  if (TexteControle(controle) == texte) return;
  SetWindowTextW(controle, texte.c_str());
  if (!FAffichageEnCours) Disposer();
}

void TFicheInstalleurNorvelPrimaire::SetCouleurTexte(HWND controle, COLORREF couleur) {
  FDisposition->SetCouleur(GetDlgCtrlID(controle), couleur);
}

// The button that Enter presses: the focused push button, otherwise the default one.
HWND TFicheInstalleurNorvelPrimaire::BoutonEffectif() const {
  const HWND focus = GetFocus();
  if (focus && IsChild(Handle(), focus) && EstBoutonPoussoir(focus)) return focus;
  return FBoutonParDefaut;
}

void TFicheInstalleurNorvelPrimaire::MettreAJourBoutonsParDefaut() {
  const HWND effectif = BoutonEffectif();
  for (HWND bouton : {BtnValidationRNE, BtnValidationEcole, btnFermer})
    SendMessageW(bouton, BM_SETSTYLE, bouton == effectif ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TFicheInstalleurNorvelPrimaire::DefinirBoutonParDefaut(HWND bouton) {
  if (FBoutonParDefaut == bouton) return;
  FBoutonParDefaut = bouton;
  MettreAJourBoutonsParDefaut();
}

}  // namespace norvel
