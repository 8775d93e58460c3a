#include "install/EvenementInstallation.h"

namespace norvel {

void TransmettreEvenement(IAbonneEvenementInstallationsClientLourd& AAbonne, const TypeEvenementInstallation& AEvenement) {
  const std::wstring& chaine = AEvenement.Chaine;
  const bool succes = AEvenement.Succes;
  switch (AEvenement.Nature) {
    case EI_CreationRaccourciPortail:
      succes ? AAbonne.RaccourciPortailCree() : AAbonne.EchecRaccourciPortail(chaine);
      break;
    case EI_Desinstallation:
      succes ? AAbonne.DesinstallationEnCours(chaine) : AAbonne.EchecDesinstallation(chaine);
      break;
    case EI_Telechargement:
      succes ? AAbonne.TelechargementEnCours() : AAbonne.EchecTelechargement(chaine);
      break;
    case EI_Installation:
      succes ? AAbonne.InstallationEnCours() : AAbonne.EchecInstallation(chaine);
      break;
    case EI_Configuration:
      // The configuration starts once the setup has run: for the window, the installation is over.
      succes ? AAbonne.InstallationTerminee() : AAbonne.EchecLancement(chaine);
      break;
    case EI_Termine:
      if (succes) AAbonne.LancementTermine();
      break;
    case EI_ProgressionTelechargement:
      AAbonne.ProgressionTelechargement(AEvenement.Recus, AEvenement.Total);
      break;
  }
}

}  // namespace norvel
