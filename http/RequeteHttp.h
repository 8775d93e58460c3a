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
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Attente.h"
#include "core/ObjetInterfacable.h"
#include "http/StatutHttp.h"
#include "http/InfoHttp.h"
#include "http/SessionClientsHttp.h"

namespace norvel {

// One status notification as WinHTTP gave it: its code and a copy of its information block.
// A read's block is the request's own read buffer: only its length is kept (Longueur), the
// bytes are taken from the buffer itself.
struct TypeNotificationCallbackWinHttp {
  uint32_t Genre = 0;
  std::string Parametre;
  uint32_t Longueur = 0;
};

class TRequeteHttp;

// Where a streamed response body goes instead of Reponse (a file, a digest, a counter): the
// chunks of each response as they arrive, straight from the read buffer.
class TPuitsCorpsHttp {
 public:
  virtual ~TPuitsCorpsHttp() = default;
  // A response's headers are in, before its first byte; raising ends the request. A resend
  // (asked by WinHTTP, or with a proxy's credentials) calls it again: what came before is void.
  // The body of a proxy's 407 never comes here: it may be followed by a resend, and is kept in
  // Reponse like any small answer.
  virtual void DebutCorps(const TRequeteHttp& requete) = 0;
  // The bytes are valid during the call only: the buffer is read into again afterwards.
  virtual void Morceau(const char* octets, size_t taille) = 0;
};

// The most one read moves: the largest chunk a sink is given.
inline constexpr uint32_t TailleTamponLectureHttp = 256 * 1024;

// A body kept in memory is bounded: past the bound the request ends with a message. Callers
// that know their answers are small (a lookup, a test page) choose a much smaller one.
inline constexpr size_t CorpsEnMemoireMaxParDefaut = 64u * 1024 * 1024;

// A decimal header value (Content-Length, a bound of Content-Range) read with its guard: empty
// unless it is digits only and fits in 64 bits.
std::optional<uint64_t> LireEntierHttp(std::wstring_view texte);

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
// given) the request was interrupted or the program is closing.
class TConditionFinDAttenteRequeteHttp : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  // echeance: a 64-bit tick count at which the wait ends too; 0 for none.
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

  // Before Executer: the bodies of the responses go to puits (not owned) instead of Reponse.
  void EnvoyerCorpsDans(TPuitsCorpsHttp* puits) { FPuits = puits; }
  // Before Executer: the most bytes a body kept in Reponse may have (CorpsEnMemoireMaxParDefaut).
  void LimiterCorpsEnMemoire(size_t octetsMax) { FCorpsMax = octetsMax; }

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
  TypeClasseStatutHttp ClasseStatutReponse() const { return ClasseStatutHttp(StatutReponse()); }
  std::wstring TousLesEntetesReponse() const { return Entete(WINHTTP_QUERY_RAW_HEADERS_CRLF); }
  std::wstring EncodageContenu() const { return Entete(WINHTTP_QUERY_CONTENT_ENCODING); }
  std::wstring Location() const { return Entete(WINHTTP_QUERY_LOCATION); }
  std::wstring SetCookie() const { return Entete(WINHTTP_QUERY_SET_COOKIE); }
  std::wstring ContentRange() const { return Entete(WINHTTP_QUERY_CONTENT_RANGE); }
  std::wstring Range() const { return Entete(WINHTTP_QUERY_RANGE); }
  // The body of the last response, as received so far (empty when it went to a sink).
  const std::string& Reponse() const { return FReponse; }
  // The body's bytes of the last response received so far, wherever they went.
  uint64_t OctetsRecus() const { return FOctetsRecus; }
  // Content-Length, when the server gave a readable one.
  std::optional<uint64_t> LongueurAnnoncee() const;
  std::wstring ETag() const { return Entete(WINHTTP_QUERY_ETAG); }
  std::wstring DerniereModification() const { return Entete(WINHTTP_QUERY_LAST_MODIFIED); }

  const std::wstring& Proxy() const { return FProxy; }
  HINTERNET Handle() const { return FRequete; }

 private:
  static void CALLBACK Callback(HINTERNET handle, DWORD_PTR contexte, DWORD genre, LPVOID information,
                                DWORD longueur);
  std::vector<TypeNotificationCallbackWinHttp> PrendreNotifications();
  std::wstring Entete(DWORD niveau) const;
  // Executer without its line in the journal.
  void Echanger(const std::string& donnees, const std::wstring& entetesSupplementaires, bool verifierVersionHttp,
                uint64_t tailleTotale, const TGetDonneesAEnvoyer& donneesAEnvoyer);
  void Envoyer();
  void EcrireMorceau();
  bool RenvoyerAvecAuthProxy();
  void DebutReponse();
  void LireMorceau(DWORD disponibles);
  void LireSuite(DWORD lus);
  void Lire(DWORD taille);
  void RecevoirMorceau(DWORD taille);
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
  uint64_t FOctetsRecus = 0;
  TPuitsCorpsHttp* FPuits = nullptr;
  // The sink of the response being read: none for a proxy's 407 (see TPuitsCorpsHttp).
  TPuitsCorpsHttp* FPuitsReponse = nullptr;
  size_t FCorpsMax = CorpsEnMemoireMaxParDefaut;
  DWORD FTailleLecture = 0;
  std::chrono::steady_clock::time_point FDebutLecture;
  bool FCallbackActive = false;
  bool FDebutUtilisation = false;
  std::wstring FVersionHttpAttendue;
  std::wstring FMethode;
  std::wstring FUrlJournal;

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
