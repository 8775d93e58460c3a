#include "school/HotesNorvel.h"

#include <windows.h>

#include <cwchar>

namespace norvel {

namespace {

constexpr const wchar_t* CheminInfosHeb = L"/api/InfosNP/";

uint16_t PortDeveloppement() {
  wchar_t valeur[16];
  const DWORD n = GetEnvironmentVariableW(VariablePortInfosHebDeveloppement, valeur, std::size(valeur));
  if (n == 0 || n >= std::size(valeur)) return PortInfosHebDeveloppement;
  wchar_t* fin = nullptr;
  const unsigned long port = std::wcstoul(valeur, &fin, 10);
  return *fin == L'\0' && port > 0 && port <= 0xFFFF ? static_cast<uint16_t>(port) : PortInfosHebDeveloppement;
}

}  // namespace

TypePointAccesInfosHeb PointAccesInfosHeb(TypeEnvironnementDeploiement AEnvironnement) {
  // The keys in their obfuscated text form: the clear text exists only while a request is built.
  switch (AEnvironnement) {
    case ED_Production:
      return {std::wstring(L"https://infosheb.norvel-primaire.test") + CheminInfosHeb,
              TypeMotDePasseOffusque::CreateHexa(L"1FB54253BC8B743F42434F43EC88BF62B3E1514600000000")};
    case ED_PreProduction:
      return {std::wstring(L"https://preprod-infosheb.norvel-primaire.test") + CheminInfosHeb,
              TypeMotDePasseOffusque::CreateHexa(L"AC1868E0B27F3DAF56067A2C4F574DCC0DB2B7FC00000000")};
    case ED_Developpement:
      break;
  }
  return {L"https://localhost:" + std::to_wstring(PortDeveloppement()) + CheminInfosHeb,
          TypeMotDePasseOffusque::CreateHexa(L"4B12D57E2970FF1065F2EB925B403BC426E386BC00000000")};
}

}  // namespace norvel
