#include "tools/pilote/Controles.h"

#include <thread>

#include "core/Chaines.h"

namespace norvel::pilote {

namespace {

// Messages to another program's thread must not hang the driver when that thread is busy.
constexpr UINT DelaiMessageMs = 5000;

LRESULT Envoyer(HWND controle, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR resultat = 0;
  if (!SendMessageTimeoutW(controle, message, w, l, SMTO_NORMAL | SMTO_ABORTIFHUNG, DelaiMessageMs, &resultat))
    throw EEchecPilote(L"la fenêtre ne répond pas (message 0x" + std::to_wstring(message) + L")");
  return static_cast<LRESULT>(resultat);
}

bool VisibleEtActif(HWND controle, bool& actif) {
  actif = true;
  for (HWND h = controle; h != nullptr; h = GetAncestor(h, GA_PARENT)) {
    if (h == GetDesktopWindow()) break;
    actif = actif && IsWindowEnabled(h);
  }
  return IsWindowVisible(controle) != FALSE;
}

std::wstring Classe(HWND controle) {
  wchar_t nom[256] = L"";
  GetClassNameW(controle, nom, static_cast<int>(std::size(nom)));
  return nom;
}

void ExigerUtilisable(HWND controle) {
  const auto info = DecrireControle(controle);
  if (!info.Visible) throw EEchecPilote(L"contrôle " + std::to_wstring(info.Id) + L" caché");
  if (!info.Actif) throw EEchecPilote(L"contrôle " + std::to_wstring(info.Id) + L" désactivé");
}

void ExigerEdit(HWND controle) {
  if (!MemeTexteSansCasse(Classe(controle), L"Edit"))
    throw EEchecPilote(L"contrôle " + std::to_wstring(GetDlgCtrlID(controle)) + L" : zone de saisie attendue, " +
                       Classe(controle) + L" trouvé");
  ExigerUtilisable(controle);
}

}  // namespace

EEchecPilote::EEchecPilote(const std::wstring& message) : std::runtime_error(VersUtf8(message)), FMessage(message) {}

bool AttendreQue(const std::function<bool()>& condition, std::chrono::milliseconds delai) {
  const auto fin = std::chrono::steady_clock::now() + delai;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= fin) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

HWND TrouverFenetre(const TCritereFenetre& critere) {
  struct TRecherche {
    const TCritereFenetre* Critere;
    HWND Trouvee = nullptr;
  } recherche{&critere};
  EnumWindows(
      [](HWND fenetre, LPARAM parametre) -> BOOL {
        auto& r = *reinterpret_cast<TRecherche*>(parametre);
        if (!IsWindowVisible(fenetre)) return TRUE;
        DWORD processus = 0;
        GetWindowThreadProcessId(fenetre, &processus);
        if (r.Critere->Processus != 0 && processus != r.Critere->Processus) return TRUE;
        wchar_t titre[1024] = L"";
        GetWindowTextW(fenetre, titre, static_cast<int>(std::size(titre)));
        const std::wstring_view t(titre);
        if (r.Critere->Prefixe ? CommencePar(t, r.Critere->Titre) : t == r.Critere->Titre) {
          r.Trouvee = fenetre;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&recherche));
  return recherche.Trouvee;
}

std::vector<TInfoControle> ListerControles(HWND fenetre) {
  std::vector<HWND> controles;
  EnumChildWindows(
      fenetre,
      [](HWND controle, LPARAM parametre) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(parametre)->push_back(controle);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&controles));
  std::vector<TInfoControle> infos;
  for (HWND controle : controles) infos.push_back(DecrireControle(controle));
  return infos;
}

HWND TrouverControle(HWND fenetre, int id) {
  for (const auto& info : ListerControles(fenetre))
    if (info.Id == id) return info.Fenetre;
  throw EEchecPilote(L"contrôle " + std::to_wstring(id) + L" introuvable");
}

TInfoControle DecrireControle(HWND controle) {
  TInfoControle info;
  info.Fenetre = controle;
  info.Id = GetDlgCtrlID(controle);
  info.Classe = Classe(controle);
  info.Texte = LireTexte(controle);
  info.Visible = VisibleEtActif(controle, info.Actif);
  return info;
}

std::wstring LireTexte(HWND controle) {
  const auto longueur = static_cast<size_t>(Envoyer(controle, WM_GETTEXTLENGTH, 0, 0));
  std::wstring texte(longueur + 1, L'\0');
  const auto copies = static_cast<size_t>(
      Envoyer(controle, WM_GETTEXT, texte.size(), reinterpret_cast<LPARAM>(texte.data())));
  texte.resize(std::min(copies, longueur));
  return texte;
}

void Saisir(HWND controle, const std::wstring& texte) {
  ExigerEdit(controle);
  Envoyer(controle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texte.c_str()));
  // A single-line edit tells its owner itself; a multi-line one does not on WM_SETTEXT.
  if (GetWindowLongPtrW(controle, GWL_STYLE) & ES_MULTILINE)
    Envoyer(GetParent(controle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(controle), EN_CHANGE),
            reinterpret_cast<LPARAM>(controle));
}

void Taper(HWND controle, const std::wstring& texte) {
  ExigerEdit(controle);
  const auto fin = static_cast<WPARAM>(Envoyer(controle, WM_GETTEXTLENGTH, 0, 0));
  Envoyer(controle, EM_SETSEL, fin, static_cast<LPARAM>(fin));
  for (wchar_t c : texte) Envoyer(controle, WM_CHAR, c, 1);
}

