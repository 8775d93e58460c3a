#include "install/TelechargementSetup.h"

#include <optional>

#include <algorithm>

#include "core/Chaines.h"
#include "platform/Attente.h"
#include "platform/Chemins.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "core/Messages.h"
#include "http/ExceptionWinhttp.h"
#include "http/RequeteHttp.h"
#include "http/UrlDecomposee.h"
#include "install/ProgressionTelechargement.h"

namespace norvel {

namespace {

constexpr const wchar_t* TypeSetup = L"application/octet-stream";
// Between two reports of progress: a few a second are enough for a bar and never flood the
// window's loop.
constexpr ULONGLONG IntervalleProgressionMs = 250;
// Resolve, connect, send as the program's other requests; a connection silent for this long
// is taken as stalled and resumed.
constexpr int ReceptionMaxMs = 60000;

// The failures of the transfer itself, after which asking again for the rest makes sense.
bool EstCoupure(DWORD code) {
  return code == ERROR_WINHTTP_CONNECTION_ERROR || code == ERROR_WINHTTP_TIMEOUT ||
         code == ERROR_WINHTTP_INVALID_SERVER_RESPONSE;
}

[[noreturn]] void LeverCoupure() { throw EExceptionWinhttp(ERROR_WINHTTP_CONNECTION_ERROR, L"API_READ_DATA"); }

// "bytes <debut>-<fin>/<total>": the first byte and the whole size ("*": unknown).
struct TypePlage {
  uint64_t Debut = 0;
  std::optional<uint64_t> Total;
};

std::optional<TypePlage> LirePlage(std::wstring_view texte) {
  constexpr std::wstring_view Unite = L"bytes ";
  if (texte.substr(0, Unite.size()) != Unite) return std::nullopt;
  texte.remove_prefix(Unite.size());
  const size_t tiret = texte.find(L'-'), barre = texte.find(L'/');
  if (tiret == std::wstring_view::npos || barre == std::wstring_view::npos || barre < tiret) return std::nullopt;
  const std::optional<uint64_t> debut = LireEntierHttp(texte.substr(0, tiret));
  if (!debut) return std::nullopt;
  const std::wstring_view total = texte.substr(barre + 1);
  return TypePlage{*debut, total == L"*" ? std::nullopt : LireEntierHttp(total)};
}

// The file being filled and what is known of the setup on the server. It receives the bodies
// straight from the request's read buffer and writes them at once: memory stays flat.
class TFichierTelecharge : public TPuitsCorpsHttp {
 public:
  TFichierTelecharge(std::wstring chemin, const TProgressionTelechargement& progression)
      : FChemin(std::move(chemin)), FProgression(progression) {}
  ~TFichierTelecharge() override {
    // Only a complete file survives: a failure anywhere leaves nothing behind.
    if (!FComplet && FFichier) {
      FFichier.Reinitialiser();
      DeleteFileW(FChemin.c_str());
    }
  }

  // The extra headers of the next attempt: the rest of the file, unless it changed meanwhile.
  std::wstring EntetesReprise() {
    FDebutDemande = FRecus > 0 && !FValidateur.empty() ? FRecus : 0;
    if (FDebutDemande == 0) return {};
    return Format(L"Range: bytes=%s-\r\nIf-Range: %s", {std::to_wstring(FDebutDemande), FValidateur});
  }

