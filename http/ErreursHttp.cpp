#include "http/ErreursHttp.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

EOvalis ErreurStatutHttp(std::wstring_view statut, std::wstring_view texteStatut) {
  return EOvalis(Format(Msg::ErreurHttp, {statut, texteStatut}));
}

EOvalis ErreurSquidSansHttp11(std::wstring_view versionSquid, std::wstring_view entetes) {
  return EOvalis(Format(Msg::SquidSansHttp11, {versionSquid, entetes}));
}

EOvalis ErreurProxySansHttp11(std::wstring_view entetes) {
  return EOvalis(Format(Msg::ProxySansHttp11, {entetes}));
}

}  // namespace norvel
