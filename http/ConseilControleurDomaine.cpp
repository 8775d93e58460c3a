#include "http/ConseilControleurDomaine.h"

#include <dsgetdc.h>
#include <lm.h>

#include <atomic>
#include <memory>

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {
namespace {

// The publisher's download of the registry file that sets "ProtectionPolicy".
constexpr const wchar_t* LienProtectionPolicy =
    L"<a href=\"https://www.ovalis.fr/telechargements/ProtectionPolicy.zip\">ProtectionPolicy.zip</a>";

constexpr ULONG DsBackgroundOnly = 0x100;  // DS_BACKGROUND_ONLY: never wait for a network search
constexpr ULONG DsWritableFlag = 0x100;    // DS_WRITABLE_FLAG in the controller's flags

std::atomic<TFonctionSansMasterkeyDPAPI> GSourceSansMasterkeyDPAPI{nullptr};

struct TLibererInfoControleur {
  void operator()(DOMAIN_CONTROLLER_INFOW* info) const { NetApiBufferFree(info); }
};

}  // namespace

void DefinirSourceSansMasterkeyDPAPI(TFonctionSansMasterkeyDPAPI source) { GSourceSansMasterkeyDPAPI = source; }

TFonctionSansMasterkeyDPAPI SourceSansMasterkeyDPAPI() { return GSourceSansMasterkeyDPAPI; }

std::wstring ConseilPourControleurDomaine(std::wstring_view nomControleur, ULONG flags) {
  if (flags & DsWritableFlag) return {};
  return L"\r\n" + Format(Msg::ControleurDomaineLectureSeule, {nomControleur}) + LienProtectionPolicy;
}

std::wstring ConseilControleurDomaineLectureSeule(bool sansMasterkeyDPAPI) {
  if (sansMasterkeyDPAPI) return {};
  DOMAIN_CONTROLLER_INFOW* brut = nullptr;
  if (DsGetDcNameW(nullptr, nullptr, nullptr, nullptr, DsBackgroundOnly, &brut) != ERROR_SUCCESS || !brut)
    return {};
  const std::unique_ptr<DOMAIN_CONTROLLER_INFOW, TLibererInfoControleur> info(brut);
  return ConseilPourControleurDomaine(info->DomainControllerName ? info->DomainControllerName : L"", info->Flags);
}

std::wstring ConseilControleurDomaineLectureSeule() {
  const TFonctionSansMasterkeyDPAPI source = GSourceSansMasterkeyDPAPI;
  return ConseilControleurDomaineLectureSeule(source != nullptr && source());
}

}  // namespace norvel
