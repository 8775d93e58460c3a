#pragma once
// What the UI driver does to another program's windows: find the top-level window and its
// controls, read them, act on them as a person would, and wait for what should follow.
#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace norvel::pilote {

// A failure the driver reports with its message (exit code 1).
class EEchecPilote : public std::runtime_error {
 public:
  explicit EEchecPilote(const std::wstring& message);
  const std::wstring& Message() const { return FMessage; }

 private:
  std::wstring FMessage;
};

struct TCritereFenetre {
  std::wstring Titre;
  bool Prefixe = false;
  // 0: a window of any process.
  DWORD Processus = 0;
};

struct TInfoControle {
  HWND Fenetre = nullptr;
  int Id = 0;
  std::wstring Classe;
  std::wstring Texte;
  bool Visible = false;  // shown, and so are all its parents
  bool Actif = false;    // enabled, and so are all its parents
};

// Polls `condition` every 50 ms until it holds; false when the delay runs out first.
bool AttendreQue(const std::function<bool()>& condition, std::chrono::milliseconds delai);

// The first visible top-level window whose title matches; none when there is none.
HWND TrouverFenetre(const TCritereFenetre& critere);

// Every descendant control of the window, in creation order.
std::vector<TInfoControle> ListerControles(HWND fenetre);
// The descendant with this identifier; raises when there is none.
HWND TrouverControle(HWND fenetre, int id);
TInfoControle DecrireControle(HWND controle);

// The control's text as its owner keeps it (WM_GETTEXT, answered by the owning thread).
std::wstring LireTexte(HWND controle);
// Replaces an edit's text; its owner gets exactly one EN_CHANGE.
void Saisir(HWND controle, const std::wstring& texte);
// Types the characters at the end of an edit's text, one WM_CHAR each (one EN_CHANGE each).
void Taper(HWND controle, const std::wstring& texte);
// Clicks a button or check box (BM_CLICK): its owner gets BN_CLICKED, a check box toggles.
// The call returns once the owner has handled the click.
void Cliquer(HWND controle);
// The same click, handled by the owner's loop after the call returns: for a handler that opens
// a modal box or waits, which would keep Cliquer from returning.
void CliquerSansAttendre(HWND controle);
// The control that has the keyboard focus in the window's thread; none when it has none.
HWND ControleAvecFocus(HWND fenetre);
// -1 when the control has no check state.
int EtatCoche(HWND controle);
// Presses and releases Enter in the window's focused control (or the window itself), through
// the owner's message loop as a keyboard would: the default button answers it.
void AppuyerEntree(HWND fenetre);

// The rows of a list box and the one selected (-1: none).
struct TLignesListe {
  std::vector<std::wstring> Textes;
  int Selection = -1;
};
TLignesListe LireLignes(HWND liste);
// Clicks (or double-clicks) a row of a list box with the mouse's messages, after scrolling it
// into view: the owner hears of the selection as from a person.
void CliquerLigne(HWND liste, int ligne, bool doubleClic);

// "*" stands for any run of characters, "?" for one; everything else matches itself.
bool CorrespondAuMotif(std::wstring_view texte, std::wstring_view motif);

}  // namespace norvel::pilote
