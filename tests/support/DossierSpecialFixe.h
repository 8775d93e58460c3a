#pragma once
// A special-folder service that answers one folder for everything.
#include <string>

#include "platform/DossierSpecial.h"

namespace norvel::test {

class TDossierSpecialFixe : public TImplemente<TObjetInterfacable, IDossierSpecial> {
 public:
  explicit TDossierSpecialFixe(std::wstring dossier) : FDossier(std::move(dossier)) {}
  std::wstring GetDossier(int, TypeNiveauDossierSpecial, int, const std::wstring&) override { return FDossier; }
  std::wstring GetDossierApplication(const std::wstring&, int, TypeNiveauDossierSpecial, int,
                                     const std::wstring&) override {
    return FDossier;
  }
  std::wstring GetDossierContexte(IContexteExecution*) override { return FDossier; }
  std::wstring GetDossierParDefaut() override { return FDossier; }
  bool SetDossierParDefaut(const std::wstring& dossier) override {
    FDossier = dossier;
    return true;
  }

 private:
  std::wstring FDossier;
};

}  // namespace norvel::test
