#include "dialogs/DlgVerificationMDPFmx.h"

#include <commctrl.h>

#include <memory>

#include "platform/ApplicationGraphique.h"
#include "ui/MessageSimple.h"
#include "core/Chaines.h"
#include "core/Messages.h"
#include "core/TexteEnClair.h"
#include "ui/Composants.h"
#include "ui/IdentifiantsControles.h"

namespace norvel {

namespace {
namespace Id = IdControle::VerificationMDP;

// Single border, system menu only; 219 pixels wide frame included, at design size.
constexpr DWORD StyleFiche = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int LargeurFiche = 219;
constexpr int Marge = 8, EcartLegende = 2, HauteurSaisie = 22;
constexpr int LargeurBouton = 80, HauteurBouton = 22;
// The button panel sits a little further from the password box than the other gaps.
constexpr int EcartBoutons = Marge + 4;

void LireTexte(HWND controle, std::wstring& texte) {
  texte.resize(static_cast<size_t>(GetWindowTextLengthW(controle)) + 1);
  texte.resize(static_cast<size_t>(GetWindowTextW(controle, texte.data(), static_cast<int>(texte.size()))));
}

// A box that held a password: its text is first covered, so that the memory it had is written
// over before the control frees it, then emptied.
void EffacerSaisie(HWND saisie) {
  const int longueur = GetWindowTextLengthW(saisie);
  if (longueur <= 0) return;
  SetWindowTextW(saisie, std::wstring(static_cast<size_t>(longueur), L'*').c_str());
  SetWindowTextW(saisie, L"");
}
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

TDlgVerificationMDPFmx::TDlgVerificationMDPFmx(const TFenetreProgramme* proprietaire) {
  CreerFenetre(L"", StyleFiche, LargeurFiche, 200, proprietaire ? proprietaire->Handle() : nullptr);
  // Placed by Disposer; created in the order of the stack, which is also the order of Tab.
  FLabelExplication = CreerControle(Handle(), L"STATIC", L"", SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX, Id::LabelExplication);
  FLUserName = CreerControle(Handle(), L"STATIC", L"", SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX, Id::LUserName);
  FEditUserName = CreerControle(Handle(), L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, Id::EditUserName);
  FLPwd = CreerControle(Handle(), L"STATIC", L"", SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX, Id::LPwd);
  FEditMotDePasse =
      CreerControle(Handle(), L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, Id::EditMotDePasse);
  FPanelBoutons = std::make_unique<TPanneau>(Handle(), Id::PanelBoutons, COLOR_BTNFACE);
  FBtnAnnuler = CreerControle(FPanelBoutons->Handle(), L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON, Id::BtnAnnuler);
  FBtnValider = CreerControle(FPanelBoutons->Handle(), L"BUTTON", L"", WS_TABSTOP | BS_DEFPUSHBUTTON, Id::BtnValider);
  AppliquerPolices();
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

std::wstring TDlgVerificationMDPFmx::Login() const { return TexteControle(FEditUserName); }


void TDlgVerificationMDPFmx::Disposer() {
  const TEchelle& e = Echelle();
  RECT cadre{0, 0, 0, 0};
  AdjustWindowRectExForDpi(&cadre, StyleFiche, FALSE, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)),
                           e.Ppp);
  const int largeurClient = e(LargeurFiche) - (cadre.right - cadre.left);
  const int largeur = largeurClient - 2 * e(Marge);
  // A label is as high as its text, wrapped to the form's width.
  struct TypeElement {
    HWND Controle;
    int MargeHaut;
    int Hauteur;
  };
  const TypeElement pile[] = {
      {FLabelExplication, e(Marge), HauteurTexteRenvoye(FLabelExplication, largeur)},
      {FLUserName, e(Marge), HauteurTexteRenvoye(FLUserName, largeur)},
      {FEditUserName, e(EcartLegende), e(HauteurSaisie)},
      {FLPwd, e(Marge), HauteurTexteRenvoye(FLPwd, largeur)},
      {FEditMotDePasse, e(EcartLegende), e(HauteurSaisie)},
      {FPanelBoutons->Handle(), e(EcartBoutons), e(HauteurBouton + Marge)},
  };
  int y = 0;
  for (const auto& element : pile) {
    if (!EstMontre(element.Controle)) continue;  // a hidden control takes no room
    y += element.MargeHaut;
    MoveWindow(element.Controle, e(Marge), y, largeur, element.Hauteur, FALSE);
    y += element.Hauteur;
  }
  // Right-aligned in the panel, "Annuler" left of "Valider".
  MoveWindow(FBtnAnnuler, largeur - 2 * e(LargeurBouton) - e(Marge), 0, e(LargeurBouton), e(HauteurBouton), FALSE);
  MoveWindow(FBtnValider, largeur - e(LargeurBouton), 0, e(LargeurBouton), e(HauteurBouton), FALSE);
  // The client height ends one pixel below the button panel; the form stays centred on its owner.
  DimensionnerClient(largeurClient, y + 1);
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
  if (EstMontre(FEditUserName) && Trim(Login()).empty()) {
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
