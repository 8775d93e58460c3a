#include "ui/Composants.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/ErreurSysteme.h"

namespace norvel {

namespace {

constexpr UINT_PTR MinuterieAnimation = 1;
constexpr int NombrePoints = 8;
// The colour of the turning dots: the link's blue, the one accent colour of the page.
constexpr BYTE BleuPoints[3] = {0xD2, 0x52, 0x14};  // blue, green, red

// Double buffering of one paint: everything is drawn into a bitmap, then copied at once.
class TDessinTampon {
 public:
  explicit TDessinTampon(HWND fenetre) : FFenetre(fenetre) {
    FDc = BeginPaint(fenetre, &FPeinture);
    GetClientRect(fenetre, &FZone);
    FMemoire = CreateCompatibleDC(FDc);
    FBitmap = CreateCompatibleBitmap(FDc, std::max<LONG>(1, FZone.right), std::max<LONG>(1, FZone.bottom));
    FAncien = SelectObject(FMemoire, FBitmap);
    FillRect(FMemoire, &FZone, GetSysColorBrush(COLOR_WINDOW));
  }
  ~TDessinTampon() {
    BitBlt(FDc, 0, 0, FZone.right, FZone.bottom, FMemoire, 0, 0, SRCCOPY);
    SelectObject(FMemoire, FAncien);
    DeleteObject(FBitmap);
    DeleteDC(FMemoire);
    EndPaint(FFenetre, &FPeinture);
  }
  TDessinTampon(const TDessinTampon&) = delete;
  TDessinTampon& operator=(const TDessinTampon&) = delete;
  HDC Dc() const { return FMemoire; }
  const RECT& Zone() const { return FZone; }

 private:
  HWND FFenetre;
  PAINTSTRUCT FPeinture{};
  HDC FDc;
  RECT FZone{};
  HDC FMemoire;
  HBITMAP FBitmap;
  HGDIOBJ FAncien;
};

// Draws a premultiplied image over what the DC holds, stretched to the rectangle; or, with
// `prolonger`, stretched to its width only, its own proportions kept, its last line drawn on
// down to the rectangle's bottom (a side strip taller than its picture).
void DessinerImage(HDC dc, const TImageBitmap& image, const RECT& cible, bool prolonger = false) {
  HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ ancien = SelectObject(source, image.Bitmap.Get());
  const BLENDFUNCTION melange{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const int largeur = cible.right - cible.left, hauteur = cible.bottom - cible.top;
  const int hauteurImage =
      prolonger && image.Largeur > 0 ? std::min(hauteur, MulDiv(image.Hauteur, largeur, image.Largeur)) : hauteur;
  AlphaBlend(dc, cible.left, cible.top, largeur, hauteurImage, source, 0, 0, image.Largeur, image.Hauteur, melange);
  if (hauteurImage < hauteur && image.Hauteur > 0)
    AlphaBlend(dc, cible.left, cible.top + hauteurImage, largeur, hauteur - hauteurImage, source, 0, image.Hauteur - 1,
               image.Largeur, 1, melange);
  SelectObject(source, ancien);
  DeleteDC(source);
}

HFONT PoliceDe(HWND controle) { return reinterpret_cast<HFONT>(SendMessageW(controle, WM_GETFONT, 0, 0)); }

}  // namespace

// ---- TControlePersonnalise

void TControlePersonnalise::Creer(const wchar_t* classe, HWND parent, int id, DWORD style, DWORD styleEtendu,
                                  const std::wstring& texte, const wchar_t* curseur) {
  CreerFenetreObjet({classe, nullptr, curseur, COLOR_WINDOW}, styleEtendu, texte, WS_CHILD | WS_VISIBLE | style, RECT{},
                    parent, id);
}

// ---- TPanneau

TPanneau::TPanneau(HWND parent, int id, int couleurFond) : FCouleurFond(couleurFond) {
  Creer(L"NorvelPanneau", parent, id, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
}

LRESULT TPanneau::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetAncestor(Handle(), GA_ROOT), message, w, l);
    case WM_ERASEBKGND: {
      RECT zone;
      GetClientRect(Handle(), &zone);
      FillRect(reinterpret_cast<HDC>(w), &zone, GetSysColorBrush(FCouleurFond));
      return 1;
    }
  }
  return TControlePersonnalise::TraiterMessage(message, w, l);
}

