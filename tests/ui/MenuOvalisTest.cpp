// The internal menu: the machine-wide switch, the environment items and their tick marks, and
// the choice written through the application information.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Executable.h"
#include "platform/InformationApplication.h"
#include "ui/MenuOvalis.h"
#include "support/RegistreIsole.h"

using namespace norvel;
using namespace norvel::test;

namespace {

constexpr const wchar_t* CleEnvironnement = L"Software\\Ovalis\\EnvironnementDeploiement";

class MenuOvalis : public testing::Test {
 protected:
  // Both roots are private: the switch is machine-wide, the environment per user.
  TRegistreIsole FMachine{HKEY_LOCAL_MACHINE};
  TRegistreIsole FUtilisateur{HKEY_CURRENT_USER};
  HMENU FMenuBrut = CreatePopupMenu();
  TMenuPopupOvalis FMenu{FMenuBrut, 100};

  ~MenuOvalis() override { DestroyMenu(FMenuBrut); }

  void Autoriser(const wchar_t* valeur) { FMachine.EcrireChaine(CleUsageInterne, ValeurMenuOvalis, valeur); }
  static TRef<IInformationApplication> Information(TypeSourceEnvironnement source = TypeSourceEnvironnement::Registre) {
    return NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL,
                                               TypeGenreApplication::MONOPOSTE, TypePaysDistribution::FRANCE, source);
  }
  std::vector<std::wstring> Textes() const {
    std::vector<std::wstring> textes;
    for (int i = 0; i < FMenu.NombreElements(); ++i) textes.push_back(FMenu.TexteElement(i));
    return textes;
  }
  std::vector<bool> Coches() const {
    std::vector<bool> coches;
    for (int i = 0; i < FMenu.NombreElements(); ++i) coches.push_back(FMenu.ElementCoche(i));
    return coches;
  }
};

TEST_F(MenuOvalis, HiddenUnlessTheSwitchReadsExactlyOne) {
  struct Cas {
    const wchar_t* valeur;  // nullptr: no value
    bool visible;
  };
  const Cas cas[] = {{nullptr, false}, {L"0", false}, {L"true", false}, {L" 1", false},
                     {L"1 ", false},   {L"01", false}, {L"", false},     {L"1", true}};
  const auto information = Information();
  for (const auto& c : cas) {
    FMachine.SupprimerValeur(CleUsageInterne, ValeurMenuOvalis);
    if (c.valeur) Autoriser(c.valeur);
    EXPECT_EQ(c.visible, TMenuOvalis::EstVisible()) << (c.valeur ? c.valeur : L"<none>");
    HMENU brut = CreatePopupMenu();
    TMenuPopupOvalis menu(brut, 1);
    EXPECT_EQ(c.visible, TMenuOvalis::Configurer(menu, information.Get(), {}));
    EXPECT_EQ(c.visible ? 3 : 0, menu.NombreElements()) << (c.valeur ? c.valeur : L"<none>");
    DestroyMenu(brut);
  }
}

TEST_F(MenuOvalis, SwitchOfAnotherTypeOrPlaceHidesTheMenu) {
  HKEY cle = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, CleUsageInterne, 0, nullptr, 0,
                                           KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &cle, nullptr));
  const DWORD un = 1;
  RegSetValueExW(cle, ValeurMenuOvalis, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&un), sizeof(un));
  RegCloseKey(cle);
  EXPECT_FALSE(TMenuOvalis::EstVisible());
  // The current user's registry is no place for a machine-wide permission.
  FUtilisateur.EcrireChaine(CleUsageInterne, ValeurMenuOvalis, L"1");
  EXPECT_FALSE(TMenuOvalis::EstVisible());
}

TEST_F(MenuOvalis, ProductsThatDoNotCheckTheRegistryAlwaysShowIt) {
  OptionsCommunProduits().VerifRegistreMenuOvalis = false;
  const bool visible = TMenuOvalis::EstVisible();
  OptionsCommunProduits().VerifRegistreMenuOvalis = true;
  EXPECT_TRUE(visible);
  EXPECT_FALSE(TMenuOvalis::EstVisible());
}

