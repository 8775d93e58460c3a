// The assistant's images: decoded once from the resources, drawn at the display's scale.
#include "wizard/DispositionAssistant.h"
#include "wizard/FicheInstalleurNorvelPrimaire.h"

namespace norvel {

const TImageBitmap& TFicheInstalleurNorvelPrimaire::TImageEchelonnee::ALaTaille(int largeur, int hauteur) {
  if (Origine.Largeur == largeur && Origine.Hauteur == hauteur) return Origine;
  if (AEchelle.Largeur != largeur || AEchelle.Hauteur != hauteur) AEchelle = Redimensionner(Origine, largeur, hauteur);
  return AEchelle;
}

void TFicheInstalleurNorvelPrimaire::ChargerImages() {
  FImageConfig.Origine = ChargerImageRessource(L"IMAGE_CONFIG");
  FImageEcole.Origine = ChargerImageRessource(L"IMAGE_ECOLE");
  FImageInstall.Origine = ChargerImageRessource(L"IMAGE_INSTALL");
  FImageCocheVerte.Origine = ChargerImageRessource(L"IMAGE_COCHE");
}

void TFicheInstalleurNorvelPrimaire::AppliquerImages() {
  // An icon file holds images drawn for several sizes: the one nearest the scale is taken again.
  const int cote = Echelle()(CoteImageEtape);
  FIconePortail = ChargerIconeRessource(L"PORTAILICONE", cote);
  FIconeClientNP = ChargerIconeRessource(L"CLIENTNPICONE", cote);
  FIconeClientNP2023 = ChargerIconeRessource(L"CLIENTNPICONE2023", cote);
  for (TControleImage* coche : {ImageCheckEtape1, ImageCheckEtape5, ImageCheckEtape6, ImageCheckEtape7})
    coche->SetImage(&FImageCocheVerte.ALaTaille(cote, cote));
  ImageIconePortail->SetImage(&FIconePortail);
  ImageIconeClientNP->SetImage(FIconeClientNP2023Choisie ? &FIconeClientNP2023 : &FIconeClientNP);
  if (FImageLaterale) SetImageLaterale(*FImageLaterale);
}

void TFicheInstalleurNorvelPrimaire::SetImageLaterale(TImageEchelonnee& image) {
  FImageLaterale = &image;
  ImageViewer->SetImage(&image.ALaTaille(Echelle()(image.Origine.Largeur), Echelle()(image.Origine.Hauteur)));
}

}  // namespace norvel
