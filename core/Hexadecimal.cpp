#include "core/Hexadecimal.h"

namespace norvel {
namespace {

int ValeurChiffre(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

}  // namespace

std::wstring EnHexadecimal(const uint8_t* octets, size_t nombre) {
  static constexpr wchar_t Chiffres[] = L"0123456789ABCDEF";
  std::wstring texte(nombre * 2, L'0');
  for (size_t i = 0; i < nombre; ++i) {
    texte[2 * i] = Chiffres[octets[i] >> 4];
    texte[2 * i + 1] = Chiffres[octets[i] & 0x0F];
  }
  return texte;
}

std::optional<std::vector<uint8_t>> DepuisHexadecimal(std::wstring_view texte) {
  if (texte.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> octets(texte.size() / 2);
  for (size_t i = 0; i < octets.size(); ++i) {
    const int fort = ValeurChiffre(texte[2 * i]);
    const int faible = ValeurChiffre(texte[2 * i + 1]);
    if (fort < 0 || faible < 0) return std::nullopt;
    octets[i] = static_cast<uint8_t>(fort << 4 | faible);
  }
  return octets;
}

}  // namespace norvel
