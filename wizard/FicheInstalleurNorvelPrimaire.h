#pragma once
// The assistant's window: seven numbered steps one below the other, each shown once the one
// before is done. The steps themselves are carried out by the step flow (steps/), which the
// window drives: it forwards the clicks, answers the flow's questions with its dialogs and
// shows the flow's state, all of it in one function (AfficherEtat).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Attente.h"
#include "platform/DossierSpecial.h"
#include "ui/Fiche.h"
#include "platform/IInformationApplication.h"
#include "ui/MenuOvalis.h"
#include "core/Handle.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "install/GestionInstallationsClientLourd.h"
#include "steps/ExecutionEtapes.h"
#include "ui/Composants.h"
#include "ui/Disposition.h"

namespace norvel {

inline constexpr int NombreEtapes = 7;

// "Assistant d'installation de NORVEL Primaire - <version>".
std::wstring TitreFicheInstalleur(const TypeVersion& version);
// "<numero>/<total>. <texte>".
std::wstring FormaterTitreEtape(int numero, int total, const std::wstring& texte);
class TFicheInstalleurNorvelPrimaire : public TFiche, public IConducteurEtapes {
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

  const std::wstring& CheminInstallation() const { return FExecution->CheminInstallation(); }
  bool ModeTest() const { return FExecution && FExecution->ModeTest(); }
  // The internal menu when it is shown on this machine, else none.
  TMenuPopupOvalis* MenuOvalis() const { return FMenuOvalis.get(); }
  UINT Ppp() const { return Echelle().Ppp; }

  // The installation manager's subscriber: the step flow, which the window shows.
  TRef<IAbonneEvenementInstallationsClientLourd> Abonne() const { return FExecution->Abonne(); }

  // ---- The step flow's driver
  // Shows the state: every control's visibility, text, colour and enabling follows from it.
  void EtatModifie(const TypeEtatEtapes& AEtat) override { AfficherEtat(AEtat); }
  // Shows the proposals of the search in the choice dialog, above the window.
  std::optional<size_t> ChoisirConfiguration(const TypeTabPropositionsModifConfigClientsHttp& APropositions) override;
  // The login dialog, on the user-interface thread whatever thread asks.
  std::optional<TypeInfoAuthHttp> DemanderInfoAuthProxy(const std::wstring& AProxy) override;

 protected:
  LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override;

  // The installation manager, made once by Initialiser with the step flow as its subscriber.
  virtual TRef<TGestionInstallationsClientLourd> CreerGestionInstallations(TRef<ISessionsClientsHttp> ASessionsHttp,
                                                                          TRef<IDossierSpecial> ADossierSpecial);
  // The address of the maker's general terms of use, opened by the link of step 4.
  virtual std::wstring UrlConditionsGenerales();

  // ---- Handlers
  // Step 1, carried out by the step flow.
  virtual void TesterAccesInternet();
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

  // ---- The page (FicheInstalleurPage.cpp): made from its layout table, laid out at the
  // display's scale, its fonts and colours
  void CreerComposants();
  HFONT PoliceDe(HWND controle) const override;
  LRESULT CouleurControle(UINT message, HDC dc, HWND controle);
  void EchelleChangee() override;
  // Places every control from the table, then fits the window's height to what the steps
  // shown need (the side image's height at least); run after every change of what is shown.
  void Disposer();

  // ---- Images (FicheInstalleurImages.cpp)
  void ChargerImages();
  // The icons and ticks at the scale of the display, then the side image.
  void AppliquerImages();
  void SetImageLaterale(TImageEchelonnee& image);

  // ---- Changes of what is shown, each followed by the layout (FicheInstalleurAffichage.cpp)
  void Montrer(TCible controle);
  void Cacher(TCible controle);
  void SetTexte(HWND controle, const std::wstring& texte);
  void SetCouleurTexte(HWND controle, COLORREF couleur);
  // Enter presses the focused push button, otherwise the default one (none: nothing).
  void DefinirBoutonParDefaut(HWND bouton);
  HWND BoutonEffectif() const;
  void MettreAJourBoutonsParDefaut();
  void Montrer(TCible controle, bool montre) { montre ? Montrer(controle) : Cacher(controle); }
  // A message label: shown with its text when there is one, hidden otherwise.
  void AfficherMessage(HWND libelle, const std::optional<std::wstring>& texte);
  void SetImageIconeClientNP(bool millesime2023);
  // The one place where the step flow's state becomes the controls' state; the layout runs
  // once at its end.
  void AfficherEtat(const TypeEtatEtapes& AEtat);
  void AfficherFocus(TypeFocusEtapes AFocus);

  void TraiterCommande(int id, int notification, HWND controle);
  void ConfigurerMenuOvalis();

  // ---- Services and state
  TRef<IInformationApplication> FInformationApplication;
  std::unique_ptr<TExecutionEtapes> FExecution;
  // What AfficherEtat last gave the focus to: the focus moves only when the flow moves it.
  TypeFocusEtapes FFocusAffiche = TypeFocusEtapes::Aucun;
  // While AfficherEtat runs, the layout waits for its end.
  bool FAffichageEnCours = false;

  // ---- Images
  TImageEchelonnee FImageConfig, FImageEcole, FImageInstall, FImageCocheVerte;
  TImageBitmap FIconePortail, FIconeClientNP, FIconeClientNP2023;
  TImageEchelonnee* FImageLaterale = nullptr;
  bool FIconeClientNP2023Choisie = false;

  // ---- Display
  std::unique_ptr<TDisposition> FDisposition;
  HWND FBoutonParDefaut = nullptr;
  HWND FFocusSauve = nullptr;
  std::unique_ptr<TMenuPopupOvalis> FMenuOvalis;

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
