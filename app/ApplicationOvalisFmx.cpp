#include "app/ApplicationOvalisFmx.h"

#include "platform/AttenteApplication.h"
#include "platform/FormatDate.h"
#include "ui/MessageSimple.h"
#include "platform/ServicesApplication.h"
#include "core/GuidsServices.h"

namespace norvel {

void TApplicationOvalisFmx::InitialiserApplication() {
  TApplicationOvalis::InitialiserApplication();
  NormaliserFormatDate();
  auto& plateforme = TApplicationGraphique::Instance();
  FAncienOnIdleProc = plateforme.GetSurInactivite();
  plateforme.SetSurInactivite([this](bool& fini) { TraiterInactivite(fini); });
  plateforme.SetSurMessageSysteme([this](UINT message, bool& gere) { TraiterMessageSysteme(message, gere); });
  plateforme.Initialiser();
  AjouterService<IAttente>(NouvelObjet<TAttenteApplicationFmx>());
  TServicesApplication::SetBouclePrincipaleDisponible(true);
}

void TApplicationOvalisFmx::ExecuterApplication() {
  auto& plateforme = TApplicationGraphique::Instance();
  bool lancee = false;
  try {
    LancerApplication();
    lancee = true;
  } catch (const EAnnulation&) {
    plateforme.Terminer();
  } catch (const std::exception& e) {
    if (const std::wstring message = MessageDe(e); !message.empty()) AfficherMessageInformation(message);
    plateforme.Terminer();
  }
  // Whatever happens, the forms are released and the services stopped.
  struct TArret {
    TApplicationOvalisFmx& FApplication;
    ~TArret() {
      FApplication.FProcCreationsFiches.clear();
      FApplication.ArreterApplication();
    }
  } arret{*this};
  if (!lancee) return;
  auto condition = NouvelObjet<TConditionAttenteBouclePrincipale>();
  plateforme.ExecuterBouclePrincipale(condition.Get());
  // The main-loop services run one last time.
  condition->EstAtteinte(true, true);
}

void TApplicationOvalisFmx::FinaliserApplication() {
  SupprimerExtension(IID_IAttente);
  if (TApplicationGraphique::Existe()) {
    auto& plateforme = TApplicationGraphique::Instance();
    // No handler at all is left: the one found at start-up is not put back.
    plateforme.SetSurInactivite(nullptr);
    plateforme.SetSurMessageSysteme(nullptr);
    plateforme.DetruireComposants();
  }
  FAncienOnIdleProc = nullptr;
  TApplicationOvalis::FinaliserApplication();
}

void TApplicationOvalisFmx::TraiterErreurInitialisation(const std::wstring&, const std::wstring& message) {
  if (!message.empty()) AfficherMessageErreur(message, L"");
}

void TApplicationOvalisFmx::TraiterErreurExecution(const std::wstring&, const std::wstring& message) {
  if (!message.empty()) AfficherMessageErreur(message, L"");
}

void TApplicationOvalisFmx::ArreterApplication() { TServicesApplication::Arreter(); }

void TApplicationOvalisFmx::NormaliserFormatDate() { SetFormatDateCourte(FormatDateNormalise(FormatDateCourte())); }

void TApplicationOvalisFmx::TraiterMessageSysteme(UINT message, bool& gere) {
  if (message == WM_ENDSESSION)
    gere = true;
  else if (message == WM_SETTINGCHANGE) {
    // The regional settings may have changed: the locale's format is read again, not the one
    // normalised at start-up.
    RelireFormatDateCourte();
    NormaliserFormatDate();
  }
}

void TApplicationOvalisFmx::CreerFiche(TApplicationGraphique::TypeFabriqueFiche fabrique, TFiche** fiche,
                                       std::function<void()> apresCreation) {
  auto& plateforme = TApplicationGraphique::Instance();
  plateforme.CreerFiche(std::move(fabrique), fiche);
  if (!apresCreation) return;
  if (*fiche) {
    apresCreation();
    return;
  }
  FProcCreationsFiches.push_back(std::move(apresCreation));
  if (FProcCreationsFiches.size() == 1)
    FIdAbonnementCreationFiches = plateforme.AbonnerFichesCreees([this] { ExecuterProcsCreationsFiches(); });
}

void TApplicationOvalisFmx::ExecuterProcsCreationsFiches() {
  TApplicationGraphique::Instance().DesabonnerFichesCreees(FIdAbonnementCreationFiches);
  const auto procedures = std::move(FProcCreationsFiches);
  FProcCreationsFiches.clear();
  for (const auto& procedure : procedures) procedure();
}

void TApplicationOvalisFmx::TraiterInactivite(bool& fini) {
  if (FAncienOnIdleProc) FAncienOnIdleProc(fini);
  const bool rienEnAttente = TServicesApplication::Invoquer(dsiIdle);
  fini = fini && rienEnAttente;
}

}  // namespace norvel

namespace norvel {
static_assert(MemesGuid(__uuidof(IAttente), IID_IAttente));
}  // namespace norvel
