#pragma once
// Helpers of the engine tests: a session whose hooks are scripted by the test, and one request
// built from a URL the way callers build theirs.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Attente.h"
#include "core/Exceptions.h"
#include "http/RequeteHttp.h"
#include "http/SessionClientsHttp.h"
#include "http/UrlDecomposee.h"

namespace norvel::test {

inline TypeInfoAuthHttp InfoAuth(uint32_t schema, std::wstring_view login, std::wstring_view motDePasse) {
  return {schema, TypeLoginOffusque::Create(login), TypeMotDePasseOffusque::Create(motDePasse)};
}

// What a proxy-credentials hook was asked.
struct TAppelAuthProxy {
  std::wstring Proxy;
  uint32_t SchemasProposes;
  bool DernierEssaiVide;
  uint32_t SchemaPrefere;
};

class TSessionEssai : public TSessionClientsHttp {
 public:
  explicit TSessionEssai(TypeInfoCreationSessionClientsHttp info = {L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}})
      : TSessionClientsHttp(info) {}

  // The proxy the hook answers, and whether it is set on the request itself.
  std::wstring ProxyRequete;
  bool ProxySurRequete = true;
  bool EchecObtenirProxy = false;
  // Credentials offered before the proxy asks (schemes 0), then one by one at each 407.
  std::vector<TypeInfoAuthHttp> AuthAvantDemande;
  std::vector<TypeInfoAuthHttp> AuthSurDemande;

  std::atomic<int> Debuts{0}, Fins{0};

  std::vector<TAppelAuthProxy> AppelsAuth() {
    std::lock_guard verrou(FVerrou);
    return FAppelsAuth;
  }

  void DebutUtilisation() override { ++Debuts; }
  void FinUtilisation() override { ++Fins; }
  bool ObtenirProxy(const std::wstring&, uint16_t, bool, IAttente*, std::wstring& proxy) override {
    if (EchecObtenirProxy) throw EOvalis(L"proxy introuvable");
    proxy = ProxyRequete;
    return ProxySurRequete;
  }
  bool ObtenirInfoAuthProxy(const std::wstring& proxy, uint32_t schemas, TypeInfoAuthHttp& infoAuth,
                            uint32_t prefere) override {
    std::lock_guard verrou(FVerrou);
    FAppelsAuth.push_back({proxy, schemas, infoAuth.EstVide(), prefere});
    std::vector<TypeInfoAuthHttp>& offres = schemas == 0 ? AuthAvantDemande : AuthSurDemande;
    if (offres.empty()) return false;
    infoAuth = offres.front();
    offres.erase(offres.begin());
    return true;
  }

 private:
  std::mutex FVerrou;
  std::vector<TAppelAuthProxy> FAppelsAuth;
};

// One request on a URL, with its own connection; executed by the test.
struct TEchange {
  TEchange(TSessionClientsHttp& session, const std::wstring& url, IAttente* attente,
           const std::wstring& methode = L"GET")
      : Url(TypeUrlDecomposee::Create(url)),
        Client(session, Url.NomServeur, Url.PortTcp),
        Requete(Client, attente, methode, Url.ParamUrl + Url.ExtraInfo, Url.Https, false, L"HTTP/1.1") {
    // Short limits keep a failing test from hanging the suite.
    Requete.AffecterTimeOuts(5000, 5000, 10000, 10000);
  }
  TypeUrlDecomposee Url;
  TClientHttp Client;
  TRequeteHttp Requete;
};

// A worker's wait, as the setup download and the configuration tests have.
inline TRef<IAttente> AttenteBloquante() { return NouvelObjet<TAttenteBloquante>(); }

}  // namespace norvel::test
