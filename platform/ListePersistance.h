#pragma once
// The parameter files of the program, one per special-folder level, registered at start-up
// (empty in the assistant, whose HTTP configuration thread keeps its own file).
#include <map>

#include "platform/PersistanceParametres.h"
#include "core/GuidsServices.h"

namespace norvel {

struct IListePersistanceParametresApplicatif : IUnknown {
  virtual bool TryGetPersistance(TypeNiveauDossierSpecial ANiveau,
                                 TRef<IPersistanceParametresApplicatif>& APersistance) = 0;
  // Files it under its level; a second one for the same level raises "Doublons non autorisés".
  virtual void AjouterPersistance(IPersistanceParametresApplicatif* APersistance) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IListePersistanceParametresApplicatif, 0xB2EA519B, 0x0992, 0x4FCB, 0xA9, 0x83, 0x1B, 0x7E, 0xDE,
            0x14, 0x7D, 0x27)
static_assert(norvel::MemesGuid(__uuidof(norvel::IListePersistanceParametresApplicatif),
                                norvel::IID_IListePersistanceParametresApplicatif));

namespace norvel {

class TListePersistanceParametresApplicatif
    : public TImplemente<TObjetInterfacable, IListePersistanceParametresApplicatif> {
 public:
  bool TryGetPersistance(TypeNiveauDossierSpecial ANiveau, TRef<IPersistanceParametresApplicatif>& APersistance) override;
  void AjouterPersistance(IPersistanceParametresApplicatif* APersistance) override;

 private:
  std::map<TypeNiveauDossierSpecial, TRef<IPersistanceParametresApplicatif>> FPersistances;
};

}  // namespace norvel
