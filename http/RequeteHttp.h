#pragma once
// One HTTP request over an asynchronous WinHTTP session, made to look blocking: WinHTTP's
// callback threads only queue their notifications and wake the caller, whose thread waits
// through IAttente (a window keeps living, a worker sleeps) and handles them one by one.
//
// Order of use: create on a TClientHttp, optionally set time-outs, features and credentials,
// Executer once, read the response properties and Reponse, destroy. The request must not
// outlive its client.
#include <windows.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "app/Attente.h"
#include "core/ObjetInterfacable.h"
#include "http/InfoHttp.h"
#include "http/SessionClientsHttp.h"

namespace norvel {

// One status notification as WinHTTP gave it: its code and a copy of its information block.
struct TypeNotificationCallbackWinHttp {
  uint32_t Genre = 0;
  std::string Parametre;
};

enum class TypeFonctionHttpDesactivable { fhdCookies, fhdRedirects, fhdAuthentication, fhdKeepAlive };
using TypeFonctionsHttpDesactivable = std::set<TypeFonctionHttpDesactivable>;

// A streamed request body: given the bytes already written, the next chunk; an empty chunk
// before the announced total is reached fails the request.
using TGetDonneesAEnvoyer = std::function<std::string(uint64_t dejaEcrits)>;

// Resends with proxy credentials in one call of Executer: a proxy that keeps refusing what it
// gets (stored credentials under a scheme it does not offer, a user who keeps typing wrong ones)
// would otherwise hold the request forever. Beyond it the request ends with the proxy's 407.
inline constexpr int MaxRenvoisAuthProxy = 5;

// The end of a request's wait: a notification is pending, or (when the interruption flag is
// given) the request was interrupted or the program is closing, or its deadline (a 64-bit tick
// count, 0 for none) has come.
class TConditionFinDAttenteRequeteHttp : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  TConditionFinDAttenteRequeteHttp(const std::atomic<bool>* notificationEnAttente,
                                   const std::atomic<bool>* interrompue, uint64_t echeance = 0)
      : FNotificationEnAttente(notificationEnAttente), FInterrompue(interrompue), FEcheance(echeance) {}
  bool EstAtteinte(bool arretApplication, bool enInactivite) override;

 private:
  const std::atomic<bool>* FNotificationEnAttente;
  const std::atomic<bool>* FInterrompue;
  uint64_t FEcheance;
};

class TRequeteHttp {
 public:
  // aParamUrl: object path with its query; aVersionHttp: "HTTP/1.1" for every caller here.
  TRequeteHttp(TClientHttp& client, IAttente* attente, const std::wstring& methode, const std::wstring& paramUrl,
               bool https, bool pragmaNoCache, const std::wstring& versionHttp);
  // Closes the request and waits until WinHTTP has let go of it.
  ~TRequeteHttp();
  TRequeteHttp(const TRequeteHttp&) = delete;
  TRequeteHttp& operator=(const TRequeteHttp&) = delete;

  void SetInfoAuthProxy(const TypeInfoAuthHttp& infoAuth);
  void SetInfoAuthServeur(const TypeInfoAuthHttp& infoAuth);

  // Sends the request and reads the whole response. donnees: the body sent whole, or nothing
  // when it is streamed through donneesAEnvoyer with the length tailleTotale (0: the length of
  // donnees). entetesSupplementaires: extra header lines separated by CRLF. verifierVersionHttp
  // turns on the diagnostic of proxies that cannot keep up Windows authentication.
  void Executer(const std::string& donnees = {}, const std::wstring& entetesSupplementaires = {},
                bool verifierVersionHttp = true, uint64_t tailleTotale = 0,
                const TGetDonneesAEnvoyer& donneesAEnvoyer = nullptr);
  // From any thread: a request waiting in Executer stops with the cancellation exception.
  void Interrompre();

