#include <gtest/gtest.h>

#include "platform/LigneDeCommande.h"

using namespace norvel;

namespace {

const std::wstring Exe = L"C:\\Programmes\\Installeur.exe";

TParametresLigneDeCommande Ligne(std::wstring_view texte) { return TParametresLigneDeCommande(texte, Exe); }

}  // namespace

TEST(DecouperLigneDeCommande, QuotesBlanksAndEnd) {
  struct Cas {
    const wchar_t* ligne;
    std::vector<std::wstring> attendus;
  };
  const Cas cas[] = {
      {L"", {}},
      {L"   \t ", {}},
      {L"prog", {L"prog"}},
      {L"prog -CheminInstallation \"C:\\Program Files\\Ecole\"",
       {L"prog", L"-CheminInstallation", L"C:\\Program Files\\Ecole"}},
      // Quotes in the middle are dropped, the quoted space stays inside.
      {L"prog a\"b c\"d e", {L"prog", L"ab cd", L"e"}},
      // Control characters separate like blanks.
      {L"prog\ta\r\nb\x01" L"c", {L"prog", L"a", L"b", L"c"}},
      // "" at the start of a parameter is skipped, also between blanks.
      {L"prog \"\" x", {L"prog", L"x"}},
      {L"prog \"\"\"\"y", {L"prog", L"y"}},
      // An unclosed quote runs to the end of the text.
      {L"prog \"a b", {L"prog", L"a b"}},
      // No escape inside quotes: the backslash stays, the next quote closes.
      {L"prog \"a\\\"b\"", {L"prog", L"a\\b"}},
      // A lone quote at the end is an empty parameter: splitting stops there.
      {L"prog x \"", {L"prog", L"x"}},
      // An empty quoted parameter made of a quote pair inside a word does not stop it.
      {L"prog a\"\"b", {L"prog", L"ab"}},
      // Non-ASCII characters are ordinary characters.
      {L"prog élève", {L"prog", L"élève"}},
  };
  for (const auto& c : cas) EXPECT_EQ(c.attendus, DecouperLigneDeCommande(c.ligne)) << c.ligne;
}

TEST(LigneDeCommande, ParameterZeroIsTheExecutableAndCountStopsAtDoubleDash) {
  const auto l = Ligne(L"autre.exe -a 1 -- -b 2");
  EXPECT_EQ(Exe, l.ParamStr(0));
  EXPECT_EQ(2, l.ParamCount());
  EXPECT_EQ(L"1", l.ParamStr(2));
  EXPECT_EQ(L"", l.ParamStr(3)) << "\"--\" is not one of the program's parameters";
  EXPECT_EQ(L"", l.ParamStr(4));
  EXPECT_EQ(L"", l.ParamStr(-1));
  EXPECT_EQ((std::vector<std::wstring>{L"-b", L"2"}), l.ParamsDbg());

  const auto sans = Ligne(L"autre.exe -a 1");
  EXPECT_EQ(2, sans.ParamCount());
  EXPECT_TRUE(sans.ParamsDbg().empty());
  EXPECT_TRUE(Ligne(L"autre.exe -a --").ParamsDbg().empty());

  const auto vide = Ligne(L"");
  EXPECT_EQ(0, vide.ParamCount());
  EXPECT_EQ(Exe, vide.ParamStr(0));
}