// ---- TControleImage

TControleImage::TControleImage(HWND parent, int id) {
  Creer(L"NorvelImage", parent, id, 0);
}

void TControleImage::SetImage(const TImageBitmap* image) {
  FImage = image;
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TControleImage::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      TDessinTampon dessin(Handle());
      if (FImage && FImage->Bitmap) DessinerImage(dessin.Dc(), *FImage, dessin.Zone(), true);
      return 0;
    }
  }
  return TControlePersonnalise::TraiterMessage(message, w, l);
}

// ---- TIndicateurPatience

TIndicateurPatience::TIndicateurPatience(HWND parent, int id) {
  Creer(L"NorvelPatience", parent, id, 0);
}

LRESULT TIndicateurPatience::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      // Being painted means being on screen: the animation runs from then on.
      if (!FMinuterieActive && SetTimer(Handle(), MinuterieAnimation, 1000 / ImagesParSeconde, nullptr))
        FMinuterieActive = true;
      TDessinTampon dessin(Handle());
      Dessiner(dessin.Dc());
      return 0;
    }
    case WM_TIMER:
      if (w != MinuterieAnimation) break;
      if (!IsWindowVisible(Handle())) {
        KillTimer(Handle(), MinuterieAnimation);
        FMinuterieActive = false;
        return 0;
      }
      FEtape = (FEtape + 1) % NombrePoints;
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_SHOWWINDOW:
      if (!w && FMinuterieActive) {
        KillTimer(Handle(), MinuterieAnimation);
        FMinuterieActive = false;
      }
      break;
  }
  return TControlePersonnalise::TraiterMessage(message, w, l);
}

void TIndicateurPatience::Dessiner(HDC dc) {
  RECT zone;
  GetClientRect(Handle(), &zone);
  const int largeur = zone.right, hauteur = zone.bottom;
  if (largeur <= 0 || hauteur <= 0) return;
  // Drawn here with soft edges, pixel by pixel: the dots are a few pixels wide.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), largeur, -hauteur, 1, 32, BI_RGB};
  void* bits = nullptr;
  TBitmapGdi image(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image) return;
  auto* pixels = static_cast<BYTE*>(bits);
  const double diametre = std::min(largeur, hauteur) - 1.0;
  const double rayonPoint = diametre * 0.12, rayonCercle = diametre / 2 - rayonPoint;
  const double cx = largeur / 2.0, cy = hauteur / 2.0;
  for (int y = 0; y < hauteur; ++y)
    for (int x = 0; x < largeur; ++x) {
      double alpha = 0;
      for (int i = 0; i < NombrePoints; ++i) {
        const double angle = 2 * std::numbers::pi * i / NombrePoints - std::numbers::pi / 2;
        const double distance = std::hypot(x + 0.5 - (cx + rayonCercle * std::cos(angle)),
                                           y + 0.5 - (cy + rayonCercle * std::sin(angle)));
        const double couverture = std::clamp(rayonPoint + 0.5 - distance, 0.0, 1.0);
        // The leading dot is solid, the ones behind it fade.
        const int age = (FEtape - i + NombrePoints) % NombrePoints;
        alpha = std::max(alpha, couverture * (1.0 - 0.8 * age / NombrePoints));
      }
      BYTE* p = pixels + (static_cast<size_t>(y) * largeur + x) * 4;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<BYTE>(BleuPoints[c] * alpha + 0.5);
      p[3] = static_cast<BYTE>(255 * alpha + 0.5);
    }
  DessinerImage(dc, TImageBitmap{std::move(image), largeur, hauteur}, zone);
}

// ---- TLien

TLien::TLien(HWND parent, int id, const std::wstring& texte) {
  Creer(L"NorvelLien", parent, id, WS_TABSTOP, 0, texte, IDC_HAND);
}

void TLien::Cliquer() {
  if (!IsWindowEnabled(Handle())) return;
  SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), BN_CLICKED),
               reinterpret_cast<LPARAM>(Handle()));
}

