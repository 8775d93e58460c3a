#include "ui/FicheModale.h"

#include "platform/ApplicationGraphique.h"
#include "core/ErreurSysteme.h"

namespace norvel {

int TFicheModale::ExecuterModal() {
  auto& application = TApplicationGraphique::Instance();
  const HWND proprietaire = GetWindow(Handle(), GW_OWNER);
  const bool proprietaireActif = proprietaire && IsWindowEnabled(proprietaire);
  FResultatModal = mrAucun;
  AvantAffichage();
  HWND focus = GetFocus();
  if (proprietaireActif) EnableWindow(proprietaire, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetActiveWindow(Handle());
  // Showing the window may have moved the focus that AvantAffichage gave.
  if (focus && IsChild(Handle(), focus)) SetFocus(focus);
  UpdateWindow(Handle());
  // Asked before the loop sleeps too: a message sent by another thread (a driver's click) is
  // handled while the loop looks for posted ones, and may have closed the form meanwhile.
  const auto fermee = ConditionFinDAttente([this] { return FResultatModal != mrAucun; });
  try {
    while (FResultatModal == mrAucun) {
      if (application.Terminee())
        FResultatModal = mrAnnuler;
      else
        application.Iterer(fermee.Get());
    }
  } catch (...) {
    if (proprietaireActif) EnableWindow(proprietaire, TRUE);
    throw;
  }
  // The owner is enabled before this form goes, so that it gets the activation back.
  if (proprietaireActif) {
    EnableWindow(proprietaire, TRUE);
    SetActiveWindow(proprietaire);
  }
  return FResultatModal;
}

LRESULT TFicheModale::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      // Escape arrives as IDCANCEL; Enter as the default button (see DM_GETDEFID).
      if (LOWORD(w) == IDCANCEL && HIWORD(w) == BN_CLICKED) {
        SetResultatModal(mrAnnuler);
        return 0;
      }
      Commande(LOWORD(w), HIWORD(w));
      return 0;
    case DM_GETDEFID:
      if (const int defaut = BoutonParDefaut()) return MAKELONG(defaut, DC_HASDEFID);
      return 0;
    case WM_SIZE:
      Redimensionnee(LOWORD(l), HIWORD(l));
      return 0;
  }
  return TFiche::TraiterMessage(message, w, l);
}

namespace {
// Its own name: the wizard's panels are another class, with another procedure.
constexpr const wchar_t* ClassePanneau = L"NorvelPanneauDialogue";

// A panel hands what its children tell (clicks, drawing, colours) to the form it sits on.
LRESULT CALLBACK ProcedurePanneau(HWND panneau, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetParent(panneau), message, w, l);
  }
  return DefWindowProcW(panneau, message, w, l);
}

const wchar_t* EnregistrerPanneau() {
  static const ATOM classe = [] {
    WNDCLASSEXW c{sizeof(c)};
    c.lpfnWndProc = &ProcedurePanneau;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = ClassePanneau;
    return RegisterClassExW(&c);
  }();
  if (!classe) throw ErreurSysteme(L"RegisterClassEx");
  return ClassePanneau;
}
}  // namespace

HWND TFicheModale::CreerControle(const wchar_t* classe, const std::wstring& texte, DWORD style, int identifiant,
                                 int x, int y, int largeur, int hauteur, HWND parent) {
  DWORD styleEtendu = 0;
  if (classe == nullptr) {
    classe = EnregistrerPanneau();
    styleEtendu = WS_EX_CONTROLPARENT;  // Tab goes through the panel's controls
  }
  const HWND controle = VerifierPointeur(
      CreateWindowExW(styleEtendu, classe, texte.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, largeur, hauteur,
                      parent ? parent : Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(identifiant)),
                      GetModuleHandleW(nullptr), nullptr),
      L"CreateWindowEx");
  SendMessageW(controle, WM_SETFONT, reinterpret_cast<WPARAM>(Police()), FALSE);
  return controle;
}

}  // namespace norvel
