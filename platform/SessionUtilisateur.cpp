#include "platform/SessionUtilisateur.h"

#include <windows.h>

#include <vector>

#include "core/Handle.h"

namespace norvel {

TypeIdentiteSession IdentiteSessionCourante() {
  TypeIdentiteSession identite;
  DWORD session = 1;
  if (ProcessIdToSessionId(GetCurrentProcessId(), &session)) identite.Session = session;
  THandle jeton;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, jeton.Adresse())) {
    DWORD taille = 0;
    GetTokenInformation(jeton.Get(), TokenUser, nullptr, 0, &taille);
    std::vector<unsigned char> tampon(taille);
    if (taille && GetTokenInformation(jeton.Get(), TokenUser, tampon.data(), taille, &taille))
      identite.CompteSysteme =
          IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(tampon.data())->User.Sid, WinLocalSystemSid) != FALSE;
  }
  return identite;
}

bool EstSessionSansUtilisateur(const TypeIdentiteSession& AIdentite) {
  return AIdentite.CompteSysteme || AIdentite.Session == 0;
}

bool SessionSansUtilisateur() { return EstSessionSansUtilisateur(IdentiteSessionCourante()); }

}  // namespace norvel
