#include "support/EnvironnementTest.h"

#include <windows.h>

namespace norvel::test {

TVariableEnvironnement::TVariableEnvironnement(std::wstring nom, const wchar_t* valeur) : FNom(std::move(nom)) {
  // Even an empty variable needs room for its terminator: 0 means absent.
  const DWORD taille = GetEnvironmentVariableW(FNom.c_str(), nullptr, 0);
  FExistait = taille != 0;
  if (FExistait) {
    FAncienne.resize(taille);
    FAncienne.resize(GetEnvironmentVariableW(FNom.c_str(), FAncienne.data(), taille));
  }
  SetEnvironmentVariableW(FNom.c_str(), valeur);
}

TVariableEnvironnement::~TVariableEnvironnement() {
  SetEnvironmentVariableW(FNom.c_str(), FExistait ? FAncienne.c_str() : nullptr);
}

}  // namespace norvel::test
