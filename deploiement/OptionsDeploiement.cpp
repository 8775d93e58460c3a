#include "deploiement/OptionsDeploiement.h"

#include "core/Chaines.h"
#include "core/CodesSortie.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "school/HotesNorvel.h"

namespace norvel {

namespace {

// The switches the program knows, and whether a value follows each; the deployment's first.
struct TypeCommutateur {
  const wchar_t* Nom;
  bool AvecValeur;
};
constexpr TypeCommutateur Commutateurs[] = {
    {L"RNE", true},         {L"AccepterConditions", false}, {L"Silencieux", false},  {L"Passif", false},
    {L"Journal", true},     {L"CheminInstallation", true},  {L"instance", true},
};
constexpr size_t CommutateursDeploiement = 5;

// A line that names a deployment switch, in whatever case, is a deployment's: every switch of
// it must be right, since a mistyped one would leave a machine without anybody waiting on a
// window. Other lines keep the program's old tolerance of what it does not know.
bool LigneDeDeploiement(const TParametresLigneDeCommande& AParametres) {
  for (int position = 1; position <= AParametres.ParamCount(); ++position) {
    const std::wstring parametre = AParametres.ParamStr(position);
    if (!TLigneDeCommande::ParametreEstUneOption(parametre)) continue;
    const std::wstring nom = parametre.substr(parametre.find_first_not_of(L"-/") == std::wstring::npos
                                                  ? parametre.size()
                                                  : parametre.find_first_not_of(L"-/"));
    for (size_t i = 0; i < CommutateursDeploiement; ++i)
      if (MemeTexteSansCasse(nom, Commutateurs[i].Nom)) return true;
  }
  return false;
}

// The value of a switch that wants one: the next parameter, unless it is missing or is itself
// a switch (an identifier or a path never begins with "-" or "/" here).
std::wstring ValeurObligatoire(const TParametresLigneDeCommande& AParametres, const wchar_t* ANom,
                               const wchar_t* AMessageManquante) {
  std::wstring valeur;
  AParametres.ValeurParam(ANom, valeur);
  valeur = Trim(valeur);
  if (valeur.empty() || TLigneDeCommande::ParametreEstUneOption(valeur)) throw EArgumentsDeploiement(AMessageManquante);
  return valeur;
}

void VerifierCommutateursConnus(const TParametresLigneDeCommande& AParametres) {
  for (int position = 1; position <= AParametres.ParamCount(); ++position) {
    const std::wstring parametre = AParametres.ParamStr(position);
    if (!TLigneDeCommande::ParametreEstUneOption(parametre)) continue;
    const TypeCommutateur* connu = nullptr;
    for (const TypeCommutateur& commutateur : Commutateurs)
      if (AParametres.IemeParametreEst(position, commutateur.Nom)) connu = &commutateur;
    if (connu) {
      // Its value is no switch of its own, whatever it looks like.
      if (connu->AvecValeur) ++position;
      continue;
    }
    for (const TypeCommutateur& commutateur : Commutateurs)
      if (MemeTexteSansCasse(parametre.substr(1), commutateur.Nom))
        throw EArgumentsDeploiement(
            Format(Msg::CommutateurMauvaiseCasse, {parametre, parametre.substr(0, 1) + commutateur.Nom}));
    throw EArgumentsDeploiement(Format(Msg::CommutateurInconnu, {parametre}));
  }
}

}  // namespace

TypeOptionsDeploiement LireOptionsDeploiement(const TParametresLigneDeCommande& AParametres) {
  TypeOptionsDeploiement options;
  for (int position = 1; position <= AParametres.ParamCount(); ++position)
    if (TLigneDeCommande::ParametreEstOptionAide(AParametres.ParamStr(position))) options.Aide = true;
  if (options.Aide) return options;

  if (LigneDeDeploiement(AParametres)) VerifierCommutateursConnus(AParametres);
  if (AParametres.ParametrePresent(L"RNE")) options.Rne = ValeurObligatoire(AParametres, L"RNE", Msg::ValeurManquanteRne);
  if (AParametres.ParametrePresent(L"Journal"))
    options.Journal = ValeurObligatoire(AParametres, L"Journal", Msg::ValeurManquanteJournal);
  AParametres.ValeurParam(L"CheminInstallation", options.CheminInstallation);
  options.AccepterConditions = AParametres.ParametrePresent(L"AccepterConditions");
  const bool silencieux = AParametres.ParametrePresent(L"Silencieux");
  const bool passif = AParametres.ParametrePresent(L"Passif");
  if (silencieux && passif) throw EArgumentsDeploiement(Msg::ModesExclusifs);
  if (silencieux) options.Mode = TypeModeDeploiement::Silencieux;
  if (passif) options.Mode = TypeModeDeploiement::Passif;
  if (options.SansAssistance()) {
    if (options.Rne.empty()) throw EArgumentsDeploiement(Msg::RneObligatoireSansAssistance);
    if (!options.AccepterConditions)
      throw EArgumentsDeploiement(Format(Msg::ConditionsNonAcceptees, {UrlConditionsGeneralesOvalis}));
  }
  return options;
}

std::wstring TexteAideDeploiement(const std::wstring& ADossierJournaux) {
  std::wstring codes;
  for (const TypeDescriptionCodeSortie& code : CodesSortie)
    codes += Format(Msg::LigneCodeSortieAide, {ValeurCodeSortie(code.Code), code.Texte});
  return Format(Msg::AideLigneDeCommande, {UrlConditionsGeneralesOvalis, ADossierJournaux, codes});
}

}  // namespace norvel
