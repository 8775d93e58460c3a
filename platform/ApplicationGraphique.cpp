#include "platform/ApplicationGraphique.h"

#include <algorithm>

#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"

namespace norvel {

namespace {
constexpr UINT WM_REVEIL = WM_APP + 1;
constexpr const wchar_t* ClasseUtilitaire = L"NorvelApplication";

std::atomic<TApplicationGraphique*> GInstance{nullptr};
// Read by other threads to post their wake-ups.
std::atomic<HWND> GFenetreReveil{nullptr};
}  // namespace

TApplicationGraphique& TApplicationGraphique::Instance() {
  // Never destroyed: the late finalisation at the end of the process may still reach it after
  // static objects are gone; the system takes the windows back with the process.
  static TApplicationGraphique* const instance = new TApplicationGraphique();
  return *instance;
}

bool TApplicationGraphique::Existe() { return GInstance.load() != nullptr; }

TApplicationGraphique::TApplicationGraphique() : FIdThreadPrincipal(GetCurrentThreadId()) {
  EnregistrerClasseFenetre({ClasseUtilitaire, &ProcedureUtilitaire, nullptr});
  // A hidden top-level window rather than a message-only one: system-wide broadcasts (end of
  // session, settings changed) reach top-level windows only.
  FFenetreUtilitaire = VerifierPointeur(CreateWindowExW(WS_EX_TOOLWINDOW, ClasseUtilitaire, L"", WS_POPUP, 0, 0, 0,
                                                        0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr),
                                        L"CreateWindowEx");
  GFenetreReveil = FFenetreUtilitaire;
  GInstance = this;
}

void TApplicationGraphique::Initialiser() {
  FInitialisee = true;
  FTerminee = false;
  InstallerReveilBouclePrincipale(&TApplicationGraphique::Reveiller);
}

void TApplicationGraphique::Terminer() {
  FTerminee = true;
  Reveiller();
}

bool TApplicationGraphique::TraiterUnMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminee = true;
    return true;
  }
  try {
    // Tab and arrow keys move between the controls of our forms, as in a dialog box.
    const HWND racine = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (racine && TFenetreProgramme::EstFenetreProgramme(racine) && IsDialogMessageW(racine, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  } catch (const std::exception& e) {
    TraiterException(e);
  }
  return true;
}

bool TApplicationGraphique::ExecuterInactivite() {
  bool fini = true;
  if (!FSurInactivite) return fini;
  try {
    FSurInactivite(fini);
  } catch (const std::exception& e) {
    TraiterException(e);
  }
  return fini;
}

bool TApplicationGraphique::ExecuterAppelsEnFile() {
  std::function<void()> appel;
  {
    std::lock_guard verrou(FVerrouAppels);
    if (FAppelsEnFile.empty()) return false;
    appel = std::move(FAppelsEnFile.front());
    FAppelsEnFile.pop_front();
  }
  try {
    appel();
  } catch (const std::exception& e) {
    TraiterException(e);
  }
  return true;
}

bool TApplicationGraphique::AppelsEnAttente() {
  std::lock_guard verrou(FVerrouAppels);
  return !FAppelsEnFile.empty();
}

void TApplicationGraphique::AttendreMessage() {
  // MWMO_INPUTAVAILABLE: a message already in the queue also ends the sleep, not only a new one.
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void TApplicationGraphique::Iterer(IConditionFinDAttente* condition) {
  if (TraiterUnMessage()) return;
  bool fini = ExecuterInactivite();
  if (EstThreadPrincipal() && ExecuterAppelsEnFile()) fini = false;
  if (fini && !FTerminee && (!condition || !condition->EstAtteinte(FTerminee, true))) AttendreMessage();
}

void TApplicationGraphique::ExecuterBouclePrincipale(IConditionFinDAttente* condition) {
  CreerFichesDifferees();
  while (!FTerminee) Iterer(condition);
}

void TApplicationGraphique::Reveiller() {
  if (const HWND fenetre = GFenetreReveil.load()) PostMessageW(fenetre, WM_REVEIL, 0, 0);
}

void TApplicationGraphique::MettreEnFile(std::function<void()> appel) {
  {
    std::lock_guard verrou(FVerrouAppels);
    FAppelsEnFile.push_back(std::move(appel));
  }
  Reveiller();
}

void TApplicationGraphique::TraiterException(const std::exception& e) {
  if (FSurException) {
    FSurException(e);
    return;
  }
  if (dynamic_cast<const EAnnulation*>(&e)) return;
  const std::wstring message = MessageDe(e);
  MessageBoxW(nullptr, message.c_str(), L"", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void TApplicationGraphique::CreerFenetre(TypeFabriqueFiche fabrique, TypeReferenceFiche reference) {
  if (FCreationFichesDifferee) {
    FFichesDifferees.emplace_back(std::move(fabrique), std::move(reference));
    return;
  }
  auto fiche = fabrique();
  reference(fiche.get());
  FFiches.push_back(std::move(fiche));
}

void TApplicationGraphique::CreerFichesDifferees() {
  auto differees = std::move(FFichesDifferees);
  FFichesDifferees.clear();
  for (auto& [fabrique, reference] : differees) {
    auto fiche = fabrique();
    reference(fiche.get());
    FFiches.push_back(std::move(fiche));
  }
  // A subscriber usually cancels its subscription while it is told.
  const auto abonnes = FAbonnesFichesCreees;
  for (const auto& [identifiant, procedure] : abonnes) procedure();
}

int TApplicationGraphique::AbonnerFichesCreees(std::function<void()> procedure) {
  FAbonnesFichesCreees.emplace(++FDernierAbonnement, std::move(procedure));
  return FDernierAbonnement;
}

void TApplicationGraphique::DesabonnerFichesCreees(int identifiant) { FAbonnesFichesCreees.erase(identifiant); }

void TApplicationGraphique::DetruireFiche(TFenetreProgramme* fiche) {
  const auto it = std::find_if(FFiches.begin(), FFiches.end(), [fiche](const auto& f) { return f.get() == fiche; });
  if (it == FFiches.end()) return;
  // Out of the list first: a destructor that pumps messages must not find it half destroyed.
  auto detruite = std::move(*it);
  FFiches.erase(it);
}

void TApplicationGraphique::DetruireComposants() {
  FFichesDifferees.clear();
  while (!FFiches.empty()) {
    auto derniere = std::move(FFiches.back());
    FFiches.pop_back();
  }
}

bool TApplicationGraphique::PossedeFiche(HWND fenetre) const {
  return std::any_of(FFiches.begin(), FFiches.end(), [fenetre](const auto& f) { return f->Handle() == fenetre; });
}

LOGFONTW TApplicationGraphique::DescriptionPoliceParDefaut(UINT ppp) const {
  if (ppp == 0) {
    HDC ecran = GetDC(nullptr);
    ppp = static_cast<UINT>(GetDeviceCaps(ecran, LOGPIXELSY));
    ReleaseDC(nullptr, ecran);
  }
  NONCLIENTMETRICSW metriques{sizeof(metriques)};
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metriques), &metriques, 0, ppp);
  LOGFONTW police = metriques.lfMessageFont;
  if (FServicePolice) {
    police.lfHeight = -static_cast<LONG>(FServicePolice->GetDefaultFontSize() * ppp / 96.0f + 0.5f);
    police.lfWidth = 0;
    lstrcpynW(police.lfFaceName, FServicePolice->GetDefaultFontFamilyName().c_str(), LF_FACESIZE);
  }
  return police;
}

HFONT TApplicationGraphique::CreerPoliceParDefaut(bool gras) const {
  LOGFONTW police = DescriptionPoliceParDefaut();
  if (gras) police.lfWeight = FW_BOLD;
  return CreateFontIndirectW(&police);
}

LRESULT CALLBACK TApplicationGraphique::ProcedureUtilitaire(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_REVEIL:
    case WM_TIMER:
      // Their only purpose is to end the main thread's sleep.
      return 0;
    case WM_ENDSESSION:
    case WM_SETTINGCHANGE:
      if (auto* instance = GInstance.load(); instance && instance->FSurMessageSysteme) {
        bool gere = false;
        instance->FSurMessageSysteme(message, gere);
        if (gere) return 0;
      }
      break;
  }
  return DefWindowProcW(fenetre, message, w, l);
}

TMinuterie::TMinuterie() {
  static UINT_PTR dernierId = 0;
  FId = ++dernierId;
}

TMinuterie::~TMinuterie() { SetIntervalle(0); }

void TMinuterie::SetIntervalle(UINT intervalle) {
  if (intervalle == FIntervalle) return;
  const HWND fenetre = TApplicationGraphique::Instance().FenetreUtilitaire();
  if (intervalle == 0)
    KillTimer(fenetre, FId);
  else
    VerifierWin32(SetTimer(fenetre, FId, intervalle, nullptr) != 0, L"SetTimer");
  FIntervalle = intervalle;
}

}  // namespace norvel
