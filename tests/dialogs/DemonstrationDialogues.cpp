// Not a test: a child entry that shows both dialogs one after the other, filled as the program
// fills them, for scripts/captures-dialogues to drive and photograph.
#include "dialogs/DlgVerificationMDPFmx.h"
#include "dialogs/FicheChoixConfigurationHttp.h"
#include "support/ServicesInterface.h"
#include "support/ProcessusEnfant.h"

using namespace norvel;
using enum TypeGenreConfigProxyClientsHttp;

NORVEL_PROGRAMME_ENFANT(MontrerDialogues) {
  test::TServicesInterface services;
  auto choix = TFicheChoixConfigurationHttp::CreateOv(
      nullptr, {{gcpConfigSysteme},
                {gcpConfigOvalis, L"127.0.0.1:3128", L"127.0.0.1:3128", {L"127.0.0.1", L"<local>", L"localhost"}},
                {gcpConfigOvalis},
                {gcpUrlConfig, L"", L"", {}, L"http://127.0.0.1:8080/proxy.pac"},
                {gcpWpad}});
  choix->ExecuterModal();
  choix.reset();  // freed once read, as the wizard does
  std::wstring login, motDePasse;
  TDlgVerificationMDPFmx::SaisieSimple(L"Demande d'authentification",
                                       L"Veuillez vous authentifier auprès du serveur proxy 127.0.0.1:3128", L"",
                                       login, motDePasse);
  return 0;
}
