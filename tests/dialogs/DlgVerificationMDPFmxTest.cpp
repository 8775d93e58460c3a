// The login dialog driven by the UI driver from another process, with the program's real
// message boxes: required login and password, Enter in the boxes, cancel, layout at 100 % and
// 150 %; and the question asked from a worker thread while the user-interface thread keeps
// running.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/AttenteApplication.h"
#include "core/Chaines.h"
#include "dialogs/DemandeInfoAuthProxy.h"
#include "dialogs/DlgVerificationMDPFmx.h"
#include "support/CaptureEcran.h"
#include "support/FenetresEssai.h"
#include "support/ServicesInterface.h"
#include "support/Pilote.h"
#include "support/TextesEntiers.h"
#include "ui/IdentifiantsControles.h"

using namespace norvel;
using namespace norvel::test;

namespace {

const std::wstring TitreDemande = L"Demande d'authentification";
const std::wstring ExplicationProxy = L"Veuillez vous authentifier auprès du serveur proxy 127.0.0.1:3128";

class DlgVerificationMDPFmx : public testing::Test {
 protected:
  static void SetUpTestSuite() { FServices = new TServicesInterface(); }
  static void TearDownTestSuite() { delete std::exchange(FServices, nullptr); }
  static inline TServicesInterface* FServices = nullptr;
};

struct TSaisie {
  bool Valide = false;
  std::wstring Login = L"inchangé";
  std::wstring MotDePasse = L"inchangé";
  TResultatPilote Pilote;
};

TSaisie Saisir(const std::wstring& titre, const std::wstring& explication, const std::wstring& loginInitial,
               const std::wstring& commandes) {
  TSaisie saisie;
  saisie.Pilote =
      PiloterPendant(OptionTitre(titre.empty() ? L"Identification" : titre) + L"attendre-fenetre -- " + commandes, [&] {
        saisie.Valide =
            TDlgVerificationMDPFmx::SaisieSimple(titre, explication, loginInitial, saisie.Login, saisie.MotDePasse);
      });
  return saisie;
}

}  // namespace

TEST_F(DlgVerificationMDPFmx, RefusesABlankLoginThenABlankPasswordAndHandsBackWhatWasTyped) {
  const auto saisie = Saisir(
      TitreDemande, ExplicationProxy, L"",
      L"attendre-focus EditUserName -- saisir EditUserName \"  \t \" -- saisir EditMotDePasse secret "
      L"-- cliquer-sans-attendre BtnValider -- " +
          LireEtFermerInformation(TitreDemande) +
          L"attendre-focus EditUserName -- saisir EditUserName \" jean.dupont \" -- saisir EditMotDePasse \"   \" "
          L"-- cliquer-sans-attendre BtnValider -- " +
          LireEtFermerInformation(TitreDemande) +
          L"attendre-focus EditMotDePasse -- saisir EditMotDePasse \" s3cret \" -- cliquer BtnValider");
  ASSERT_EQ(0u, saisie.Pilote.Code) << VersUtf8(saisie.Pilote.Erreurs);
  const auto identifiant = saisie.Pilote.Sortie.find(L"\tLa saisie de votre idenfiant est obligatoire\n");
  const auto motDePasse = saisie.Pilote.Sortie.find(L"\tLa saisie du mot de passe est obligatoire\n");
  EXPECT_NE(std::wstring::npos, identifiant) << VersUtf8(saisie.Pilote.Sortie);
  EXPECT_NE(std::wstring::npos, motDePasse) << VersUtf8(saisie.Pilote.Sortie);
  EXPECT_LT(identifiant, motDePasse);
  EXPECT_TRUE(saisie.Valide);
  EXPECT_EQ(L" jean.dupont ", saisie.Login) << "as typed, not trimmed";
  EXPECT_EQ(L" s3cret ", saisie.MotDePasse);
}

TEST_F(DlgVerificationMDPFmx, CancelAndTheCloseBoxGiveNothing) {
  for (const std::wstring fin : {L"cliquer BtnAnnuler", L"fermer"}) {
    const auto saisie = Saisir(TitreDemande, ExplicationProxy, L"",
                               L"saisir EditUserName jean -- saisir EditMotDePasse secret -- " + fin);
    EXPECT_EQ(0u, saisie.Pilote.Code) << VersUtf8(saisie.Pilote.Erreurs);
    EXPECT_FALSE(saisie.Valide) << VersUtf8(fin);
    EXPECT_EQ(L"inchangé", saisie.Login);
    EXPECT_EQ(L"inchangé", saisie.MotDePasse);
  }
}

namespace {

// What the password box holds when its window is destroyed, seen from this thread's messages.
struct TTexteALaDestruction {
  static inline std::wstring Texte = L"(non détruite)";
  static LRESULT CALLBACK Crochet(int code, WPARAM w, LPARAM l) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(l);
    if (code == HC_ACTION && message->message == WM_DESTROY &&
        GetDlgCtrlID(message->hwnd) == IdControle::VerificationMDP::EditMotDePasse) {
      wchar_t texte[256] = {};
      GetWindowTextW(message->hwnd, texte, 256);
      Texte = texte;
    }
    return CallNextHookEx(nullptr, code, w, l);
  }
};

}  // namespace

