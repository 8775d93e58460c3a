#include "platform/ListePersistance.h"

#include "core/Exceptions.h"
#include "core/Messages.h"

namespace norvel {

bool TListePersistanceParametresApplicatif::TryGetPersistance(TypeNiveauDossierSpecial ANiveau,
                                                              TRef<IPersistanceParametresApplicatif>& APersistance) {
  const auto trouve = FPersistances.find(ANiveau);
  if (trouve == FPersistances.end()) return false;
  APersistance = trouve->second;
  return true;
}

void TListePersistanceParametresApplicatif::AjouterPersistance(IPersistanceParametresApplicatif* APersistance) {
  if (!FPersistances.emplace(APersistance->GetNiveauDossierSpecial(), TRef(APersistance)).second)
    throw EOvalis(Msg::DoublonsNonAutorises);
}

}  // namespace norvel
