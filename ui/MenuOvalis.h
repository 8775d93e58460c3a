#pragma once
// The maker's internal menu: hidden on ordinary machines, shown where a machine-wide registry
// value asks for it, with the choice of the deployment environment and the window's own items.
// The window owns the popup menu; TMenuPopupOvalis fills it and answers its commands.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/IInformationApplication.h"

namespace norvel {

// Fixed options shared by the maker's products; this program reads one of them.
struct TypeOptionsCommunProduits {
  // Show the internal menu only where the registry switch enables it.
  bool VerifRegistreMenuOvalis = true;
};
// The process's copy of the options, made from the built-in defaults on first use.
TypeOptionsCommunProduits& OptionsCommunProduits();

// Where the switch lives (HKEY_LOCAL_MACHINE, 64-bit view) and its value's name.
inline constexpr const wchar_t* CleUsageInterne = L"Software\\Ovalis\\UsageInterne";
inline constexpr const wchar_t* ValeurMenuOvalis = L"MenuOvalis";

// An action of the menu: a caption, a tick mark, what it does and how it refreshes its mark.
class TActionMenuOvalis {
 public:
  explicit TActionMenuOvalis(std::wstring ACaption) : FCaption(std::move(ACaption)) {}
  virtual ~TActionMenuOvalis() = default;

  const std::wstring& Caption() const { return FCaption; }
  bool Coche() const { return FCoche; }
  void SetCoche(bool ACoche) { FCoche = ACoche; }

  // Run whenever the menu's actions are refreshed (before it opens).
  virtual void MettreAJour() {}
  virtual void Executer() = 0;

 private:
  std::wstring FCaption;
  bool FCoche = false;
};

// An action made of two functions, for the window's own items.
class TActionMenuOvalisFonction : public TActionMenuOvalis {
 public:
  TActionMenuOvalisFonction(std::wstring ACaption, std::function<void()> AExecuter,
                            std::function<bool()> AEstCoche = nullptr)
      : TActionMenuOvalis(std::move(ACaption)), FExecuter(std::move(AExecuter)), FEstCoche(std::move(AEstCoche)) {}
  void MettreAJour() override {
    if (FEstCoche) SetCoche(FEstCoche());
  }
  void Executer() override {
    if (FExecuter) FExecuter();
  }

 private:
  std::function<void()> FExecuter;
  std::function<bool()> FEstCoche;
};

// Chooses one deployment environment; ticked while it is the current one.
class TActionMenuOvalisEnvironnement : public TActionMenuOvalis {
 public:
  TActionMenuOvalisEnvironnement(TypeEnvironnementDeploiement AEnvironnementDeploiement,
                                 TRef<IInformationApplication> AInformationApplication);
  void MettreAJour() override;
  // Also writes the choice to the registry (through the information service).
  void Executer() override;

 private:
  TypeEnvironnementDeploiement FEnvironnementDeploiement;
  TRef<IInformationApplication> FInformationApplication;
};

// "Environnement Production", "Environnement PréProduction", "Environnement Développement".
const wchar_t* CaptionEnvironnement(TypeEnvironnementDeploiement AEnvironnement);

// An item of the popup: its command and the action it owns (none for a separator).
struct TMenuItemOvalis {
  UINT FIdCommande = 0;
  std::unique_ptr<TActionMenuOvalis> FAction;
};

// A popup menu of the window's menu bar, filled with actions. The window keeps the menu
// (the system destroys it with the window); this object keeps the actions and the command
// numbers, from APremierIdCommande on.
class TMenuPopupOvalis {
 public:
  TMenuPopupOvalis(HMENU AMenu, UINT APremierIdCommande);
  TMenuPopupOvalis(const TMenuPopupOvalis&) = delete;
  TMenuPopupOvalis& operator=(const TMenuPopupOvalis&) = delete;

  HMENU Handle() const { return FMenu; }
  int NombreElements() const;
  // Inserts at a position (0: first; -1: last).
  void InsererSeparateur(int APosition);
  void InsererAction(int APosition, std::unique_ptr<TActionMenuOvalis> AAction);

  // For WM_INITMENUPOPUP: runs the actions' update handlers and sets the tick marks.
  void MettreAJourActions();
  // For WM_COMMAND: runs the action of the command; false when the command is not ours.
  bool TraiterCommande(UINT AIdCommande);

  // The text of an item ("-" for a separator), whether it is ticked, and its command.
  std::wstring TexteElement(int APosition) const;
  bool ElementCoche(int APosition) const;
  UINT IdCommande(int APosition) const;

 private:
  HMENU FMenu;
  UINT FIdSuivant;
  std::vector<TMenuItemOvalis> FElements;  // the actions; the menu holds the order
};

class TMenuOvalis {
 public:
  TMenuOvalis() = delete;

  // Shown when the options do not ask for the registry check, or when the switch is
  // exactly "1"; any other text, or no value, hides it.
  static bool EstVisible();
  // Both insert as the first item.
  static void AjouterSeparateur(TMenuPopupOvalis& AMenuOvalis);
  static void AjouterMenuAction(TMenuPopupOvalis& AMenuOvalis, std::unique_ptr<TActionMenuOvalis> AAction);
  // Fills the menu when it is visible and answers the visibility (the caller shows or hides
  // the menu with it): the environment items first when the environment can be changed, then
  // the given actions in their order, then the items the menu had before.
  static bool Configurer(TMenuPopupOvalis& AMenuOvalis, IInformationApplication* AInformationApplication,
                         std::vector<std::unique_ptr<TActionMenuOvalis>> AActions);
};

}  // namespace norvel