TEST(LigneDeCommande, ValeurParamRules) {
  struct Cas {
    const wchar_t* ligne;
    bool trouve;
    const wchar_t* valeur;  // expected value; "inchangée" when not found
  };
  const Cas cas[] = {
      {L"p", false, L"inchangée"},
      {L"p -CheminInstallation C:\\Ecole", true, L"C:\\Ecole"},
      {L"p /CheminInstallation C:\\Ecole", true, L"C:\\Ecole"},
      {L"p -CheminInstallation \"C:\\Mes écoles\\A\"", true, L"C:\\Mes écoles\\A"},
      {L"p -CheminInstallation", true, L""},
      {L"p -CheminInstallation A -- -CheminInstallation B", true, L"A"},
      {L"p -- -CheminInstallation B", false, L"inchangée"},
      {L"p -CheminInstallation -- B", true, L""},
      {L"p -CheminInstallation A -CheminInstallation B", true, L"A"},
      {L"p -CheminInstallation -autre", true, L"-autre"},
      {L"p -chemininstallation A", false, L"inchangée"},
      {L"p --CheminInstallation A", false, L"inchangée"},
      {L"p -CheminInstallation=A", false, L"inchangée"},
      {L"p CheminInstallation A", false, L"inchangée"},
  };
  for (const auto& c : cas) {
    std::wstring valeur = L"inchangée";
    EXPECT_EQ(c.trouve, Ligne(c.ligne).ValeurParam(L"CheminInstallation", valeur)) << c.ligne;
    EXPECT_EQ(c.valeur, valeur) << c.ligne;
    EXPECT_EQ(c.trouve, Ligne(c.ligne).ParametrePresent(L"CheminInstallation")) << c.ligne;
  }
}

TEST(LigneDeCommande, IemeParametreEst) {
  const auto l = Ligne(L"p -instance /x -- -y");
  EXPECT_TRUE(l.IemeParametreEst(1, L"instance"));
  EXPECT_TRUE(l.IemeParametreEst(2, L"x"));
  EXPECT_FALSE(l.IemeParametreEst(1, L"inst"));
  EXPECT_FALSE(l.IemeParametreEst(4, L"y")) << "beyond \"--\"";
  EXPECT_FALSE(l.IemeParametreEst(9, L""));
}

TEST(LigneDeCommande, WholeLineQuotesParametersWithSpaces) {
  const auto l = TParametresLigneDeCommande(L"x -CheminInstallation \"C:\\Mes écoles\" -v -- dbg",
                                            L"C:\\Program Files\\Installeur.exe");
  EXPECT_EQ(L"-CheminInstallation \"C:\\Mes écoles\" -v", l.GetLigneDeCommandeEntiere(false));
  EXPECT_EQ(L"\"C:\\Program Files\\Installeur.exe\" -CheminInstallation \"C:\\Mes écoles\" -v",
            l.GetLigneDeCommandeEntiere(true));
  // Joined again, the line splits into the same parameters.
  EXPECT_EQ(DecouperLigneDeCommande(L"x -CheminInstallation \"C:\\Mes écoles\" -v"),
            DecouperLigneDeCommande(L"x " + l.GetLigneDeCommandeEntiere(false)));
  EXPECT_EQ(L"", Ligne(L"p").GetLigneDeCommandeEntiere(false));
}

TEST(LigneDeCommande, OptionsAndHelp) {
  EXPECT_TRUE(TLigneDeCommande::ParametreEstUneOption(L"-x"));
  EXPECT_TRUE(TLigneDeCommande::ParametreEstUneOption(L"/x"));
  EXPECT_FALSE(TLigneDeCommande::ParametreEstUneOption(L"x-"));
  EXPECT_FALSE(TLigneDeCommande::ParametreEstUneOption(L""));

  for (const wchar_t* aide : {L"/h", L"/H", L"/?", L"-h", L"-help", L"--help", L"-?"})
    EXPECT_TRUE(TLigneDeCommande::ParametreEstOptionAide(aide)) << aide;
  for (const wchar_t* pasAide : {L"-H", L"-HELP", L"/help", L"--h", L"h", L"?", L"", L"-h ", L"/hh"})
    EXPECT_FALSE(TLigneDeCommande::ParametreEstOptionAide(pasAide)) << pasAide;

  EXPECT_TRUE(TLigneDeCommande::AideDemandee({L"-x", L"a", L"/?"}));
  EXPECT_FALSE(TLigneDeCommande::AideDemandee({L"-x", L"-H"}));
  EXPECT_FALSE(TLigneDeCommande::AideDemandee({}));
}
