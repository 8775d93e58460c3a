#pragma once
// Message formatting with the Delphi-style specifiers our message texts use:
// "%s", "%d", "%u", "%x", with an optional argument index ("%1:s"), left alignment ("-"),
// width and precision ("0x%0:.8x" gives eight hexadecimal digits). "%%" is a literal "%".
// After an indexed specifier, the next plain one takes the following argument.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace norvel {

class TArgFormat {
 public:
  TArgFormat(std::wstring_view texte) : FValeur(std::wstring(texte)) {}
  TArgFormat(const std::wstring& texte) : FValeur(texte) {}
  TArgFormat(const wchar_t* texte) : FValeur(std::wstring(texte ? texte : L"")) {}
  TArgFormat(int valeur) : FValeur(static_cast<int64_t>(valeur)) {}
  TArgFormat(long valeur) : FValeur(static_cast<int64_t>(valeur)) {}
  TArgFormat(long long valeur) : FValeur(static_cast<int64_t>(valeur)) {}
  TArgFormat(unsigned valeur) : FValeur(static_cast<int64_t>(valeur)) {}
  TArgFormat(unsigned long valeur) : FValeur(static_cast<int64_t>(valeur)) {}
  TArgFormat(unsigned long long valeur) : FValeur(static_cast<int64_t>(valeur)) {}

  bool EstTexte() const { return std::holds_alternative<std::wstring>(FValeur); }
  const std::wstring& Texte() const { return std::get<std::wstring>(FValeur); }
  int64_t Entier() const { return std::get<int64_t>(FValeur); }

 private:
  std::variant<std::wstring, int64_t> FValeur;
};

// Raises EOvalis on a malformed format or a missing/mistyped argument: a wrong message
// must be noticed, never printed half-way.
std::wstring Format(std::wstring_view format, std::initializer_list<TArgFormat> arguments);

}  // namespace norvel
