#pragma once
// The wizard's window inside a test program: made through the user-interface platform like the
// assistant's own, with real services (waiting on the main loop, application information in
// the development environment, the graphical HTTP sessions service on a configuration file of
// its own going through Squid, the stand-in web service of tools/monde for the school lookup),
// and read back the way the UI driver reads it: by control identifier.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/AttenteApplication.h"
#include "platform/InformationApplication.h"
#include "support/DossierSpecialFixe.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"
#include "support/Monde.h"
#include "support/ServicesInterface.h"
#include "support/SessionsHttpEssai.h"
#include "wizard/FicheInstalleurNorvelPrimaire.h"
#include "ui/IdentifiantsControles.h"

namespace norvel::test {

namespace Id = IdControle;

// One call the installation's worker makes to the wizard's subscriber.
using TypeAppelAbonne = std::function<void(IAbonneEvenementInstallationsClientLourd&)>;
inline TypeAppelAbonne AppelAvec(void (IAbonneEvenementInstallationsClientLourd::*AOperation)(const std::wstring&),
                                 std::wstring ATexte) {
  return [AOperation, ATexte](IAbonneEvenementInstallationsClientLourd& a) { (a.*AOperation)(ATexte); };
}

// The installation manager with a worker of this test: once the terms are accepted it makes
// the calls the test chose, in order, through the manager's real posting to the window.
class TGestionInstallationsEssai : public TGestionInstallationsClientLourd {
 public:
  TGestionInstallationsEssai(TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial,
                             TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
                             const std::vector<TypeAppelAbonne>& AEvenements)
      : TGestionInstallationsClientLourd(std::move(ASessionsHttp), std::move(ADossierSpecial), std::move(AAbonne)),
        FEvenements(AEvenements) {}

 protected:
  std::unique_ptr<TThreadInstallationClientLourd> CreerThreadInstallation(
      TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
      const TypeDonneesInstallationClientLourd& ADonnees) override;

 private:
  const std::vector<TypeAppelAbonne>& FEvenements;
};

class TFicheEssai : public TFicheInstalleurNorvelPrimaire {
 public:
  using TFicheInstalleurNorvelPrimaire::TFicheInstalleurNorvelPrimaire;
  std::wstring FUrlConditions = L"https://conditions.norvel-primaire.test/conditions-generales-de-vente";
  // What the installation's worker will tell the window.
  std::vector<TypeAppelAbonne> FEvenementsInstallation;
  // The assistant's own installation manager instead, with its real stages.
  bool FInstallationReelle = false;

 protected:
  std::wstring UrlConditionsGenerales() override { return FUrlConditions; }
  TRef<TGestionInstallationsClientLourd> CreerGestionInstallations(TRef<ISessionsClientsHttp> ASessionsHttp,
                                                                  TRef<IDossierSpecial> ADossierSpecial) override {
    if (FInstallationReelle)
      return TFicheInstalleurNorvelPrimaire::CreerGestionInstallations(std::move(ASessionsHttp), std::move(ADossierSpecial));
    return NouvelObjet<TGestionInstallationsEssai>(std::move(ASessionsHttp), std::move(ADossierSpecial), Abonne(),
                                                   FEvenementsInstallation);
  }
};

// One window per test, on the main thread's loop; exceptions the loop would show in a message
// box are kept instead.
class TBancFiche {
 public:
  TBancFiche();
  ~TBancFiche();
  TBancFiche(const TBancFiche&) = delete;
  TBancFiche& operator=(const TBancFiche&) = delete;

  // The world of the wizard's tests: Squid, through which the publisher's site is a stand-in;
  // the download server gives the files of DossierTelechargements().
  static TMonde& Monde();
  static std::wstring DossierTelechargements() { return FichierBuild(L"fiche-telechargements"); }
  static std::wstring Squid() { return Monde().AdresseProxy("squid_ouvert"); }
  // The sessions service the window gets: through Squid, names without a dot direct.
  TSessionsClientsHttpAppGraphiqueFmx& Sessions() const { return *FMachine.Sessions; }

  // Creates the window and runs Initialiser (step 1 included).
  void Ouvrir();
  // Set before Ouvrir: the window gets the assistant's own installation manager.
  bool InstallationReelle = false;
  TFicheEssai& Fiche() const { return *static_cast<TFicheEssai*>(FFiche); }
  HWND Fenetre() const { return FFiche->Handle(); }

  // Runs the loop until the check holds (false when the delay ran out).
  bool Pomper(const std::function<bool()>& condition, DWORD delaiMs = 15000);
  // Runs the loop for a while.
  void Laisser(DWORD delaiMs);
  // A screenshot of the window as it is drawn now: build/captures-assistant/<nom>.png.
  void Capturer(const std::wstring& nom);

  HWND Controle(int id) const;
  std::wstring Texte(int id) const;
  bool Visible(int id) const;
  bool Actif(int id) const;
  // The control's place in the main panel's coordinates.
  RECT Place(int id) const;
  // The colour its parent gives to its text.
  COLORREF CouleurTexte(int id) const;

  // As a user: the edit's text replaced (one change), a button pressed.
  void Saisir(const std::wstring& texte);
  void Cliquer(int id);

  // The identifiers of the shown elements of the page's stack, from the top.
  std::vector<int> PileMontree() const;

  std::vector<std::wstring> Exceptions;
  TRef<IAttente> FAttente = NouvelObjet<TAttenteApplicationFmx>();

 private:
  // The program's simple messages, shown in the system's message box as at start-up.
  TServicesInterface FServices;
  TMachineSessionsHttp<TSessionsClientsHttpAppGraphiqueFmx> FMachine;
  TDossierTemporaire FDossier;
  TVariableEnvironnement FEnvironnement{L"OV_ENVIRONNEMENT", L"development"};
  TVariableEnvironnement FPort;
  TFiche* FFiche = nullptr;
};

}  // namespace norvel::test