  void DebutCorps(const TRequeteHttp& requete) override {
    VerifierReponse(requete);
    const std::wstring statut = requete.StatutReponse();
    uint64_t position = 0;
    if (FDebutDemande > 0 && statut == L"206") {
      // The rest asked for: it must start where the file stops, of the same file.
      const std::optional<TypePlage> plage = LirePlage(requete.ContentRange());
      const std::wstring etag = requete.ETag();
      if (!plage || plage->Debut != FDebutDemande || (plage->Total && FTotal && *plage->Total != *FTotal) ||
          (!etag.empty() && FValidateur[0] == L'"' && etag != FValidateur))
        throw EOvalis(Format(Msg::RepriseTelechargementIncoherente, {requete.ContentRange()}));
      position = FDebutDemande;
      if (plage->Total) FTotal = plage->Total;
    } else {
      // The whole file: the first answer, a server that ignores ranges, or a file that changed.
      FTotal = requete.LongueurAnnoncee();
      const std::wstring etag = requete.ETag();
      // A weak tag cannot guard a range; the date of the last change can.
      FValidateur = !etag.empty() && etag[0] == L'"' ? etag : requete.DerniereModification();
    }
    if (FTotal) VerifierEspaceDisque(*FTotal - std::min(*FTotal, position));
    Ouvrir();
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(position);
    VerifierWin32(SetFilePointerEx(FFichier.Get(), distance, nullptr, FILE_BEGIN), L"SetFilePointerEx");
    VerifierWin32(SetEndOfFile(FFichier.Get()), L"SetEndOfFile");
    FRecus = position;
    Signaler(true);
  }

  void Morceau(const char* octets, size_t taille) override {
    DWORD ecrits = 0;
    VerifierWin32(WriteFile(FFichier.Get(), octets, static_cast<DWORD>(taille), &ecrits, nullptr), L"WriteFile");
    if (ecrits != taille) throw ErreurSysteme(L"WriteFile");
    FRecus += taille;
    Signaler(false);
  }

  // After Executer: a response that never reached the file (a proxy's last 407) is refused
  // as any other; a body without announced length that stopped before the size the server
  // gave for the whole file is a cut.
  void Terminer(const TRequeteHttp& requete) {
    VerifierReponse(requete);
    if (!FFichier || (FTotal && FRecus != *FTotal)) LeverCoupure();
    FFichier.Reinitialiser();
    FComplet = true;
    if (FProgression) FProgression(FRecus, FTotal.value_or(FRecus));
  }

 private:
  void VerifierReponse(const TRequeteHttp& requete) const {
    const std::wstring statut = requete.StatutReponse();
    if (statut.size() != 3 || statut[0] != L'2')
      throw EOvalis(Format(Msg::ErreurHttp, {statut, requete.StrStatutReponse()}));
    if (requete.TypeMimeReponse() != TypeSetup)
      throw EOvalis(Format(Msg::TypeMimeFichierInvalide, {NomDe(FChemin), requete.TypeMimeReponse()}));
  }

  void VerifierEspaceDisque(uint64_t necessaire) const {
    const std::wstring dossier = DossierDe(FChemin);
    ULARGE_INTEGER libre{};
    if (!GetDiskFreeSpaceExW(dossier.c_str(), &libre, nullptr, nullptr)) return;  // the writes will tell
    // The part of the file already there is replaced, not added to.
    const uint64_t disponible = libre.QuadPart + (FFichier ? FRecus : 0);
    if (necessaire > disponible)
      throw EOvalis(Format(Msg::EspaceDisqueInsuffisant, {dossier, TexteMio(necessaire), TexteMio(disponible)}));
  }

