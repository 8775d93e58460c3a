#include "install/JournalInstallation.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

void Noter(const wchar_t* format, const std::wstring& texte, TypeNatureLigneJournal nature) {
  Journaliser(LigneEtapeInstallation(format, texte), nature);
}
void Progression(const wchar_t* format, const std::wstring& texte = {}) {
  Noter(format, texte, TypeNatureLigneJournal::Progression);
}
void Echec(const wchar_t* format, const std::wstring& texte) { Noter(format, texte, TypeNatureLigneJournal::Erreur); }

}  // namespace

std::wstring LigneEtapeInstallation(const wchar_t* AFormat, const std::wstring& ATexte) {
  if (std::wstring_view(AFormat).find(L"%s") == std::wstring_view::npos) return AFormat;
  return Format(AFormat, {ATexte});
}

void TAbonneJournalise::RaccourciPortailCree() {
  Progression(Msg::JournalRaccourciCree);
  FDestinataire->RaccourciPortailCree();
}

void TAbonneJournalise::EchecRaccourciPortail(const std::wstring& AMessage) {
  Echec(Msg::JournalEchecRaccourci, AMessage);
  FDestinataire->EchecRaccourciPortail(AMessage);
}

void TAbonneJournalise::DesinstallationEnCours(const std::wstring& ANomAffichage) {
  Progression(Msg::JournalDesinstallation, ANomAffichage);
  FDestinataire->DesinstallationEnCours(ANomAffichage);
}

void TAbonneJournalise::EchecDesinstallation(const std::wstring& AMessage) {
  Echec(Msg::JournalEchecDesinstallation, AMessage);
  FDestinataire->EchecDesinstallation(AMessage);
}

void TAbonneJournalise::TelechargementEnCours() {
  Progression(Msg::JournalTelechargement);
  FDestinataire->TelechargementEnCours();
}

void TAbonneJournalise::EchecTelechargement(const std::wstring& AMessage) {
  Echec(Msg::JournalEchecTelechargement, AMessage);
  FDestinataire->EchecTelechargement(AMessage);
}

void TAbonneJournalise::InstallationEnCours() {
  Progression(Msg::JournalInstallation);
  FDestinataire->InstallationEnCours();
}

void TAbonneJournalise::EchecInstallation(const std::wstring& AMessage) {
  Echec(Msg::JournalEchecInstallation, AMessage);
  FDestinataire->EchecInstallation(AMessage);
}

void TAbonneJournalise::InstallationTerminee() {
  Progression(Msg::JournalConfiguration);
  FDestinataire->InstallationTerminee();
}

void TAbonneJournalise::LancementTermine() {
  Progression(Msg::JournalTermine);
  FDestinataire->LancementTermine();
}

void TAbonneJournalise::EchecLancement(const std::wstring& AMessage) {
  Echec(Msg::JournalEchecLancement, AMessage);
  FDestinataire->EchecLancement(AMessage);
}

}  // namespace norvel
