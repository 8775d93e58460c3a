#pragma once
// An optional execution context (a server, a planning, an installation) in which a program of
// the product family runs. The assistant never has one; the special folders accept it.
#include <string>

#include "core/GuidsServices.h"
#include "core/Interface.h"

namespace norvel {

enum TypeGenreContexteExecution : int {
  gceServeur = 0,
  gcePlanning = 1,
  gceInstallation = 2,
  gceAutre = 3,
};

struct IContexteExecution : IUnknown {
  virtual std::wstring GetNomContexte() = 0;
  virtual TypeGenreContexteExecution GetGenreContexte() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IContexteExecution, 0xE6DCE300, 0x4977, 0x43EE, 0xB6, 0x7C, 0x2F, 0xAC, 0x5A, 0x35, 0x4A, 0xB8)
static_assert(norvel::MemesGuid(__uuidof(norvel::IContexteExecution), norvel::IID_IContexteExecution));
