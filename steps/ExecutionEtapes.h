#pragma once
// The steps carried out with the program's services: the access test, the search and the
// application of a configuration, the school lookup, the installation's start. Each outcome
// goes to the step flow, whose answer says what comes next; the driver answers the questions
// and sees every change. The window drives it with its dialogs; a run without a window drives
// the very same object. User-interface thread only (the lookup and the tests wait through the
// waiting service given, so a window stays alive meanwhile and its clicks may come back in).
#include <string>

#include "platform/Attente.h"
#include "platform/IInformationApplication.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "install/GestionInstallationsClientLourd.h"
#include "school/InfosHebNP.h"
#include "steps/ConducteurEtapes.h"
#include "steps/DeroulementEtapes.h"

namespace norvel {

// The platform code the school lookup sends: "Win64" on 64-bit Windows, whether the program runs
// as a 64-bit process or as a 32-bit one under WOW64; "Win32" otherwise.
std::wstring CodePlateformeInfosHeb();
// The identifier typed, without the characters of code 32 or below at either end.
std::wstring SansBlancsAuxExtremites(const std::wstring& texte);

// What the installation needs of the school found, for the client's installation folder.
TypeDonneesInstallationClientLourd DonneesInstallation(const TypeInfosHebNP& AEcole,
                                                       const std::wstring& ACheminInstallation);

class TExecutionEtapes {
 public:
  TExecutionEtapes(IConducteurEtapes& AConducteur, TRef<IAttente> AAttente,
                   TRef<IInformationApplication> AInformationApplication, TRef<ISessionsClientsHttp> ASessionsHttp,
                   std::wstring ACheminInstallation);
  // Stops a running installation, waiting for the stage in progress; what it still tells is
  // dropped.
  ~TExecutionEtapes();
  TExecutionEtapes(const TExecutionEtapes&) = delete;
  TExecutionEtapes& operator=(const TExecutionEtapes&) = delete;

  const TypeEtatEtapes& Etat() const { return FDeroulement->Etat(); }
  // The installation manager's subscriber: the step flow itself.
  TRef<IAbonneEvenementInstallationsClientLourd> Abonne() const;
  // Made by the driver with Abonne() as its subscriber, before the terms can be accepted.
  void SetGestionInstallations(TRef<TGestionInstallationsClientLourd> AGestion) { FGestion = std::move(AGestion); }

  const std::wstring& CheminInstallation() const { return FCheminInstallation; }
  // Test mode: the lookup uses the built-in sample schools.
  bool ModeTest() const { return FModeTest; }
  void SetModeTest(bool AModeTest) { FModeTest = AModeTest; }

  // Step 1: the current configuration tested; when no HTTPS server answered, a search of
  // other configurations, the driver's choice among them and its application.
  void TesterAccesInternet();
  void IdentifiantModifie(bool ASaisi) { FDeroulement->IdentifiantModifie(ASaisi); }
  // Step 2: the lookup of that identifier (blanks at either end removed).
  void ValiderIdentifiant(const std::wstring& AIdentifiant);
  void ConfirmerEcole() { FDeroulement->EcoleConfirmee(); }
  // Step 4: starts the installation, once; writing the portal's icon may fail here.
  void AccepterConditions();

 private:
  TRef<IApiRecuperationInfosHebNP> CreerRechercheEcole() const;
  // The program is closing: a wait that ended for that has nothing more to show.
  static bool ApplicationTerminee();

  IConducteurEtapes& FConducteur;
  const TRef<IAttente> FAttente;
  const TRef<IInformationApplication> FInformationApplication;
  const TRef<ISessionsClientsHttp> FSessionsHttp;
  const std::wstring FCheminInstallation;
  bool FModeTest = false;
  const TRef<TDeroulementEtapes> FDeroulement = NouvelObjet<TDeroulementEtapes>();
  TRef<TGestionInstallationsClientLourd> FGestion;
};

}  // namespace norvel
