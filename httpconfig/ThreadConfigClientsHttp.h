#pragma once
// The configuration thread: the one owner of the master HTTP configuration of the process. It
// keeps the master under its lock, loads it from the shared file "ConfigClientsHttp.xcfg",
// writes it back after changes, reloads it when another program rewrote the file, folds in the
// machine-wide WinHTTP proxy settings, and drives the treatments (tests, evaluations, searches)
// whose workers signal it when they end.
//
// Other threads hold revisioned copies: every change is sent with the caller's copy, applied
// only when that copy is up to date, and answered with a fresh copy.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/OvThread.h"
#include "platform/PersistanceParametres.h"
#include "core/Handle.h"
#include "core/ObjetInterfacable.h"
#include "httpconfig/ConfigClientsHttp.h"
#include "httpconfig/ModificationsConfigClientsHttp.h"

namespace norvel {

// How the configuration thread drives a treatment: each time it is signalled, with its lock
// held, it calls Traiter with the master on every registered treatment not yet achieved, and
// forgets a treatment once it is achieved. Traiter must not call back into an operation of the
// thread that takes its lock.
struct ITraitementConfigClientsHttp : IUnknown {
  // Collects what the treatment's finished workers produced, into the treatment and, for some
  // treatments, into the live configuration.
  virtual void Traiter(TypeConfigClientsHttp& config) = 0;
  // The treatment's results are complete and will not change any more.
  virtual bool Acheve() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ITraitementConfigClientsHttp, 0x28e1b94f, 0x5931, 0x4e1f, 0x8a, 0xe1, 0x21, 0xcb, 0x2b, 0xa1,
            0x5f, 0xdc)

namespace norvel {

inline constexpr const wchar_t* NomFichierConfigClientsHttp = L"ConfigClientsHttp.xcfg";

// A new master: the user agent given, the platform's TLS abilities, the machine-wide kind, the
// usual servers reached directly as known bypass entries and two public test pages.
TypeConfigClientsHttp ConfigClientsHttpParDefaut(const std::wstring& userAgent);

class TThreadConfigClientsHttp : public TOvThread {
 public:
  // Suspended: the creator starts it, then waits for its initialisation (the first read of
  // the file), which raises the thread's exception when the file cannot be read.
  TThreadConfigClientsHttp(const std::wstring& nomDossierFichierConfig, const std::wstring& userAgent);
  // Asks the stop and waits until every registered treatment is achieved and the thread ended.
  ~TThreadConfigClientsHttp() override;

