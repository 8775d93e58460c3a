#pragma once
// Folder overrides that an administrator can impose on the machine-wide base folders.
#include <map>
#include <string>
#include <vector>

#include "core/GuidsServices.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

struct ISurchargeRepertoiresWindows : IUnknown {
  // False (and no change) when the name is already there.
  virtual bool AjouterSurcharge(const std::wstring& ANom, const std::wstring& AValeur) = 0;
  virtual std::vector<std::wstring> GetNomsSurcharges() = 0;
  // Raises "Elément introuvable" for a name that is absent.
  virtual std::wstring GetSurcharge(const std::wstring& ANom) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ISurchargeRepertoiresWindows, 0xFF8041E9, 0x5993, 0x4B71, 0x9F, 0x0B, 0x00, 0x12, 0xAA, 0xB8,
            0x71, 0xB3)
static_assert(norvel::MemesGuid(__uuidof(norvel::ISurchargeRepertoiresWindows),
                                norvel::IID_ISurchargeRepertoiresWindows));

namespace norvel {

// The in-memory overrides, written to the registry by the special folders at start-up.
class TSurchargeRepertoireWindows : public TImplemente<TObjetInterfacable, ISurchargeRepertoiresWindows> {
 public:
  bool AjouterSurcharge(const std::wstring& ANom, const std::wstring& AValeur) override;
  std::vector<std::wstring> GetNomsSurcharges() override;
  std::wstring GetSurcharge(const std::wstring& ANom) override;

 private:
  std::map<std::wstring, std::wstring> FSurcharges;  // names compared exactly
};

}  // namespace norvel
