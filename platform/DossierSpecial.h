#pragma once
// The special folders: where every file the program keeps outside its installation folder
// lives. A company folder in a base folder, then optional levels for the application and its
// version, the country, a sub-folder and the instance named on the command line.
#include <cstdint>
#include <string>

#include "platform/ContexteExecution.h"
#include "platform/IInformationApplication.h"
#include "platform/SurchargeRepertoires.h"
#include "core/GuidsServices.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

enum TypeNiveauDossierSpecial : uint8_t {
  NDS_Societe,            // <base>\Ovalis
  NDS_Produit,            // ...\<program name>
  NDS_Application,        // ...\<application folder>
  NDS_ApplicationCommun,  // ...\<application folder>\TOUTES VERSIONS
  NDS_AppliVersionnee,    // ...\<application folder>\VERSION <major>-<minor / 256>[ (<millesime>)]
};

// The base folder of a request.
enum TypeBaseDossierSpecial : int {
  BDS_DonneesCommunes = 0,  // machine-wide application data
  BDS_Documents = 1,        // the user's documents
  BDS_Temporaire = 2,       // the TEMP variable, or C:\TEMP
};

// Options of a request, to combine.
enum OptionsDossierSpecial : int {
  ODS_Creer = 1,     // create the folder and its missing parents
  ODS_AvecPays = 2,  // add the distribution country code
};

struct IDossierSpecial : IUnknown {
  // Every path answered ends with a backslash. The application level is the genre code.
  virtual std::wstring GetDossier(int ABase, TypeNiveauDossierSpecial ANiveau, int AOptions,
                                  const std::wstring& ASousDossier) = 0;
  virtual std::wstring GetDossierApplication(const std::wstring& ANomApplication, int ABase,
                                             TypeNiveauDossierSpecial ANiveau, int AOptions,
                                             const std::wstring& ASousDossier) = 0;
  virtual std::wstring GetDossierContexte(IContexteExecution* AContexte) = 0;
  virtual std::wstring GetDossierParDefaut() = 0;
  // Whether the folder exists or could be created.
  virtual bool SetDossierParDefaut(const std::wstring& ADossier) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IDossierSpecial, 0x97D44588, 0xE77B, 0x4674, 0xAF, 0x7C, 0x41, 0xBC, 0x63, 0xC2, 0x41, 0xCF)
static_assert(norvel::MemesGuid(__uuidof(norvel::IDossierSpecial), norvel::IID_IDossierSpecial));

namespace norvel {

// Where administrators redirect the machine-wide base folders (64-bit view of HKLM).
inline constexpr const wchar_t* CleSurchargeRepertoiresWindows = L"SOFTWARE\\Ovalis\\SurchargeRepertoiresWindows";

class TDossierSpecial : public TImplemente<TObjetInterfacable, IDossierSpecial> {
 public:
  // Writes the in-memory overrides to the registry when allowed, then fixes the base folders:
  // the overrides first, the system's known folders otherwise.
  TDossierSpecial(TRef<IInformationApplication> AInformationApplication,
                  TRef<ISurchargeRepertoiresWindows> ASurcharges, TRef<IContexteExecution> AContexte);

  std::wstring GetDossier(int ABase, TypeNiveauDossierSpecial ANiveau, int AOptions,
                          const std::wstring& ASousDossier) override;
  std::wstring GetDossierApplication(const std::wstring& ANomApplication, int ABase, TypeNiveauDossierSpecial ANiveau,
                                     int AOptions, const std::wstring& ASousDossier) override;
  std::wstring GetDossierContexte(IContexteExecution* AContexte) override;
  std::wstring GetDossierParDefaut() override;
  bool SetDossierParDefaut(const std::wstring& ADossier) override;

  // The base folders after overrides (empty when neither an override nor the system gives one).
  const std::wstring& DossierDonneesCommunes() const { return FDossierDonneesCommunes; }
  const std::wstring& DossierDocuments() const { return FDossierDocuments; }

 private:
  TRef<IInformationApplication> FInformationApplication;
  std::wstring FDossierDonneesCommunes;
  std::wstring FDossierDocuments;
  std::wstring FDossierParDefaut;
};

// The folder of the running program, with its trailing backslash; a program run from
// "...\bin\win32\" answers its "bin" folder.
std::wstring DossierExecutableDonnees();

}  // namespace norvel
