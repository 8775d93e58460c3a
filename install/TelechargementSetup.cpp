#include "install/TelechargementSetup.h"

#include <windows.h>

#include <algorithm>

#include "platform/Attente.h"
#include "platform/Chemins.h"
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

std::wstring NomFichierTelechargement(std::wstring_view AUrl) {
  const std::wstring_view sansSuite = AUrl.substr(0, AUrl.find_first_of(L"?#"));
  const size_t separateur = sansSuite.find_last_of(L"/\\");
  return std::wstring(separateur == std::wstring_view::npos ? sansSuite : sansSuite.substr(separateur + 1));
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
