// The assistant's page: its controls made from the layout table, their fonts and colours, and
// the layout at the display's scale.
#include <algorithm>

#include "wizard/DispositionAssistant.h"
#include "wizard/FicheInstalleurNorvelPrimaire.h"
#include "ui/IdentifiantsControles.h"

namespace norvel {

namespace Id = IdControle;

void TFicheInstalleurNorvelPrimaire::CreerComposants() {
  FDisposition = std::make_unique<TDisposition>(Handle(), DispositionAssistant());
  FDisposition->CreerPolices(Echelle().Ppp);
  const TDisposition& d = *FDisposition;
  ImageViewer = &d.Composant<TControleImage>(Id::ImageViewer);
  PanelPrincipal = &d.Composant<TPanneau>(Id::PanelPrincipal);
  btnFermer = d.Controle(Id::btnFermer);
  PanelEtape1 = &d.Composant<TPanneau>(Id::PanelEtape1);
  LabelEtape1 = d.Controle(Id::LabelEtape1);
  ImageCheckEtape1 = &d.Composant<TControleImage>(Id::ImageCheckEtape1);
  PatienceEtape1 = &d.Composant<TIndicateurPatience>(Id::PatienceEtape1);
  LabelErreurEtape1 = d.Controle(Id::LabelErreurEtape1);
  PanelEtape2 = &d.Composant<TPanneau>(Id::PanelEtape2);
  LabelEtape2 = d.Controle(Id::LabelEtape2);
  LabelEtape2Explication = d.Controle(Id::LabelEtape2Explication);
  EditRNE = d.Controle(Id::EditRNE);
  BtnValidationRNE = d.Controle(Id::BtnValidationRNE);
  LabelErreurEtape2 = d.Controle(Id::LabelErreurEtape2);
  PanelEtape3 = &d.Composant<TPanneau>(Id::PanelEtape3);
  LabelEtape3 = d.Controle(Id::LabelEtape3);
  PanelAdresse = &d.Composant<TPanneau>(Id::PanelAdresse);
  LabelNomEcole = d.Controle(Id::LabelNomEcole);
  LabelAdresseEcole = d.Controle(Id::LabelAdresseEcole);
  LabelCodePostalVilleEcole = d.Controle(Id::LabelCodePostalVilleEcole);
  LabelPaysEcole = d.Controle(Id::LabelPaysEcole);
  PanelValidationEcole = &d.Composant<TPanneau>(Id::PanelValidationEcole);
  BtnValidationEcole = d.Controle(Id::BtnValidationEcole);
  LabelModifRNE = d.Controle(Id::LabelModifRNE);
  PanelEtape4 = &d.Composant<TPanneau>(Id::PanelEtape4);
  PanelTitreEtape4 = &d.Composant<TPanneau>(Id::PanelTitreEtape4);
  LabelEtape4 = d.Controle(Id::LabelEtape4);
  LabelEtape4Lien = &d.Composant<TLien>(Id::LabelEtape4Lien);
  CheckboxCGUEtape4 = d.Controle(Id::CheckboxCGUEtape4);
  PanelEtape5 = &d.Composant<TPanneau>(Id::PanelEtape5);
  LabelEtape5 = d.Controle(Id::LabelEtape5);
  ImageIconePortail = &d.Composant<TControleImage>(Id::ImageIconePortail);
  ImageCheckEtape5 = &d.Composant<TControleImage>(Id::ImageCheckEtape5);
  LabelErreurEtape5 = d.Controle(Id::LabelErreurEtape5);
  PanelEtape6 = &d.Composant<TPanneau>(Id::PanelEtape6);
  LabelEtape6 = d.Controle(Id::LabelEtape6);
  ImageIconeClientNP = &d.Composant<TControleImage>(Id::ImageIconeClientNP);
  PatienceEtape6 = &d.Composant<TIndicateurPatience>(Id::PatienceEtape6);
  ImageCheckEtape6 = &d.Composant<TControleImage>(Id::ImageCheckEtape6);
  LabelSousEtapeInstallation = d.Controle(Id::LabelSousEtapeInstallation);
  PanelEtape7 = &d.Composant<TPanneau>(Id::PanelEtape7);
  LabelEtape7 = d.Controle(Id::LabelEtape7);
  ImageCheckEtape7 = &d.Composant<TControleImage>(Id::ImageCheckEtape7);
  LabelNatureActionEtape7 = d.Controle(Id::LabelNatureActionEtape7);
  LabelErreurEtape7 = d.Controle(Id::LabelErreurEtape7);
  AppliquerPolices();
}

HFONT TFicheInstalleurNorvelPrimaire::PoliceDe(HWND controle) const {
  const HFONT police = FDisposition ? FDisposition->PoliceDe(controle) : nullptr;
  return police ? police : Police();
}

LRESULT TFicheInstalleurNorvelPrimaire::CouleurControle(UINT message, HDC dc, HWND controle) {
  wchar_t classe[16] = L"";
  GetClassNameW(controle, classe, 16);
  // A disabled edit keeps the system's look.
  if (lstrcmpiW(classe, L"Edit") == 0) return DefWindowProcW(Handle(), message, reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(controle));
  const COLORREF couleur = FDisposition->CouleurDe(controle);
  SetTextColor(dc, couleur == CouleurTexteSysteme ? GetSysColor(COLOR_WINDOWTEXT) : couleur);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void TFicheInstalleurNorvelPrimaire::EchelleChangee() {
  FDisposition->CreerPolices(Echelle().Ppp);
  AppliquerPolices();
  AppliquerImages();
  Disposer();
}

void TFicheInstalleurNorvelPrimaire::Disposer() {
  const TEchelle& e = Echelle();
  RECT client;
  GetClientRect(Handle(), &client);
  const int besoin = FDisposition->Disposer(e, {client.right, client.bottom});
  // The steps shown may need more room than the side image gives (or less again): the window
  // grows or shrinks below its top, so that nothing runs into "Fermer".
  const int largeur = e(LargeurClientAssistant), hauteur = std::max(e(FImageConfig.Origine.Hauteur), besoin);
  if (client.right == largeur && client.bottom == hauteur) return;
  RECT fenetre;
  GetWindowRect(Handle(), &fenetre);
  const POINT coin{fenetre.left, fenetre.top};
  DimensionnerClient(largeur, hauteur, &coin);
  GetClientRect(Handle(), &client);
  FDisposition->Disposer(e, {client.right, client.bottom});
}

}  // namespace norvel