  void Ouvrir() {
    if (FFichier) return;
    // Nobody else writes the file while it is filled.
    FFichier = THandleFichier(CreateFileW(FChemin.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!FFichier) throw ErreurSysteme(L"CreateFile");
  }

  void Signaler(bool toujours) {
    if (!FProgression) return;
    const ULONGLONG maintenant = GetTickCount64();
    if (!toujours && maintenant - FDernierSignal < IntervalleProgressionMs) return;
    FDernierSignal = maintenant;
    FProgression(FRecus, FTotal.value_or(0));
  }

  const std::wstring FChemin;
  const TProgressionTelechargement& FProgression;
  THandleFichier FFichier;
  bool FComplet = false;
  uint64_t FRecus = 0;
  uint64_t FDebutDemande = 0;
  std::optional<uint64_t> FTotal;
  std::wstring FValidateur;  // strong ETag, else Last-Modified; empty: a cut restarts from zero
  ULONGLONG FDernierSignal = 0;
};

// The pause before a new attempt; false when a stop was asked meanwhile.
bool Patienter(const TypeOptionsTelechargement& options, DWORD millisecondes) {
  if (options.Interruption) return options.Interruption->Patienter(millisecondes);
  Sleep(millisecondes);
  return true;
}

}  // namespace

std::wstring DossierTemporaireUtilisateur() {
  wchar_t court[MAX_PATH + 1] = {};
  if (!GetTempPathW(MAX_PATH + 1, court)) throw ErreurSysteme(L"GetTempPath");
  std::wstring dossier(32768, L'\0');
  const DWORD longueur = GetLongPathNameW(court, dossier.data(), static_cast<DWORD>(dossier.size()));
  dossier.resize(longueur > 0 && longueur < dossier.size() ? longueur : 0);
  return AvecBarreFinale(dossier.empty() ? std::wstring(court) : dossier);
}

namespace {

// Names that Windows takes for a device in any folder, whatever their extension.
bool NomDePeripherique(std::wstring_view nom) {
  std::wstring base = EnMajuscules(nom.substr(0, nom.find(L'.')));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  static constexpr const wchar_t* Reserves[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* reserve : Reserves)
    if (base == reserve) return true;
  // COM1 to COM9 and LPT1 to LPT9, and their superscript forms.
  return base.size() == 4 && (CommencePar(base, L"COM") || CommencePar(base, L"LPT")) &&
         ((base[3] >= L'1' && base[3] <= L'9') || base[3] == L'\u00B9' || base[3] == L'\u00B2' || base[3] == L'\u00B3');
}

bool NomDeFichierSimple(std::wstring_view nom) {
  if (nom.empty() || nom == L"." || nom == L"..") return false;
  // A trailing dot or space is dropped by Windows: the file would not be the one named.
  if (nom.back() == L'.' || nom.back() == L' ') return false;
  for (const wchar_t c : nom)
    if (c < L' ' || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) return false;
  return !NomDePeripherique(nom);
}

}  // namespace

std::wstring NomFichierTelechargement(std::wstring_view AUrl) {
  const std::wstring_view sansSuite = AUrl.substr(0, AUrl.find_first_of(L"?#"));
  const size_t separateur = sansSuite.find_last_of(L"/\\");
  const std::wstring_view nom = separateur == std::wstring_view::npos ? sansSuite : sansSuite.substr(separateur + 1);
  return NomDeFichierSimple(nom) ? std::wstring(nom) : NomSetupParDefaut;
}

void TelechargerFichier(TSessionClientsHttp& ASession, const std::wstring& AUrl, const std::wstring& AFichier,
                        const TypeOptionsTelechargement& AOptions) {
  const TypeUrlDecomposee url = TypeUrlDecomposee::Create(AUrl);
  TClientHttp client(ASession, url.NomServeur, url.PortTcp);
  const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
  TFichierTelecharge fichier(AFichier, AOptions.Progression);
  for (size_t tentative = 0;; ++tentative) {
    try {
      TRequeteHttp requete(client, attente.Get(), L"GET", url.ParamUrl, url.Https, false, L"HTTP/1.1");
      requete.AffecterTimeOuts(30000, 60000, 600000, ReceptionMaxMs);
      requete.EnvoyerCorpsDans(&fichier);
      const TInterruptionRequete::TBranchement branchement(AOptions.Interruption, requete);
      requete.Executer({}, fichier.EntetesReprise(), true);
      fichier.Terminer(requete);
      return;
    } catch (const EExceptionWinhttp& e) {
      if (!EstCoupure(e.Code()) || tentative >= AOptions.PausesReprise.size()) throw;
    }
    if (!Patienter(AOptions, AOptions.PausesReprise[tentative])) throw EAnnulation(Msg::RequeteHttpInterrompue);
  }
}

}  // namespace norvel
