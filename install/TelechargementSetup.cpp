#include "install/TelechargementSetup.h"

#include <windows.h>

#include <algorithm>

#include "app/Attente.h"
#include "app/Chemins.h"
#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "core/Messages.h"
#include "http/RequeteHttp.h"
#include "http/UrlDecomposee.h"

namespace norvel {

namespace {

constexpr size_t TailleTamponEcriture = 1048576;
constexpr const wchar_t* TypeSetup = L"application/octet-stream";

void Ecrire(HANDLE fichier, const std::string& contenu) {
  for (size_t ecrit = 0; ecrit < contenu.size();) {
    const DWORD morceau = static_cast<DWORD>(std::min(TailleTamponEcriture, contenu.size() - ecrit));
    DWORD fait = 0;
    VerifierWin32(WriteFile(fichier, contenu.data() + ecrit, morceau, &fait, nullptr), L"WriteFile");
    ecrit += fait;
  }
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

void TelechargerFichier(TSessionClientsHttp& ASession, const std::wstring& AUrl, const std::wstring& AFichier) {
  const TypeUrlDecomposee url = TypeUrlDecomposee::Create(AUrl);
  TClientHttp client(ASession, url.NomServeur, url.PortTcp);
  const TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
  TRequeteHttp requete(client, attente.Get(), L"GET", url.ParamUrl, url.Https, false, L"HTTP/1.1");
  // A large setup over a slow link: an hour to receive it.
  requete.AffecterTimeOuts(30000, 60000, 600000, 3600000);
  requete.Executer({}, {}, true);

  const std::wstring statut = requete.StatutReponse();
  if (statut.size() != 3 || statut[0] != L'2')
    throw EOvalis(Format(Msg::ErreurHttp, {statut, requete.StrStatutReponse()}));
  if (requete.TypeMimeReponse() != TypeSetup)
    throw EOvalis(Format(Msg::TypeMimeFichierInvalide, {NomDe(AFichier), requete.TypeMimeReponse()}));

  // Nobody else writes the file while it is filled.
  THandleFichier fichier(
      CreateFileW(AFichier.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!fichier) throw ErreurSysteme(L"CreateFile");
  try {
    Ecrire(fichier.Get(), requete.Reponse());
  } catch (...) {
    // No half-written program is left behind.
    SetFilePointer(fichier.Get(), 0, nullptr, FILE_BEGIN);
    SetEndOfFile(fichier.Get());
    throw;
  }
}

}  // namespace norvel
