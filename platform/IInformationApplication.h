#pragma once
// Which program is running, in which version, for which country and against which deployment
// environment: the application information service, registered first at start-up.
#include <cstdint>
#include <string>

#include "platform/Version.h"
#include "core/Interface.h"

namespace norvel {

// The deployment environment chooses the web service's endpoint.
enum TypeEnvironnementDeploiement : uint8_t { ED_Production, ED_PreProduction, ED_Developpement };
// "production", "staging", "development": the codes kept in the registry.
const wchar_t* CodeEnvironnementDeploiement(TypeEnvironnementDeploiement environnement);

enum class TypePaysDistribution : uint8_t {
  FRANCE, ITALIE, BELGIQUE, SUISSE, PAYSBAS, ALLEMAGNE, ANGLETERRE, MAROC, CANADA, USA
};
// "FR", "IT", ...
const wchar_t* CodePaysDistribution(TypePaysDistribution pays);

// The maker's products; this program is the tool product, the only one it ever names.
enum TypeProduitOvalis : uint8_t { POV_OUTIL };
// "OUTIL"
const wchar_t* NomProduitOvalis(TypeProduitOvalis produit);

// Application genres: this program is single-seat; INDEFINI names the application by its own name.
enum class TypeGenreApplication : uint8_t { MONOPOSTE, INDEFINI };
// "MONOPOSTE", "INDEFINI"
const wchar_t* CodeGenreApplication(TypeGenreApplication genre);

// Build platforms, by position in the table of codes "32bit", "64bit", "64bit".
enum class TypePlateformeCompilation : uint8_t { Bits32, Bits64, Bits64Autre };
const wchar_t* CodePlateformeCompilation(TypePlateformeCompilation plateforme);

// Where the deployment environment comes from.
enum class TypeSourceEnvironnement : uint8_t { Aucune, Registre, VariableEnvironnement };

// Options of the display name with version (GetNomVersion...).
enum OptionsNomVersion : uint32_t {
  ONV_SansNom = 1,          // no name, only the version
  ONV_NomApplication = 2,   // the application's name rather than the product's
  ONV_AvecPlateforme = 16,  // " (" build platform ")" at the end
};

struct IInformationApplication : IInterface {
  virtual TypeVersion GetVersion() = 0;
  virtual std::wstring GetNomProduit() = 0;
  virtual std::wstring GetNomApplication() = 0;
  virtual std::wstring GetNomProduitEtMillesime() = 0;
  virtual std::wstring GetNom() = 0;
  virtual std::wstring GetCodeGenre() = 0;
  virtual TypePaysDistribution GetPaysDistribution() = 0;
  virtual std::wstring GetMillesime() = 0;
  virtual TypeProduitOvalis GetProduit() = 0;
  virtual TypePlateformeCompilation GetPlateforme() = 0;
  virtual TypeGenreApplication GetGenre() = 0;
  virtual bool GetIndicateur() = 0;
  virtual TypeEnvironnementDeploiement GetEnvironnementDeploiement() = 0;
  // Also written back to the registry when the environment comes from there.
  virtual void SetEnvironnementDeploiement(TypeEnvironnementDeploiement environnement) = 0;
  virtual std::wstring GetNomVersion(int nombreNumeros, uint32_t options) = 0;
  virtual std::wstring GetNomVersionDe(const TypeVersion& version, int nombreNumeros, uint32_t options) = 0;
  virtual std::wstring GetNomVersionProduit(const TypeVersion& version, int nombreNumeros, uint32_t options,
                                            TypeProduitOvalis produit, TypeGenreApplication genre) = 0;
  virtual int GetMillesimeDecale(TypeProduitOvalis produit, uint32_t majeur, int decalage) = 0;
  virtual int GetMillesimeNumerique(uint32_t majeur) = 0;
  virtual std::wstring GetMillesimeTexte(uint32_t majeur) = 0;
  virtual bool EnvironnementDeploiementModifiable() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IInformationApplication, 0xBA438C2C, 0xD1FB, 0x4457, 0x82, 0xB3, 0x52, 0xBF, 0x1C, 0x57, 0xE4,
            0xE1)
