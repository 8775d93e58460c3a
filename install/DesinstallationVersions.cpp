#include "install/DesinstallationVersions.h"

#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "install/CatalogueProduits.h"

namespace norvel {

namespace {

// Windows' code for a success that needs a restart.
constexpr DWORD SuccesRedemarrageNecessaire = 3010;

}  // namespace

std::optional<std::wstring> CommandeDesinstallation(TOvRegistry& ARegistre, const std::wstring& AIdentifiant) {
  for (const wchar_t* racine : RacinesDesinstallation) {
    if (ARegistre.SetBaseSiExiste(racine + AIdentifiant))
      return ARegistre.GetKey(L"UninstallString") + L" " + OptionsDesinstallation;
  }
  return std::nullopt;
}

void DesinstallerVersion(TSequenceurLancementExecutable& ASequenceur, const std::wstring& AParametres,
                         int64_t ADureeMax) {
  // Kept for the programs that follow: the setup learns that versions were removed before it.
  ASequenceur.DefinirVariable(L"OVALIS_IS_UNINSTALL", L"1");
  const TypeRetourExecutable retour = ExecuterProgramme(ASequenceur, AParametres, ADureeMax);
  const bool succes = retour.CodeRetour == 0 || retour.CodeRetour == SuccesRedemarrageNecessaire;
  if (!succes || !retour.SortieErr.empty())
    throw EOvalis(Format(Msg::ErreurCodeProgramme, {retour.CodeRetour, retour.SortieErr}));
}

void DesinstallerAnciennesVersions(bool ASimulation, TOvRegistry& ARegistre, TSequenceurLancementExecutable& ASequenceur,
                                   const std::function<void(const std::wstring& ANomAffichage)>& ADebut) {
  for (const TypeVersionCatalogue& version : CatalogueProduits()) {
    // A version without an identifier of this kind has nothing to look for (an empty name
    // would open the root of the list itself).
    if (version.Identifiant(ASimulation).empty()) continue;
    const auto commande = CommandeDesinstallation(ARegistre, version.Identifiant(ASimulation));
    if (!commande) continue;
    ADebut(version.NomAffichage());
    DesinstallerVersion(ASequenceur, *commande);
  }
}

}  // namespace norvel