TEST_F(MenuOvalis, ShownWithTheEnvironmentItemsTheCurrentOneTickedThenTheWindowsOwnItem) {
  Autoriser(L"1");
  const auto information = Information();
  ASSERT_TRUE(TMenuOvalis::Configurer(FMenu, information.Get(), {}));
  // The window adds its own item at the end.
  bool modeTest = false;
  FMenu.InsererAction(-1, std::make_unique<TActionMenuOvalisFonction>(
                              L"Mode RNE Test", [&] { modeTest = !modeTest; }, [&] { return modeTest; }));
  EXPECT_EQ((std::vector<std::wstring>{L"Environnement Développement", L"Environnement PréProduction",
                                       L"Environnement Production", L"Mode RNE Test"}),
            Textes());
  FMenu.MettreAJourActions();
  EXPECT_EQ((std::vector<bool>{false, false, true, false}), Coches());

  EXPECT_TRUE(FMenu.TraiterCommande(FMenu.IdCommande(3)));
  FMenu.MettreAJourActions();
  EXPECT_EQ((std::vector<bool>{false, false, true, true}), Coches());
  EXPECT_FALSE(FMenu.TraiterCommande(99999));
}

TEST_F(MenuOvalis, ChoosingAnEnvironmentWritesItAndTicksItAtTheNextRefresh) {
  Autoriser(L"1");
  const auto information = Information();
  ASSERT_TRUE(TMenuOvalis::Configurer(FMenu, information.Get(), {}));
  FMenu.MettreAJourActions();
  EXPECT_FALSE(FUtilisateur.LireChaine(CleEnvironnement, CheminExecutable()).has_value());

  struct Cas {
    int position;
    const wchar_t* code;
    TypeEnvironnementDeploiement environnement;
    std::vector<bool> coches;
  };
  const Cas cas[] = {
      {1, L"staging", ED_PreProduction, {false, true, false}},
      {0, L"development", ED_Developpement, {true, false, false}},
      {2, L"production", ED_Production, {false, false, true}},
  };
  for (const auto& c : cas) {
    ASSERT_TRUE(FMenu.TraiterCommande(FMenu.IdCommande(c.position)));
    EXPECT_EQ(c.code, FUtilisateur.LireChaine(CleEnvironnement, CheminExecutable()).value_or(L"<absent>"));
    EXPECT_EQ(c.environnement, information->GetEnvironnementDeploiement());
    // The marks change only when the menu refreshes them.
    FMenu.MettreAJourActions();
    EXPECT_EQ(c.coches, Coches()) << c.code;
  }
  // A fresh start reads the choice back.
  ASSERT_TRUE(FMenu.TraiterCommande(FMenu.IdCommande(1)));
  EXPECT_EQ(ED_PreProduction, Information()->GetEnvironnementDeploiement());
}

TEST_F(MenuOvalis, EnvironmentThatCannotChangeGetsNoItems) {
  Autoriser(L"1");
  EXPECT_TRUE(TMenuOvalis::Configurer(FMenu, Information(TypeSourceEnvironnement::Aucune).Get(), {}));
  EXPECT_EQ(0, FMenu.NombreElements());
  EXPECT_TRUE(TMenuOvalis::Configurer(FMenu, nullptr, {}));
  EXPECT_EQ(0, FMenu.NombreElements());
}

TEST_F(MenuOvalis, GivenActionsKeepTheirOrderAboveTheItemsTheMenuHad) {
  Autoriser(L"1");
  FMenu.InsererAction(-1, std::make_unique<TActionMenuOvalisFonction>(L"Ancien", nullptr));
  std::vector<std::unique_ptr<TActionMenuOvalis>> actions;
  std::vector<std::wstring> executees;
  for (const wchar_t* nom : {L"Premier", L"Second"})
    actions.push_back(std::make_unique<TActionMenuOvalisFonction>(nom, [&executees, nom] { executees.push_back(nom); }));
  ASSERT_TRUE(TMenuOvalis::Configurer(FMenu, Information().Get(), std::move(actions)));
  EXPECT_EQ((std::vector<std::wstring>{L"Environnement Développement", L"Environnement PréProduction",
                                       L"Environnement Production", L"-", L"Premier", L"Second", L"-", L"Ancien"}),
            Textes());
  EXPECT_TRUE(FMenu.TraiterCommande(FMenu.IdCommande(5)));
  EXPECT_TRUE(FMenu.TraiterCommande(FMenu.IdCommande(4)));
  EXPECT_EQ((std::vector<std::wstring>{L"Second", L"Premier"}), executees);
}

}  // namespace
