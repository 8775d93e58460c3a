#include "dialogs/DlgVerificationMDPFmx.h"

#include <commctrl.h>

#include <memory>

#include "app/ApplicationGraphique.h"
#include "app/MessageSimple.h"
#include "core/Chaines.h"
#include "core/Messages.h"
#include "core/TexteEnClair.h"
#include "wizard/IdentifiantsControles.h"

namespace norvel {

namespace {
namespace Id = IdControle::VerificationMDP;

// Single border, system menu only; 219 pixels wide frame included.
constexpr DWORD StyleFiche = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int LargeurFiche = 219;
constexpr int Marge = 8, EcartLegende = 2, HauteurSaisie = 22;
constexpr int LargeurBouton = 80, HauteurBouton = 22;

int LargeurClient() {
  RECT cadre{0, 0, 0, 0};
  AdjustWindowRectEx(&cadre, StyleFiche, FALSE, WS_EX_DLGMODALFRAME);
  return LargeurFiche - (cadre.right - cadre.left);
}

void LireTexte(HWND controle, std::wstring& texte) {
  texte.resize(static_cast<size_t>(GetWindowTextLengthW(controle)) + 1);
  texte.resize(static_cast<size_t>(GetWindowTextW(controle, texte.data(), static_cast<int>(texte.size()))));
}

std::wstring TexteDe(HWND controle) {
  std::wstring texte;
  LireTexte(controle, texte);
  return texte;
}

// A box that held a password: its text is first covered, so that the memory it had is written
// over before the control frees it, then emptied.
void EffacerSaisie(HWND saisie) {
  const int longueur = GetWindowTextLengthW(saisie);
  if (longueur <= 0) return;
  SetWindowTextW(saisie, std::wstring(static_cast<size_t>(longueur), L'*').c_str());
  SetWindowTextW(saisie, L"");
}

bool EstVisible(HWND controle) { return (GetWindowLongPtrW(controle, GWL_STYLE) & WS_VISIBLE) != 0; }
}  // namespace

bool TDlgVerificationMDPFmx::SaisieSimple(const std::wstring& titre, const std::wstring& explication,
                                          const std::wstring& loginInitial, std::wstring& login,
                                          std::wstring& motDePasse) {
  const auto fiche = std::make_unique<TDlgVerificationMDPFmx>(TApplicationGraphique::Instance().FichePrincipale());
  fiche->SetTitre(titre.empty() ? Msg::Identification : titre);
  fiche->ConfigureAffichage(true, explication);
  if (!loginInitial.empty()) SetWindowTextW(fiche->FEditUserName, loginInitial.c_str());
  EnableWindow(fiche->FEditUserName, TRUE);
  SetWindowTextW(fiche->FEditMotDePasse, L"");
  fiche->FEditInitial = loginInitial.empty() ? fiche->FEditUserName : fiche->FEditMotDePasse;
  EnableWindow(fiche->FBtnAnnuler, TRUE);
  EnableWindow(fiche->FBtnValider, TRUE);
  EnableWindow(fiche->FEditMotDePasse, TRUE);
  const bool valide = fiche->ExecuterModal() == mrOK;
  if (valide) {
    login = fiche->Login();
    LireTexte(fiche->FEditMotDePasse, motDePasse);
  }
  // The box would keep the password until the control's memory goes back.
  EffacerSaisie(fiche->FEditMotDePasse);
  return valide;
}

TDlgVerificationMDPFmx::~TDlgVerificationMDPFmx() { EffacerSaisie(FEditMotDePasse); }

TDlgVerificationMDPFmx::TDlgVerificationMDPFmx(const TFiche* proprietaire) {
  CreerFenetre(L"", StyleFiche, LargeurClient(), 200, proprietaire ? proprietaire->Handle() : nullptr);
  const int largeur = LargeurClient() - 2 * Marge;
  // Placed by Disposer; created in the order of the stack, which is also the order of Tab.
  FLabelExplication = CreerControle(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, Id::LabelExplication, Marge, 0, largeur, 0);
  FLUserName = CreerControle(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, Id::LUserName, Marge, 0, largeur, 0);
  FEditUserName = CreerControle(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, Id::EditUserName, Marge, 0,
                                largeur, HauteurSaisie);
  FLPwd = CreerControle(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, Id::LPwd, Marge, 0, largeur, 0);
  FEditMotDePasse = CreerControle(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
                                  Id::EditMotDePasse, Marge, 0, largeur, HauteurSaisie);
  FPanelBoutons = CreerControle(nullptr, L"", 0, Id::PanelBoutons, Marge, 0, largeur, HauteurBouton);
  // Right-aligned in the panel, "Annuler" left of "Valider".
  FBtnAnnuler = CreerControle(L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON, Id::BtnAnnuler,
                              largeur - 2 * LargeurBouton - Marge, 0, LargeurBouton, HauteurBouton, FPanelBoutons);
  FBtnValider = CreerControle(L"BUTTON", L"", WS_TABSTOP | BS_DEFPUSHBUTTON, Id::BtnValider, largeur - LargeurBouton,
                              0, LargeurBouton, HauteurBouton, FPanelBoutons);
  // Enter in the boxes is theirs, not the default button's.
  SetWindowSubclass(FEditUserName, &SousClasseSaisie, 0, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(FEditMotDePasse, &SousClasseSaisie, 0, reinterpret_cast<DWORD_PTR>(this));
  FormCreate();
}

void TDlgVerificationMDPFmx::FormCreate() {
  SetTitre(Msg::Connexion);
  SetWindowTextW(FLUserName, (std::wstring(Msg::IdentifiantDeConnexion) + L" :").c_str());
  SetWindowTextW(FLPwd, (std::wstring(Msg::MotDePasse) + L" :").c_str());
  SetWindowTextW(FBtnValider, Msg::Valider);
  SetWindowTextW(FBtnAnnuler, Msg::Annuler);
}

void TDlgVerificationMDPFmx::ConfigureAffichage(bool avecLogin, const std::wstring& explication) {
  SetWindowTextW(FLabelExplication, explication.c_str());
  ShowWindow(FLabelExplication, explication.empty() ? SW_HIDE : SW_SHOW);
  ShowWindow(FLUserName, avecLogin ? SW_SHOW : SW_HIDE);
  ShowWindow(FEditUserName, avecLogin ? SW_SHOW : SW_HIDE);
  ShowWindow(FLPwd, SW_SHOW);
  Disposer();
}

std::wstring TDlgVerificationMDPFmx::Login() const { return TexteDe(FEditUserName); }


void TDlgVerificationMDPFmx::Disposer() {
  const int largeur = LargeurClient() - 2 * Marge;
  HDC dc = GetDC(Handle());
  const HGDIOBJ ancienne = SelectObject(dc, Police());
  // A label is as high as its text, wrapped to the form's width.
  auto hauteurTexte = [&](HWND label) {
    const auto texte = TexteDe(label);
    RECT zone{0, 0, largeur, 0};
    DrawTextW(dc, texte.empty() ? L" " : texte.c_str(), -1, &zone, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return static_cast<int>(zone.bottom);
  };
  struct TypeElement {
    HWND Controle;
    int MargeHaut;
    int Hauteur;
  };
  const TypeElement pile[] = {
      {FLabelExplication, Marge, hauteurTexte(FLabelExplication)},
      {FLUserName, Marge, hauteurTexte(FLUserName)},
      {FEditUserName, EcartLegende, HauteurSaisie},
      {FLPwd, Marge, hauteurTexte(FLPwd)},
      {FEditMotDePasse, EcartLegende, HauteurSaisie},
      {FPanelBoutons, Marge + 4, HauteurBouton + Marge},
  };
  SelectObject(dc, ancienne);
  ReleaseDC(Handle(), dc);
  int y = 0;
  for (const auto& element : pile) {
    if (!EstVisible(element.Controle)) continue;  // a hidden control takes no room
    y += element.MargeHaut;
    MoveWindow(element.Controle, Marge, y, largeur, element.Hauteur, FALSE);
    y += element.Hauteur;
  }
  // The client height ends one pixel below the button panel; the form stays centred on its owner.
  RECT cadre{0, 0, LargeurClient(), y + 1};
  AdjustWindowRectEx(&cadre, StyleFiche, FALSE, WS_EX_DLGMODALFRAME);
  const int l = cadre.right - cadre.left, h = cadre.bottom - cadre.top;
  const HWND proprietaire = GetWindow(Handle(), GW_OWNER);
  RECT zone{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (proprietaire) GetWindowRect(proprietaire, &zone);
  SetWindowPos(Handle(), nullptr, zone.left + (zone.right - zone.left - l) / 2,
               zone.top + (zone.bottom - zone.top - h) / 2, l, h, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TDlgVerificationMDPFmx::FormShow() {
  Disposer();
  EnableWindow(FBtnAnnuler, TRUE);
  EnableWindow(FBtnValider, TRUE);
  EnableWindow(FEditMotDePasse, TRUE);
  if (FEditInitial) SetFocus(std::exchange(FEditInitial, nullptr));
}

int TDlgVerificationMDPFmx::BoutonParDefaut() const { return Id::BtnValider; }

void TDlgVerificationMDPFmx::Commande(int identifiant, int notification) {
  if (notification != BN_CLICKED) return;
  if (identifiant == Id::BtnValider && IsWindowEnabled(FBtnValider)) BtnValiderClick();
  if (identifiant == Id::BtnAnnuler) {
    BtnAnnulerClick();
    SetResultatModal(mrAnnuler);
  }
}

void TDlgVerificationMDPFmx::EditUserNameKeyDown(WORD touche) {
  if (touche == VK_RETURN) SetFocus(FEditMotDePasse);
}

void TDlgVerificationMDPFmx::EditMotDePasseKeyDown(WORD touche) {
  // Enter only leaves the box: the form keeps the focus, nothing is validated.
  if (touche == VK_RETURN) SetFocus(Handle());
}

void TDlgVerificationMDPFmx::BtnValiderClick() {
  if (EstVisible(FEditUserName) && Trim(Login()).empty()) {
    AfficherMessageInformation(Msg::SaisieIdentifiantObligatoire);
    if (IsWindowVisible(FEditUserName) && IsWindowEnabled(FEditUserName)) SetFocus(FEditUserName);
    return;
  }
  TTexteEnClair motDePasse;
  LireTexte(FEditMotDePasse, motDePasse.Texte);
  if (TrimVue(motDePasse.Texte).empty()) {
    AfficherMessageInformation(Msg::SaisieMotDePasseObligatoire);
    SetFocus(FEditMotDePasse);
    return;
  }
  SetResultatModal(mrOK);
  EnableWindow(FBtnAnnuler, FALSE);
  EnableWindow(FBtnValider, FALSE);
  EnableWindow(FEditMotDePasse, FALSE);
}

LRESULT CALLBACK TDlgVerificationMDPFmx::SousClasseSaisie(HWND saisie, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                                         DWORD_PTR donnees) {
  auto* fiche = reinterpret_cast<TDlgVerificationMDPFmx*>(donnees);
  switch (message) {
    case WM_GETDLGCODE:
      // Keeps Enter from the dialog-box handling, which would press the default button.
      if (const auto* msg = reinterpret_cast<const MSG*>(l); msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE | DefSubclassProc(saisie, message, w, l);
      break;
    case WM_KEYDOWN:
      if (w == VK_RETURN) {
        if (saisie == fiche->FEditUserName) fiche->EditUserNameKeyDown(VK_RETURN);
        else fiche->EditMotDePasseKeyDown(VK_RETURN);
        return 0;
      }
      break;
    case WM_CHAR:
      if (w == L'\r') return 0;  // a single-line box would only beep
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(saisie, &SousClasseSaisie, id);
      break;
  }
  return DefSubclassProc(saisie, message, w, l);
}

}  // namespace norvel