// Validated or cancelled, the dialog never goes with the password still in its box.
TEST_F(DlgVerificationMDPFmx, ThePasswordBoxIsEmptiedBeforeTheDialogGoes) {
  const HHOOK crochet = SetWindowsHookExW(WH_CALLWNDPROC, &TTexteALaDestruction::Crochet, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(crochet);
  for (const std::wstring fin : {L"cliquer BtnValider", L"cliquer BtnAnnuler"}) {
    SCOPED_TRACE(VersUtf8(fin));
    TTexteALaDestruction::Texte = L"(non détruite)";
    const auto saisie = Saisir(TitreDemande, ExplicationProxy, L"",
                               L"saisir EditUserName jean -- saisir EditMotDePasse s3cret -- " + fin);
    EXPECT_EQ(0u, saisie.Pilote.Code) << VersUtf8(saisie.Pilote.Erreurs);
    EXPECT_EQ(TTexteALaDestruction::Texte, L"");
  }
  UnhookWindowsHookEx(crochet);
}

TEST_F(DlgVerificationMDPFmx, EnterMovesFromTheLoginToThePasswordThenOnlyLeavesThePassword) {
  const auto saisie = Saisir(TitreDemande, ExplicationProxy, L"",
                             L"attendre-focus EditUserName -- saisir EditUserName jean -- entree "
                             L"-- attendre-focus EditMotDePasse -- saisir EditMotDePasse pw -- entree "
                             L"-- attendre-focus fenetre -- etat BtnValider -- entree");
  ASSERT_EQ(0u, saisie.Pilote.Code) << VersUtf8(saisie.Pilote.Erreurs);
  EXPECT_EQ(L"visible=1 actif=1 coche=-1\n", saisie.Pilote.Sortie) << "still open after Enter in the password box";
  EXPECT_TRUE(saisie.Valide) << "Enter out of the boxes presses \"Valider\"";
  EXPECT_EQ(L"jean", saisie.Login);
  EXPECT_EQ(L"pw", saisie.MotDePasse);
}

TEST_F(DlgVerificationMDPFmx, AnInitialLoginFillsItsBoxAndTheFocusGoesToThePassword) {
  const auto saisie = Saisir(L"", L"", L"marie",
                             L"etat LabelExplication -- lire EditUserName -- lire LUserName -- lire LPwd "
                             L"-- attendre-focus EditMotDePasse -- saisir EditMotDePasse pw -- cliquer BtnValider");
  ASSERT_EQ(0u, saisie.Pilote.Code) << VersUtf8(saisie.Pilote.Erreurs);
  EXPECT_EQ(L"visible=0 actif=1 coche=-1\nmarie\nIdentifiant de connexion :\nMot de passe :\n", saisie.Pilote.Sortie)
      << "titled \"Identification\", no explanation";
  EXPECT_TRUE(saisie.Valide);
  EXPECT_EQ(L"marie", saisie.Login);
}

TEST_F(DlgVerificationMDPFmx, TheControlsStackFromTheTopAndTheFormEndsBelowTheButtons) {
  TDlgVerificationMDPFmx fiche(nullptr);
  namespace Id = IdControle::VerificationMDP;
  auto bas = [&](int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(fiche.Handle(), id), &r);
    MapWindowPoints(nullptr, fiche.Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  auto hauteurClient = [&] {
    RECT r{};
    GetClientRect(fiche.Handle(), &r);
    return static_cast<int>(r.bottom);
  };
  fiche.ConfigureAffichage(true, ExplicationProxy);
  RECT fenetre{};
  GetWindowRect(fiche.Handle(), &fenetre);
  EXPECT_EQ(219, fenetre.right - fenetre.left);
  const RECT explication = bas(Id::LabelExplication), legende = bas(Id::LUserName), login = bas(Id::EditUserName),
             motDePasse = bas(Id::EditMotDePasse), panneau = bas(Id::PanelBoutons);
  EXPECT_EQ(8, explication.left);
  EXPECT_EQ(8, explication.top);
  EXPECT_GT(explication.bottom - explication.top, legende.bottom - legende.top) << "the explanation wraps";
  EXPECT_LT(explication.bottom, legende.top);
  EXPECT_LT(legende.bottom, login.top + 1);
  EXPECT_LT(login.bottom, motDePasse.top);
  EXPECT_LT(motDePasse.bottom, panneau.top);
  EXPECT_EQ(panneau.bottom + 1, hauteurClient());
  const int avecTout = hauteurClient();

  fiche.ConfigureAffichage(true, L"");
  EXPECT_EQ(8, bas(Id::LUserName).top) << "a hidden explanation takes no room";
  const int sansExplication = hauteurClient();
  EXPECT_EQ(avecTout - (explication.bottom - explication.top) - 8, sansExplication);

  fiche.ConfigureAffichage(false, L"");
  EXPECT_EQ(8, bas(Id::LPwd).top);
  EXPECT_LT(hauteurClient(), sansExplication);
  EXPECT_EQ(bas(Id::PanelBoutons).bottom + 1, hauteurClient());
}

TEST_F(DlgVerificationMDPFmx, FollowsTheDisplayScaleWithEveryTextWhole) {
  namespace Id = IdControle::VerificationMDP;
  struct Cas {
    UINT ppp;
    const wchar_t* capture;
  } cas[] = {{96, L"demande-authentification-100"}, {144, L"demande-authentification-150"}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.ppp);
    const auto e = [&](int valeur) { return MulDiv(valeur, static_cast<int>(c.ppp), 96); };
    TDlgVerificationMDPFmx fiche(nullptr);
    fiche.SetTitre(TitreDemande);
    fiche.ConfigureAffichage(true, ExplicationProxy);
    if (c.ppp != 96) ChangerEchelle(fiche.Handle(), 96, c.ppp);
    RECT fenetre{};
    GetWindowRect(fiche.Handle(), &fenetre);
    EXPECT_EQ(e(219), fenetre.right - fenetre.left);
    auto place = [&](int id) {
      RECT r{};
      GetWindowRect(essai::ControleParIdentifiant(fiche.Handle(), id), &r);
      MapWindowPoints(nullptr, fiche.Handle(), reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    EXPECT_EQ(e(8), place(Id::LabelExplication).left);
    EXPECT_EQ(e(8), place(Id::LabelExplication).top);
    const RECT valider = place(Id::BtnValider), annuler = place(Id::BtnAnnuler), panneau = place(Id::PanelBoutons);
    EXPECT_EQ(e(80), valider.right - valider.left);
    EXPECT_EQ(e(22), valider.bottom - valider.top);
    EXPECT_LT(annuler.right, valider.left) << "\"Annuler\" left of \"Valider\"";
    EXPECT_EQ(panneau.right, valider.right) << "right-aligned";
    RECT client{};
    GetClientRect(fiche.Handle(), &client);
    EXPECT_EQ(panneau.bottom + 1, client.bottom);
    PhotographierFenetre(fiche.Handle(), L"captures-dialogues", c.capture);
    ExigerTextesEntiers(fiche.Handle());
  }
}

TEST_F(DlgVerificationMDPFmx, AWorkerAsksThroughTheUserInterfaceThreadWhichKeepsRunning) {
  struct Cas {
    std::wstring commandes;
    bool valide;
  } cas[] = {
      {L"saisir EditUserName \" jean \" -- saisir EditMotDePasse \" p w \" -- lire LabelExplication -- cliquer BtnValider",
       true},
      {L"saisir EditUserName jean -- lire LabelExplication -- cliquer BtnAnnuler", false},
  };
  const auto attente = NouvelObjet<TAttenteApplicationFmx>();
  for (const auto& c : cas) {
    TypeInfoAuthHttp info;
    info.Schema = 8;
    std::atomic<bool> fini = false;
    bool reponse = !c.valide;
    std::atomic<DWORD> threadDialogue = 0;
    const auto pilote = PiloterPendant(OptionTitre(TitreDemande) + L"attendre-fenetre -- " + c.commandes, [&] {
      std::thread travailleur([&] {
        reponse = DemanderInfoAuthProxyGraphique(L"127.0.0.1:3128", info);
        fini = true;
        attente->Reveiller(nullptr);
      });
      // Notes which thread the dialog's window belongs to while it is up.
      std::thread observateur([&] {
        while (!fini) {
          if (HWND dialogue = FindWindowW(nullptr, TitreDemande.c_str()))
            threadDialogue = GetWindowThreadProcessId(dialogue, nullptr);
          Sleep(20);
        }
      });
      // This thread only waits, as the wizard does: the dialog runs inside the wait.
      attente->Attendre(ConditionFinDAttente([&] { return fini.load(); }).Get(), 0);
      travailleur.join();
      observateur.join();
    });
    ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
    EXPECT_EQ(ExplicationProxy + L"\n", pilote.Sortie);
    EXPECT_EQ(GetCurrentThreadId(), threadDialogue.load()) << "the dialog belongs to the user-interface thread";
    EXPECT_EQ(c.valide, reponse);
    EXPECT_EQ(8u, info.Schema) << "the scheme is the caller's";
    if (c.valide) {
      EXPECT_EQ(L"jean", info.Identifiant.GetValeur()) << "trimmed and obfuscated";
      EXPECT_EQ(L"p w", info.MotDePasse.GetValeur());
    } else {
      EXPECT_TRUE(info.Identifiant.EstAbsente());
      EXPECT_TRUE(info.MotDePasse.EstAbsente());
    }
  }
}
