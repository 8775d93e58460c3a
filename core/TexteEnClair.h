#pragma once
// Credentials in clear live only for the one use that needs them: their memory is wiped before
// it goes back to the heap or the stack, where a memory dump would find them.
#include <windows.h>

#include <string>
#include <utility>

namespace norvel {

// Wipes a string's or a byte array's memory, including what a shorter value left behind it.
template <class TConteneur>
void EffacerMemoire(TConteneur& conteneur) {
  if constexpr (requires { conteneur.capacity(); conteneur.resize(0); }) conteneur.resize(conteneur.capacity());
  if (!conteneur.empty()) SecureZeroMemory(conteneur.data(), conteneur.size() * sizeof(conteneur[0]));
}

// Wipes the container when it goes out of scope.
template <class TConteneur>
struct TEffaceur {
  TConteneur& Conteneur;
  ~TEffaceur() { EffacerMemoire(Conteneur); }
};
template <class TConteneur>
TEffaceur(TConteneur&) -> TEffaceur<TConteneur>;

// A clear text wiped at its end.
struct TTexteEnClair {
  TTexteEnClair() = default;
  explicit TTexteEnClair(std::wstring texte) : Texte(std::move(texte)) {}
  TTexteEnClair(const TTexteEnClair&) = delete;
  TTexteEnClair& operator=(const TTexteEnClair&) = delete;
  ~TTexteEnClair() { EffacerMemoire(Texte); }
  const wchar_t* c_str() const { return Texte.c_str(); }

  std::wstring Texte;
};

}  // namespace norvel
