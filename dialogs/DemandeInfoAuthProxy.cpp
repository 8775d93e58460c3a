#include "dialogs/DemandeInfoAuthProxy.h"

#include "platform/AppelThreadPrincipal.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/TexteEnClair.h"
#include "dialogs/DlgVerificationMDPFmx.h"

namespace norvel {

bool DemanderInfoAuthProxyGraphique(const std::wstring& proxy, TypeInfoAuthHttp& infoAuth) {
  bool valide = false;
  TTexteEnClair login, motDePasse;
  const std::wstring explication = Format(Msg::AuthentificationProxy, {proxy});
  const bool repondu = ExecuterSurThreadPrincipal([&] {
    valide = TDlgVerificationMDPFmx::SaisieSimple(Msg::DemandeAuthentification, explication, L"", login.Texte,
                                                  motDePasse.Texte);
  });
  if (!repondu || !valide) return false;
  infoAuth.Identifiant = TypeLoginOffusque::Create(login.Texte);
  infoAuth.MotDePasse = TypeMotDePasseOffusque::Create(motDePasse.Texte);
  return true;
}

}  // namespace norvel
