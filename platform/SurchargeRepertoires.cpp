#include "platform/SurchargeRepertoires.h"

#include "core/Exceptions.h"
#include "core/Messages.h"

namespace norvel {

bool TSurchargeRepertoireWindows::AjouterSurcharge(const std::wstring& ANom, const std::wstring& AValeur) {
  return FSurcharges.emplace(ANom, AValeur).second;
}

std::vector<std::wstring> TSurchargeRepertoireWindows::GetNomsSurcharges() {
  std::vector<std::wstring> noms;
  for (const auto& [nom, valeur] : FSurcharges) noms.push_back(nom);
  return noms;
}

std::wstring TSurchargeRepertoireWindows::GetSurcharge(const std::wstring& ANom) {
  const auto it = FSurcharges.find(ANom);
  if (it == FSurcharges.end()) throw EOvalis(Msg::ElementIntrouvable);
  return it->second;
}

}  // namespace norvel
