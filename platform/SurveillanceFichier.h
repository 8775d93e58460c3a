#pragma once
// Watching one file for changes: a thread waits for the system's change notifications in the
// file's folder and raises a flag; a service of the main loop's idle step hands the change to
// its handler on the main thread. A watcher that fails is reported and started again later.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "platform/OvThread.h"
#include "platform/ServiceOvalis.h"
#include "core/Handle.h"

namespace norvel {

struct ITraitementSurModificationFichier : IUnknown {
  virtual void SurModificationFichier(const std::wstring& ANomFichier) = 0;
  virtual void SurErreurSurveillance(const std::wstring& ANomFichier, std::exception_ptr AException) = 0;
};

struct IServiceOvalisSurveillantModificationFichier : IServiceOvalis {
  // Drops the handler: the service has nothing left to do.
  virtual void DetacherTraitement() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ITraitementSurModificationFichier, 0xF9C0B44C, 0xF326, 0x4FCD, 0x92, 0xA9, 0x3C, 0x48, 0x7F, 0xFD,
            0x62, 0x9D)
NORVEL_GUID(norvel::IServiceOvalisSurveillantModificationFichier, 0xFD275EEC, 0x342D, 0x4AD1, 0xBD, 0xD2, 0x38, 0x5D,
            0x62, 0xB0, 0x95, 0x94)

namespace norvel {

// Change kind of the notifications: the last write of a file.
inline constexpr DWORD NotificationDerniereEcriture = FILE_NOTIFY_CHANGE_LAST_WRITE;

class TThreadNotificationsFichier : public TOvThread {
 public:
  TThreadNotificationsFichier(std::wstring ANomFichier, DWORD AFlagNotifications);
  ~TThreadNotificationsFichier() override;

  // Stops the thread and waits for its end.
  void Arreter();
  // Set by the thread when the file's last write time changed; the service clears it.
  bool PrendreModification() { return FFichierModifie.exchange(false); }

 protected:
  void Executer() override;

 private:
  std::wstring FNomFichier;
  DWORD FFlagNotifications;
  THandle FEventFinThreadPrincipal;
  std::atomic<bool> FFichierModifie{false};
  uint64_t FLastWriteTime = 0;
};

class TSurveillantModificationFichier
    : public TImplemente<TServiceOvalisNonReentrant, IServiceOvalisSurveillantModificationFichier> {
 public:
  // Starts watching at once. A failed watcher is started again ADelaiRedemarrageMs after its
  // failure was reported.
  TSurveillantModificationFichier(std::wstring ANomFichier, DWORD AFlagNotifications,
                                  TRef<ITraitementSurModificationFichier> ATraitement,
                                  uint64_t ADelaiRedemarrageMs = 60000);
  ~TSurveillantModificationFichier() override;

  // Always answers that nothing is pending: changes are handed over as they come.
  bool Traiter() override;
  void DetacherTraitement() override { FTraitement = nullptr; }

  // The interfaces of the base service answer through this one.
  bool EstActif() override { return TServiceOvalisNonReentrant::EstActif(); }
  void SetActif(bool actif) override { TServiceOvalisNonReentrant::SetActif(actif); }
  bool Entrer() override { return TServiceOvalisNonReentrant::Entrer(); }
  void Sortir() override { TServiceOvalisNonReentrant::Sortir(); }

 private:
  void DemarrerThread();

  std::wstring FNomFichier;
  DWORD FFlagNotifications;
  TRef<ITraitementSurModificationFichier> FTraitement;
  std::unique_ptr<TThreadNotificationsFichier> FThread;
  uint64_t FDelaiRedemarrage;
  uint64_t FHeureRedemarrage = 0;  // tick count; 0 when no restart is planned
};

}  // namespace norvel
