#include "support/FenetresEssai.h"

#include <thread>

namespace norvel::essai {

HWND AttendreBoiteDialogue(DWORD idThread, std::chrono::milliseconds delai) {
  const auto limite = std::chrono::steady_clock::now() + delai;
  do {
    HWND trouvee = nullptr;
    EnumThreadWindows(
        idThread,
        [](HWND fenetre, LPARAM param) -> BOOL {
          wchar_t classe[16]{};
          GetClassNameW(fenetre, classe, 16);
          if (lstrcmpW(classe, L"#32770") != 0 || !IsWindowVisible(fenetre)) return TRUE;
          *reinterpret_cast<HWND*>(param) = fenetre;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&trouvee));
    if (trouvee) return trouvee;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < limite);
  return nullptr;
}

void CliquerBouton(HWND boite, int identifiant) {
  PostMessageW(boite, WM_COMMAND, MAKEWPARAM(identifiant, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(boite, identifiant)));
}

HWND ControleParIdentifiant(HWND fenetre, int identifiant) {
  struct TRecherche {
    int Id;
    HWND Trouve = nullptr;
  } recherche{identifiant};
  EnumChildWindows(
      fenetre,
      [](HWND controle, LPARAM l) -> BOOL {
        auto& r = *reinterpret_cast<TRecherche*>(l);
        if (GetDlgCtrlID(controle) != r.Id) return TRUE;
        r.Trouve = controle;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&recherche));
  return recherche.Trouve;
}

std::wstring TexteBoiteDialogue(HWND boite) {
  std::wstring texte;
  EnumChildWindows(
      boite,
      [](HWND enfant, LPARAM param) -> BOOL {
        wchar_t classe[16]{};
        GetClassNameW(enfant, classe, 16);
        if (lstrcmpiW(classe, L"Static") != 0) return TRUE;
        wchar_t contenu[1024]{};
        if (GetWindowTextW(enfant, contenu, 1024) > 0) {
          auto& t = *reinterpret_cast<std::wstring*>(param);
          if (!t.empty()) t += L"\n";
          t += contenu;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texte));
  return texte;
}

}  // namespace norvel::essai
