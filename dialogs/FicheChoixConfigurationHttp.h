#pragma once
// The dialog that offers the configurations a search found, one row each, and tells which one
// the user picked. It changes nothing itself: the caller applies the chosen proposal.
#include <memory>
#include <string>

#include "ui/FicheModale.h"
#include "httpconfig/ResultatsConfigClientsHttp.h"

namespace norvel {

// The text of a proposal's row: one line for the system's settings and for discovery, four
// for the program's own proxies, two for an automatic configuration address.
std::wstring TexteProposition(const TypePropositionModifConfigClientsHttp& proposition);

class TFicheChoixConfigurationHttp : public TFicheModale {
 public:
  // Builds the form above its owner (the wizard's form; none: centred on the screen), one row
  // per proposal in the order given. The caller shows it with ExecuterModal: OK means apply
  // Propositions()[PropositionChoisie()].
  static std::unique_ptr<TFicheChoixConfigurationHttp> CreateOv(const TFiche* proprietaire,
                                                                TypeTabPropositionsModifConfigClientsHttp propositions);

  // The row last selected; 0 at creation.
  int PropositionChoisie() const { return FPropositionChoisie; }
  const TypeTabPropositionsModifConfigClientsHttp& Propositions() const { return FTabPropositions; }

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;
  void Commande(int identifiant, int notification) override;
  int BoutonParDefaut() const override;
  void Redimensionnee(int largeur, int hauteur) override;
  void EchelleChangee() override { Disposer(); }

 private:
  TFicheChoixConfigurationHttp(const TFiche* proprietaire, TypeTabPropositionsModifConfigClientsHttp propositions);

  void ListePropositionsSelectCell(int ligne);
  void ListePropositionsCellDblClick(int ligne);
  void ListePropositionsResized();
  // Places the list and the buttons in the client area, at the form's scale.
  void Disposer();
  // The width at which a row's text wraps, and the height of a row: four of the grid's default
  // rows, or its wrapped text when that needs more.
  int LargeurTexteLigne() const;
  int HauteurLigneProposition(int ligne) const;
  void DessinerLigne(const DRAWITEMSTRUCT& dessin) const;

  TypeTabPropositionsModifConfigClientsHttp FTabPropositions;
  int FPropositionChoisie = 0;
  HWND FListePropositions = nullptr;
  HWND FBtnAnnuler = nullptr;
  HWND FBtnValider = nullptr;
};

}  // namespace norvel
