#pragma once
// The test mode's school lookup: built-in sample schools instead of the web service, so that
// the maker's staff can drive every branch of an installation (server in service or not,
// another port, a server host that does not exist, a setup that cannot be downloaded) for two
// client millesimes. The identifier is read as two independent parts: a millesime marker
// ("2022", else "2023") anywhere in it, and a school prefix at its start (letter case counts).
#include "school/InfosHebNP.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

class TMockApiRecuperationInfosHebNP : public TImplemente<TObjetInterfacable, IApiRecuperationInfosHebNP> {
 public:
  // The platform code is ignored.
  void RecupererInfosHeb(const std::wstring& AIdentifiant, const std::wstring& APlateforme,
                         TypeInfosHebNP& AInfos) override;
};

}  // namespace norvel
