#include "core/Com.h"

#include "core/ErreurSysteme.h"
#include "core/Messages.h"

namespace norvel {

void VerifierHResult(HRESULT resultat, std::wstring_view nomAppel) {
  if (FAILED(resultat)) throw ErreurSystemeCode(static_cast<DWORD>(resultat), Msg::ErreurInterne, nomAppel);
}

TInitialisationCom::TInitialisationCom(DWORD mode) { FAEquilibrer = SUCCEEDED(CoInitializeEx(nullptr, mode)); }

TInitialisationCom::~TInitialisationCom() {
  if (FAEquilibrer) CoUninitialize();
}

}  // namespace norvel
