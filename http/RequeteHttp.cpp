#include "http/RequeteHttp.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/TexteEnClair.h"
#include "http/ErreursHttp.h"
#include "http/JournalRequeteHttp.h"
#include "http/WinhttpVerifie.h"

namespace norvel {

namespace {

// One wake-up of the reading thread moves up to this much: WinHTTP hands over what it has
// buffered, so a large buffer turns a fast link into few, large reads. 64 KiB, 256 KiB and
// 1 MiB read alike under Wine (scripts/bench/telechargement-http); 256 KiB keeps a request small.
constexpr DWORD TailleTamponLecture = TailleTamponLectureHttp;
// A streamed body's reads: their size starts here and adapts so that one lasts about this long.
constexpr DWORD TailleLectureMin = 16 * 1024;
constexpr auto DureeLectureVisee = std::chrono::milliseconds(200);
// Header values are read into 500 characters, the terminating null included.
constexpr DWORD CaracteresEntete = 500;
constexpr DWORD NotificationsSuivies =
    WINHTTP_CALLBACK_FLAG_HANDLES | WINHTTP_CALLBACK_FLAG_SENDREQUEST_COMPLETE |
    WINHTTP_CALLBACK_FLAG_HEADERS_AVAILABLE | WINHTTP_CALLBACK_FLAG_DATA_AVAILABLE |
    WINHTTP_CALLBACK_FLAG_READ_COMPLETE | WINHTTP_CALLBACK_FLAG_WRITE_COMPLETE | WINHTTP_CALLBACK_FLAG_REQUEST_ERROR;
static_assert(NotificationsSuivies == 0x7E0C00);
// A server or WinHTTP that keeps asking for the request again would hold the caller forever.
constexpr int MaxRenvoisDemandes = 10;
constexpr const wchar_t* VersionsSquidSansHttp11[] = {L"2.4", L"2.5", L"2.6", L"2.7", L"3.0", L"3.1"};

std::wstring NomOperationAsynchrone(DWORD_PTR api) {
  switch (api) {
    case API_RECEIVE_RESPONSE: return L"API_RECEIVE_RESPONSE";
    case API_QUERY_DATA_AVAILABLE: return L"API_QUERY_DATA_AVAILABLE";
    case API_READ_DATA: return L"API_READ_DATA";
    case API_WRITE_DATA: return L"API_WRITE_DATA";
    case API_SEND_REQUEST: return L"API_SEND_REQUEST";
    default: return {};
  }
}

template <class T>
T LireParametre(const TypeNotificationCallbackWinHttp& notification) {
  T valeur{};
  std::memcpy(&valeur, notification.Parametre.data(), std::min(sizeof valeur, notification.Parametre.size()));
  return valeur;
}

std::wstring KioDe(size_t octets) { return std::to_wstring((octets + 1023) / 1024); }

}  // namespace

std::optional<uint64_t> LireEntierHttp(std::wstring_view texte) {
  // 19 digits always fit in 64 bits: a longer or foreign value is no length at all.
  if (texte.empty() || texte.size() > 19 || texte.find_first_not_of(L"0123456789") != std::wstring_view::npos)
    return std::nullopt;
  uint64_t valeur = 0;
  for (const wchar_t c : texte) valeur = valeur * 10 + static_cast<uint64_t>(c - L'0');
  return valeur;
}

bool TConditionFinDAttenteRequeteHttp::EstAtteinte(bool arretApplication, bool) {
  if (FNotificationEnAttente->load()) return true;
  if (FEcheance != 0 && GetTickCount64() >= FEcheance) return true;
  return FInterrompue && (arretApplication || FInterrompue->load());
}

TRequeteHttp::TRequeteHttp(TClientHttp& client, IAttente* attente, const std::wstring& methode,
                           const std::wstring& paramUrl, bool https, bool pragmaNoCache, const std::wstring& versionHttp)
    : FClient(client),
      FAttente(attente),
      FVersionHttpAttendue(versionHttp),
      FMethode(methode),
      FUrlJournal(UrlPourJournal(https, client.NomServeur(), client.PortTcp(), paramUrl)) {
  TSessionClientsHttp& session = FClient.Session();
  try {
    session.DebutUtilisation();
    FDebutUtilisation = true;
    const DWORD flags = (https ? WINHTTP_FLAG_SECURE : 0) | (pragmaNoCache ? WINHTTP_FLAG_REFRESH : 0);
    FRequete = VerifWinHttpOpenRequest(FClient.Connexion(), methode.c_str(), paramUrl.c_str(), versionHttp.c_str(),
                                       WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
    if (session.ObtenirProxy(FClient.NomServeur(), FClient.PortTcp(), https, attente, FProxy)) {
      // A proxy resolved for this request alone; "none" (an empty answer) is set as such, since
      // WinHTTP accepts no named-proxy record without a name.
      WINHTTP_PROXY_INFO info{FProxy.empty() ? DWORD{WINHTTP_ACCESS_TYPE_NO_PROXY} : DWORD{WINHTTP_ACCESS_TYPE_NAMED_PROXY},
                              FProxy.empty() ? nullptr : FProxy.data(), nullptr};
      VerifWinHttpSetOption(FRequete, WINHTTP_OPTION_PROXY, &info, sizeof info);
    }
    if (!FProxy.empty()) {
      // Stored proxy credentials go out before the proxy asks for them.
      TypeInfoAuthHttp infoAuth;
      if (session.ObtenirInfoAuthProxy(FProxy, 0, infoAuth, 0)) SetInfoAuthProxy(infoAuth);
    }
    DWORD_PTR contexte = reinterpret_cast<DWORD_PTR>(this);
    VerifWinHttpSetOption(FRequete, WINHTTP_OPTION_CONTEXT_VALUE, &contexte, sizeof contexte);
    VerifWinHttpSetStatusCallback(FRequete, &TRequeteHttp::Callback, NotificationsSuivies, 0);
    FCallbackActive = true;
  } catch (...) {
    Liberer();
    throw;
  }
}

TRequeteHttp::~TRequeteHttp() { Liberer(); }

void CALLBACK TRequeteHttp::Callback(HINTERNET handle, DWORD_PTR contexte, DWORD genre, LPVOID information,
                                     DWORD longueur) {
  auto* requete = reinterpret_cast<TRequeteHttp*>(contexte);
  if (!requete || handle != requete->FRequete) return;
  // Counted before the notification is visible: the destruction, which ends at the
  // handle-closing notification, waits for this call to be over.
  ++requete->FCallbacksEnCours;
  TypeNotificationCallbackWinHttp notification{genre, {}, longueur};
  // A read's block is the read buffer itself, which nobody touches until the next read: its
  // bytes go from there to their destination without a copy here.
  if (information && longueur && genre != WINHTTP_CALLBACK_STATUS_READ_COMPLETE)
    notification.Parametre.assign(static_cast<const char*>(information), longueur);
  {
    std::lock_guard verrou(requete->FSectionCritique);
    requete->FNotifications.push_back(std::move(notification));
    // Set under the lock that guards the list, and cleared under it when the list is taken:
    // a wake-up can never find the flag without its notification.
    requete->FNotificationEnAttente = true;
  }
  requete->FAttente->Reveiller(requete);
  --requete->FCallbacksEnCours;
}

std::vector<TypeNotificationCallbackWinHttp> TRequeteHttp::PrendreNotifications() {
  std::vector<TypeNotificationCallbackWinHttp> prises;
  std::lock_guard verrou(FSectionCritique);
  FNotificationEnAttente = false;
  prises.swap(FNotifications);
  return prises;
}

void TRequeteHttp::Envoyer() {
  // Reponse holds the body of the last response only; a resend restarts a streamed body.
  FReponse.clear();
  FOctetsRecus = 0;
  FEnvoi.Ecrits = 0;
  const std::wstring& entetes = *FEnvoi.Entetes;
  const std::string& donnees = *FEnvoi.Donnees;
  // The context is given again here: WinHTTP takes this value as the request's context too.
  VerifWinHttpSendRequest(FRequete, entetes.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : entetes.c_str(),
                          static_cast<DWORD>(entetes.size()),
                          donnees.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(donnees.data()),
                          static_cast<DWORD>(donnees.size()), static_cast<DWORD>(FEnvoi.Total),
                          reinterpret_cast<DWORD_PTR>(this));
}

void TRequeteHttp::EcrireMorceau() {
  FTamponWriteData = (*FEnvoi.Source)(FEnvoi.Ecrits);
  if (FTamponWriteData.empty()) throw EExceptionWinhttp(0, L"WinHttpWriteData");
  VerifWinHttpWriteData(FRequete, FTamponWriteData.data(), static_cast<DWORD>(FTamponWriteData.size()), nullptr);
}

void TRequeteHttp::Executer(const std::string& donnees, const std::wstring& entetesSupplementaires,
                            bool verifierVersionHttp, uint64_t tailleTotale, const TGetDonneesAEnvoyer& donneesAEnvoyer) {
  const ULONGLONG debut = GetTickCount64();
  auto bilan = [&](std::wstring erreur) {
    JournaliserRequeteHttp({FMethode, FUrlJournal, FProxy, StatutReponse(), OctetsRecus(), GetTickCount64() - debut,
                            std::move(erreur)});
  };
  try {
    Echanger(donnees, entetesSupplementaires, verifierVersionHttp, tailleTotale, donneesAEnvoyer);
  } catch (const std::exception& e) {
    bilan(MessageDe(e));
    throw;
  }
  bilan({});
}

void TRequeteHttp::Echanger(const std::string& donnees, const std::wstring& entetesSupplementaires,
                            bool verifierVersionHttp, uint64_t tailleTotale, const TGetDonneesAEnvoyer& donneesAEnvoyer) {
  FEnvoi = {};
  FEnvoi.Donnees = &donnees;
  FEnvoi.Entetes = &entetesSupplementaires;
  FEnvoi.Total = tailleTotale != 0 ? tailleTotale : donnees.size();
  FEnvoi.Source = donneesAEnvoyer ? &donneesAEnvoyer : nullptr;
  Envoyer();

  const uint64_t echeance = FDelaiTotal != 0 ? GetTickCount64() + FDelaiTotal : 0;
  const TRef<TConditionFinDAttenteRequeteHttp> condition =
      NouvelObjet<TConditionFinDAttenteRequeteHttp>(&FNotificationEnAttente, &FInterrompue, echeance);
  // The wait is asked again this often, so that a deadline is seen even when nothing arrives.
  constexpr int64_t PeriodeEcheance = 250;
  for (bool fini = false; !fini;) {
    FAttente->Attendre(condition.Get(), echeance != 0 ? PeriodeEcheance : 0);
    // Progress does not extend it: a server that trickles its answer is given up all the same.
    if (echeance != 0 && GetTickCount64() >= echeance)
      throw EOvalis(Format(Msg::ReponseHttpIncomplete, {FClient.NomServeur(), static_cast<unsigned>(FDelaiTotal / 1000)}));
    const std::vector<TypeNotificationCallbackWinHttp> notifications = PrendreNotifications();
    if (notifications.empty())
      throw EAnnulation(FInterrompue ? Msg::RequeteHttpInterrompue : Msg::ArretApplicationEnCours);
    // WinHTTP may complete each call at once, on this thread, so that a notification is always
    // waiting: the interruption is looked at every time, not only when nothing came.
    if (FInterrompue) throw EAnnulation(Msg::RequeteHttpInterrompue);
    for (const TypeNotificationCallbackWinHttp& notification : notifications) {
      switch (notification.Genre) {
        case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
          if (FEnvoi.Source && FEnvoi.Total != 0)
            EcrireMorceau();
          else
            VerifWinHttpReceiveResponse(FRequete, nullptr);
          break;
        case WINHTTP_CALLBACK_STATUS_WRITE_COMPLETE:
          FEnvoi.Ecrits += LireParametre<DWORD>(notification);
          if (FEnvoi.Ecrits < FEnvoi.Total)
            EcrireMorceau();
          else
            VerifWinHttpReceiveResponse(FRequete, nullptr);
          break;
        case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
          DebutReponse();
          VerifWinHttpQueryDataAvailable(FRequete, nullptr);
          break;
        case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
          LireMorceau(LireParametre<DWORD>(notification));
          break;
        case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
          if (notification.Longueur != 0) {
            RecevoirMorceau(notification.Longueur);
            LireSuite(notification.Longueur);
          } else if (!RenvoyerAvecAuthProxy()) {
            VerifierCorpsComplet();
            fini = true;
          }
          break;
        case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR: {
          const auto resultat = LireParametre<WINHTTP_ASYNC_RESULT>(notification);
          const bool renvoiDemande = resultat.dwError == ERROR_WINHTTP_RESEND_REQUEST ||
                                     resultat.dwError == ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED;
          if (!renvoiDemande || ++FEnvoi.RenvoisDemandes > MaxRenvoisDemandes)
            throw EExceptionWinhttp(resultat.dwError, NomOperationAsynchrone(resultat.dwResult));
          // A server asking for a client certificate gets the request again without one.
          if (resultat.dwError == ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED)
            VerifWinHttpSetOption(FRequete, WINHTTP_OPTION_CLIENT_CERT_CONTEXT, WINHTTP_NO_CLIENT_CERT_CONTEXT, 0);
          Envoyer();
          break;
        }
        default:
          break;
      }
    }
  }
  if (verifierVersionHttp) VerifierVersionHttp();
}

void TRequeteHttp::DebutReponse() {
  FOctetsRecus = 0;
  FTailleLecture = TailleLectureMin;
  FPuitsReponse = FPuits && StatutReponse() != L"407" ? FPuits : nullptr;
  if (FPuitsReponse) {
    FPuitsReponse->DebutCorps(*this);
    return;
  }
  // A body announced beyond the bound is refused before its first byte; one within it gets
  // its room at once (growing by doubling would copy it again and again).
  const std::optional<uint64_t> annonce = LongueurAnnoncee();
  if (annonce && *annonce > FCorpsMax) throw EOvalis(Format(Msg::CorpsHttpTropGrand, {KioDe(FCorpsMax)}));
  if (annonce) FReponse.reserve(static_cast<size_t>(*annonce));
}

void TRequeteHttp::LireMorceau(DWORD disponibles) {
  // Allocated at the first read: a request that fails before its body never holds it.
  if (FTamponReadData.empty()) FTamponReadData.resize(TailleTamponLecture);
  // What WinHTTP says it holds, up to the buffer; at the end of the body (nothing announced)
  // the read comes back empty at once.
  Lire(disponibles == 0 ? TailleTamponLecture : std::min(disponibles, TailleTamponLecture));
}

void TRequeteHttp::LireSuite(DWORD lus) {
  if (!FPuitsReponse) {
    // A small answer: ask what is there, then read exactly that; such a read never waits.
    VerifWinHttpQueryDataAvailable(FRequete, nullptr);
    return;
  }
  // A streamed body reads on without asking: a question before each read costs one more round
  // trip through WinHTTP's threads, and on a loaded machine that fell to 4-23 MiB/s under Wine.
  // But a read larger than what has arrived waits, under Wine, on the calling thread until it
  // is full: its size follows the link, doubled while a read comes back full within a moment,
  // halved when one takes longer, so that no read holds the thread (and an interruption) long.
  const auto duree = std::chrono::steady_clock::now() - FDebutLecture;
  if (lus >= FTailleLecture && duree < DureeLectureVisee)
    FTailleLecture = std::min(2 * FTailleLecture, TailleTamponLecture);
  else if (duree > DureeLectureVisee)
    FTailleLecture = std::max(FTailleLecture / 2, TailleLectureMin);
  Lire(FTailleLecture);
}

void TRequeteHttp::Lire(DWORD taille) {
  FDebutLecture = std::chrono::steady_clock::now();
  VerifWinHttpReadData(FRequete, FTamponReadData.data(), taille, nullptr);
}

void TRequeteHttp::RecevoirMorceau(DWORD taille) {
  FOctetsRecus += taille;
  if (FPuitsReponse) {
    FPuitsReponse->Morceau(FTamponReadData.data(), taille);
    return;
  }
  // An endless or lying body stops here, never past the bound.
  const size_t taillePlus = FReponse.size() + taille;
  if (taillePlus > FCorpsMax) throw EOvalis(Format(Msg::CorpsHttpTropGrand, {KioDe(FCorpsMax)}));
  // A body of unknown length grows by doubling, but never makes room beyond the bound (a
  // string's own growth would: it doubles whatever room it is asked for).
  if (taillePlus > FReponse.capacity()) {
    std::string agrandie;
    agrandie.reserve(std::min(std::max(taillePlus, 2 * FReponse.capacity()), FCorpsMax));
    agrandie.append(FReponse);
    FReponse.swap(agrandie);
  }
  FReponse.append(FTamponReadData.data(), taille);
}

std::optional<uint64_t> TRequeteHttp::LongueurAnnoncee() const { return LireEntierHttp(Entete(WINHTTP_QUERY_CONTENT_LENGTH)); }

void TRequeteHttp::VerifierCorpsComplet() const {
  // WinHTTP under Wine ends a body cut short by the server like a complete one; the length the
  // server announced tells them apart.
  const std::wstring statut = StatutReponse();
  if (FMethode == L"HEAD" || statut == L"204" || statut == L"304") return;
  const std::optional<uint64_t> annonce = LongueurAnnoncee();
  if (annonce && *annonce != FOctetsRecus)
    throw EExceptionWinhttp(ERROR_WINHTTP_CONNECTION_ERROR, NomOperationAsynchrone(API_READ_DATA));
}

bool TRequeteHttp::RenvoyerAvecAuthProxy() {
  if (StatutReponse() != L"407" || FEnvoi.RenvoisAuthProxy >= MaxRenvoisAuthProxy) return false;
  DWORD schemas = 0, premier = 0, cible = 0;
  if (!WinHttpQueryAuthSchemes(FRequete, &schemas, &premier, &cible)) schemas = premier = 0;
  TypeInfoAuthHttp infoAuth = FEnvoi.DernierAuthProxy;
  if (!FClient.Session().ObtenirInfoAuthProxy(FProxy, schemas, infoAuth, premier)) return false;
  SetInfoAuthProxy(infoAuth);
  FEnvoi.DernierAuthProxy = std::move(infoAuth);
  ++FEnvoi.RenvoisAuthProxy;
  Envoyer();
  return true;
}

void TRequeteHttp::VerifierVersionHttp() const {
  const std::wstring statut = StatutReponse();
  if (statut == L"200") return;
  const std::wstring version = VersionReponse();
  const std::wstring entetes = TousLesEntetesReponse();
  if (!(version < FVersionHttpAttendue && FVersionHttpAttendue == L"HTTP/1.1" && version == L"HTTP/1.0" &&
        statut == L"407" && entetes.find(L"Proxy-Authenticate: NTLM") != std::wstring::npos))
    return;
  for (const wchar_t* versionSquid : VersionsSquidSansHttp11)
    if (entetes.find(std::wstring(L"(squid/") + versionSquid) != std::wstring::npos)
      throw ErreurSquidSansHttp11(versionSquid, entetes);
  throw ErreurProxySansHttp11(entetes);
}

void TRequeteHttp::Interrompre() {
  FInterrompue = true;
  // The waiter may sleep without a time limit: the flag alone would not end its wait.
  FAttente->Reveiller(this);
}

std::wstring TRequeteHttp::Entete(DWORD niveau) const {
  wchar_t tampon[CaracteresEntete];
  DWORD taille = sizeof tampon;
  if (!FRequete || !WinHttpQueryHeaders(FRequete, niveau, WINHTTP_HEADER_NAME_BY_INDEX, tampon, &taille,
                                        WINHTTP_NO_HEADER_INDEX))
    return {};
  return std::wstring(tampon, taille / sizeof(wchar_t));
}

void TRequeteHttp::SetInfoAuth(DWORD cible, const TypeInfoAuthHttp& infoAuth) {
  const TTexteEnClair identifiant(infoAuth.Identifiant.GetValeur());
  const TTexteEnClair motDePasse(infoAuth.MotDePasse.GetValeur());
  VerifWinHttpSetCredentials(FRequete, cible, infoAuth.Schema, identifiant.c_str(), motDePasse.c_str(), nullptr);
}

void TRequeteHttp::SetInfoAuthProxy(const TypeInfoAuthHttp& infoAuth) {
  SetInfoAuth(WINHTTP_AUTH_TARGET_PROXY, infoAuth);
}

void TRequeteHttp::SetInfoAuthServeur(const TypeInfoAuthHttp& infoAuth) {
  SetInfoAuth(WINHTTP_AUTH_TARGET_SERVER, infoAuth);
}

void TRequeteHttp::SetOptionEntier(DWORD option, DWORD valeur) {
  VerifWinHttpSetOption(FRequete, option, &valeur, sizeof valeur);
}

void TRequeteHttp::AffecterTimeOuts(int resolution, int connexion, int envoi, int reception) {
  VerifWinHttpSetTimeouts(FRequete, resolution, connexion, envoi, reception);
}

void TRequeteHttp::AjouterCertificatClient(PCCERT_CONTEXT certificat) {
  VerifWinHttpSetOption(FRequete, WINHTTP_OPTION_CLIENT_CERT_CONTEXT, const_cast<CERT_CONTEXT*>(certificat),
                        sizeof(CERT_CONTEXT));
}

void TRequeteHttp::DesactiverFonctionsHttp(const TypeFonctionsHttpDesactivable& fonctions) {
  DWORD bits = 0;
  for (const TypeFonctionHttpDesactivable fonction : fonctions) bits |= 1u << static_cast<int>(fonction);
  SetOptionEntier(WINHTTP_OPTION_DISABLE_FEATURE, bits);
}

void TRequeteHttp::DesactiverCookies() { DesactiverFonctionsHttp({TypeFonctionHttpDesactivable::fhdCookies}); }

void TRequeteHttp::AutoLogon() { SetOptionEntier(WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW); }

void TRequeteHttp::Liberer() noexcept {
  if (FRequete && WinHttpCloseHandle(FRequete) && FCallbackActive) {
    // WinHTTP may call back until it announces the handle's closing: only then may this
    // object go. The wait answers neither interruption nor the program's closing.
    TRef<TConditionFinDAttenteRequeteHttp> condition;
    try {
      condition = NouvelObjet<TConditionFinDAttenteRequeteHttp>(&FNotificationEnAttente, nullptr);
    } catch (...) {
    }
    for (bool ferme = false; !ferme;) {
      try {
        if (!condition) throw std::bad_alloc();
        FAttente->Attendre(condition.Get(), 0);
      } catch (...) {
        // Without a working wait, watch the list: leaving early would free the object under
        // WinHTTP's feet.
        Sleep(10);
      }
      for (const TypeNotificationCallbackWinHttp& notification : PrendreNotifications())
        ferme = ferme || notification.Genre == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING;
    }
    while (FCallbacksEnCours != 0) SwitchToThread();
  }
  FRequete = nullptr;
  if (FDebutUtilisation) {
    FDebutUtilisation = false;
    try {
      FClient.Session().FinUtilisation();
    } catch (...) {
    }
  }
}

}  // namespace norvel