void Cliquer(HWND controle) {
  ExigerUtilisable(controle);
  Envoyer(controle, BM_CLICK, 0, 0);
}

void CliquerSansAttendre(HWND controle) {
  ExigerUtilisable(controle);
  if (!PostMessageW(controle, BM_CLICK, 0, 0)) throw EEchecPilote(L"impossible d'envoyer le clic");
}

HWND ControleAvecFocus(HWND fenetre) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(fenetre, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int EtatCoche(HWND controle) {
  if (!MemeTexteSansCasse(Classe(controle), L"Button")) return -1;
  const auto type = GetWindowLongPtrW(controle, GWL_STYLE) & BS_TYPEMASK;
  const bool aCoche = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                      type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
  return aCoche ? static_cast<int>(Envoyer(controle, BM_GETCHECK, 0, 0)) : -1;
}

void AppuyerEntree(HWND fenetre) {
  HWND cible = ControleAvecFocus(fenetre);
  if (!cible) cible = fenetre;
  const UINT code = MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC);
  if (!PostMessageW(cible, WM_KEYDOWN, VK_RETURN, 1 | (code << 16)) ||
      !PostMessageW(cible, WM_KEYUP, VK_RETURN, 1 | (code << 16) | (3u << 30)))
    throw EEchecPilote(L"impossible d'envoyer la touche Entrée");
}

TLignesListe LireLignes(HWND liste) {
  if (!MemeTexteSansCasse(Classe(liste), L"ListBox"))
    throw EEchecPilote(L"contrôle " + std::to_wstring(GetDlgCtrlID(liste)) + L" : liste attendue, " + Classe(liste) +
                       L" trouvé");
  TLignesListe lignes;
  const auto nombre = static_cast<int>(Envoyer(liste, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < nombre; ++i) {
    const auto longueur = static_cast<size_t>(Envoyer(liste, LB_GETTEXTLEN, i, 0));
    std::wstring texte(longueur + 1, L'\0');
    const auto copies = Envoyer(liste, LB_GETTEXT, i, reinterpret_cast<LPARAM>(texte.data()));
    texte.resize(copies == LB_ERR ? 0 : std::min(static_cast<size_t>(copies), longueur));
    lignes.Textes.push_back(std::move(texte));
  }
  const auto selection = Envoyer(liste, LB_GETCURSEL, 0, 0);
  lignes.Selection = selection == LB_ERR ? -1 : static_cast<int>(selection);
  return lignes;
}

void CliquerLigne(HWND liste, int ligne, bool doubleClic) {
  const auto nombre = LireLignes(liste).Textes.size();
  if (ligne < 0 || static_cast<size_t>(ligne) >= nombre)
    throw EEchecPilote(L"ligne " + std::to_wstring(ligne) + L" absente (" + std::to_wstring(nombre) + L" lignes)");
  ExigerUtilisable(liste);
  RECT client{};
  GetClientRect(liste, &client);
  // Rows may differ in height: the row's top is the sum of the heights of the rows shown above it.
  const auto hauteurDe = [&](int i) { return static_cast<int>(Envoyer(liste, LB_GETITEMHEIGHT, i, 0)); };
  const auto hautDeLigne = [&](int premiere) {
    int y = 0;
    for (int i = premiere; i < ligne; ++i) y += hauteurDe(i);
    return y;
  };
  auto premiere = static_cast<int>(Envoyer(liste, LB_GETTOPINDEX, 0, 0));
  if (ligne < premiere || hautDeLigne(premiere) + hauteurDe(ligne) > client.bottom) {
    Envoyer(liste, LB_SETTOPINDEX, ligne, 0);
    premiere = static_cast<int>(Envoyer(liste, LB_GETTOPINDEX, 0, 0));
  }
  const LPARAM point = MAKELPARAM(client.right / 2, hautDeLigne(premiere) + hauteurDe(ligne) / 2);
  // Sent, not posted: a command that follows (a button pressed with a sent message) must not
  // overtake the click. The double-click's last release is posted: the double-click may have
  // closed the window, whose program then no longer answers.
  Envoyer(liste, WM_LBUTTONDOWN, MK_LBUTTON, point);
  Envoyer(liste, WM_LBUTTONUP, 0, point);
  if (!doubleClic) return;
  Envoyer(liste, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  PostMessageW(liste, WM_LBUTTONUP, 0, point);
}

bool CorrespondAuMotif(std::wstring_view texte, std::wstring_view motif) {
  // Iterative matching with one backtracking point: the last "*" seen.
  size_t t = 0, m = 0, etoile = std::wstring_view::npos, reprise = 0;
  while (t < texte.size()) {
    if (m < motif.size() && (motif[m] == L'?' || motif[m] == texte[t])) {
      ++t;
      ++m;
    } else if (m < motif.size() && motif[m] == L'*') {
      etoile = m++;
      reprise = t;
    } else if (etoile != std::wstring_view::npos) {
      m = etoile + 1;
      t = ++reprise;
    } else {
      return false;
    }
  }
  while (m < motif.size() && motif[m] == L'*') ++m;
  return m == motif.size();
}

}  // namespace norvel::pilote
