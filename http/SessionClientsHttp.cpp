#include "http/SessionClientsHttp.h"

#include "http/WinhttpVerifie.h"

namespace norvel {

namespace {
LPCWSTR PointeurOuNul(const std::wstring& texte) { return texte.empty() ? nullptr : texte.c_str(); }
}  // namespace

uint32_t ProtocolesSecurises(bool sansSupportTls1_3, bool anciennesVersionsTLS) {
  uint32_t protocoles = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
  if (!sansSupportTls1_3) protocoles |= WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
  if (anciennesVersionsTLS) protocoles |= WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1;
  return protocoles;
}

TSessionClientsHttp::TSessionClientsHttp(const TypeInfoCreationSessionClientsHttp& infoCreation)
    : FInfoCreation(infoCreation) {
  const TypeInfoProxyHttp& proxy = FInfoCreation.InfoProxy;
  FHandle.Reinitialiser(VerifWinHttpOpen(PointeurOuNul(FInfoCreation.UserAgent), proxy.GenreConfig,
                                         PointeurOuNul(proxy.ServeurProxy), PointeurOuNul(proxy.PasDeProxyPour),
                                         WINHTTP_FLAG_ASYNC));
  AppliquerVersionsTLS(FInfoCreation.AnciennesVersionsTLS);
}

void TSessionClientsHttp::AppliquerVersionsTLS(bool anciennesVersionsTLS) {
  if (FInfoCreation.UtiliserVersionsTLSDuSysteme) return;
  DWORD protocoles = ProtocolesSecurises(FInfoCreation.SansSupportTls1_3, anciennesVersionsTLS);
  VerifWinHttpSetOption(FHandle.Get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocoles, sizeof protocoles);
}

void TSessionClientsHttp::Reconfigurer(const TypeInfoProxyHttp& infoProxy, bool anciennesVersionsTLS) {
  if (infoProxy != FInfoCreation.InfoProxy) {
    WINHTTP_PROXY_INFO plateforme = infoProxy.VersPlateforme();
    VerifWinHttpSetOption(FHandle.Get(), WINHTTP_OPTION_PROXY, &plateforme, sizeof plateforme);
    FInfoCreation.InfoProxy = infoProxy;
  }
  if (anciennesVersionsTLS != FInfoCreation.AnciennesVersionsTLS) {
    AppliquerVersionsTLS(anciennesVersionsTLS);
    FInfoCreation.AnciennesVersionsTLS = anciennesVersionsTLS;
  }
}

bool TSessionClientsHttp::ObtenirProxy(const std::wstring&, uint16_t, bool, IAttente*, std::wstring& proxy) {
  proxy.clear();
  return false;
}

bool TSessionClientsHttp::ObtenirInfoAuthProxy(const std::wstring&, uint32_t, TypeInfoAuthHttp&, uint32_t) {
  return false;
}

TClientHttp::TClientHttp(TSessionClientsHttp& session, std::wstring nomServeur, uint16_t portTcp)
    : FSession(session), FNomServeur(std::move(nomServeur)), FPortTcp(portTcp) {
  FConnexion.Reinitialiser(VerifWinHttpConnect(FSession.Handle(), FNomServeur.c_str(), FPortTcp, 0));
}

}  // namespace norvel
