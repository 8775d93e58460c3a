#pragma once
// The background services that the main loop polls: two triggers (the top-level main loop's
// idle steps, or every idle step, nested waits included) and three priorities. Main thread only.
#include <array>
#include <memory>
#include <vector>

#include "platform/Attente.h"
#include "platform/ServiceOvalis.h"
#include "core/Finalisation.h"

namespace norvel {

enum TypeDeclenchementServiceOvalis { dsiBouclePrincApp, dsiIdle };
enum TypePrioriteServiceOvalis { psiEnPremier, psiIndifferent, psiEnDernier };

class TServicesApplication : public TClasseFinalisable {
 public:
  // Files the service (moving it when it was filed already); true when it was new.
  static bool Ajouter(IServiceOvalis* service, TypeDeclenchementServiceOvalis declenchement,
                      TypePrioriteServiceOvalis priorite, bool activerService);
  // True when the service was filed.
  static bool Enlever(IServiceOvalis* service);
  // Runs the active services of a trigger; true when all of them answered that nothing is pending.
  static bool Invoquer(TypeDeclenchementServiceOvalis declenchement);
  // Deactivates every service and empties the lists.
  static void Arreter();
  // Frees the lists; run by the early finalisation, which the first use enters the class in.
  static void Finaliser();

  // Until the user interface drives the main loop, main-loop services are idle services.
  static bool BouclePrincipaleDisponible() { return FBouclePrincipaleDisponible; }
  static void SetBouclePrincipaleDisponible(bool disponible) { FBouclePrincipaleDisponible = disponible; }

 private:
  using TypeListe = std::vector<TRef<IServiceOvalis>>;
  using TypeListes = std::array<std::array<TypeListe, 3>, 2>;
  static TypeListes& Listes();
  static TypeDeclenchementServiceOvalis DeclenchementEffectif(TypeDeclenchementServiceOvalis declenchement);

  // A plain pointer: the late finalisation at the end of the process may run after the
  // destructors of static objects.
  static inline TypeListes* FListes = nullptr;
  static inline bool FBouclePrincipaleDisponible = false;
};

// The condition of the top-level main loop: never ends it, and runs the main-loop services in
// its idle steps (work pending keeps the loop awake).
class TConditionAttenteBouclePrincipale : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  bool EstAtteinte(bool arretApplication, bool enInactivite) override;
};

}  // namespace norvel
