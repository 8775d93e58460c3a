// UI driver: acts on the assistant's window (or any window) from outside, as a person would, for
// tests and demos. Controls are named by their stable identifier (ui/IdentifiantsControles.h),
// as a number or by name (a name several dialogs share is the control the window holds).
// Screenshots are taken outside (ImageMagick's import).
//
//   pilote [-titre TEXTE] [-prefixe] [-processus PID] [-delai MS] COMMANDE [ARGUMENTS] [-- COMMANDE [ARGUMENTS]]...
//
// Without -titre the window is the assistant's, found by the beginning of its title. With
// -processus only that process's windows are looked at. Commands:
//   fenetre TITRE                 the following commands act on the window with this title
//                                 (whole, or its beginning with -prefixe)
//   attendre-fenetre              wait until the window is shown
//   attendre-fermeture            wait until it is gone
//   fermer                        ask the window to close (WM_CLOSE)
//   lister                        one line per control: id, name, class, visible, enabled, text
//   lire CTL                      print the control's text
//   etat CTL                      print "visible=0|1 actif=0|1 coche=-1|0|1"
//   saisir CTL TEXTE              replace an edit's text (its owner sees one EN_CHANGE)
//   taper CTL TEXTE               type characters at the end of an edit's text, one by one
//   cliquer CTL                   click a button or a check box
//   cliquer-sans-attendre CTL     click, without waiting for the handler (one that opens a box)
//   lignes CTL                    one line per row of a list box: index, selected 0|1, text
//   cliquer-ligne CTL N           click row N of a list box (0 is the first)
//   double-cliquer-ligne CTL N    double-click row N of a list box
//   cocher CTL / decocher CTL     click a check box when its state is not already the one asked
//   entree                        press Enter in the focused control
//   attendre-visible CTL          wait until the control is shown
//   attendre-cache CTL            wait until it is hidden
//   attendre-actif CTL            wait until it is enabled
//   attendre-texte CTL MOTIF      wait until its text matches MOTIF ("*" any run, "?" one character)
//   attendre-focus CTL            wait until the control has the keyboard focus ("fenetre": the
//                                 window itself)
//   pause MS                      wait
// Waits end after -delai milliseconds (10000 by default). Output is UTF-8. Exit code 0 when every
// command succeeded; 1 with "pilote : <reason>" on the error stream at the first failure; 2 for
// a malformed command line.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "core/Messages.h"
#include "tools/pilote/Controles.h"
#include "ui/IdentifiantsControles.h"

using namespace norvel;
using namespace norvel::pilote;

