#include "support/TextesEntiers.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Chaines.h"

namespace norvel::test {

namespace {

// The text's rectangle in the control's font: wrapped at `largeur` as a static control wraps
// it, or on one line when `largeur` is 0.
SIZE Mesurer(HWND controle, const std::wstring& texte, int largeur, UINT format) {
  HDC dc = GetDC(controle);
  const HGDIOBJ ancienne = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(controle, WM_GETFONT, 0, 0)));
  RECT zone{0, 0, largeur, 0};
  DrawTextW(dc, texte.c_str(), static_cast<int>(texte.size()), &zone, DT_CALCRECT | DT_NOPREFIX | format);
  SelectObject(dc, ancienne);
  ReleaseDC(controle, dc);
  return {zone.right, zone.bottom};
}

}  // namespace

void ExigerTextesEntiers(HWND fenetre) {
  EnumChildWindows(
      fenetre,
      [](HWND controle, LPARAM) -> BOOL {
        wchar_t classe[32] = L"";
        GetClassNameW(controle, classe, 32);
        std::wstring texte(static_cast<size_t>(GetWindowTextLengthW(controle)) + 1, L'\0');
        texte.resize(static_cast<size_t>(GetWindowTextW(controle, texte.data(), static_cast<int>(texte.size()))));
        if (!IsWindowVisible(controle) || texte.empty() || lstrcmpiW(classe, L"Edit") == 0) return TRUE;
        RECT zone;
        GetClientRect(controle, &zone);
        const auto style = GetWindowLongPtrW(controle, GWL_STYLE);
        const bool statique = lstrcmpiW(classe, L"Static") == 0;
        const bool renvoye = statique && (style & SS_TYPEMASK) == SS_LEFT && !(style & SS_CENTERIMAGE);
        if (renvoye) {
          const UINT format = DT_WORDBREAK | ((style & SS_EDITCONTROL) ? DT_EDITCONTROL : 0);
          EXPECT_LE(Mesurer(controle, texte, zone.right, format).cy, zone.bottom) << VersUtf8(texte);
        } else {
          const SIZE taille = Mesurer(controle, texte, 0, DT_SINGLELINE);
          // Buttons and the check box keep room around their text.
          const int marge = lstrcmpiW(classe, L"Button") == 0 ? 8 : 0;
          EXPECT_LE(taille.cx + marge, zone.right) << VersUtf8(texte);
          EXPECT_LE(taille.cy, zone.bottom) << VersUtf8(texte);
        }
        return TRUE;
      },
      0);
}

}  // namespace norvel::test