  // Change operations. Each takes the caller's copy and answers true when it was replaced by a
  // fresh copy of the master. A copy that is out of date is refreshed and the change dropped:
  // it was decided on a state that no longer holds.
  // The one path of every change: applied to the master, lock held, with the revision check.
  bool Modifier(TypeConfigClientsHttp& config, const TypeModificationConfigClientsHttp& changement);
  bool SetAnciennesVersionsTLS(bool valeur, TypeConfigClientsHttp& c) { return Modifier(c, Application(&TypeConfigClientsHttp::SetAnciennesVersionsTLS, valeur)); }
  bool SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp genre, TypeConfigClientsHttp& c) {
    return Modifier(c, Application(&TypeConfigClientsHttp::SetGenreConfigProxy, genre));
  }
  bool SetProxyHttpOvalis(const std::wstring& proxy, TypeConfigClientsHttp& c) { return Modifier(c, Application(&TypeConfigClientsHttp::SetProxyHttpOvalis, proxy)); }
  bool SetProxyHttpsOvalis(const std::wstring& proxy, TypeConfigClientsHttp& c) { return Modifier(c, Application(&TypeConfigClientsHttp::SetProxyHttpsOvalis, proxy)); }
  bool SetTabExceptionsProxiesOvalis(const TypeTabChaines& exceptions, TypeConfigClientsHttp& c) {
    return Modifier(c, Application(&TypeConfigClientsHttp::SetTabExceptionsProxiesOvalis, exceptions));
  }
  bool SetUrlConfigProxies(const std::wstring& url, TypeConfigClientsHttp& c) { return Modifier(c, Application(&TypeConfigClientsHttp::SetUrlConfigProxies, url)); }
  bool AjouterProxyConnu(const std::wstring& proxy, TypeConfigClientsHttp& c) {
    return Modifier(c, AvecNomServeurVerifie(proxy, Application(&TypeConfigClientsHttp::AjouterProxyConnu, proxy)));
  }
  bool RenommerProxyConnu(const std::wstring& avant, const std::wstring& apres, TypeConfigClientsHttp& c) {
    return Modifier(c, AvecNomServeurVerifie(apres, Renommage(&TypeConfigClientsHttp::SupprimerProxyConnu, &TypeConfigClientsHttp::AjouterProxyConnu, avant, apres)));
  }
  bool SupprimerTabProxiesConnus(const TypeTabChaines& proxies, TypeConfigClientsHttp& c) {
    return Modifier(c, Suppressions(&TypeConfigClientsHttp::SupprimerProxyConnu, proxies));
  }
  bool AjouterExceptionProxiesConnue(const std::wstring& exception, TypeConfigClientsHttp& c) {
    return Modifier(c, AvecNomServeurVerifie(exception, Application(&TypeConfigClientsHttp::AjouterExceptionProxiesConnue, exception)));
  }
  bool RenommerExceptionProxiesConnue(const std::wstring& avant, const std::wstring& apres, TypeConfigClientsHttp& c) {
    return Modifier(c, AvecNomServeurVerifie(apres, Renommage(&TypeConfigClientsHttp::SupprimerExceptionProxiesConnue,
                                                              &TypeConfigClientsHttp::AjouterExceptionProxiesConnue, avant, apres)));
  }
  bool SupprimerTabExceptionsProxiesConnues(const TypeTabChaines& exceptions, TypeConfigClientsHttp& c) {
    return Modifier(c, Suppressions(&TypeConfigClientsHttp::SupprimerExceptionProxiesConnue, exceptions));
  }
  bool AjouterUrlConfigProxiesConnue(const std::wstring& url, TypeConfigClientsHttp& c) {
    return Modifier(c, Application(&TypeConfigClientsHttp::AjouterUrlConfigProxiesConnue, url));
  }
  bool RenommerUrlConfigProxiesConnue(const std::wstring& avant, const std::wstring& apres, TypeConfigClientsHttp& c) {
    return Modifier(c, Renommage(&TypeConfigClientsHttp::SupprimerUrlConfigProxiesConnue, &TypeConfigClientsHttp::AjouterUrlConfigProxiesConnue, avant, apres));
  }
  bool SupprimerTabUrlConfigProxiesConnues(const TypeTabChaines& urls, TypeConfigClientsHttp& c) {
    return Modifier(c, Suppressions(&TypeConfigClientsHttp::SupprimerUrlConfigProxiesConnue, urls));
  }
  bool AjouterUrlTest(const std::wstring& url, TypeConfigClientsHttp& c) { return Modifier(c, Application(&TypeConfigClientsHttp::AjouterUrlTest, url)); }
  bool RenommerUrlTest(const std::wstring& avant, const std::wstring& apres, TypeConfigClientsHttp& c) {
    return Modifier(c, Renommage(&TypeConfigClientsHttp::SupprimerUrlTest, &TypeConfigClientsHttp::AjouterUrlTest, avant, apres));
  }
  bool SupprimerTabUrlTest(const TypeTabChaines& urls, TypeConfigClientsHttp& c) { return Modifier(c, Suppressions(&TypeConfigClientsHttp::SupprimerUrlTest, urls)); }
  bool AppliquerPropositionModifConfig(const TypePropositionModifConfigClientsHttp& proposition,
                                       TypeConfigClientsHttp& config);
  // Makes the own proxies the machine-wide WinHTTP default (administrator rights needed) and
  // switches to the machine-wide kind.
  bool CopierConfigOvalisVersConfigSysteme(TypeConfigClientsHttp& config);

