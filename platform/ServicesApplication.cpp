#include "platform/ServicesApplication.h"

#include <algorithm>
#include <utility>
#include <exception>

#include "core/Finalisation.h"

namespace norvel {

TServicesApplication::TypeListes& TServicesApplication::Listes() {
  if (!FListes) {
    FListes = new TypeListes();
    TClasseFinalisable::InscrireFinalisation(&TServicesApplication::Finaliser, cfFinalisationPrecoce);
  }
  return *FListes;
}

TypeDeclenchementServiceOvalis TServicesApplication::DeclenchementEffectif(TypeDeclenchementServiceOvalis declenchement) {
  return declenchement == dsiBouclePrincApp && !FBouclePrincipaleDisponible ? dsiIdle : declenchement;
}

bool TServicesApplication::Ajouter(IServiceOvalis* service, TypeDeclenchementServiceOvalis declenchement,
                                   TypePrioriteServiceOvalis priorite, bool activerService) {
  declenchement = DeclenchementEffectif(declenchement);
  auto& listes = Listes();
  const bool dejaClasse = Enlever(service);
  listes[declenchement][priorite].emplace_back(service);
  if (activerService) service->SetActif(true);
  return !dejaClasse;
}

bool TServicesApplication::Enlever(IServiceOvalis* service) {
  if (!FListes) return false;
  bool enleve = false;
  for (auto& parPriorite : *FListes) {
    for (auto& liste : parPriorite) {
      const auto it = std::find(liste.begin(), liste.end(), TRef<IServiceOvalis>(service));
      if (it == liste.end()) continue;
      liste.erase(it);
      enleve = true;
      break;
    }
  }
  return enleve;
}

bool TServicesApplication::Invoquer(TypeDeclenchementServiceOvalis declenchement) {
  declenchement = DeclenchementEffectif(declenchement);
  auto& listes = Listes();
  bool rienEnAttente = true;
  for (const auto& liste : listes[declenchement]) {
    // Services filed or unfiled by a Traiter take effect at the next invocation.
    const TypeListe instantane = liste;
    for (const auto& service : instantane) {
      if (!service->EstActif() || !service->Entrer()) continue;
      // Only an entry that succeeded is left: leaving after a refused entry would open the
      // guard while the first Traiter still runs, then lock the service out for good.
      struct TSortie {
        IServiceOvalis* FService;
        ~TSortie() { FService->Sortir(); }
      } sortie{service.Get()};
      try {
        rienEnAttente = service->Traiter() && rienEnAttente;
      } catch (const std::exception&) {
        // A failing service stays filed and is asked again next time.
      }
    }
  }
  return rienEnAttente;
}

void TServicesApplication::Arreter() {
  if (!FListes) return;
  for (auto& parPriorite : *FListes) {
    for (auto& liste : parPriorite) {
      for (const auto& service : TypeListe(liste)) service->SetActif(false);
      liste.clear();
    }
  }
}

void TServicesApplication::Finaliser() {
  delete std::exchange(FListes, nullptr);
  FBouclePrincipaleDisponible = false;
}

bool TConditionAttenteBouclePrincipale::EstAtteinte(bool, bool enInactivite) {
  if (!enInactivite) return false;
  return !TServicesApplication::Invoquer(dsiBouclePrincApp);
}

}  // namespace norvel
