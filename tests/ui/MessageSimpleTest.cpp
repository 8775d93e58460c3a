// Simple messages: the stack of handlers, the icon and button tables, and a real message box
// answered by a click.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/ApplicationGraphique.h"
#include "platform/GestionGlobaleEvenements.h"
#include "ui/MessageSimple.h"
#include "core/DictionnaireExtensions.h"
#include "support/FenetresEssai.h"

using namespace norvel;

namespace {

class TGestionEssai : public TImplemente<TObjetInterfacable, IGestionMessageSimple> {
 public:
  explicit TGestionEssai(int reponse) : FReponse(reponse) {}
  int MessageSimple(uint8_t, const std::wstring& message, const std::wstring& titre, uint8_t genre,
                    uint16_t boutons) override {
    FRecus.push_back(message + L"|" + titre + L"|" + std::to_wstring(genre) + L"|" + std::to_wstring(boutons));
    return FReponse;
  }
  std::vector<std::wstring> FRecus;

 private:
  int FReponse;
};

}  // namespace

TEST(PileGestionMessageSimple, LeSommetRecoitLesMessagesJusquAuDepilement) {
  auto pile = NouvelObjet<TPileGestionMessageSimple>();
  EXPECT_EQ(pile->MessageSimple(0, L"personne", L"", gmErreur, bmOK), IDYES) << "empty stack: nothing shown";
  auto bas = NouvelObjet<TGestionEssai>(IDOK), haut = NouvelObjet<TGestionEssai>(IDNO);
  pile->EmpilerGestion(bas.Get());
  pile->EmpilerGestion(haut.Get());
  EXPECT_EQ(pile->MessageSimple(0, L"m1", L"t", gmConfirmation, bmOui | bmNon), IDNO);
  pile->DepilerGestion();
  EXPECT_EQ(pile->MessageSimple(0, L"m2", L"", gmInformation, bmOK), IDOK);
  EXPECT_EQ(haut->FRecus, std::vector<std::wstring>{L"m1|t|1|3"});
  EXPECT_EQ(bas->FRecus, std::vector<std::wstring>{L"m2||3|8"});
  TRef<IPileGestionMessageSimple> commePile = pile.Get();
  EXPECT_TRUE(commePile.Demander<IGestionMessageSimple>());
}

TEST(AfficherMessage, SurLeThreadPrincipalParLeServiceEnregistreAilleursRienEt6) {
  TApplicationGraphique::Instance();  // this thread is the main thread
  EXPECT_EQ(AfficherMessageInformation(L"pas encore de service"), IDYES);
  auto pile = NouvelObjet<TPileGestionMessageSimple>();
  auto gestion = NouvelObjet<TGestionEssai>(IDOK);
  pile->EmpilerGestion(gestion.Get());
  TSingletonDictionnaireExtensions::AjouterExtension(__uuidof(IPileGestionMessageSimple),
                                                     static_cast<IPileGestionMessageSimple*>(pile.Get()));
  EXPECT_EQ(AfficherMessageErreur(L"panne", L"titre"), IDOK);
  EXPECT_EQ(AfficherMessageInformation(L"pour information"), IDOK);
  int reponseTravailleur = 0;
  std::thread([&] { reponseTravailleur = AfficherMessageInformation(L"depuis un travailleur"); }).join();
  TSingletonDictionnaireExtensions::SupprimerExtension(__uuidof(IPileGestionMessageSimple));
  EXPECT_EQ(reponseTravailleur, IDYES);
  EXPECT_EQ(gestion->FRecus, (std::vector<std::wstring>{L"panne|titre|0|8", L"pour information||3|8"}));
  EXPECT_EQ(AfficherMessageInformation(L"service retiré"), IDYES);
}

