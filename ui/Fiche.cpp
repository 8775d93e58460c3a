#include "ui/Fiche.h"

#include "platform/ApplicationGraphique.h"
#include "core/ErreurSysteme.h"

namespace norvel {

namespace {
constexpr const wchar_t* ClasseFiche = L"NorvelFiche";
}  // namespace

void TFiche::EnregistrerClasse() {
  static const ATOM classe = [] {
    WNDCLASSEXW c{sizeof(c)};
    c.lpfnWndProc = &Procedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = ClasseFiche;
    return RegisterClassExW(&c);
  }();
  if (!classe) throw ErreurSysteme(L"RegisterClassEx");
  DeclarerClasse(classe);
}

TFiche::~TFiche() {
  if (FHandle) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
  if (FPolice) DeleteObject(FPolice);
}

void TFiche::CreerFenetre(const std::wstring& titre, DWORD style, int largeurClient, int hauteurClient,
                          HWND proprietaire) {
  EnregistrerClasse();
  RECT cadre{0, 0, largeurClient, hauteurClient};
  AdjustWindowRectEx(&cadre, style, FALSE, WS_EX_DLGMODALFRAME);
  const int largeur = cadre.right - cadre.left, hauteur = cadre.bottom - cadre.top;
  RECT zone{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (proprietaire) GetWindowRect(proprietaire, &zone);
  const int x = zone.left + (zone.right - zone.left - largeur) / 2, y = zone.top + (zone.bottom - zone.top - hauteur) / 2;
  FPolice = TApplicationGraphique::Instance().CreerPoliceParDefaut();
  VerifierPointeur(CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, ClasseFiche, titre.c_str(), style, x, y,
                                   largeur, hauteur, proprietaire, nullptr, GetModuleHandleW(nullptr), this),
                   L"CreateWindowEx");
}

void TFiche::SetTitre(const std::wstring& titre) { SetWindowTextW(FHandle, titre.c_str()); }

std::wstring TFiche::Titre() const {
  std::wstring texte(static_cast<size_t>(GetWindowTextLengthW(FHandle)) + 1, L'\0');
  texte.resize(static_cast<size_t>(GetWindowTextW(FHandle, texte.data(), static_cast<int>(texte.size()))));
  return texte;
}

void TFiche::Afficher() {
  ShowWindow(FHandle, SW_SHOW);
  UpdateWindow(FHandle);
}

LRESULT TFiche::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  if (message == WM_CLOSE) {
    Fermer();
    return 0;
  }
  return DefWindowProcW(FHandle, message, w, l);
}

void TFiche::Fermer() {
  ShowWindow(FHandle, SW_HIDE);
  auto& application = TApplicationGraphique::Instance();
  if (application.EstFichePrincipale(this)) application.Terminer();
}

LRESULT CALLBACK TFiche::Procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* fiche = static_cast<TFiche*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    fiche->FHandle = fenetre;
    SetWindowLongPtrW(fenetre, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fiche));
  }
  auto* fiche = reinterpret_cast<TFiche*>(GetWindowLongPtrW(fenetre, GWLP_USERDATA));
  if (!fiche) return DefWindowProcW(fenetre, message, w, l);
  if (message == WM_NCDESTROY) {
    fiche->FHandle = nullptr;
    return DefWindowProcW(fenetre, message, w, l);
  }
  // Exceptions must not cross the system's frames: they end here, as the loop's own would.
  try {
    return fiche->TraiterMessage(message, w, l);
  } catch (const std::exception& e) {
    TApplicationGraphique::Instance().TraiterException(e);
    return 0;
  }
}

}  // namespace norvel
