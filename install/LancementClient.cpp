#include "install/LancementClient.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "platform/Chemins.h"
#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "core/Messages.h"
#include "install/TelechargementSetup.h"

namespace norvel {

std::wstring ContenuFichierConnexion(const std::wstring& ANomEcole, const std::wstring& ANomDomaine, uint16_t APort,
                                     bool AServeurEnService) {
  // One line: a CR or LF from the web service would add lines that the client reads too.
  return Format(AServeurEnService ? L"Serveur=%s:%s:%d:TestConnexion" : L"Serveur=%s:%s:%d:ConfigurationSeulement",
                {SansCaracteresDeControle(ANomEcole), SansCaracteresDeControle(ANomDomaine),
                 static_cast<unsigned>(APort)});
}

std::wstring EcrireFichierConnexion(const std::wstring& AContenu) {
  wchar_t temporaire[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(DossierTemporaireUtilisateur().c_str(), L"tmp", 0, temporaire))
    throw ErreurSysteme(L"GetTempFileName");
  const std::wstring chemin = ChangerExtension(temporaire, L".ncprim");
  EcrireFichierConnexionEn(chemin, AContenu);
  return chemin;
}

void EcrireFichierConnexionEn(const std::wstring& chemin, const std::wstring& AContenu) {
  THandleFichier fichier(
      CreateFileW(chemin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!fichier) throw ErreurSysteme(L"CreateFile");
  const std::string octets = "\xEF\xBB\xBF" + VersUtf8(AContenu);
  DWORD ecrits = 0;
  VerifierWin32(WriteFile(fichier.Get(), octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr),
                L"WriteFile");
}

bool ProgrammeAssocie(const wchar_t* AExtension) {
  wchar_t commande[MAX_PATH * 2] = {};
  DWORD taille = ARRAYSIZE(commande);
  return SUCCEEDED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, AExtension, L"open", commande, &taille)) ||
         taille > ARRAYSIZE(commande);
}

void ConfigurerEtLancerClient(const std::wstring& ANomEcole, const std::wstring& ANomDomaine, uint16_t APort,
                              bool AServeurEnService) {
  const std::wstring fichier =
      EcrireFichierConnexion(ContenuFichierConnexion(ANomEcole, ANomDomaine, APort, AServeurEnService));
  // Without a program for the file, recent Windows show their "open with" chooser and answer
  // success: the client would look launched while nothing started.
  if (!ProgrammeAssocie(L".ncprim")) throw EOvalis(Msg::ImpossibleLancerClient);
  const auto resultat = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", fichier.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (resultat <= 32) throw EOvalis(Msg::ImpossibleLancerClient);
}

std::wstring ConfigurerSansLancerClient(const std::wstring& ADossier, const std::wstring& ANomEcole,
                                        const std::wstring& ANomDomaine, uint16_t APort) {
  const std::wstring chemin = AvecBarreFinale(ADossier) + NomFichierConnexionCommun;
  EcrireFichierConnexionEn(chemin, ContenuFichierConnexion(ANomEcole, ANomDomaine, APort, false));
  return chemin;
}

}  // namespace norvel
