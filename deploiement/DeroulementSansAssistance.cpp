#include "deploiement/DeroulementSansAssistance.h"

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "httpconfig/JournalConfigClientsHttp.h"
#include "install/ExecutionSetup.h"
#include "install/GestionInstallationsNorvelPrimaire.h"
#include "platform/Journal.h"
#include "steps/ExecutionEtapes.h"

namespace norvel {

namespace {

constexpr auto Progressif = TypeNatureLigneJournal::Progression;
constexpr auto Erreur = TypeNatureLigneJournal::Erreur;

// The message a failed step shows, with the format's own words before it.
bool EstEchecDe(const std::wstring& ASousEtape, const wchar_t* AFormat) {
  return CommencePar(ASousEtape, Format(AFormat, {L""}));
}

}  // namespace

TDeroulementSansAssistance::TDeroulementSansAssistance(TypeServices AServices, TypeOptionsDeploiement AOptions,
                                                       std::function<void(const std::wstring&)> ASurProgression)
    : FServices(std::move(AServices)), FOptions(std::move(AOptions)), FSurProgression(std::move(ASurProgression)) {}

void TDeroulementSansAssistance::Progression(const std::wstring& texte) {
  Journaliser(texte, Progressif);
  if (FSurProgression) FSurProgression(texte);
}

TypeCodeSortie TDeroulementSansAssistance::CodeSelonProxy(TypeCodeSortie ACode) const {
  const bool proxySansAuthentification =
      FServices.ProxySansAuthentification && !FServices.ProxySansAuthentification().empty();
  return ACode != TypeCodeSortie::Succes && proxySansAuthentification ? TypeCodeSortie::AuthentificationProxyManquante
                                                                      : ACode;
}

TypeCodeSortie TDeroulementSansAssistance::CodeDeEtat(const TypeEtatEtapes& e) {
  if (e.Phase == TypePhaseEtapes::ArretEtape1) return TypeCodeSortie::EchecAccesInternet;
  if (!e.Etape3) return TypeCodeSortie::EchecRechercheEcole;
  if (e.ErreurEtape7) return TypeCodeSortie::EchecLancement;
  if (e.SousEtapeEnErreur) {
    if (EstEchecDe(e.SousEtape, Msg::ErreurTelechargement)) return TypeCodeSortie::EchecTelechargement;
    if (EstEchecDe(e.SousEtape, Msg::ErreurInstallation))
      return EstRefusSignature(e.SousEtape.substr(Format(Msg::ErreurInstallation, {L""}).size()))
                 ? TypeCodeSortie::EchecSignature
                 : TypeCodeSortie::EchecSetup;
    return TypeCodeSortie::EchecDesinstallation;
  }
  if (!e.CocheEtape7) return TypeCodeSortie::Annulation;
  // As in the window, the installation went on without its shortcut.
  return e.ErreurEtape5 ? TypeCodeSortie::EchecRaccourci : TypeCodeSortie::Succes;
}

void TDeroulementSansAssistance::EtatModifie(const TypeEtatEtapes& AEtat) {
  const bool nouveauMessageEtape1 = AEtat.MessageEtape1 && AEtat.MessageEtape1 != FEtat.MessageEtape1;
  const bool nouvelleSousEtape = AEtat.SousEtapeMontree && AEtat.SousEtape != FEtat.SousEtape;
  FEtat = AEtat;
  // What the window would show under step 1 (the search, the configuration applied).
  if (nouveauMessageEtape1) Progression(*AEtat.MessageEtape1);
  if (nouvelleSousEtape && FSurProgression) FSurProgression(AEtat.SousEtape);
}

std::optional<size_t> TDeroulementSansAssistance::ChoisirConfiguration(
    const TypeTabPropositionsModifConfigClientsHttp& APropositions) {
  if (APropositions.empty()) return std::nullopt;
  // Nobody chooses: the first proposal is the one the window would have offered first.
  Progression(Format(Msg::JournalPremiereProposition, {DescriptionProposition(APropositions.front())}));
  return 0;
}

std::optional<TypeInfoAuthHttp> TDeroulementSansAssistance::DemanderInfoAuthProxy(const std::wstring&) {
  // The sessions service of the run has said which proxy asked, and how to provide its credentials.
  return std::nullopt;
}

TRef<TGestionInstallationsClientLourd> TDeroulementSansAssistance::CreerGestionInstallations(
    TRef<IAbonneEvenementInstallationsClientLourd> AAbonne) {
  return NouvelObjet<TGestionInstallationsNorvelPrimaire>(FServices.SessionsHttp, FServices.DossierSpecial,
                                                          std::move(AAbonne));
}

TypeCodeSortie TDeroulementSansAssistance::Executer(bool ASansUtilisateur) {
  try {
    TExecutionEtapes execution(*this, FServices.Attente, FServices.InformationApplication, FServices.SessionsHttp,
                               FOptions.CheminInstallation);
    const TRef<TGestionInstallationsClientLourd> gestion = CreerGestionInstallations(execution.Abonne());
    gestion->SetSansUtilisateur(ASansUtilisateur);
    execution.SetGestionInstallations(gestion);
    auto echec = [&](TypeCodeSortie code, const std::optional<std::wstring>& message) {
      if (message) Journaliser(Format(Msg::JournalEchecEtape, {*message}), Erreur);
      if (message && FSurProgression) FSurProgression(*message);
      return CodeSelonProxy(code);
    };

    Progression(Msg::JournalEtape1);
    execution.TesterAccesInternet();
    if (FEtat.Phase == TypePhaseEtapes::ArretEtape1) return echec(TypeCodeSortie::EchecAccesInternet, FEtat.MessageEtape1);
    if (!FEtat.MessageEtape1) Progression(Msg::JournalAccesInternetReussi);

    Progression(Format(Msg::JournalEtape2, {FOptions.Rne}));
    execution.IdentifiantModifie(true);
    execution.ValiderIdentifiant(FOptions.Rne);
    if (!FEtat.Ecole || FEtat.ErreurEtape2) return echec(TypeCodeSortie::EchecRechercheEcole, FEtat.ErreurEtape2);
    const TypeInfosHebNP& infos = *FEtat.Ecole;
    Progression(Format(Msg::JournalEcoleTrouvee,
                       {infos.NomEcole, infos.AdresseEcole, infos.CodePostalEcole, infos.VilleEcole, infos.PaysEcole,
                        infos.NomDomaine, static_cast<unsigned>(infos.Port),
                        infos.ServeurEnService ? Msg::NatureTestConnectivite : Msg::NatureConfiguration,
                        infos.MillesimeServeur}));
    execution.ConfirmerEcole();
    Journaliser(Msg::JournalConditionsAcceptees, Progressif);
    execution.AccepterConditions();

    const auto fin = NouvelObjet<TConditionFinDAttenteFonction>(
        [this](bool arret, bool) { return arret || FEtat.Phase == TypePhaseEtapes::Terminee; });
    FServices.Attente->Attendre(fin.Get(), 0);
    if (FEtat.Phase != TypePhaseEtapes::Terminee) return TypeCodeSortie::Annulation;
    TypeCodeSortie code = CodeSelonProxy(CodeDeEtat(FEtat));
    // A restart the setup asks for outweighs a missing shortcut: the client needs it to work.
    if ((code == TypeCodeSortie::Succes || code == TypeCodeSortie::EchecRaccourci) &&
        gestion->CodeRetourSetup() == ValeurCodeSortie(TypeCodeSortie::RedemarrageNecessaire))
      code = TypeCodeSortie::RedemarrageNecessaire;
    if (FSurProgression && code != TypeCodeSortie::Succes) FSurProgression(TexteCodeSortie(code));
    return code;
  } catch (const EAnnulation& e) {
    Journaliser(Format(Msg::JournalErreur, {MessageDe(e)}), Erreur);
    return TypeCodeSortie::Annulation;
  } catch (const std::exception& e) {
    // Writing the portal's icon is all that can fail while the installation starts.
    Journaliser(Format(Msg::JournalErreur, {MessageDe(e)}), Erreur);
    return FEtat.Phase == TypePhaseEtapes::Conditions ? TypeCodeSortie::EchecRaccourci
                                                      : TypeCodeSortie::EchecInitialisation;
  }
}

}  // namespace norvel