LRESULT TLien::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SETFONT:
      FPolice = reinterpret_cast<HFONT>(w);
      if (l) InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FPolice);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      TDessinTampon dessin(Handle());
      const HGDIOBJ ancienne = SelectObject(dessin.Dc(), PoliceDe(Handle()));
      SetBkMode(dessin.Dc(), TRANSPARENT);
      SetTextColor(dessin.Dc(), IsWindowEnabled(Handle()) ? FCouleur : GetSysColor(COLOR_GRAYTEXT));
      const std::wstring texte = TexteControle(Handle());
      RECT zone = dessin.Zone();
      DrawTextW(dessin.Dc(), texte.c_str(), static_cast<int>(texte.size()), &zone,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      if (GetFocus() == Handle()) {
        SetTextColor(dessin.Dc(), GetSysColor(COLOR_WINDOWTEXT));
        DrawFocusRect(dessin.Dc(), &dessin.Zone());
      }
      SelectObject(dessin.Dc(), ancienne);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      // Focused, the link is the button that Enter presses.
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case WM_KEYDOWN:
      if (w == VK_SPACE) FEnfonce = true;
      return 0;
    case WM_KEYUP:
      if (w == VK_SPACE && std::exchange(FEnfonce, false)) Cliquer();
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(Handle());
      SetCapture(Handle());
      FEnfonce = true;
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() == Handle()) ReleaseCapture();
      const POINT point{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
      RECT zone;
      GetClientRect(Handle(), &zone);
      if (std::exchange(FEnfonce, false) && PtInRect(&zone, point)) Cliquer();
      return 0;
    }
    case BM_CLICK:
      Cliquer();
      return 0;
  }
  return TControlePersonnalise::TraiterMessage(message, w, l);
}

// ---- Standard controls

HWND CreerControle(HWND parent, const wchar_t* classe, const std::wstring& texte, DWORD style, int id) {
  const DWORD styleEtendu = lstrcmpiW(classe, L"EDIT") == 0 ? WS_EX_CLIENTEDGE : 0;
  return VerifierPointeur(CreateWindowExW(styleEtendu, classe, texte.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                                          0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                          GetModuleHandleW(nullptr), nullptr),
                          L"CreateWindowEx");
}

std::wstring TexteControle(HWND controle) {
  std::wstring texte(static_cast<size_t>(GetWindowTextLengthW(controle)) + 1, L'\0');
  texte.resize(static_cast<size_t>(GetWindowTextW(controle, texte.data(), static_cast<int>(texte.size()))));
  return texte;
}

SIZE TailleTexte(HFONT police, const std::wstring& texte, int largeur) {
  HDC dc = GetDC(nullptr);
  const HGDIOBJ ancienne = SelectObject(dc, police);
  SIZE taille{};
  if (largeur > 0) {
    RECT zone{0, 0, largeur, 0};
    DrawTextW(dc, texte.empty() ? L" " : texte.c_str(), texte.empty() ? 1 : static_cast<int>(texte.size()), &zone,
              DT_CALCRECT | FormatTexteRenvoye);
    taille = {zone.right, zone.bottom};
  } else {
    GetTextExtentPoint32W(dc, texte.c_str(), static_cast<int>(texte.size()), &taille);
    if (texte.empty()) {
      TEXTMETRICW metriques{};
      GetTextMetricsW(dc, &metriques);
      taille.cy = metriques.tmHeight;
    }
  }
  SelectObject(dc, ancienne);
  ReleaseDC(nullptr, dc);
  return taille;
}

SIZE TailleTexte(HWND controle) { return TailleTexte(PoliceDe(controle), TexteControle(controle)); }

int HauteurTexteRenvoye(HWND controle, int largeur) {
  return TailleTexte(PoliceDe(controle), TexteControle(controle), std::max(1, largeur)).cy;
}

int HauteurLigne(HFONT police) {
  HDC dc = GetDC(nullptr);
  const HGDIOBJ ancienne = SelectObject(dc, police);
  TEXTMETRICW metriques{};
  GetTextMetricsW(dc, &metriques);
  SelectObject(dc, ancienne);
  ReleaseDC(nullptr, dc);
  return metriques.tmHeight + metriques.tmExternalLeading;
}

}  // namespace norvel
