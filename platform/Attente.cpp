#include "platform/Attente.h"

#include <algorithm>
#include <atomic>

#include "core/ErreurSysteme.h"
#include "core/Messages.h"

namespace norvel {

namespace {
std::atomic<TypeProcReveilBouclePrincipale> GReveilBouclePrincipale{nullptr};
}  // namespace

bool TAttenteBase::ObtenirInterface(REFIID iid, void** resultat) {
  if (IsEqualGUID(iid, __uuidof(IReveilThread))) {
    *resultat = static_cast<IReveilThread*>(static_cast<IAttente*>(this));
    AddRef();
    return true;
  }
  return TImplemente::ObtenirInterface(iid, resultat);
}

TAttenteBloquante::TAttenteBloquante() : FEvenement(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (!FEvenement) throw ErreurSystemeCode(GetLastError(), Msg::EchecCreationEvenement, L"");
}

void TAttenteBloquante::Attendre(IConditionFinDAttente* condition, int64_t delaiReveil) {
  const DWORD limite = delaiReveil > 0 ? static_cast<DWORD>(std::min<int64_t>(delaiReveil, INFINITE - 1)) : INFINITE;
  TCompteAttente compte(*this);
  while (!condition->EstAtteinte(false, false)) {
    const TypeModeAttente mode = ModeAttente();
    if (mode.FDemanderInactivite && condition->EstAtteinte(false, true)) break;
    if (mode.FDormirSurEvenement && WaitForSingleObject(FEvenement.Get(), limite) == WAIT_FAILED)
      throw ErreurSysteme(L"WaitForSingleObject");
  }
}

void TAttenteBloquante::Reveiller(const void*) { SetEvent(FEvenement.Get()); }

TRef<IConditionFinDAttente> ConditionFinDAttente(std::function<bool()> atteinte) {
  return NouvelObjet<TConditionFinDAttenteFonction>(
      [atteinte = std::move(atteinte)](bool, bool) { return atteinte(); });
}

void InstallerReveilBouclePrincipale(TypeProcReveilBouclePrincipale proc) { GReveilBouclePrincipale = proc; }

void ReveillerBouclePrincipale() {
  if (const auto proc = GReveilBouclePrincipale.load()) proc();
}

}  // namespace norvel
