#include "httpconfig/UserAgentClientsHttp.h"

#include <windows.h>
#include <iphlpapi.h>

#include <vector>

#include "platform/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

constexpr DWORD TailleParametresReseau = 4096;
constexpr size_t LongueurMaxServicePack = 128;

std::wstring EnHexa8(unsigned valeur) { return Format(L"%.8x", {valeur}); }

}  // namespace

std::wstring NomProductType(unsigned productType) {
  switch (productType) {
    case VER_NT_WORKSTATION: return L"VER_NT_WORKSTATION";
    case VER_NT_DOMAIN_CONTROLLER: return L"VER_NT_DOMAIN_CONTROLLER";
    case VER_NT_SERVER: return L"VER_NT_SERVER";
    default: return EnHexa8(productType);
  }
}

std::wstring NomProcesseurArchitecture(unsigned architecture) {
  switch (architecture) {
    case PROCESSOR_ARCHITECTURE_INTEL: return L"PROCESSOR_ARCHITECTURE_INTEL";
    case PROCESSOR_ARCHITECTURE_IA64: return L"PROCESSOR_ARCHITECTURE_IA64";
    case PROCESSOR_ARCHITECTURE_AMD64: return L"PROCESSOR_ARCHITECTURE_AMD64";
    default: return EnHexa8(architecture);
  }
}

void TypeInfoOS::Remplir() {
  *this = {};
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return;
#pragma GCC diagnostic pop
  Version = std::to_wstring(version.dwMajorVersion) + L"." + std::to_wstring(version.dwMinorVersion) + L"." +
            std::to_wstring(version.dwBuildNumber);
  ServicePack.assign(version.szCSDVersion, wcsnlen(version.szCSDVersion, LongueurMaxServicePack));
  ProductType = NomProductType(version.wProductType);
  SYSTEM_INFO systeme{};
  GetNativeSystemInfo(&systeme);
  ProcesseurArchitecture = NomProcesseurArchitecture(systeme.wProcessorArchitecture);
  InformationsComplementaires = RestrictionsApiWindows().InformationsComplementairesUserAgent;
}

TypeInfoOS TypeInfoOS::DuProcessus() {
  static const TypeInfoOS info = [] {
    TypeInfoOS i;
    i.Remplir();
    return i;
  }();
  return info;
}

std::wstring NomPosteReseau() {
  std::vector<unsigned char> tampon(TailleParametresReseau);
  ULONG taille = TailleParametresReseau;
  const DWORD code = GetNetworkParams(reinterpret_cast<FIXED_INFO*>(tampon.data()), &taille);
  if (code != ERROR_SUCCESS) throw ErreurSystemeCode(code, Msg::ParametresReseauInaccessibles, L"GetNetworkParams");
  const auto* info = reinterpret_cast<const FIXED_INFO*>(tampon.data());
  std::wstring nom = DepuisCodePage(info->HostName, CP_ACP);
  const std::wstring domaine = DepuisCodePage(info->DomainName, CP_ACP);
  if (!domaine.empty()) nom += L"." + domaine;
  return nom;
}

std::wstring ConstruireUserAgent(IInformationApplication& AInformationApplication, const TypeInfoOS& AInfoOS,
                                 const std::wstring& ANomPoste) {
  const std::wstring genre = AInformationApplication.GetCodeGenre();
  const auto precede = [](const wchar_t* prefixe, const std::wstring& texte) {
    return texte.empty() ? std::wstring() : prefixe + texte;
  };
  return Format(L"%0:s%1:s/%2:s (%3:s; %4:s; Windows %5:s%6:s; %7:s; %8:s%9:s%10:s)",
                {AInformationApplication.GetNom(), precede(L"_", genre),
                 VersionEnTexte(AInformationApplication.GetVersion()),
                 CodePlateformeCompilation(AInformationApplication.GetPlateforme()),
                 CodePaysDistribution(AInformationApplication.GetPaysDistribution()), AInfoOS.Version,
                 precede(L" ", AInfoOS.ServicePack), AInfoOS.ProductType, AInfoOS.ProcesseurArchitecture,
                 precede(L"; ", AInfoOS.InformationsComplementaires), precede(L"; ", ANomPoste)});
}

std::wstring ConstruireUserAgent(IInformationApplication& AInformationApplication, bool AAvecNomPoste) {
  return ConstruireUserAgent(AInformationApplication, TypeInfoOS::DuProcessus(),
                             AAvecNomPoste ? NomPosteReseau() : std::wstring());
}

}  // namespace norvel
