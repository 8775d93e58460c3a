#include "wizard/DispositionAssistant.h"

#include "core/Messages.h"
#include "ui/IdentifiantsControles.h"
#include "wizard/FicheInstalleurNorvelPrimaire.h"

namespace norvel {

std::vector<TypeLigneDisposition> DispositionAssistant() {
  namespace Id = IdControle;
  using enum TypeGenreControle;
  constexpr TypePolice Normale = TypePolice::Normale, Grasse = TypePolice::Grasse, PoliceLien = TypePolice::Lien;
  constexpr int Cote = CoteImageEtape;
  const auto titre = [](int numero, const wchar_t* texte) { return FormaterTitreEtape(numero, NombreEtapes, texte); };
  // The steps' title rows: the title 15 pixels in, then its images 6 pixels apart; the messages
  // under the steps 39 pixels in, 8 from the right edge, growing with their text.
  return {
      // id, parent, kind, {x, y, width, height}, rules, font, colour, text
      {Id::ImageViewer, 0, Image, {0, 0, 79, 0}},
      {Id::PanelPrincipal, 0, Panneau, {79, 0, 0, 0}},

      {Id::PanelEtape1, Id::PanelPrincipal, Panneau, {0, 10, -8, 22}, rdPile},
      {Id::LabelEtape1, Id::PanelEtape1, Libelle, {15, 0, 0, 22}, rdLargeurTexte, Grasse, CouleurTexteSysteme,
       titre(1, Msg::EtapeTestAccesInternet)},
      {Id::ImageCheckEtape1, Id::PanelEtape1, Image, {6, 0, Cote, Cote}, rdSuite},
      {Id::PatienceEtape1, Id::PanelEtape1, Patience, {6, 0, 31, Cote}, rdSuite},
      {Id::LabelErreurEtape1, Id::PanelPrincipal, Libelle, {39, 2, -8, 18}, rdPile | rdHauteurTexte, Normale,
       RougeErreur},

      {Id::PanelEtape2, Id::PanelPrincipal, Panneau, {0, 25, -8, 65}, rdPile},
      {Id::LabelEtape2, Id::PanelEtape2, Libelle, {15, 0, 0, 20}, rdLargeurTexte, Grasse, CouleurTexteSysteme,
       titre(2, Msg::EtapeSaisieRne)},
      {Id::LabelEtape2Explication, Id::PanelEtape2, Libelle, {39, 21, 0, 18}, rdAucune, Normale, CouleurTexteSysteme,
       Msg::ExplicationSaisieRne},
      {Id::EditRNE, Id::PanelEtape2, Saisie, {39, 42, 164, 22}},
      {Id::BtnValidationRNE, Id::PanelEtape2, Bouton, {8, 42, 80, 22}, rdSuite, Normale, CouleurTexteSysteme,
       Msg::BoutonValiderRne},
      {Id::LabelErreurEtape2, Id::PanelPrincipal, Libelle, {39, 2, -8, 18}, rdPile | rdHauteurTexte, Normale,
       RougeErreur},

      {Id::PanelEtape3, Id::PanelPrincipal, Panneau, {0, 25, -8, 100}, rdPile},
      {Id::LabelEtape3, Id::PanelEtape3, Libelle, {15, 0, 0, 20}, rdLargeurTexte, Grasse, CouleurTexteSysteme,
       titre(3, Msg::EtapeConfirmationEcole)},
      // Four lines of address, a quarter of the panel each.
      {Id::PanelAdresse, Id::PanelEtape3, Panneau, {39, 23, 290, 74}},
      {Id::LabelNomEcole, Id::PanelAdresse, Libelle, {0, 0, 0, 18}},
      {Id::LabelAdresseEcole, Id::PanelAdresse, Libelle, {0, 18, 0, 18}},
      {Id::LabelCodePostalVilleEcole, Id::PanelAdresse, Libelle, {0, 36, 0, 18}},
      {Id::LabelPaysEcole, Id::PanelAdresse, Libelle, {0, 54, 0, 18}},
      // Right of the address, centred on it.
      {Id::PanelValidationEcole, Id::PanelEtape3, Panneau, {16, 38, 137, 44}, rdSuite | rdLargeurContenu},
      {Id::BtnValidationEcole, Id::PanelValidationEcole, Bouton, {0, 0, 137, 22}, rdAucune, Normale,
       CouleurTexteSysteme, Msg::BoutonConfirmationEcole},
      {Id::LabelModifRNE, Id::PanelValidationEcole, Libelle, {0, 26, 0, 18}, rdLargeurTexte, Normale,
       CouleurTexteSysteme, Msg::ModificationRne},

      {Id::PanelEtape4, Id::PanelPrincipal, Panneau, {0, 25, -8, 46}, rdPile},
      {Id::PanelTitreEtape4, Id::PanelEtape4, Panneau, {0, 0, 0, 20}},
      {Id::LabelEtape4, Id::PanelTitreEtape4, Libelle, {15, 0, 0, 20}, rdLargeurTexte, Grasse, CouleurTexteSysteme,
       titre(4, Msg::EtapeAcceptationDes) + L" "},
      // Two pixels more than its text for the focus rectangle.
      {Id::LabelEtape4Lien, Id::PanelTitreEtape4, Lien, {0, 0, 2, 20}, rdSuite | rdLargeurTexte, PoliceLien,
       BleuLien, Msg::LienConditionsGenerales},
      // Its box and the gap before its text come with it.
      {Id::CheckboxCGUEtape4, Id::PanelEtape4, Case, {39, 24, 8, 20}, rdLargeurTexte, Normale, CouleurTexteSysteme,
       Msg::AcceptationConditions},

      {Id::PanelEtape5, Id::PanelPrincipal, Panneau, {0, 25, -8, 22}, rdPile},
      {Id::LabelEtape5, Id::PanelEtape5, Libelle, {15, 0, 0, 22}, rdLargeurTexte, Grasse, CouleurTexteSysteme,
       titre(5, Msg::EtapeRaccourciPortail)},
      {Id::ImageIconePortail, Id::PanelEtape5, Image, {6, 0, Cote, Cote}, rdSuite},
      {Id::ImageCheckEtape5, Id::PanelEtape5, Image, {6, 0, Cote, Cote}, rdSuite},
      {Id::LabelErreurEtape5, Id::PanelPrincipal, Libelle, {39, 2, -8, 18}, rdPile | rdHauteurTexte, Normale,
       RougeErreur},

      // The titles of steps 6 and 7 come with the school.
      {Id::PanelEtape6, Id::PanelPrincipal, Panneau, {0, 9, -8, 22}, rdPile},
      {Id::LabelEtape6, Id::PanelEtape6, Libelle, {15, 0, 0, 22}, rdLargeurTexte, Grasse},
      {Id::ImageIconeClientNP, Id::PanelEtape6, Image, {6, 0, Cote, Cote}, rdSuite},
      {Id::PatienceEtape6, Id::PanelEtape6, Patience, {6, 0, Cote, Cote}, rdSuite},
      {Id::ImageCheckEtape6, Id::PanelEtape6, Image, {6, 0, Cote, Cote}, rdSuite},
      // Two lines high while step 6 runs, more when its text needs them.
      {Id::LabelSousEtapeInstallation, Id::PanelPrincipal, Libelle, {39, 2, -8, 32}, rdPile | rdHauteurTexte},

      {Id::PanelEtape7, Id::PanelPrincipal, Panneau, {0, 25, -8, 22}, rdPile},
      {Id::LabelEtape7, Id::PanelEtape7, Libelle, {15, 0, 0, 22}, rdLargeurTexte, Grasse},
      {Id::ImageCheckEtape7, Id::PanelEtape7, Image, {6, 0, Cote, Cote}, rdSuite},
      {Id::LabelNatureActionEtape7, Id::PanelEtape7, Libelle, {6, 0, 0, 22}, rdSuite | rdLargeurTexte},
      {Id::LabelErreurEtape7, Id::PanelPrincipal, Libelle, {39, 2, -8, 18}, rdPile | rdHauteurTexte, Normale,
       RougeErreur},

      // In the main panel's bottom right corner, below the steps whatever they need.
      {Id::btnFermer, Id::PanelPrincipal, Bouton, {8, 8, 89, 22}, rdAncreBasDroite, Normale, CouleurTexteSysteme,
       Msg::BoutonFermer},
  };
}

}  // namespace norvel
