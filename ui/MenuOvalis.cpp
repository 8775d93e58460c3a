#include "ui/MenuOvalis.h"

#include "platform/Registre.h"
#include "core/ErreurSysteme.h"
#include "core/Messages.h"

namespace norvel {

TypeOptionsCommunProduits& OptionsCommunProduits() {
  static TypeOptionsCommunProduits options;
  return options;
}

const wchar_t* CaptionEnvironnement(TypeEnvironnementDeploiement AEnvironnement) {
  switch (AEnvironnement) {
    case ED_PreProduction: return Msg::MenuEnvironnementPreProduction;
    case ED_Developpement: return Msg::MenuEnvironnementDeveloppement;
    default: return Msg::MenuEnvironnementProduction;
  }
}

TActionMenuOvalisEnvironnement::TActionMenuOvalisEnvironnement(TypeEnvironnementDeploiement AEnvironnementDeploiement,
                                                               TRef<IInformationApplication> AInformationApplication)
    : TActionMenuOvalis(CaptionEnvironnement(AEnvironnementDeploiement)),
      FEnvironnementDeploiement(AEnvironnementDeploiement),
      FInformationApplication(std::move(AInformationApplication)) {}

void TActionMenuOvalisEnvironnement::MettreAJour() {
  SetCoche(FInformationApplication->GetEnvironnementDeploiement() == FEnvironnementDeploiement);
}

void TActionMenuOvalisEnvironnement::Executer() {
  FInformationApplication->SetEnvironnementDeploiement(FEnvironnementDeploiement);
}

TMenuPopupOvalis::TMenuPopupOvalis(HMENU AMenu, UINT APremierIdCommande)
    : FMenu(AMenu), FIdSuivant(APremierIdCommande) {}

int TMenuPopupOvalis::NombreElements() const { return GetMenuItemCount(FMenu); }

void TMenuPopupOvalis::InsererSeparateur(int APosition) {
  MENUITEMINFOW element{sizeof(element)};
  element.fMask = MIIM_FTYPE;
  element.fType = MFT_SEPARATOR;
  VerifierWin32(InsertMenuItemW(FMenu, static_cast<UINT>(APosition), TRUE, &element), L"InsertMenuItem");
}

void TMenuPopupOvalis::InsererAction(int APosition, std::unique_ptr<TActionMenuOvalis> AAction) {
  MENUITEMINFOW element{sizeof(element)};
  element.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID;
  element.fType = MFT_STRING;
  element.wID = FIdSuivant;
  std::wstring texte = AAction->Caption();
  element.dwTypeData = texte.data();
  VerifierWin32(InsertMenuItemW(FMenu, static_cast<UINT>(APosition), TRUE, &element), L"InsertMenuItem");
  FElements.push_back({FIdSuivant++, std::move(AAction)});
}

void TMenuPopupOvalis::MettreAJourActions() {
  for (const auto& element : FElements) {
    element.FAction->MettreAJour();
    CheckMenuItem(FMenu, element.FIdCommande, MF_BYCOMMAND | (element.FAction->Coche() ? MF_CHECKED : MF_UNCHECKED));
  }
}

bool TMenuPopupOvalis::TraiterCommande(UINT AIdCommande) {
  for (const auto& element : FElements) {
    if (element.FIdCommande != AIdCommande) continue;
    element.FAction->Executer();
    return true;
  }
  return false;
}

std::wstring TMenuPopupOvalis::TexteElement(int APosition) const {
  MENUITEMINFOW element{sizeof(element)};
  element.fMask = MIIM_FTYPE | MIIM_STRING;
  if (!GetMenuItemInfoW(FMenu, static_cast<UINT>(APosition), TRUE, &element)) return {};
  if (element.fType & MFT_SEPARATOR) return L"-";
  std::wstring texte(element.cch + 1, L'\0');
  element.dwTypeData = texte.data();
  element.cch = static_cast<UINT>(texte.size());
  if (!GetMenuItemInfoW(FMenu, static_cast<UINT>(APosition), TRUE, &element)) return {};
  texte.resize(element.cch);
  return texte;
}

bool TMenuPopupOvalis::ElementCoche(int APosition) const {
  const UINT etat = GetMenuState(FMenu, static_cast<UINT>(APosition), MF_BYPOSITION);
  return etat != static_cast<UINT>(-1) && (etat & MF_CHECKED);
}

UINT TMenuPopupOvalis::IdCommande(int APosition) const { return GetMenuItemID(FMenu, APosition); }

bool TMenuOvalis::EstVisible() {
  if (!OptionsCommunProduits().VerifRegistreMenuOvalis) return true;
  // Exactly "1": "true", " 1" or "01" are no permission.
  return LireChaineRegistre(HKEY_LOCAL_MACHINE, CleUsageInterne, ValeurMenuOvalis, KEY_WOW64_64KEY) ==
         std::optional<std::wstring>(L"1");
}

void TMenuOvalis::AjouterSeparateur(TMenuPopupOvalis& AMenuOvalis) { AMenuOvalis.InsererSeparateur(0); }

void TMenuOvalis::AjouterMenuAction(TMenuPopupOvalis& AMenuOvalis, std::unique_ptr<TActionMenuOvalis> AAction) {
  AMenuOvalis.InsererAction(0, std::move(AAction));
}

bool TMenuOvalis::Configurer(TMenuPopupOvalis& AMenuOvalis, IInformationApplication* AInformationApplication,
                             std::vector<std::unique_ptr<TActionMenuOvalis>> AActions) {
  if (!EstVisible()) return false;
  if (AMenuOvalis.NombreElements() > 0) AjouterSeparateur(AMenuOvalis);
  // Each goes on top: taken from the last, they end in their given order.
  for (auto action = AActions.rbegin(); action != AActions.rend(); ++action)
    AjouterMenuAction(AMenuOvalis, std::move(*action));
  if (!AActions.empty()) AjouterSeparateur(AMenuOvalis);
  if (AInformationApplication && AInformationApplication->EnvironnementDeploiementModifiable()) {
    const TRef<IInformationApplication> information(AInformationApplication);
    for (const auto environnement : {ED_Production, ED_PreProduction, ED_Developpement})
      AjouterMenuAction(AMenuOvalis, std::make_unique<TActionMenuOvalisEnvironnement>(environnement, information));
  }
  return true;
}

}  // namespace norvel