  // Refreshes the copy when it is out of date (after re-reading the machine-wide settings when
  // asked); true when it was refreshed.
  bool VerifierChangementConfig(TypeConfigClientsHttp& config, bool verifierConfigSysteme);
  // Something changed outside the program: every holder refreshes its copy. Always true.
  bool NotifierChangementConfigSystemeWin32(TypeConfigClientsHttp& config);

  // Stored proxy credentials, which never leave the master but for a request (see the model).
  bool TryGetInfoAuthProxy(const std::wstring& proxy, uint32_t schemas, uint32_t premierSchema,
                           uint32_t& schemaRetenu, TypeInfoAuthHttp& infoAuth);
  void SetInfoAuthProxy(const std::wstring& proxy, const TypeInfoAuthHttp& infoAuth);
  TypeTabChaines GetTabProxiesAvecInfoAuth();
  void SupprimerInfoAuthDeProxies(const TypeTabChaines& proxies);

  // Wakes the thread: the treatments are looked at and a pending change is written. Any thread.
  void SignalerEvenement();
  // Registers a treatment (see TraitementConfigClientsHttp.h for the waiting side).
  void AjouterTraitement(ITraitementConfigClientsHttp* traitement);
  // Achieved, read under the lock: once true, the thread holds no reference to it any more.
  bool TraitementAcheve(ITraitementConfigClientsHttp* traitement);
  // The thread ends at the first event where no treatment is registered any more.
  void DemanderArret();

  const std::wstring& NomFichier() const { return FNomFichier; }
  // Whether the master as it stood at ARevision is in the file: nothing while its write is
  // still to come, empty once written, else why the last attempt failed (the system's reason).
  std::optional<std::wstring> EtatEnregistrement(int32_t ARevision);

 protected:
  void Executer() override;

 private:
  friend class TTraitementModifExterneConfigClientsHttp;

  // Lock held: replaces the copy when its revision differs from the master's.
  bool Rafraichir(TypeConfigClientsHttp& config);
  // Lock held. Folds the machine-wide WinHTTP proxy settings in when they changed.
  void RelireConfigSysteme();
  // Lock held. Forgets the known proxies and bypass entries that contain a "/".
  void PurgerNomsAvecBarreOblique();
  // Lock held. The master from the store's document, as the new reference of the file.
  void ChargerDepuisDocument();
  // The file was changed by another program: read it again and take it as the master.
  void RechargerApresModifExterne();
  // One signalled event: treatments, then the write of a change; true when the thread stops.
  bool TraiterEvenement();
  void EcrireFichier();
  // Lock held. A failed write may be tried again now.
  bool NouvelEssaiEcritureDu() const;
  // Until the next look at the clock: the next attempt of a failed write, at most the usual.
  DWORD DelaiAttente() const;

  std::wstring FNomDossierASurveiller;
  std::wstring FNomFichier;
  THandle FEvenement;
  std::recursive_mutex FSectionCritique;
  // Guarded by FSectionCritique.
  TypeConfigClientsHttp FConfig;
  int32_t FRevisionDerniereEcriture = 0;
  std::vector<TRef<ITraitementConfigClientsHttp>> FTraitementsEnCours;
  TypeInfoProxyHttp FInfoProxyParDefautSysteme;
  uint64_t FProchaineRelectureConfigSysteme = 0;
  std::atomic<bool> FArretDemande{false};
  // The store of the file: used by the thread only, while it runs (its XML objects belong to
  // the thread's COM apartment).
  TRef<IPersistanceParametresApplicatifPartages> FPersistance;
  bool FEcritureEnCours = false;
  bool FRechargementDiffere = false;
  // Guarded by FSectionCritique: the outcome of the writes.
  bool FEcritureEnEchec = false;
  bool FEnregistrementEnCours = false;
  std::wstring FErreurEcriture;
  int FNouveauxEssaisEcriture = 0;
  uint64_t FProchainEssaiEcriture = 0;
};

}  // namespace norvel
