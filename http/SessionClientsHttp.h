#pragma once
// The three WinHTTP handle levels: a session (user agent, proxy settings, TLS versions), a
// connection target inside it (TClientHttp), and requests on a connection (RequeteHttp.h).
// Sessions are always asynchronous; TRequeteHttp makes each request look blocking.
#include <windows.h>
#include <winhttp.h>

#include <cstdint>
#include <string>

#include "http/HandleWinhttp.h"
#include "http/InfoHttp.h"

namespace norvel {

struct IAttente;

class TSessionClientsHttp {
 public:
  // Opens the session (asynchronous) and applies the TLS versions.
  explicit TSessionClientsHttp(const TypeInfoCreationSessionClientsHttp& infoCreation);
  virtual ~TSessionClientsHttp() = default;
  TSessionClientsHttp(const TSessionClientsHttp&) = delete;
  TSessionClientsHttp& operator=(const TSessionClientsHttp&) = delete;

  // New proxy settings and TLS choice for the requests opened from now on; only what changed
  // is set.
  void Reconfigurer(const TypeInfoProxyHttp& infoProxy, bool anciennesVersionsTLS);

  HINTERNET Handle() const { return FHandle.Get(); }
  const TypeInfoCreationSessionClientsHttp& InfoCreation() const { return FInfoCreation; }

  // The hooks, called by the requests of every thread that shares the session: overrides must
  // be thread-safe. This class uses no proxy and has no credentials.

  // A request starts / stops using the session.
  virtual void DebutUtilisation() {}
  virtual void FinUtilisation() {}
  // Fills `proxy` with the proxy towards that server ("host:port", empty for a direct
  // connection). True only when that proxy must be set on the request itself (resolved for
  // this request); false when the session's own settings already route it.
  virtual bool ObtenirProxy(const std::wstring& nomServeur, uint16_t portTcp, bool https, IAttente* attente,
                            std::wstring& proxy);
  // schemasProposes: the schemes the proxy offered (0 when none is known yet); infoAuth in: the
  // credentials last tried (zeroed when none); schemaPrefere: the proxy's preferred scheme (0
  // when unknown). True when infoAuth has been filled with credentials worth trying.
  virtual bool ObtenirInfoAuthProxy(const std::wstring& proxy, uint32_t schemasProposes, TypeInfoAuthHttp& infoAuth,
                                    uint32_t schemaPrefere);

 private:
  void AppliquerVersionsTLS(bool anciennesVersionsTLS);

  TypeInfoCreationSessionClientsHttp FInfoCreation;
  THinternet FHandle;
};

// The WINHTTP_OPTION_SECURE_PROTOCOLS bit set for a TLS choice: TLS 1.2 always, TLS 1.3 unless
// the platform lacks it, TLS 1.0 and 1.1 only when asked; SSL never.
uint32_t ProtocolesSecurises(bool sansSupportTls1_3, bool anciennesVersionsTLS);

class TClientHttp {
 public:
  // The client must not outlive its session.
  TClientHttp(TSessionClientsHttp& session, std::wstring nomServeur, uint16_t portTcp);
  TClientHttp(const TClientHttp&) = delete;
  TClientHttp& operator=(const TClientHttp&) = delete;

  TSessionClientsHttp& Session() const { return FSession; }
  const std::wstring& NomServeur() const { return FNomServeur; }
  uint16_t PortTcp() const { return FPortTcp; }
  HINTERNET Connexion() const { return FConnexion.Get(); }

 private:
  TSessionClientsHttp& FSession;
  std::wstring FNomServeur;
  uint16_t FPortTcp;
  THinternet FConnexion;
};

}  // namespace norvel