TEST(PresentationMessage, IconesEtBoutonsDeLaBoiteSysteme) {
  struct Cas {
    uint8_t genre;
    uint16_t boutons;
    unsigned style;
    const wchar_t* legende;
  } cas[] = {
      {gmErreur, bmOK, MB_ICONERROR | MB_OK, L"Erreur"},
      {gmConfirmation, bmOui | bmNon, MB_ICONQUESTION | MB_YESNO, L"Confirmation"},
      {gmAvertissement, bmOui | bmNon | bmAnnuler, MB_ICONWARNING | MB_YESNOCANCEL, L"Avertissement"},
      {gmInformation, bmOK | bmAnnuler, MB_ICONINFORMATION | MB_OKCANCEL, L"Information"},
      {gmInformationBis, bmReessayer | bmAnnuler, MB_ICONINFORMATION | MB_RETRYCANCEL, L"Information"},
      {gmErreurBis, bmOKBis | bmAide, MB_ICONERROR | MB_OK | MB_HELP, L"Erreur"},
      {gmConfirmation, bmOuiPourTous | bmNonPourTous, MB_ICONQUESTION | MB_YESNO, L"Confirmation"},
      // Bits above 8 are ignored; no button at all leaves the box its own default.
      {gmInformation, 0xFE00, MB_ICONINFORMATION | MB_OK, L"Information"},
      {gmInformation, 0, MB_ICONINFORMATION | MB_OK, L"Information"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(testing::Message() << "genre " << int(c.genre) << ", boutons " << c.boutons);
    const auto p = PresentationMessage(c.genre, c.boutons);
    EXPECT_EQ(p.FStyle, c.style);
    EXPECT_EQ(p.FLegende, c.legende);
  }
}

TEST(GestionMessageSimpleMin, LaBoiteSystemeRendLeBoutonClique) {
  struct Cas {
    uint8_t genre;
    uint16_t boutons;
    std::vector<int> boutonsPresents;
    int clic;
  } cas[] = {
      {gmConfirmation, bmOui | bmNon | bmAnnuler, {IDYES, IDNO, IDCANCEL}, IDNO},
      {gmErreur, bmOK, {IDOK}, IDOK},
      {gmAvertissement, bmReessayer | bmAnnuler, {IDRETRY, IDCANCEL}, IDRETRY},
  };
  auto gestion = NouvelObjet<TGestionMessageSimpleMin>();
  const DWORD thread = GetCurrentThreadId();
  for (const auto& c : cas) {
    SCOPED_TRACE(c.clic);
    std::vector<int> presents;
    std::wstring texte;
    std::thread utilisateur([&] {
      HWND boite = essai::AttendreBoiteDialogue(thread);
      if (!boite) return;
      for (int id : c.boutonsPresents)
        if (GetDlgItem(boite, id)) presents.push_back(id);
      wchar_t legende[64]{};
      GetWindowTextW(boite, legende, 64);
      texte = legende;
      essai::CliquerBouton(boite, c.clic);
    });
    const int reponse = gestion->MessageSimple(0, L"Un message", L"titre jamais montré", c.genre, c.boutons);
    utilisateur.join();
    EXPECT_EQ(reponse, c.clic);
    EXPECT_EQ(presents, c.boutonsPresents);
    EXPECT_EQ(texte, PresentationMessage(c.genre, c.boutons).FLegende);
  }
}

TEST(GestionGlobaleEvenements, NotificationDeFermetureAuxAbonnes) {
  auto service = NouvelObjet<TGestionGlobaleEvenements>();
  struct TAbonne {
    int FAppels = 0;
    void Fermeture() { ++FAppels; }
  } abonne;
  auto invocateur = service->GestionnaireInvocateurs().GetInvocateur<TNotifFermetureApplication>();
  invocateur->Abonner(TNotifFermetureApplication(&abonne, &TAbonne::Fermeture), false);
  service->GestionnaireInvocateurs().GetInvocateur<TNotifFermetureApplication>()->Diffuseur()();
  EXPECT_EQ(abonne.FAppels, 1);
  EXPECT_EQ(service->GestionnaireInvocateurs().GestionException(), geiAbandonner);
}
