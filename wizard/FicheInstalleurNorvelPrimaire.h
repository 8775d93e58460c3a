#pragma once
// The assistant's window: seven numbered steps one below the other, each shown once the one
// before is done. Steps 1 to 4 (Internet access, the school's identifier, the school's
// confirmation, the terms of use) run in the window's own handlers; steps 5 to 7 are run by the
// installation manager's worker, whose events the window receives on the user-interface thread
// as the manager's subscriber.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Attente.h"
#include "platform/DossierSpecial.h"
#include "ui/Fiche.h"
#include "platform/IInformationApplication.h"
#include "ui/MenuOvalis.h"
#include "core/Handle.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "install/EvenementInstallation.h"
#include "install/GestionInstallationsClientLourd.h"
#include "school/InfosHebNP.h"
#include "ui/Composants.h"
#include "wizard/PileVerticale.h"

namespace norvel {

inline constexpr int NombreEtapes = 7;

// "Assistant d'installation de NORVEL Primaire - <version>".
std::wstring TitreFicheInstalleur(const TypeVersion& version);
// "<numero>/<total>. <texte>".
std::wstring FormaterTitreEtape(int numero, int total, const std::wstring& texte);
// The platform code the school lookup sends: "Win64" on 64-bit Windows, whether the program runs
// as a 64-bit process or as a 32-bit one under WOW64; "Win32" otherwise.
std::wstring CodePlateformeInfosHeb();
// The identifier typed, without the characters of code 32 or below at either end.
std::wstring SansBlancsAuxExtremites(const std::wstring& texte);

class TFicheInstalleurNorvelPrimaire : public TFiche,
                                       public TImplemente<TObjetInterfacable, IAbonneEvenementInstallationsClientLourd> {
 public:
  // Builds the window with every step in place, all but the first hidden.
  TFicheInstalleurNorvelPrimaire();
  // Stops a running installation (waiting for the stage in progress) before the window goes.
  ~TFicheInstalleurNorvelPrimaire() override;

  // Called once by the start-up, after the form exists: keeps the services, makes the
  // installation manager, sets the caption and the internal menu, shows the window and runs
  // step 1, returning when it has ended. ADossierSpecial only goes to the installation manager.
  virtual void Initialiser(TRef<IAttente> AAttente, TRef<IDossierSpecial> ADossierSpecial,
                           TRef<IInformationApplication> AInformationApplication,
                           TRef<ISessionsClientsHttp> ASessionsHttp, const std::wstring& ACheminInstallation);

  const std::wstring& CheminInstallation() const { return FCheminInstallation; }
  bool ModeTest() const { return FModeTest; }
  // The internal menu when it is shown on this machine, else none.
  TMenuPopupOvalis* MenuOvalis() const { return FMenuOvalis.get(); }
  UINT Ppp() const { return FEchelle.Ppp; }

  // ---- Progress of steps 5 to 7, from the installation manager on the user-interface thread
  void RaccourciPortailCree() override;
  void EchecRaccourciPortail(const std::wstring& AMessage) override;
  void DesinstallationEnCours(const std::wstring& ANomAffichage) override;
  void EchecDesinstallation(const std::wstring& AMessage) override;
  void TelechargementEnCours() override;
  void EchecTelechargement(const std::wstring& AMessage) override;
  void InstallationEnCours() override;
  void EchecInstallation(const std::wstring& AMessage) override;
  void InstallationTerminee() override;
  void LancementTermine() override;
  void EchecLancement(const std::wstring& AMessage) override;

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;

  // The lookup of one click: the built-in samples in test mode, otherwise the web service of
  // the deployment environment (read at each click).
  virtual TRef<IApiRecuperationInfosHebNP> CreerRechercheEcole();
  // The installation manager, made once by Initialiser with the window as its subscriber.
  virtual TRef<TGestionInstallationsClientLourd> CreerGestionInstallations(TRef<ISessionsClientsHttp> ASessionsHttp,
                                                                          TRef<IDossierSpecial> ADossierSpecial);
  // Shows the proposals of the search in the choice dialog, above the window; true with the
  // position of the one the user chose, false when the user declined.
  virtual bool ChoisirConfiguration(const TypeTabPropositionsModifConfigClientsHttp& APropositions, int& AChoix);
  // The window as the manager's subscriber (counted references, the window keeps its own life).
  TRef<IAbonneEvenementInstallationsClientLourd> Abonne();
  // The address of the maker's general terms of use, opened by the link of step 4.
  virtual std::wstring UrlConditionsGenerales();

  // ---- Handlers
  // Step 1: the current configuration tested; when no HTTPS server answered, a search of other
  // configurations, the user's choice among them and its application.
  virtual void TesterAccesInternet();
  void AfficherEtape2();
  void EditRNEChangeTracking();
  void BtnValidationRNEClick();
  void BtnValidationEcoleClick();
  void LabelEtape4LienClick();
  void CheckboxCGUEtape4Change();
  void btnFermerClick();
  void BasculerModeTest();

 private:
  // An image of the resources at the size the display asks for: decoded once, resampled when
  // the scale changes.
  struct TImageEchelonnee {
    TImageBitmap Origine;
    TImageBitmap AEchelle;
    const TImageBitmap& ALaTaille(int largeur, int hauteur);
  };

  void CreerComposants();
  HWND CreerLibelle(HWND parent, int id, const std::wstring& texte, DWORD style);
  HWND CreerTitre(HWND parent, int id, const std::wstring& texte);
  HWND CreerLibelleRouge(HWND parent, int id);
  TControleImage* CreerImage(HWND parent, int id);
  TIndicateurPatience* CreerPatience(HWND parent, int id);
  TPanneau* CreerPanneau(HWND parent, int id);

  // The scale of the window's display: fonts, icons, images and the layout follow it.
  void AppliquerEchelle(UINT ppp, const RECT* zoneProposee);
  void CreerPolices();
  HFONT PoliceDe(HWND controle) const override;
  void ChargerIcones();
  void AjusterTailleFenetre(const RECT* zoneProposee);
  // Places every control from the sizes at 96 dots per inch; run after every change of what
  // is shown.
  void Disposer();
  // Left to right from x, skipping hidden elements; a width of -1 follows the element's text.
  void DisposerEnLigne(HWND parent, int x, int y, int hauteur, std::initializer_list<std::pair<HWND, int>> elements);

  void Montrer(TCible controle);
  void Cacher(TCible controle);
  // Inserts the element directly below the reference and shows it.
  void InsererSous(TCible element, TCible reference);
  void SetTexte(HWND controle, const std::wstring& texte);
  void SetCouleurTexte(HWND controle, COLORREF couleur);
  void SetImageLaterale(TImageEchelonnee& image);
  // Enter presses the focused push button, otherwise the default one (none: nothing).
  void DefinirBoutonParDefaut(HWND bouton);
  HWND BoutonEffectif() const;
  void MettreAJourBoutonsParDefaut();
  // The sub-step label shown below step 6 with this text.
  void AfficherSousEtape(const std::wstring& texte);
  void PasserSousEtapeEnErreur();
  void MontrerPanneauEtape6Sous(TCible reference);

  LRESULT CouleurControle(UINT message, HDC dc, HWND controle);
  void TraiterCommande(int id, int notification, HWND controle);
  void ConfigurerMenuOvalis();

  // ---- Services and state
  TRef<IAttente> FAttente;
  TRef<IInformationApplication> FInformationApplication;
  TRef<ISessionsClientsHttp> FSessionsHttp;
  TRef<TGestionInstallationsClientLourd> FGestionInstallationsClientLourd;
  std::wstring FCheminInstallation;
  std::wstring FUrlTelechargement;
  bool FSimulation = false;
  std::wstring FNomEcole;
  std::wstring FNomDomaine;
  uint16_t FPort = 0;
  bool FServeurEnService = false;
  std::wstring FUrlPortail;
  bool FModeTest = false;
  bool FInstallationLancee = false;
  // Numbers the lookups: an answer counts only while no later click or edit came after its own
  // click (nested waits give the newest answer first, the older ones after it).
  uint64_t FNumeroRecherche = 0;

  // ---- Images
  TImageEchelonnee FImageConfig, FImageEcole, FImageInstall, FImageCocheVerte;
  TImageBitmap FIconePortail, FIconeClientNP, FIconeClientNP2023;
  TImageEchelonnee* FImageLaterale = nullptr;
  bool FIconeClientNP2023Choisie = false;

  // ---- Display
  TEchelle FEchelle;
  TPoliceGdi FPolice, FPoliceGras, FPoliceLien;
  std::vector<HWND> FTitres;
  std::vector<std::pair<HWND, COLORREF>> FCouleursTexte;
  HWND FBoutonParDefaut = nullptr;
  HWND FFocusSauve = nullptr;
  TPileVerticale FPile;
  std::unique_ptr<TMenuPopupOvalis> FMenuOvalis;
  std::vector<std::unique_ptr<TControlePersonnalise>> FControles;

  // ---- Components, named by their role
  TControleImage* ImageViewer = nullptr;
  TPanneau* PanelPrincipal = nullptr;
  HWND btnFermer = nullptr;
  TPanneau* PanelEtape1 = nullptr;
  HWND LabelEtape1 = nullptr;
  TControleImage* ImageCheckEtape1 = nullptr;
  TIndicateurPatience* PatienceEtape1 = nullptr;
  HWND LabelErreurEtape1 = nullptr;
  TPanneau* PanelEtape2 = nullptr;
  HWND LabelEtape2 = nullptr;
  HWND LabelEtape2Explication = nullptr;
  HWND EditRNE = nullptr;
  HWND BtnValidationRNE = nullptr;
  HWND LabelErreurEtape2 = nullptr;
  TPanneau* PanelEtape3 = nullptr;
  HWND LabelEtape3 = nullptr;
  TPanneau* PanelAdresse = nullptr;
  HWND LabelNomEcole = nullptr;
  HWND LabelAdresseEcole = nullptr;
  HWND LabelCodePostalVilleEcole = nullptr;
  HWND LabelPaysEcole = nullptr;
  TPanneau* PanelValidationEcole = nullptr;
  HWND BtnValidationEcole = nullptr;
  HWND LabelModifRNE = nullptr;
  TPanneau* PanelEtape4 = nullptr;
  TPanneau* PanelTitreEtape4 = nullptr;
  HWND LabelEtape4 = nullptr;
  TLien* LabelEtape4Lien = nullptr;
  HWND CheckboxCGUEtape4 = nullptr;
  TPanneau* PanelEtape5 = nullptr;
  HWND LabelEtape5 = nullptr;
  TControleImage* ImageIconePortail = nullptr;
  TControleImage* ImageCheckEtape5 = nullptr;
  HWND LabelErreurEtape5 = nullptr;
  TPanneau* PanelEtape6 = nullptr;
  HWND LabelEtape6 = nullptr;
  TControleImage* ImageIconeClientNP = nullptr;
  TIndicateurPatience* PatienceEtape6 = nullptr;
  TControleImage* ImageCheckEtape6 = nullptr;
  HWND LabelSousEtapeInstallation = nullptr;
  TPanneau* PanelEtape7 = nullptr;
  HWND LabelEtape7 = nullptr;
  TControleImage* ImageCheckEtape7 = nullptr;
  HWND LabelNatureActionEtape7 = nullptr;
  HWND LabelErreurEtape7 = nullptr;
};

}  // namespace norvel
