#include "http/EncodageUrl.h"

#include "core/Chaines.h"

namespace norvel {

std::wstring EncoderPourUrl(std::wstring_view texte) {
  static constexpr wchar_t Hexa[] = L"0123456789ABCDEF";
  std::wstring resultat;
  resultat.reserve(texte.size());
  for (const char octet : VersUtf8(texte)) {
    const auto c = static_cast<unsigned char>(octet);
    const bool nonReserve = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                            c == '.' || c == '_' || c == '~';
    if (nonReserve) {
      resultat += static_cast<wchar_t>(c);
    } else {
      resultat += L'%';
      resultat += Hexa[c >> 4];
      resultat += Hexa[c & 0xF];
    }
  }
  return resultat;
}

}  // namespace norvel