  // Milliseconds, in this order. Each bounds one step: a server that sends a byte now and then
  // stays within all of them.
  void AffecterTimeOuts(int resolution, int connexion, int envoi, int reception);
  // Milliseconds for the whole of Executer, resends included (0: none); beyond, it raises
  // "Pas de réponse complète de <serveur> en <n> secondes".
  void AffecterDelaiTotal(uint32_t delaiMs) { FDelaiTotal = delaiMs; }
  void AjouterCertificatClient(PCCERT_CONTEXT certificat);
  void DesactiverFonctionsHttp(const TypeFonctionsHttpDesactivable& fonctions);
  void DesactiverCookies();
  // Default Windows credentials may go to any server.
  void AutoLogon();

  // Response headers; a header that is absent, or of 500 characters or more, reads as empty.
  std::wstring TypeMimeReponse() const { return Entete(WINHTTP_QUERY_CONTENT_TYPE); }
  std::wstring VersionReponse() const { return Entete(WINHTTP_QUERY_VERSION); }
  std::wstring StatutReponse() const { return Entete(WINHTTP_QUERY_STATUS_CODE); }
  std::wstring StrStatutReponse() const { return Entete(WINHTTP_QUERY_STATUS_TEXT); }
  std::wstring TousLesEntetesReponse() const { return Entete(WINHTTP_QUERY_RAW_HEADERS_CRLF); }
  std::wstring EncodageContenu() const { return Entete(WINHTTP_QUERY_CONTENT_ENCODING); }
  std::wstring Location() const { return Entete(WINHTTP_QUERY_LOCATION); }
  std::wstring SetCookie() const { return Entete(WINHTTP_QUERY_SET_COOKIE); }
  std::wstring ContentRange() const { return Entete(WINHTTP_QUERY_CONTENT_RANGE); }
  std::wstring Range() const { return Entete(WINHTTP_QUERY_RANGE); }
  // The body of the last response, as received so far.
  const std::string& Reponse() const { return FReponse; }

  const std::wstring& Proxy() const { return FProxy; }
  HINTERNET Handle() const { return FRequete; }

 private:
  static void CALLBACK Callback(HINTERNET handle, DWORD_PTR contexte, DWORD genre, LPVOID information,
                                DWORD longueur);
  std::vector<TypeNotificationCallbackWinHttp> PrendreNotifications();
  std::wstring Entete(DWORD niveau) const;
  void Envoyer();
  void EcrireMorceau();
  bool RenvoyerAvecAuthProxy();
  // The Content-Length announced, when it is a decimal number (UINT64_MAX for an absurd one).
  std::optional<uint64_t> LongueurAnnoncee() const;
  void ReserverCorps();
  void VerifierCorpsComplet() const;
  void VerifierVersionHttp() const;
  void SetInfoAuth(DWORD cible, const TypeInfoAuthHttp& infoAuth);
  void SetOptionEntier(DWORD option, DWORD valeur);
  // The destruction steps; also run when the construction fails half-way.
  void Liberer() noexcept;

  TClientHttp& FClient;
  HINTERNET FRequete = nullptr;
  TRef<IAttente> FAttente;
  std::vector<TypeNotificationCallbackWinHttp> FNotifications;
  std::mutex FSectionCritique;
  std::atomic<bool> FNotificationEnAttente{false};
  std::atomic<bool> FInterrompue{false};
  std::atomic<int> FCallbacksEnCours{0};
  std::wstring FProxy;
  std::vector<char> FTamponReadData;
  std::string FTamponWriteData;
  std::string FReponse;
  uint32_t FDelaiTotal = 0;
  bool FCallbackActive = false;
  bool FDebutUtilisation = false;
  std::wstring FVersionHttpAttendue;
  std::wstring FMethode;

  // The call of Executer in progress.
  struct TEnvoi {
    const std::string* Donnees = nullptr;
    const std::wstring* Entetes = nullptr;
    uint64_t Total = 0;
    uint64_t Ecrits = 0;
    const TGetDonneesAEnvoyer* Source = nullptr;
    TypeInfoAuthHttp DernierAuthProxy;  // the proxy credentials this call presented last
    int RenvoisDemandes = 0;            // resends WinHTTP asked for (12032, 12044)
    int RenvoisAuthProxy = 0;           // resends with proxy credentials
  } FEnvoi;
};

}  // namespace norvel
