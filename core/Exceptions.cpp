#include "core/Exceptions.h"

#include "core/Chaines.h"
#include "core/Messages.h"

namespace norvel {

EOvalis::EOvalis(std::wstring message) : FMessage(std::move(message)), FMessageUtf8(VersUtf8(FMessage)) {}

void EOvalis::ChangerMessage(std::wstring message) {
  FMessage = std::move(message);
  FMessageUtf8 = VersUtf8(FMessage);
}

EAnnulation::EAnnulation() : EOvalis(Msg::OperationAnnulee) {}

std::wstring MessageDe(const std::exception& e) {
  if (const auto* ov = dynamic_cast<const EOvalis*>(&e)) return ov->Message();
  return DepuisUtf8(e.what());
}

}  // namespace norvel
