// The UI driver (tools/pilote) against a small window of this test program that behaves like the
// wizard's identifier step: an edit that enables a default button, a button whose answer appears
// a moment later, a check box, controls nested in a panel.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/Chaines.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"
#include "ui/IdentifiantsControles.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace Id = IdControle;

constexpr UINT_PTR MinuterieReponse = 1;
// Puts the window back as it was created, between two tests that share it.
constexpr UINT MessageReinitialiser = WM_APP + 1;

// The window's state as its own thread sees it.
struct TEtatFenetre {
  std::atomic<int> Changements{0};  // EN_CHANGE received from the edit
  std::atomic<int> Clics{0};        // BN_CLICKED received from the validation button
};

HWND Creer(const wchar_t* classe, const wchar_t* texte, DWORD style, int x, int y, int l, int h, HWND parent, int id) {
  return CreateWindowExW(0, classe, texte, WS_CHILD | WS_VISIBLE | style, x, y, l, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// A panel hands its children's notifications to the window, as the wizard's panels do.
LRESULT CALLBACK ProcedurePanneau(HWND panneau, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_COMMAND) return SendMessageW(GetParent(panneau), message, w, l);
  return DefWindowProcW(panneau, message, w, l);
}

LRESULT CALLBACK ProcedureFenetre(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
  auto* etat = reinterpret_cast<TEtatFenetre*>(GetWindowLongPtrW(fenetre, GWLP_USERDATA));
  auto texte = [](HWND controle) {
    wchar_t tampon[256] = L"";
    GetWindowTextW(controle, tampon, 256);
    return std::wstring(tampon);
  };
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(fenetre, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
      break;
    case DM_GETDEFID:
      return MAKELONG(Id::BtnValidationRNE, DC_HASDEFID);
    case WM_COMMAND: {
      HWND edit = GetDlgItem(GetDlgItem(fenetre, Id::PanelEtape2), Id::EditRNE);
      if (LOWORD(w) == Id::EditRNE && HIWORD(w) == EN_CHANGE) {
        ++etat->Changements;
        SetDlgItemTextW(GetDlgItem(fenetre, Id::PanelEtape2), Id::LabelEtape2Explication,
                        (L"Saisie : " + texte(edit)).c_str());
        EnableWindow(GetDlgItem(GetDlgItem(fenetre, Id::PanelEtape2), Id::BtnValidationRNE), !texte(edit).empty());
      } else if (LOWORD(w) == Id::BtnValidationRNE && HIWORD(w) == BN_CLICKED) {
        ++etat->Clics;
        SetTimer(fenetre, MinuterieReponse, 300, nullptr);  // the answer comes later, as a lookup's would
      } else if (LOWORD(w) == Id::CheckboxCGUEtape4 && HIWORD(w) == BN_CLICKED) {
        const bool coche = IsDlgButtonChecked(fenetre, Id::CheckboxCGUEtape4) == BST_CHECKED;
        SetDlgItemTextW(fenetre, Id::LabelEtape4, coche ? L"Cochée" : L"Décochée");
      }
      return 0;
    }
    case MessageReinitialiser: {
      KillTimer(fenetre, MinuterieReponse);
      HWND panneau = GetDlgItem(fenetre, Id::PanelEtape2);
      SetDlgItemTextW(panneau, Id::EditRNE, L"");
      SetDlgItemTextW(panneau, Id::LabelEtape2Explication, L"Saisissez le RNE");
      EnableWindow(GetDlgItem(panneau, Id::BtnValidationRNE), FALSE);
      ShowWindow(GetDlgItem(fenetre, Id::LabelErreurEtape2), SW_HIDE);
      SetDlgItemTextW(fenetre, Id::LabelErreurEtape2, L"");
      CheckDlgButton(fenetre, Id::CheckboxCGUEtape4, BST_UNCHECKED);
      SetDlgItemTextW(fenetre, Id::LabelEtape4, L"");
      SetFocus(GetDlgItem(panneau, Id::EditRNE));
      etat->Changements = 0;
      etat->Clics = 0;
      return 0;
    }
    case WM_TIMER: {
      KillTimer(fenetre, MinuterieReponse);
      HWND edit = GetDlgItem(GetDlgItem(fenetre, Id::PanelEtape2), Id::EditRNE);
      HWND reponse = GetDlgItem(fenetre, Id::LabelErreurEtape2);
      SetWindowTextW(reponse, (L"École trouvée : " + texte(edit)).c_str());
      ShowWindow(reponse, SW_SHOW);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(fenetre, message, w, l);
}

// The test window on a thread of its own, with a message loop that gives Enter to the default
// button; closed at the end of the test.
class TFenetreTest {
 public:
  explicit TFenetreTest(std::wstring titre) : FTitre(std::move(titre)) {
    HANDLE prete = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    FThread = std::thread([this, prete] { Executer(prete); });
    WaitForSingleObject(prete, 10000);
    CloseHandle(prete);
  }
  ~TFenetreTest() {
    if (FFenetre && IsWindow(FFenetre)) PostMessageW(FFenetre, WM_CLOSE, 0, 0);
    FThread.join();
  }
  TFenetreTest(const TFenetreTest&) = delete;
  TFenetreTest& operator=(const TFenetreTest&) = delete;

  const std::wstring& Titre() const { return FTitre; }
  void Reinitialiser() { SendMessageW(FFenetre, MessageReinitialiser, 0, 0); }
  HWND Fenetre() const { return FFenetre; }
  TEtatFenetre Etat;

 private:
  std::wstring FTitre;
  HWND FFenetre = nullptr;
  std::thread FThread;

  void Executer(HANDLE prete) {
    static const bool classes = [] {
      WNDCLASSW fenetre{};
      fenetre.lpfnWndProc = ProcedureFenetre;
      fenetre.hInstance = GetModuleHandleW(nullptr);
      fenetre.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      fenetre.lpszClassName = L"FenetreTestPilote";
      WNDCLASSW panneau = fenetre;
      panneau.lpfnWndProc = ProcedurePanneau;
      panneau.lpszClassName = L"PanneauTestPilote";
      return RegisterClassW(&fenetre) && RegisterClassW(&panneau);
    }();
    if (!classes) return;
    FFenetre = CreateWindowExW(0, L"FenetreTestPilote", FTitre.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                               100, 100, 500, 260, nullptr, nullptr, GetModuleHandleW(nullptr), &Etat);
    HWND panneau = Creer(L"PanneauTestPilote", L"", 0, 10, 10, 470, 80, FFenetre, Id::PanelEtape2);
    Creer(L"STATIC", L"Saisissez le RNE", 0, 0, 0, 300, 20, panneau, Id::LabelEtape2Explication);
    HWND edit = Creer(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 30, 164, 22, panneau, Id::EditRNE);
    Creer(L"BUTTON", L"Valider", WS_TABSTOP | BS_DEFPUSHBUTTON | WS_DISABLED, 180, 30, 80, 22, panneau,
          Id::BtnValidationRNE);
    HWND reponse = Creer(L"STATIC", L"", 0, 10, 100, 400, 20, FFenetre, Id::LabelErreurEtape2);
    ShowWindow(reponse, SW_HIDE);
    Creer(L"BUTTON", L"J'ai lu et j'accepte", WS_TABSTOP | BS_AUTOCHECKBOX, 10, 130, 300, 22, FFenetre,
          Id::CheckboxCGUEtape4);
    Creer(L"STATIC", L"", 0, 10, 160, 300, 20, FFenetre, Id::LabelEtape4);
    ShowWindow(FFenetre, SW_SHOW);
    SetForegroundWindow(FFenetre);
    SetFocus(edit);
    SetEvent(prete);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!IsDialogMessageW(FFenetre, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
};

struct TResultatPilote {
  DWORD Code = 0;
  std::wstring Sortie;
  std::wstring Erreurs;
};

// Runs the driver with its arguments, waiting for it (30 s at most).
TResultatPilote Piloter(const std::wstring& arguments) {
  const auto r = LancerProgrammeEnfant(L"", arguments, FichierBuild(L"tools\\pilote.exe"), true);
  return {r.CodeSortie, r.Sortie, r.Erreurs};
}

std::wstring Guillemets(const std::wstring& texte) { return L"\"" + texte + L"\""; }

// One window for the whole suite, put back as new before each test: under Wine without a window
// manager, hiding a top-level window costs two seconds.
class Pilote : public testing::Test {
 protected:
  static void SetUpTestSuite() { FPartagee = new TFenetreTest(L"Fenêtre d'essai du pilote n°1"); }
  static void TearDownTestSuite() {
    delete FPartagee;
    FPartagee = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(FFenetre.Fenetre());
    FFenetre.Reinitialiser();
  }

  static inline TFenetreTest* FPartagee = nullptr;
  TFenetreTest& FFenetre = *FPartagee;
  std::wstring FTitre = L"-titre " + Guillemets(FFenetre.Titre()) + L" ";
};

}  // namespace

TEST_F(Pilote, ListsTheControlsOfTheWindowAndItsPanels) {
  const auto r = Piloter(FTitre + L"attendre-fenetre -- lister");
  ASSERT_EQ(0u, r.Code) << VersUtf8(r.Erreurs);
  const auto lignes = Decouper(r.Sortie, L'\n');
  auto ligne = [&](int id) {
    for (const auto& l : lignes)
      if (CommencePar(l, std::to_wstring(id) + L"\t")) return l;
    return std::wstring(L"<absente>");
  };
  EXPECT_EQ(L"1200\tPanelEtape2\tPanneauTestPilote\t1\t1\t", ligne(Id::PanelEtape2));
  EXPECT_EQ(L"1202\tLabelEtape2Explication\tStatic\t1\t1\tSaisissez le RNE", ligne(Id::LabelEtape2Explication));
  EXPECT_EQ(L"1203\tEditRNE\tEdit\t1\t1\t", ligne(Id::EditRNE));
  EXPECT_EQ(L"1204\tBtnValidationRNE\tButton\t1\t0\tValider", ligne(Id::BtnValidationRNE));
  EXPECT_EQ(L"1210\tLabelErreurEtape2\tStatic\t0\t1\t", ligne(Id::LabelErreurEtape2));
  EXPECT_EQ(L"1404\tCheckboxCGUEtape4\tButton\t1\t1\tJ'ai lu et j'accepte", ligne(Id::CheckboxCGUEtape4));
}

TEST_F(Pilote, TypesClicksAndWaitsForTheAnswer) {
  const auto r = Piloter(FTitre + L"saisir EditRNE 0750001A -- lire LabelEtape2Explication -- cliquer 1204 "
                                  L"-- attendre-visible LabelErreurEtape2 "
                                  L"-- attendre-texte LabelErreurEtape2 \"École trouvée : 075*\" "
                                  L"-- attendre-texte LabelErreurEtape2 \"?cole trouv?e : 0750001A\" "
                                  L"-- lire LabelErreurEtape2");
  ASSERT_EQ(0u, r.Code) << VersUtf8(r.Erreurs);
  EXPECT_EQ(L"Saisie : 0750001A\nÉcole trouvée : 0750001A\n", r.Sortie);
  EXPECT_EQ(1, FFenetre.Etat.Changements.load()) << "one EN_CHANGE for one replacement of the text";
  EXPECT_EQ(1, FFenetre.Etat.Clics.load());
}

TEST_F(Pilote, TypesKeystrokeByKeystrokeThenPressesEnter) {
  const auto r = Piloter(FTitre + L"saisir EditRNE 07 -- taper EditRNE 5é -- lire EditRNE -- entree "
                                  L"-- attendre-texte LabelErreurEtape2 \"École trouvée : 075é\"");
  ASSERT_EQ(0u, r.Code) << VersUtf8(r.Erreurs);
  EXPECT_EQ(L"075é\n", r.Sortie);
  EXPECT_EQ(3, FFenetre.Etat.Changements.load()) << "one EN_CHANGE for the replacement, one per typed character";
  EXPECT_EQ(1, FFenetre.Etat.Clics.load()) << "Enter presses the default button";
}

TEST_F(Pilote, ChecksAndUnchecksOnlyWhenNeeded) {
  const auto r = Piloter(FTitre + L"cocher CheckboxCGUEtape4 -- cocher CheckboxCGUEtape4 -- etat CheckboxCGUEtape4 "
                                  L"-- lire LabelEtape4 -- decocher CheckboxCGUEtape4 -- etat CheckboxCGUEtape4 "
                                  L"-- lire LabelEtape4 -- etat LabelEtape4");
  ASSERT_EQ(0u, r.Code) << VersUtf8(r.Erreurs);
  EXPECT_EQ(L"visible=1 actif=1 coche=1\nCochée\nvisible=1 actif=1 coche=0\nDécochée\nvisible=1 actif=1 coche=-1\n",
            r.Sortie);
}

TEST_F(Pilote, FindsTheWindowByTheBeginningOfItsTitle) {
  EXPECT_EQ(0u, Piloter(L"-prefixe -titre \"Fenêtre d'essai du pilote\" -delai 2000 attendre-fenetre").Code);
  EXPECT_EQ(1u, Piloter(L"-titre \"Fenêtre d'essai du pilote\" -delai 300 attendre-fenetre").Code)
      << "without -prefixe the title must match whole";
}

TEST(PiloteFermeture, ClosesTheWindowAndSeesItGo) {
  TFenetreTest fenetre(L"Fenêtre d'essai du pilote à fermer");
  const auto r = Piloter(L"-titre " + Guillemets(fenetre.Titre()) + L" fermer -- attendre-fermeture");
  ASSERT_EQ(0u, r.Code) << VersUtf8(r.Erreurs);
  EXPECT_FALSE(IsWindow(fenetre.Fenetre()));
}

TEST_F(Pilote, FailuresSayWhatWentWrong) {
  struct Cas {
    std::wstring arguments;
    DWORD code;
    std::wstring erreur;
  };
  const Cas cas[] = {
      {L"-titre \"Aucune fenêtre\" -delai 300 attendre-fenetre", 1,
       L"pilote : délai de 300 ms dépassé : fenêtre \"Aucune fenêtre\" introuvable\n"},
      {FTitre + L"lire 4242", 1, L"pilote : contrôle 4242 introuvable\n"},
      {FTitre + L"cliquer BtnValidationRNE", 1, L"pilote : contrôle 1204 désactivé\n"},
      {FTitre + L"saisir BtnValidationRNE x", 1, L"pilote : contrôle 1204 : zone de saisie attendue, Button trouvé\n"},
      {FTitre + L"cocher EditRNE", 1, L"pilote : contrôle EditRNE : case à cocher attendue\n"},
      {FTitre + L"-delai 300 attendre-visible LabelErreurEtape2", 1,
       L"pilote : délai de 300 ms dépassé : contrôle LabelErreurEtape2 toujours caché\n"},
      {FTitre + L"-delai 300 attendre-texte LabelEtape2Explication \"Saisie*\"", 1,
       L"pilote : délai de 300 ms dépassé : contrôle LabelEtape2Explication : texte \"Saisissez le RNE\" au lieu de "
       L"\"Saisie*\"\n"},
      {FTitre + L"lire", 2, L"pilote : argument manquant pour lire\n"},
      {FTitre + L"lire EditRNE --", 2, L"pilote : commande manquante\n"},
      {FTitre + L"lire BoutonInconnu", 2, L"pilote : contrôle inconnu : BoutonInconnu\n"},
      {FTitre + L"voler", 2, L"pilote : commande inconnue : voler\n"},
      {L"-vite lire 1", 2, L"pilote : option inconnue : -vite\n"},
  };
  for (const auto& c : cas) {
    const auto r = Piloter(c.arguments);
    EXPECT_EQ(c.code, r.Code) << VersUtf8(c.arguments);
    EXPECT_EQ(c.erreur, r.Erreurs) << VersUtf8(c.arguments);
  }
  EXPECT_EQ(0, FFenetre.Etat.Clics.load()) << "a disabled button is never clicked";
}
