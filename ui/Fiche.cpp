#include "ui/Fiche.h"

#include <algorithm>

#include "platform/ApplicationGraphique.h"
#include "ui/Composants.h"

namespace norvel {

namespace {
const TypeClasseFenetre ClasseFiche{L"NorvelFiche", nullptr, IDC_ARROW, COLOR_BTNFACE, 1};
constexpr DWORD StyleEtenduFiche = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}  // namespace

TFiche::~TFiche() {
  // The controls go before the font they use.
  DetruireFenetre();
}

void TFiche::CreerFenetre(const std::wstring& titre, DWORD style, int largeurClient, int hauteurClient,
                          HWND proprietaire) {
  CreerFenetreObjet(ClasseFiche, StyleEtenduFiche, titre, style, RECT{}, proprietaire);
  DeclarerClasse(static_cast<ATOM>(GetClassLongPtrW(Handle(), GCW_ATOM)));
  FEchelle.Ppp = GetDpiForWindow(Handle());
  CreerPolice();
  DimensionnerClient(FEchelle(largeurClient), FEchelle(hauteurClient));
}

void TFiche::CreerPolice() {
  LOGFONTW description = TApplicationGraphique::Instance().DescriptionPoliceParDefaut(FEchelle.Ppp);
  FPolice = TPoliceGdi(CreateFontIndirectW(&description));
}

void TFiche::DimensionnerClient(int largeur, int hauteur, const POINT* position) {
  RECT cadre{0, 0, largeur, hauteur};
  AdjustWindowRectExForDpi(&cadre, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), FEchelle.Ppp);
  const int l = cadre.right - cadre.left, h = cadre.bottom - cadre.top;
  POINT place;
  if (position) {
    place = *position;
  } else {
    const HWND proprietaire = GetWindow(Handle(), GW_OWNER);
    RECT zone{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (proprietaire) GetWindowRect(proprietaire, &zone);
    place = {zone.left + (zone.right - zone.left - l) / 2, zone.top + (zone.bottom - zone.top - h) / 2};
  }
  // Whole on its screen's work area as far as it fits there (a window that grew keeps its top
  // until its bottom would leave the screen).
  MONITORINFO ecran{sizeof(ecran)};
  if (GetMonitorInfoW(MonitorFromPoint(place, MONITOR_DEFAULTTONEAREST), &ecran)) {
    place.x = std::max(ecran.rcWork.left, std::min<LONG>(place.x, ecran.rcWork.right - l));
    place.y = std::max(ecran.rcWork.top, std::min<LONG>(place.y, ecran.rcWork.bottom - h));
  }
  SetWindowPos(Handle(), nullptr, place.x, place.y, l, h, SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws may differ from the computed one (a process that is not
  // aware of the display's scale, a menu bar on two lines): the client area decides.
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right != largeur || client.bottom != hauteur)
    SetWindowPos(Handle(), nullptr, 0, 0, l + largeur - client.right, h + hauteur - client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void TFiche::AppliquerPolices() {
  EnumChildWindows(
      Handle(),
      [](HWND controle, LPARAM l) -> BOOL {
        const auto* fiche = reinterpret_cast<const TFiche*>(l);
        SendMessageW(controle, WM_SETFONT, reinterpret_cast<WPARAM>(fiche->PoliceDe(controle)), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void TFiche::SetTitre(const std::wstring& titre) { SetWindowTextW(Handle(), titre.c_str()); }

std::wstring TFiche::Titre() const { return TexteControle(Handle()); }

void TFiche::Afficher() {
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

LRESULT TFiche::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CLOSE:
      Fermer();
      return 0;
    case WM_DPICHANGED: {
      // The client area keeps its size in 96-dpi pixels, at the corner the system proposes.
      RECT client;
      GetClientRect(Handle(), &client);
      const int ancienne = static_cast<int>(FEchelle.Ppp), nouvelle = LOWORD(w);
      FEchelle.Ppp = static_cast<UINT>(nouvelle);
      CreerPolice();
      AppliquerPolices();
      const auto& proposee = *reinterpret_cast<const RECT*>(l);
      const POINT coin{proposee.left, proposee.top};
      DimensionnerClient(MulDiv(client.right, nouvelle, ancienne), MulDiv(client.bottom, nouvelle, ancienne), &coin);
      EchelleChangee();
      return 0;
    }
  }
  return TFenetreObjet::TraiterMessage(message, w, l);
}

void TFiche::Fermer() {
  ShowWindow(Handle(), SW_HIDE);
  auto& application = TApplicationGraphique::Instance();
  if (application.EstFichePrincipale(this)) application.Terminer();
}

}  // namespace norvel
