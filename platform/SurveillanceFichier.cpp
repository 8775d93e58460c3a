#include "platform/SurveillanceFichier.h"

#include "platform/Attente.h"
#include "platform/Chemins.h"
#include "platform/FichiersPartages.h"
#include "core/ErreurSysteme.h"

namespace norvel {

TThreadNotificationsFichier::TThreadNotificationsFichier(std::wstring ANomFichier, DWORD AFlagNotifications)
    : TOvThread(nullptr, false),
      FNomFichier(std::move(ANomFichier)),
      FFlagNotifications(AFlagNotifications),
      FEventFinThreadPrincipal(VerifierHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr), L"CreateEvent")) {}

TThreadNotificationsFichier::~TThreadNotificationsFichier() { Arreter(); }

void TThreadNotificationsFichier::Arreter() {
  SetEvent(FEventFinThreadPrincipal.Get());
  // Executer uses our members: the thread must be over before they go.
  TerminerEtAttendre();
}

void TThreadNotificationsFichier::Executer() {
  const TNotificationChangement notification(
      FindFirstChangeNotificationW(DossierDe(FNomFichier).c_str(), FALSE, FFlagNotifications));
  if (!notification) throw ErreurSysteme(L"FindFirstChangeNotification");
  const HANDLE attendus[2] = {FEventFinThreadPrincipal.Get(), notification.Get()};
  for (;;) {
    switch (WaitForMultipleObjects(2, attendus, FALSE, INFINITE)) {
      case WAIT_OBJECT_0:
        return;
      case WAIT_OBJECT_0 + 1: {
        // Any change in the folder wakes us: only a new write time of our file counts.
        const uint64_t date = DateModificationFichier(FNomFichier);
        if (date != FLastWriteTime) {
          FLastWriteTime = date;
          FFichierModifie = true;
          ReveillerBouclePrincipale();
        }
        if (!FindNextChangeNotification(notification.Get())) throw ErreurSysteme(L"FindNextChangeNotification");
        break;
      }
      default:
        throw ErreurSysteme(L"WaitForMultipleObjects");
    }
  }
}

TSurveillantModificationFichier::TSurveillantModificationFichier(std::wstring ANomFichier, DWORD AFlagNotifications,
                                                                 TRef<ITraitementSurModificationFichier> ATraitement,
                                                                 uint64_t ADelaiRedemarrageMs)
    : FNomFichier(std::move(ANomFichier)),
      FFlagNotifications(AFlagNotifications),
      FTraitement(std::move(ATraitement)),
      FDelaiRedemarrage(ADelaiRedemarrageMs) {
  DemarrerThread();
}

TSurveillantModificationFichier::~TSurveillantModificationFichier() { FThread.reset(); }

void TSurveillantModificationFichier::DemarrerThread() {
  FThread = std::make_unique<TThreadNotificationsFichier>(FNomFichier, FFlagNotifications);
  FThread->Demarrer();
}

bool TSurveillantModificationFichier::Traiter() {
  if (!FTraitement) return true;
  // The handler may detach itself or drop this service: keep both alive for this step.
  const TRef<ITraitementSurModificationFichier> traitement = FTraitement;
  const TRef<IServiceOvalisSurveillantModificationFichier> moiMeme(this);
  if (FThread) {
    if (FThread->PrendreModification()) traitement->SurModificationFichier(FNomFichier);
    if (FThread && FThread->Fini()) {
      const std::exception_ptr erreur = FThread->GetExceptionNonGeree(true, false);
      FThread.reset();
      FHeureRedemarrage = 0;
      if (erreur) traitement->SurErreurSurveillance(FNomFichier, erreur);
    }
    return true;
  }
  const uint64_t maintenant = GetTickCount64();
  if (FHeureRedemarrage == 0) {
    FHeureRedemarrage = maintenant + FDelaiRedemarrage;
  } else if (maintenant >= FHeureRedemarrage) {
    FHeureRedemarrage = 0;
    DemarrerThread();
  }
  return true;
}

}  // namespace norvel
