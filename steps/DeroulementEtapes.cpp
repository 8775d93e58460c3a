#include "steps/DeroulementEtapes.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

using Phase = TypePhaseEtapes;

void TDeroulementEtapes::Signaler() {
  if (FSurChangement) FSurChangement(FEtat);
}

// ---- Step 1

void TDeroulementEtapes::TestAccesCommence() {
  FEtat.PatienceEtape1 = true;
  Signaler();
}

void TDeroulementEtapes::AfficherEtape2() {
  FEtat.CocheEtape1 = true;
  FEtat.Etape2 = true;
  FEtat.Focus = TypeFocusEtapes::Identifiant;
  FEtat.ImageLaterale = TypeImageLaterale::Ecole;
  FEtat.Phase = Phase::SaisieIdentifiant;
}

TypeSuiteEtapes TDeroulementEtapes::AccesTeste(bool AHttpsReussi) {
  if (AHttpsReussi) {
    FEtat.PatienceEtape1 = false;
    AfficherEtape2();
    Signaler();
    return TypeSuiteEtapes::Aucune;
  }
  FEtat.MessageEtape1 = Msg::AccesInternetEnEchec;
  Signaler();
  return TypeSuiteEtapes::RechercherConfigurations;
}

void TDeroulementEtapes::ArreterEtape1(const wchar_t* AMessage) {
  FEtat.MessageEtape1 = AMessage;
  FEtat.Focus = TypeFocusEtapes::Fermer;
  FEtat.Phase = Phase::ArretEtape1;
}

TypeSuiteEtapes TDeroulementEtapes::ConfigurationsTrouvees(size_t ANombre) {
  FEtat.PatienceEtape1 = false;
  if (ANombre == 0) ArreterEtape1(Msg::AucuneConfigurationHttp);
  Signaler();
  return ANombre == 0 ? TypeSuiteEtapes::Aucune : TypeSuiteEtapes::ChoisirConfiguration;
}

void TDeroulementEtapes::ChoixConfigurationRefuse() {
  ArreterEtape1(Msg::AnnulationChoixConfiguration);
  Signaler();
}

void TDeroulementEtapes::ConfigurationAppliquee(const std::wstring& AErreurEnregistrement) {
  // Not tested again: the search has just seen it work. Not saved, it works for this run only.
  const bool enregistree = AErreurEnregistrement.empty();
  FEtat.MessageEtape1 = enregistree ? std::wstring(Msg::ConfigurationHttpAppliquee)
                                    : Format(Msg::ConfigurationHttpNonEnregistree, {AErreurEnregistrement});
  FEtat.MessageEtape1EnErreur = !enregistree;
  AfficherEtape2();
  Signaler();
}

// ---- Step 2

void TDeroulementEtapes::IdentifiantModifie(bool ASaisi) {
  // Once the school is confirmed the identifier is frozen.
  if (FEtat.Phase != Phase::SaisieIdentifiant && FEtat.Phase != Phase::EcoleAffichee) return;
  // An answer still awaited belongs to the text before this change.
  ++FNumeroRecherche;
  FEtat.ErreurEtape2.reset();
  FEtat.ValidationIdentifiantPossible = ASaisi;
  if (ASaisi)
    FEtat.BoutonParDefaut = TypeBoutonParDefaut::ValidationIdentifiant;
  else if (FEtat.BoutonParDefaut == TypeBoutonParDefaut::ValidationEcole)
    FEtat.BoutonParDefaut = TypeBoutonParDefaut::Aucun;
  FEtat.Etape3 = false;
  FEtat.Phase = Phase::SaisieIdentifiant;
  Signaler();
}

uint64_t TDeroulementEtapes::RechercheEcoleCommencee() {
  FEtat.ErreurEtape2.reset();
  Signaler();
  return ++FNumeroRecherche;
}

void TDeroulementEtapes::EcoleTrouvee(uint64_t ANumero, const TypeInfosHebNP& AEcole) {
  if (ANumero != FNumeroRecherche) return;
  FEtat.Ecole = AEcole;
  FEtat.Etape3 = true;
  FEtat.BoutonParDefaut = TypeBoutonParDefaut::ValidationEcole;
  FEtat.Phase = Phase::EcoleAffichee;
  Signaler();
}

void TDeroulementEtapes::EcoleIntrouvable(uint64_t ANumero, const std::wstring& AMessage) {
  if (ANumero != FNumeroRecherche) return;
  FEtat.ErreurEtape2 = AMessage;
  Signaler();
}

// ---- Steps 3 and 4