namespace {

class EUsage : public EEchecPilote {
  using EEchecPilote::EEchecPilote;
};

void Ecrire(HANDLE flux, const std::wstring& texte) {
  const std::string octets = VersUtf8(texte);
  DWORD ecrits = 0;
  WriteFile(flux, octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
}

void Afficher(const std::wstring& ligne) { Ecrire(GetStdHandle(STD_OUTPUT_HANDLE), ligne + L"\n"); }

// Line breaks and tabs of a text shown on one line of a listing.
std::wstring SurUneLigne(const std::wstring& texte) {
  std::wstring sortie;
  for (wchar_t c : texte) {
    switch (c) {
      case L'\\': sortie += L"\\\\"; break;
      case L'\r': sortie += L"\\r"; break;
      case L'\n': sortie += L"\\n"; break;
      case L'\t': sortie += L"\\t"; break;
      default: sortie += c;
    }
  }
  return sortie;
}

std::wstring NomDe(int id) {
  for (const auto& nom : NomsControles)
    if (nom.Id == id) return nom.Nom;
  return L"-";
}

std::vector<int> IdsDe(const std::wstring& texte) {
  std::vector<int> ids;
  for (const auto& nom : NomsControles)
    if (texte == nom.Nom) ids.push_back(nom.Id);
  if (!ids.empty()) return ids;
  wchar_t* fin = nullptr;
  const long id = std::wcstol(texte.c_str(), &fin, 10);
  if (texte.empty() || *fin != L'\0') throw EUsage(L"contrôle inconnu : " + texte);
  return {static_cast<int>(id)};
}

int EntierDe(const std::wstring& texte) {
  wchar_t* fin = nullptr;
  const long valeur = std::wcstol(texte.c_str(), &fin, 10);
  if (texte.empty() || *fin != L'\0') throw EUsage(L"nombre attendu : " + texte);
  return static_cast<int>(valeur);
}

class TPilote {
 public:
  TCritereFenetre Critere{Msg::TitreAssistant, true};
  bool PrefixeDemande = false;  // -prefixe
  std::chrono::milliseconds Delai{10000};

  void Executer(const std::vector<std::wstring>& commande) {
    const std::wstring& nom = commande[0];
    auto argument = [&](size_t i) -> const std::wstring& {
      if (i >= commande.size()) throw EUsage(L"argument manquant pour " + nom);
      return commande[i];
    };
    if (nom == L"fenetre") {
      Critere.Titre = argument(1);
      Critere.Prefixe = PrefixeDemande || Critere.Titre == Msg::TitreAssistant;
      FFenetre = nullptr;
    } else if (nom == L"attendre-fenetre") {
      Fenetre();
    } else if (nom == L"attendre-fermeture") {
      // Gone means destroyed: a closing window is hidden a moment before it is.
      Attendre(
          [&] {
            if (FFenetre && IsWindow(FFenetre)) return false;
            return (FFenetre = TrouverFenetre(Critere)) == nullptr;
          },
          [] { return L"la fenêtre est toujours là"; });
    } else if (nom == L"fermer") {
      PostMessageW(Fenetre(), WM_CLOSE, 0, 0);
    } else if (nom == L"lister") {
      for (const auto& c : ListerControles(Fenetre()))
        Afficher(std::to_wstring(c.Id) + L"\t" + NomDe(c.Id) + L"\t" + c.Classe + L"\t" + (c.Visible ? L"1" : L"0") +
                 L"\t" + (c.Actif ? L"1" : L"0") + L"\t" + SurUneLigne(c.Texte));
    } else if (nom == L"lire") {
      Afficher(LireTexte(Controle(argument(1))));
    } else if (nom == L"etat") {
      const auto info = DecrireControle(Controle(argument(1)));
      Afficher(L"visible=" + std::to_wstring(info.Visible) + L" actif=" + std::to_wstring(info.Actif) +
               L" coche=" + std::to_wstring(EtatCoche(info.Fenetre)));
    } else if (nom == L"saisir") {
      Saisir(Controle(argument(1)), argument(2));
    } else if (nom == L"taper") {
      Taper(Controle(argument(1)), argument(2));
    } else if (nom == L"cliquer") {
      Cliquer(Controle(argument(1)));
    } else if (nom == L"cliquer-sans-attendre") {
      CliquerSansAttendre(Controle(argument(1)));
    } else if (nom == L"lignes") {
      const auto lignes = LireLignes(Controle(argument(1)));
      for (size_t i = 0; i < lignes.Textes.size(); ++i)
        Afficher(std::to_wstring(i) + L"\t" + (static_cast<int>(i) == lignes.Selection ? L"1" : L"0") + L"\t" +
                 SurUneLigne(lignes.Textes[i]));
    } else if (nom == L"cliquer-ligne" || nom == L"double-cliquer-ligne") {
      CliquerLigne(Controle(argument(1)), EntierDe(argument(2)), nom == L"double-cliquer-ligne");
    } else if (nom == L"cocher" || nom == L"decocher") {
      HWND controle = Controle(argument(1));
      const int voulu = nom == L"cocher" ? BST_CHECKED : BST_UNCHECKED;
      if (EtatCoche(controle) < 0) throw EEchecPilote(L"contrôle " + argument(1) + L" : case à cocher attendue");
      if (EtatCoche(controle) != voulu) Cliquer(controle);
      if (EtatCoche(controle) != voulu) throw EEchecPilote(L"la case " + argument(1) + L" n'a pas changé d'état");
    } else if (nom == L"entree") {
      AppuyerEntree(Fenetre());
    } else if (nom == L"attendre-visible" || nom == L"attendre-cache" || nom == L"attendre-actif") {
      const std::wstring& ctl = argument(1);
      Attendre(
          [&] {
            const auto info = DecrireControle(Controle(ctl));
            return nom == L"attendre-visible" ? info.Visible : nom == L"attendre-cache" ? !info.Visible : info.Actif;
          },
          [&] {
            return L"contrôle " + ctl +
                   (nom == L"attendre-visible" ? L" toujours caché"
                    : nom == L"attendre-cache" ? L" toujours visible"
                                               : L" toujours désactivé");
          });
    } else if (nom == L"attendre-texte") {
      const std::wstring& ctl = argument(1);
      const std::wstring& motif = argument(2);
      std::wstring dernier;
      Attendre(
          [&] {
            dernier = LireTexte(Controle(ctl));
            return CorrespondAuMotif(dernier, motif);
          },
          [&] { return L"contrôle " + ctl + L" : texte \"" + dernier + L"\" au lieu de \"" + motif + L"\""; });
    } else if (nom == L"attendre-focus") {
      const std::wstring& ctl = argument(1);
      const HWND cible = ctl == L"fenetre" ? Fenetre() : Controle(ctl);
      Attendre([&] { return ControleAvecFocus(cible) == cible; },
               [&] { return L"contrôle " + ctl + L" sans le focus (" + NomDe(GetDlgCtrlID(ControleAvecFocus(cible))) + L")"; });
    } else if (nom == L"pause") {
      Sleep(static_cast<DWORD>(std::wcstoul(argument(1).c_str(), nullptr, 10)));
    } else {
      throw EUsage(L"commande inconnue : " + nom);
    }
  }

 private:
  HWND FFenetre = nullptr;

  // The failure's text is made after the last attempt, so that it can quote what was seen last.
  void Attendre(const std::function<bool()>& condition, const std::function<std::wstring()>& echec) {
    if (!AttendreQue(condition, Delai))
      throw EEchecPilote(L"délai de " + std::to_wstring(Delai.count()) + L" ms dépassé : " + echec());
  }

  HWND Fenetre() {
    if (FFenetre && IsWindow(FFenetre)) return FFenetre;
    Attendre([&] { return (FFenetre = TrouverFenetre(Critere)) != nullptr; },
             [&] { return L"fenêtre \"" + Critere.Titre + (Critere.Prefixe ? L"...\"" : L"\"") + L" introuvable"; });
    return FFenetre;
  }

  HWND Controle(const std::wstring& nom) {
    const auto ids = IdsDe(nom);
    if (ids.size() == 1) return TrouverControle(Fenetre(), ids.front());
    const auto controles = ListerControles(Fenetre());
    for (int id : ids)
      for (const auto& controle : controles)
        if (controle.Id == id) return controle.Fenetre;
    throw EEchecPilote(L"contrôle " + nom + L" introuvable");
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  TPilote pilote;
  std::vector<std::vector<std::wstring>> commandes;
  try {
    int i = 1;
    bool prefixe = false;
    for (; i < argc && argv[i][0] == L'-' && std::wstring_view(argv[i]) != L"--"; ++i) {
      const std::wstring option = argv[i];
      if (option == L"-prefixe") {
        prefixe = true;
      } else if (option == L"-titre" && i + 1 < argc) {
        pilote.Critere.Titre = argv[++i];
      } else if (option == L"-processus" && i + 1 < argc) {
        pilote.Critere.Processus = std::wcstoul(argv[++i], nullptr, 10);
      } else if (option == L"-delai" && i + 1 < argc) {
        pilote.Delai = std::chrono::milliseconds(std::wcstoul(argv[++i], nullptr, 10));
      } else {
        throw EUsage(L"option inconnue : " + option);
      }
    }
    // The assistant's title ends with its version: without a title of its own, match its beginning.
    pilote.PrefixeDemande = prefixe;
    pilote.Critere.Prefixe = prefixe || pilote.Critere.Titre == Msg::TitreAssistant;
    for (commandes.emplace_back(); i < argc; ++i) {
      if (std::wstring_view(argv[i]) == L"--")
        commandes.emplace_back();
      else
        commandes.back().push_back(argv[i]);
    }
    for (const auto& commande : commandes)
      if (commande.empty()) throw EUsage(L"commande manquante");
    for (const auto& commande : commandes) pilote.Executer(commande);
    return 0;
  } catch (const EUsage& e) {
    Ecrire(GetStdHandle(STD_ERROR_HANDLE), L"pilote : " + e.Message() + L"\n");
    return 2;
  } catch (const EEchecPilote& e) {
    Ecrire(GetStdHandle(STD_ERROR_HANDLE), L"pilote : " + e.Message() + L"\n");
    return 1;
  }
}
