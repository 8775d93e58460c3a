// The switches of a deployment as a script writes them, and the exit codes the deployment
// tools read.
#include <gtest/gtest.h>

#include <set>

#include "core/Chaines.h"
#include "core/CodesSortie.h"
#include "deploiement/OptionsDeploiement.h"

using namespace norvel;

namespace {

TypeOptionsDeploiement Lire(const std::wstring& arguments) {
  return LireOptionsDeploiement(TParametresLigneDeCommande(L"assistant.exe " + arguments, L"C:\\assistant.exe"));
}

std::wstring Erreur(const std::wstring& arguments) {
  try {
    Lire(arguments);
  } catch (const EArgumentsDeploiement& e) {
    return e.Message();
  }
  return L"<acceptée>";
}

}  // namespace

TEST(OptionsDeploiement, WhatEachLineAsksFor) {
  using M = TypeModeDeploiement;
  struct Cas {
    const wchar_t* arguments;
    M mode;
    const wchar_t* rne;
    bool conditions;
    const wchar_t* journal;
  };
  const Cas cas[] = {
      {L"", M::Fenetre, L"", false, L""},
      // -RNE alone opens the wizard with the identifier.
      {L"-RNE 0750001A", M::Fenetre, L"0750001A", false, L""},
      {L"/RNE 0750001A /AccepterConditions /Silencieux", M::Silencieux, L"0750001A", true, L""},
      {L"-Passif -AccepterConditions -RNE \" 0750001A \" -Journal \"C:\\Journaux\\poste 12.log\"", M::Passif, L"0750001A",
       true, L"C:\\Journaux\\poste 12.log"},
      // The program's other switches are still its own.
      {L"-CheminInstallation \"D:\\NORVEL\" -instance Essai -RNE 0750001A", M::Fenetre, L"0750001A", false, L""},
      // A line without any deployment switch keeps the old tolerance of unknown ones.
      {L"--gtest_color=no -x", M::Fenetre, L"", false, L""},
      // What follows "--" belongs to debugging.
      {L"-RNE 0750001A -Silencieux -AccepterConditions -- -Inconnu", M::Silencieux, L"0750001A", true, L""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(VersUtf8(c.arguments));
    const TypeOptionsDeploiement options = Lire(c.arguments);
    EXPECT_EQ(options.Mode, c.mode);
    EXPECT_EQ(options.Rne, c.rne);
    EXPECT_EQ(options.AccepterConditions, c.conditions);
    EXPECT_EQ(options.Journal, c.journal);
    EXPECT_FALSE(options.Aide);
  }
  EXPECT_EQ(Lire(L"-CheminInstallation \"D:\\NORVEL\"").CheminInstallation, L"D:\\NORVEL");
}

TEST(OptionsDeploiement, ABadLineSaysWhatIsWrong) {
  struct Cas {
    const wchar_t* arguments;
    std::wstring message;
  };
  const Cas cas[] = {
      {L"-RNE", L"Le commutateur -RNE attend l'identifiant de l'école (son RNE), par exemple : -RNE 0750001A"},
      {L"-RNE -Silencieux -AccepterConditions",
       L"Le commutateur -RNE attend l'identifiant de l'école (son RNE), par exemple : -RNE 0750001A"},
      {L"-RNE \"  \"", L"Le commutateur -RNE attend l'identifiant de l'école (son RNE), par exemple : -RNE 0750001A"},
      {L"-RNE 0750001A -Journal",
       L"Le commutateur -Journal attend le chemin du fichier journal, par exemple : -Journal C:\\Journaux\\norvel.log"},
      {L"-RNE 0750001A -AccepterConditions -Silencieux -Passif",
       L"Les commutateurs -Silencieux et -Passif s'excluent : n'en donnez qu'un seul."},
      {L"-Silencieux -AccepterConditions",
       L"Une installation sans assistance a besoin de l'identifiant de l'école : ajoutez -RNE <identifiant>."},
      {L"-Passif -RNE 0750001A",
       L"Une installation sans assistance ne démarre que si la personne qui déploie accepte les conditions générales "
       L"d'utilisation (https://www.ovalis.fr/conditions-generales-de-vente) : ajoutez -AccepterConditions."},
      {L"-RNE 0750001A -Silencieu", L"Commutateur inconnu : -Silencieu (voir -? pour la liste des commutateurs)."},
      // Switches are exact: a deployment script in lower case learns it at once.
      {L"/rne 0750001A", L"Commutateur inconnu : /rne. Vouliez-vous écrire /RNE ? Les majuscules et minuscules comptent."},
      {L"--RNE 0750001A", L"Commutateur inconnu : --RNE (voir -? pour la liste des commutateurs)."},
  };
  for (const Cas& c : cas) EXPECT_EQ(Erreur(c.arguments), c.message) << VersUtf8(c.arguments);
}

TEST(OptionsDeploiement, HelpWinsAndListsEverySwitchAndCode) {
  for (const wchar_t* aide : {L"-?", L"/?", L"-h", L"-help", L"/H", L"-Silencieux -Passif --help"})
    EXPECT_TRUE(Lire(aide).Aide) << VersUtf8(aide);
  const std::wstring texte = TexteAideDeploiement(L"C:\\ProgramData\\Ovalis\\Journaux\\");
  for (const wchar_t* element : {L"-RNE <identifiant>", L"-AccepterConditions", L"-Silencieux", L"-Passif",
                                 L"-Journal <fichier>", L"C:\\ProgramData\\Ovalis\\Journaux\\", L" 1618  ", L"20006  "})
    EXPECT_NE(texte.find(element), std::wstring::npos) << VersUtf8(element);
  for (const auto& code : CodesSortie) EXPECT_NE(texte.find(code.Texte), std::wstring::npos) << VersUtf8(code.Texte);
}

TEST(CodesSortie, EachStageItsOwnCodeAndTheToolsCodesKeepTheirMeaning) {
  std::set<uint32_t> vus;
  for (const auto& code : CodesSortie) EXPECT_TRUE(vus.insert(ValeurCodeSortie(code.Code)).second) << ValeurCodeSortie(code.Code);
  EXPECT_EQ(ValeurCodeSortie(TypeCodeSortie::Succes), 0u);
  EXPECT_EQ(ValeurCodeSortie(TypeCodeSortie::RedemarrageNecessaire), 3010u);
  EXPECT_EQ(ValeurCodeSortie(TypeCodeSortie::InstallationEnCours), 1618u);
  EXPECT_EQ(ValeurCodeSortie(TypeCodeSortie::Annulation), 1602u);
  // Every failure reads as a failure: neither the tools' success (0, 1707), nor a restart
  // (3010, 1641), nor "retry" (1618).
  const std::set<uint32_t> reservees = {0, 1707, 3010, 1641, 1618};
  for (TypeCodeSortie echec :
       {TypeCodeSortie::ArgumentsInvalides, TypeCodeSortie::EchecInitialisation, TypeCodeSortie::Annulation,
        TypeCodeSortie::EchecAccesInternet, TypeCodeSortie::AuthentificationProxyManquante,
        TypeCodeSortie::EchecRechercheEcole, TypeCodeSortie::EchecRaccourci, TypeCodeSortie::EchecDesinstallation,
        TypeCodeSortie::EchecTelechargement, TypeCodeSortie::EchecSignature, TypeCodeSortie::EchecSetup,
        TypeCodeSortie::EchecLancement})
    EXPECT_EQ(reservees.count(ValeurCodeSortie(echec)), 0u) << ValeurCodeSortie(echec);
}