void TDeroulementEtapes::EcoleConfirmee() {
  if (FEtat.Phase != Phase::EcoleAffichee) return;
  // No lookup still awaited may change the school now.
  ++FNumeroRecherche;
  FEtat.Etape4 = true;
  FEtat.SaisieIdentifiantPossible = false;
  FEtat.ValidationIdentifiantPossible = false;
  FEtat.ConfirmationEcolePossible = false;
  FEtat.BoutonParDefaut = TypeBoutonParDefaut::Aucun;
  FEtat.ImageLaterale = TypeImageLaterale::Installation;
  FEtat.Focus = TypeFocusEtapes::Conditions;
  FEtat.Phase = Phase::Conditions;
  Signaler();
}

TypeSuiteEtapes TDeroulementEtapes::ConditionsAcceptees() {
  if (FEtat.Phase != Phase::Conditions) return TypeSuiteEtapes::Aucune;
  FEtat.Etape5 = true;
  FEtat.ConditionsModifiables = false;
  FEtat.Focus = TypeFocusEtapes::Fermer;
  FEtat.Phase = Phase::Installation;
  Signaler();
  return TypeSuiteEtapes::LancerInstallation;
}

// ---- Steps 5 to 7

void TDeroulementEtapes::RaccourciPortailCree() {
  FEtat.CocheEtape5 = true;
  FEtat.Etape6 = true;
  FEtat.PatienceEtape6 = true;
  Signaler();
}

void TDeroulementEtapes::EchecRaccourciPortail(const std::wstring& AMessage) {
  // The installation goes on.
  FEtat.ErreurEtape5 = AMessage;
  FEtat.Etape6 = true;
  FEtat.PatienceEtape6 = true;
  Signaler();
}

void TDeroulementEtapes::AfficherSousEtape(const std::wstring& ATexte) {
  FEtat.SousEtape = ATexte;
  FEtat.SousEtapeMontree = true;
}

void TDeroulementEtapes::EchouerSousEtape(const std::wstring& ATexte) {
  FinirTelechargement();
  FEtat.PatienceEtape6 = false;
  FEtat.SousEtapeEnErreur = true;
  AfficherSousEtape(ATexte);
  FEtat.Phase = Phase::Terminee;
  Signaler();
}

void TDeroulementEtapes::DesinstallationEnCours(const std::wstring& ANomAffichage) {
  AfficherSousEtape(Format(Msg::DesinstallationEnCours, {ANomAffichage}));
  Signaler();
}

void TDeroulementEtapes::EchecDesinstallation(const std::wstring& AMessage) {
  // After the removal that failed; alone when none had started (the catalogue or the registry
  // could not be read).
  EchouerSousEtape(FEtat.SousEtape.empty() ? AMessage : FEtat.SousEtape + L" " + AMessage);
}

void TDeroulementEtapes::TelechargementEnCours() {
  AfficherSousEtape(Msg::TelechargementEnCours);
  Signaler();
}

void TDeroulementEtapes::EchecTelechargement(const std::wstring& AMessage) {
  EchouerSousEtape(Format(Msg::ErreurTelechargement, {AMessage}));
}

void TDeroulementEtapes::ProgressionTelechargement(uint64_t ARecus, uint64_t ATotal) {
  const std::optional<uint64_t> restant = FEstimationTelechargement.SecondesRestantes(ARecus, ATotal, GetTickCount64());
  FEtat.SousEtape = TexteProgressionTelechargement(ARecus, ATotal, restant);
  FEtat.BarreTelechargement = true;
  FEtat.TelechargementPourMille = PourMilleTelechargement(ARecus, ATotal);
  Signaler();
}

void TDeroulementEtapes::FinirTelechargement() {
  FEtat.BarreTelechargement = false;
  FEtat.TelechargementPourMille.reset();
}

void TDeroulementEtapes::InstallationEnCours() {
  FinirTelechargement();
  FEtat.SousEtape = Msg::InstallationEnCours;
  Signaler();
}

void TDeroulementEtapes::EchecInstallation(const std::wstring& AMessage) {
  EchouerSousEtape(Format(Msg::ErreurInstallation, {AMessage}));
}

void TDeroulementEtapes::InstallationTerminee() {
  FEtat.PatienceEtape6 = false;
  FEtat.SousEtape = Msg::InstallationReussie;
  FEtat.CocheEtape6 = true;
  FEtat.Etape7 = true;
  Signaler();
}

void TDeroulementEtapes::LancementTermine() {
  FEtat.CocheEtape7 = true;
  FEtat.Phase = Phase::Terminee;
  Signaler();
}

void TDeroulementEtapes::EchecLancement(const std::wstring& AMessage) {
  FEtat.ErreurEtape7 = AMessage;
  FEtat.Phase = Phase::Terminee;
  Signaler();
}

}  // namespace norvel
