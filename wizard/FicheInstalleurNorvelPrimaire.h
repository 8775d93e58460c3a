#pragma once
// The assistant's window. For now it shows the window frame with its title; the steps come
// with the wizard itself.
#include <string>

#include "app/Attente.h"
#include "app/DossierSpecial.h"
#include "app/Fiche.h"
#include "app/IInformationApplication.h"

namespace norvel {

// "Assistant d'installation de NORVEL Primaire - <version>".
std::wstring TitreFicheInstalleur(const TypeVersion& version);

class TFicheInstalleurNorvelPrimaire : public TFiche {
 public:
  TFicheInstalleurNorvelPrimaire();

  // Called once by the start-up, after the form exists, with the services it needs.
  virtual void Initialiser(TRef<IAttente> attente, TRef<IDossierSpecial> dossierSpecial,
                           TRef<IInformationApplication> informationApplication, const std::wstring& cheminInstallation);

  const std::wstring& CheminInstallation() const { return FCheminInstallation; }

 private:
  TRef<IAttente> FAttente;
  TRef<IDossierSpecial> FDossierSpecial;
  TRef<IInformationApplication> FInformationApplication;
  std::wstring FCheminInstallation;
};

}  // namespace norvel
