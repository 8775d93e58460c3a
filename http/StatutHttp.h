#pragma once
// The class of an HTTP status, as the first digit of its three says: what callers that accept
// any success (or any redirection) test, instead of looking at the status's characters.
#include <cstdint>
#include <string_view>

namespace norvel {

enum class TypeClasseStatutHttp : uint8_t { Invalide, Information, Succes, Redirection, ErreurClient, ErreurServeur };

// "1xx" to "5xx"; Invalide for anything else (no status, not three digits).
TypeClasseStatutHttp ClasseStatutHttp(std::wstring_view AStatut);

}  // namespace norvel
