#include "wizard/FicheInstalleurNorvelPrimaire.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {
constexpr int LargeurClient = 783;
constexpr int HauteurClient = 521;
}  // namespace

std::wstring TitreFicheInstalleur(const TypeVersion& version) {
  return Format(L"%s - %s", {Msg::TitreAssistant, VersionEnTexte(version)});
}

TFicheInstalleurNorvelPrimaire::TFicheInstalleurNorvelPrimaire() {
  // Fixed size, single border; the caption is set by Initialiser.
  CreerFenetre(L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, LargeurClient, HauteurClient);
}

void TFicheInstalleurNorvelPrimaire::Initialiser(TRef<IAttente> attente, TRef<IDossierSpecial> dossierSpecial,
                                                 TRef<IInformationApplication> informationApplication,
                                                 const std::wstring& cheminInstallation) {
  FAttente = std::move(attente);
  FDossierSpecial = std::move(dossierSpecial);
  FInformationApplication = std::move(informationApplication);
  FCheminInstallation = cheminInstallation;
  SetTitre(TitreFicheInstalleur(FInformationApplication->GetVersion()));
  Afficher();
}

}  // namespace norvel
