#include "wizard/FicheInstalleurEssai.h"

#include <algorithm>
#include <filesystem>

#include "platform/ServicesApplication.h"
#include "core/Exceptions.h"
#include "support/CaptureEcran.h"
#include "support/FenetresEssai.h"
#include "ui/ServicePoliceSysteme.h"

namespace norvel::test {

namespace {

TRef<IInformationApplication> InformationDeveloppement() {
  return NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             VersionDepuisNumeros({1, 9, 0, 0}), TypePlateformeCompilation::Bits64,
                                             TypePaysDistribution::FRANCE, TypeSourceEnvironnement::VariableEnvironnement);
}

class TThreadInstallationEssai : public TThreadInstallationClientLourd {
 public:
  TThreadInstallationEssai(TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
                           const TypeDonneesInstallationClientLourd& ADonnees, std::vector<TypeAppelAbonne> AEvenements)
      : TThreadInstallationClientLourd(std::move(ASessionsHttp), std::move(AAbonne), ADonnees),
        FEvenements(std::move(AEvenements)) {}

 protected:
  void CreerRaccourciPortail() override {
    for (const auto& appel : FEvenements) appel(Abonne());
  }
  void DesinstallerAnciennesVersions() override {}
  std::wstring TelechargerInstallation() override { return {}; }
  void InstallerClient(const std::wstring&) override {}
  void ConfigurerEtLancerClient() override {}

 private:
  std::vector<TypeAppelAbonne> FEvenements;
};

}  // namespace

std::unique_ptr<TThreadInstallationClientLourd> TGestionInstallationsEssai::CreerThreadInstallation(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
    const TypeDonneesInstallationClientLourd& ADonnees) {
  return std::make_unique<TThreadInstallationEssai>(std::move(ASessionsHttp), std::move(AAbonne), ADonnees, FEvenements);
}

TMonde& TBancFiche::Monde() {
  return MondePartage({.Squid = true,
                       .HotesDuProxy = {L"www.ovalis.fr=127.0.0.1"},
                       .Telechargements = CheminLinuxDepuisWindows(DossierTelechargements())});
}

TBancFiche::TBancFiche()
    : FPort(L"OV_PORT_INFOSNP_DEVELOPPEMENT", std::to_wstring(Monde().Port("https"))) {
  FMachine.Sessions->AppliquerPropositionModifConfig(PropositionProxy(Squid(), {L"<local>"}));
  auto& application = TApplicationGraphique::Instance();
  application.Initialiser();
  // The assistant's own default font.
  application.SetServicePolice(std::make_unique<TFMXSystemFontServiceOv>());
  application.SetSurException([this](const std::exception& e) { Exceptions.push_back(MessageDe(e)); });
  // The idle services run as in the assistant.
  application.SetSurInactivite([](bool& fini) { fini = TServicesApplication::Invoquer(dsiIdle) && fini; });
}

TBancFiche::~TBancFiche() {
  auto& application = TApplicationGraphique::Instance();
  if (FFiche) application.DetruireFiche(FFiche);
  application.SetSurException(nullptr);
  application.SetSurInactivite(nullptr);
}

void TBancFiche::Ouvrir() {
  auto& application = TApplicationGraphique::Instance();
  application.CreerFiche([] { return std::make_unique<TFicheEssai>(); }, &FFiche);
  Fiche().FInstallationReelle = InstallationReelle;
  Fiche().Initialiser(FAttente, NouvelObjet<TDossierSpecialFixe>(FDossier.Chemin().wstring() + L"\\"),
                      InformationDeveloppement(), FMachine.Sessions, L"C:\\NORVEL");
}

bool TBancFiche::Pomper(const std::function<bool()>& condition, DWORD delaiMs) {
  auto& application = TApplicationGraphique::Instance();
  const ULONGLONG fin = GetTickCount64() + delaiMs;
  while (!condition()) {
    if (GetTickCount64() > fin) return false;
    if (application.TraiterUnMessage()) continue;
    application.ExecuterInactivite();
    if (!application.ExecuterAppelsEnFile()) MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  return true;
}

void TBancFiche::Laisser(DWORD delaiMs) {
  const ULONGLONG fin = GetTickCount64() + delaiMs;
  Pomper([fin] { return GetTickCount64() >= fin; }, delaiMs + 1000);
}

void TBancFiche::Capturer(const std::wstring& nom) {
  // Everything pending drawn first.
  RedrawWindow(Fenetre(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Laisser(200);
  const std::wstring dossier = FichierBuild(L"captures-assistant");
  std::filesystem::create_directories(dossier);
  CaptureFenetre(Fenetre(), dossier + L"\\" + nom + L".png");
}

HWND TBancFiche::Controle(int id) const {
  const HWND controle = essai::ControleParIdentifiant(Fenetre(), id);
  if (!controle) throw EOvalis(L"contrôle " + std::to_wstring(id) + L" introuvable");
  return controle;
}

std::wstring TBancFiche::Texte(int id) const { return TexteControle(Controle(id)); }
bool TBancFiche::Visible(int id) const { return IsWindowVisible(Controle(id)) != FALSE; }
bool TBancFiche::Actif(int id) const { return IsWindowEnabled(Controle(id)) != FALSE; }

RECT TBancFiche::Place(int id) const {
  RECT place;
  GetWindowRect(Controle(id), &place);
  MapWindowPoints(nullptr, Controle(Id::PanelPrincipal), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

COLORREF TBancFiche::CouleurTexte(int id) const {
  const HWND controle = Controle(id);
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(GetParent(controle), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(controle));
  const COLORREF couleur = GetTextColor(dc);
  DeleteDC(dc);
  return couleur;
}

void TBancFiche::Saisir(const std::wstring& texte) { SetWindowTextW(Controle(Id::EditRNE), texte.c_str()); }

void TBancFiche::Cliquer(int id) { SendMessageW(Controle(id), BM_CLICK, 0, 0); }

std::vector<int> TBancFiche::PileMontree() const {
  std::vector<std::pair<LONG, int>> elements;
  const HWND principal = Controle(Id::PanelPrincipal);
  for (HWND enfant = GetWindow(principal, GW_CHILD); enfant; enfant = GetWindow(enfant, GW_HWNDNEXT)) {
    if (!IsWindowVisible(enfant) || GetDlgCtrlID(enfant) == Id::btnFermer) continue;
    RECT place;
    GetWindowRect(enfant, &place);
    elements.emplace_back(place.top, GetDlgCtrlID(enfant));
  }
  std::sort(elements.begin(), elements.end());
  std::vector<int> ids;
  for (const auto& e : elements) ids.push_back(e.second);
  return ids;
}

}  // namespace norvel::test
