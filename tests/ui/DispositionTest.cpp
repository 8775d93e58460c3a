// A form's layout table read by the widget kit: each rule of a row at 100 % and 150 %, a stack
// whose hidden elements take no room and whose revealed ones go where they are inserted, a
// label that grows to its text, and the room a stack needs above a button anchored below it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/Disposition.h"
#include "ui/Fiche.h"

using namespace norvel;

namespace {

enum : int { IdPage = 10, IdEtapeA, IdTitre, IdCoche, IdMessage, IdEtapeB, IdBouton };

const std::wstring Long =
    L"Un message assez long pour tenir sur plusieurs lignes de la page, même quand la police est "
    L"grande : chaque mot reste entier et la suite de la page descend d'autant.";

class TFichePage : public TFiche {
 public:
  TFichePage() {
    CreerFenetre(L"page", WS_POPUP, 400, 300);
    using enum TypeGenreControle;
    FDisposition = std::make_unique<TDisposition>(
        Handle(), std::vector<TypeLigneDisposition>{
                      {IdPage, 0, Panneau, {0, 0, 0, 0}},
                      {IdEtapeA, IdPage, Panneau, {0, 10, -8, 20}, rdPile},
                      {IdTitre, IdEtapeA, Libelle, {15, 0, 0, 20}, rdLargeurTexte, TypePolice::Grasse,
                       CouleurTexteSysteme, L"1. Titre"},
                      {IdCoche, IdEtapeA, Image, {6, 2, 16, 16}, rdSuite},
                      {IdMessage, IdPage, Libelle, {20, 2, -8, 18}, rdPile | rdHauteurTexte, TypePolice::Normale,
                       RGB(255, 0, 0), L"Court"},
                      {IdEtapeB, IdPage, Panneau, {0, 5, -8, 30}, rdPile},
                      {IdBouton, IdPage, Bouton, {8, 8, 80, 22}, rdAncreBasDroite,
                       TypePolice::Normale, CouleurTexteSysteme, L"Fermer"},
                  });
  }
  TDisposition& Disposition() { return *FDisposition; }
  // At a scale, the client area given: the height the page needs.
  int Disposer(UINT ppp, SIZE client) {
    FDisposition->CreerPolices(ppp);
    AppliquerPolices();
    return FDisposition->Disposer(TEchelle{ppp}, client);
  }
  RECT Place(int id) {
    RECT r{};
    const HWND controle = FDisposition->Controle(id);
    GetWindowRect(controle, &r);
    MapWindowPoints(nullptr, GetParent(controle), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

 protected:
  HFONT PoliceDe(HWND controle) const override {
    const HFONT police = FDisposition ? FDisposition->PoliceDe(controle) : nullptr;
    return police ? police : Police();
  }

 private:
  std::unique_ptr<TDisposition> FDisposition;
};

}  // namespace

TEST(Disposition, EachRuleOfARowAtTwoScales) {
  for (const UINT ppp : {96u, 144u}) {
    SCOPED_TRACE(ppp);
    const TEchelle e{ppp};
    TFichePage fiche;
    auto& d = fiche.Disposition();
    const SIZE client{e(400), e(300)};
    const int besoin = fiche.Disposer(ppp, client);

    // Filling to the parent's edge less a margin; a width of the text; a row that follows.
    const RECT etapeA = fiche.Place(IdEtapeA), titre = fiche.Place(IdTitre), coche = fiche.Place(IdCoche);
    EXPECT_EQ(etapeA.left, 0);
    EXPECT_EQ(etapeA.top, e(10));
    EXPECT_EQ(etapeA.right, client.cx - e(8));
    EXPECT_EQ(etapeA.bottom - etapeA.top, e(20));
    EXPECT_EQ(titre.left, e(15));
    EXPECT_EQ(titre.right - titre.left, TailleTexte(d.Controle(IdTitre)).cx);
    EXPECT_EQ(coche.left, titre.right + e(6));
    EXPECT_EQ(coche.top, e(2));
    EXPECT_EQ(coche.right - coche.left, e(16));
    EXPECT_EQ(d.PoliceDe(d.Controle(IdTitre)), reinterpret_cast<HFONT>(SendMessageW(d.Controle(IdTitre), WM_GETFONT, 0, 0)));
    EXPECT_EQ(d.CouleurDe(d.Controle(IdMessage)), RGB(255, 0, 0));

    // The stack: each element below the one shown before it, with its own room above it.
    RECT message = fiche.Place(IdMessage);
    EXPECT_EQ(message.top, etapeA.bottom + e(2));
    EXPECT_EQ(message.left, e(20));
    const int hauteurCourte = message.bottom - message.top;
    EXPECT_EQ(hauteurCourte, std::max(e(18), HauteurTexteRenvoye(d.Controle(IdMessage), message.right - message.left)));
    EXPECT_EQ(fiche.Place(IdEtapeB).top, message.bottom + e(5));

    // Anchored in the bottom right corner; the page needs the stack, then the button with the
    // same room above it as below it.
    const RECT bouton = fiche.Place(IdBouton);
    EXPECT_EQ(bouton.right, client.cx - e(8));
    EXPECT_EQ(bouton.bottom, client.cy - e(8));
    EXPECT_EQ(besoin, fiche.Place(IdEtapeB).bottom + e(8) + e(22) + e(8));

    // A long text: the label grows to it, and what follows moves down.
    SetWindowTextW(d.Controle(IdMessage), Long.c_str());
    const int besoinLong = fiche.Disposer(ppp, client);
    message = fiche.Place(IdMessage);
    EXPECT_GT(message.bottom - message.top, 2 * e(18)) << "several lines";
    EXPECT_EQ(message.bottom - message.top, HauteurTexteRenvoye(d.Controle(IdMessage), message.right - message.left));
    EXPECT_EQ(fiche.Place(IdEtapeB).top, message.bottom + e(5));
    EXPECT_EQ(besoinLong - besoin, (message.bottom - message.top) - hauteurCourte);

    // Hidden, it takes no room; revealed below B, it goes there.
    ShowWindow(d.Controle(IdMessage), SW_HIDE);
    fiche.Disposer(ppp, client);
    EXPECT_EQ(fiche.Place(IdEtapeB).top, etapeA.bottom + e(5));
    d.InsererSous(IdMessage, IdEtapeB);
    fiche.Disposer(ppp, client);
    EXPECT_EQ(d.Pile(IdPage), (std::vector<int>{IdEtapeA, IdEtapeB, IdMessage}));
    EXPECT_TRUE(EstMontre(d.Controle(IdMessage)));
    EXPECT_EQ(fiche.Place(IdEtapeB).top, etapeA.bottom + e(5));
    EXPECT_EQ(fiche.Place(IdMessage).top, fiche.Place(IdEtapeB).bottom + e(2));

    // A height that follows its text exactly, without the row's minimum.
    SetWindowTextW(d.Controle(IdMessage), L"Court");
    d.SetHauteurExacte(IdMessage, true);
    fiche.Disposer(ppp, client);
    message = fiche.Place(IdMessage);
    EXPECT_EQ(message.bottom - message.top, HauteurTexteRenvoye(d.Controle(IdMessage), message.right - message.left));
  }
}
