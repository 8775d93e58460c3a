#include "http/StatutHttp.h"

namespace norvel {

TypeClasseStatutHttp ClasseStatutHttp(std::wstring_view AStatut) {
  if (AStatut.size() != 3) return TypeClasseStatutHttp::Invalide;
  for (wchar_t c : AStatut)
    if (c < L'0' || c > L'9') return TypeClasseStatutHttp::Invalide;
  switch (AStatut[0]) {
    case L'1': return TypeClasseStatutHttp::Information;
    case L'2': return TypeClasseStatutHttp::Succes;
    case L'3': return TypeClasseStatutHttp::Redirection;
    case L'4': return TypeClasseStatutHttp::ErreurClient;
    case L'5': return TypeClasseStatutHttp::ErreurServeur;
    default: return TypeClasseStatutHttp::Invalide;
  }
}

}  // namespace norvel
