#pragma once
// The application information object, built once by the program entry.
#include "platform/IInformationApplication.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

class TInformationApplication : public TImplemente<TObjetInterfacable, IInformationApplication> {
 public:
  // Full form.
  TInformationApplication(std::wstring nom, TypeProduitOvalis produit, TypeGenreApplication genre,
                          TypeVersion version, TypePlateformeCompilation plateforme, TypePaysDistribution pays,
                          TypeSourceEnvironnement source);
  // Short form: the version is the running executable's own file version, the platform the
  // one this program is built for. Raises when the executable has no version resource.
  TInformationApplication(std::wstring nom, TypeProduitOvalis produit, TypeGenreApplication genre,
                          TypePaysDistribution pays, TypeSourceEnvironnement source);

  TypeVersion GetVersion() override { return FVersion; }
  std::wstring GetNomProduit() override { return FNomProduit; }
  std::wstring GetNomApplication() override { return FNomApplication; }
  std::wstring GetNomProduitEtMillesime() override { return FNomProduitEtMillesime; }
  std::wstring GetNom() override { return FNom; }
  std::wstring GetCodeGenre() override { return FCodeGenre; }
  TypePaysDistribution GetPaysDistribution() override { return FPaysDistribution; }
  std::wstring GetMillesime() override { return FMillesime; }
  TypeProduitOvalis GetProduit() override { return FProduit; }
  TypePlateformeCompilation GetPlateforme() override { return FPlateforme; }
  TypeGenreApplication GetGenre() override { return FGenre; }
  bool GetIndicateur() override { return FIndicateur; }
  TypeEnvironnementDeploiement GetEnvironnementDeploiement() override { return FEnvironnementDeploiement; }
  void SetEnvironnementDeploiement(TypeEnvironnementDeploiement environnement) override;
  std::wstring GetNomVersion(int nombreNumeros, uint32_t options) override;
  std::wstring GetNomVersionDe(const TypeVersion& version, int nombreNumeros, uint32_t options) override;
  std::wstring GetNomVersionProduit(const TypeVersion& version, int nombreNumeros, uint32_t options,
                                    TypeProduitOvalis produit, TypeGenreApplication genre) override;
  int GetMillesimeDecale(TypeProduitOvalis produit, uint32_t majeur, int decalage) override;
  int GetMillesimeNumerique(uint32_t majeur) override;
  std::wstring GetMillesimeTexte(uint32_t majeur) override;
  bool EnvironnementDeploiementModifiable() override { return FSourceEnvironnement != TypeSourceEnvironnement::Aucune; }

 private:
  std::wstring NomSelonGenre(TypeProduitOvalis produit, TypeGenreApplication genre) const;

  std::wstring FNom;
  TypeProduitOvalis FProduit;
  TypeGenreApplication FGenre;
  TypeVersion FVersion;
  TypePlateformeCompilation FPlateforme;
  TypePaysDistribution FPaysDistribution;
  TypeEnvironnementDeploiement FEnvironnementDeploiement = ED_Production;
  TypeSourceEnvironnement FSourceEnvironnement;
  std::wstring FMillesime;
  std::wstring FNomProduit;
  std::wstring FNomApplication;
  std::wstring FNomProduitEtMillesime;
  std::wstring FCodeGenre;
  bool FIndicateur = false;
};

}  // namespace norvel
