#pragma once
// The HTTP sessions service as the rest of the program sees it: the HTTP configuration read and
// changed through the configuration thread (IConfigClientsHttp), and the sessions that follow
// it (ISessionsClientsHttp). One object serves one thread; a worker gets its own duplicate.
#include <string>

#include "platform/Attente.h"
#include "core/GuidsServices.h"
#include "core/InvocateurMultiple.h"
#include "core/ObjetInterfacable.h"
#include "http/SessionClientsHttp.h"
#include "httpconfig/ResultatsConfigClientsHttp.h"

namespace norvel {

struct IAbonneChangementConfigClientsHttp : IUnknown {
  // The service's copy of the configuration changed (its sessions already follow it).
  virtual void SurChangementConfig() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IAbonneChangementConfigClientsHttp, 0xc740eb52, 0xe3f2, 0x4582, 0xa9, 0xed, 0x19, 0xe3, 0x41,
            0x61, 0x7a, 0xa7)

namespace norvel {

template <>
class TConcentrateurInvocateurMultiple<IAbonneChangementConfigClientsHttp>
    : public TConcentrateurDInterface<IAbonneChangementConfigClientsHttp> {
 public:
  using TConcentrateurDInterface::TConcentrateurDInterface;
  void SurChangementConfig() override { Diffuser(&IAbonneChangementConfigClientsHttp::SurChangementConfig); }
};

// Readers answer from the service's copy as it stands; changes go to the configuration thread
// and raise what it raises (the copy is then unchanged).
struct IConfigClientsHttp : IUnknown {
  virtual bool GetUtiliserVersionsTLSDuSysteme() = 0;
  virtual bool GetSansSupportTls1_3() = 0;
  virtual bool GetAnciennesVersionsTLS() = 0;
  virtual void SetAnciennesVersionsTLS(bool AAnciennesVersionsTLS) = 0;
  virtual TypeGenreConfigProxyClientsHttp GetGenreConfigProxy() = 0;
  virtual void SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp AGenre) = 0;
  virtual std::wstring GetProxyHttpSysteme() = 0;
  virtual std::wstring GetProxyHttpsSysteme() = 0;
  virtual TypeTabChaines GetTabExceptionsProxiesSysteme() = 0;
  virtual std::wstring GetProxyHttpOvalis() = 0;
  virtual void SetProxyHttpOvalis(const std::wstring& AProxy) = 0;
  virtual std::wstring GetProxyHttpsOvalis() = 0;
  virtual void SetProxyHttpsOvalis(const std::wstring& AProxy) = 0;
  virtual TypeTabChaines GetTabExceptionsProxiesOvalis() = 0;
  virtual void SetTabExceptionsProxiesOvalis(const TypeTabChaines& ATabExceptions) = 0;
  virtual std::wstring GetUrlConfigProxies() = 0;
  virtual void SetUrlConfigProxies(const std::wstring& AUrl) = 0;
  virtual TypeTabChaines GetTabProxiesConnus() = 0;
  virtual TypeTabChaines GetTabExceptionsProxiesConnues() = 0;
  virtual TypeTabChaines GetTabUrlConfigProxiesConnues() = 0;
  virtual TypeTabChaines GetTabUrlTestPlusBuiltIn() = 0;
  virtual void AjouterProxyConnu(const std::wstring& AProxy) = 0;
  virtual void RenommerProxyConnu(const std::wstring& AAvant, const std::wstring& AApres) = 0;
  virtual bool ProxyConnuModifiable(const std::wstring& AProxy) = 0;
  virtual void SupprimerTabProxiesConnus(const TypeTabChaines& ATabProxies) = 0;
  virtual void AjouterExceptionProxiesConnue(const std::wstring& AException) = 0;
  virtual void RenommerExceptionProxiesConnue(const std::wstring& AAvant, const std::wstring& AApres) = 0;
  virtual bool ExceptionProxiesConnueModifiable(const std::wstring& AException) = 0;
  virtual void SupprimerTabExceptionsProxiesConnues(const TypeTabChaines& ATabExceptions) = 0;
  virtual void AjouterUrlConfigProxiesConnue(const std::wstring& AUrl) = 0;
  virtual void RenommerUrlConfigProxiesConnue(const std::wstring& AAvant, const std::wstring& AApres) = 0;
  virtual void SupprimerTabUrlConfigProxiesConnues(const TypeTabChaines& ATabUrl) = 0;
  virtual void AjouterUrlTest(const std::wstring& AUrl) = 0;
  virtual void RenommerUrlTest(const std::wstring& AAvant, const std::wstring& AApres) = 0;
  virtual bool UrlTestModifiable(const std::wstring& AUrl) = 0;
  virtual void SupprimerTabUrlTest(const TypeTabChaines& ATabUrl) = 0;
  // Asked of the configuration thread: the copy never holds credentials.
  virtual TypeTabChaines GetTabProxiesAvecInfoAuth() = 0;
  virtual void SupprimerInfoAuthDeProxies(const TypeTabChaines& ATabProxies) = 0;
  virtual void CopierConfigOvalisVersConfigSysteme() = 0;
  virtual void NotifierChangementConfigSystemeWin32() = 0;
  // Tests and search, waiting on AAttente (which is also woken by them); the user is asked for
  // the credentials of the proxies that wanted some, and the work runs again while they give any.
  virtual void TesterProxy(const std::wstring& AProxy, IAttente* AAttente,
                           TypeTabResultatsTestsConfigClientsHttp& AResultats) = 0;
  virtual void TesterUrlConfigProxies(const std::wstring& AUrl, IAttente* AAttente,
                                      TypeTabResultatsTestsConfigClientsHttp& AResultats) = 0;
  virtual void TesterConfigCourante(IAttente* AAttente, TypeTabResultatsTestsConfigClientsHttp& AResultats) = 0;
  virtual void RechercherAutresConfigs(IAttente* AAttente, TypeTabPropositionsModifConfigClientsHttp& APropositions) = 0;
  virtual void AppliquerPropositionModifConfig(const TypePropositionModifConfigClientsHttp& AProposition) = 0;
  // Waits on AAttente until the configuration as this copy holds it has been written to the
  // shared file, or failed to: empty when it is saved, else the system's reason (the
  // configuration still serves this run).
  virtual std::wstring AttendreEnregistrementConfig(IAttente* AAttente) = 0;
  // Refreshes the copy from the master, unless a request is using one of the sessions.
  virtual void VerifierChangementConfig(bool AVerifierConfigSysteme) = 0;
  // False when already subscribed / not subscribed.
  virtual bool Abonner(IAbonneChangementConfigClientsHttp* AAbonne) = 0;
  virtual bool Desabonner(IAbonneChangementConfigClientsHttp* AAbonne) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IConfigClientsHttp, 0x7dc48ac8, 0xf37e, 0x4533, 0x8d, 0x3d, 0x9b, 0x9b, 0xc2, 0x82, 0xa2, 0x50)

namespace norvel {

struct ISessionsClientsHttp : IConfigClientsHttp {
  // Created on first demand, owned by the service, reconfigured in place when the copy moves.
  // TLS 1.0 and 1.1 never allowed / always allowed / as the configuration says.
  virtual TSessionClientsHttp& GetSessionSansAnciennesVersionsTLS() = 0;
  virtual TSessionClientsHttp& GetSessionAvecAnciennesVersionsTLS() = 0;
  // The session of every request of the program: proxy and credentials as configured.
  virtual TSessionClientsHttp& GetSessionAvecGestionProxy() = 0;
  // Another object on the same configuration thread, for use on another thread.
  virtual TRef<ISessionsClientsHttp> DupliquerPourThread() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ISessionsClientsHttp, 0xf830481e, 0x3747, 0x4fb2, 0xaa, 0x63, 0x61, 0x51, 0x46, 0xda, 0xa1, 0xe2)
static_assert(norvel::MemesGuid(__uuidof(norvel::ISessionsClientsHttp), norvel::IID_ISessionsClientsHttp));
