#include "core/Chaines.h"

#include <windows.h>

#include <cwctype>

namespace norvel {

std::string VersCodePage(std::wstring_view texte, unsigned codePage) {
  if (texte.empty()) return {};
  const int taille = WideCharToMultiByte(codePage, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string resultat(taille, '\0');
  WideCharToMultiByte(codePage, 0, texte.data(), static_cast<int>(texte.size()), resultat.data(), taille, nullptr,
                      nullptr);
  return resultat;
}

std::string VersUtf8(std::wstring_view texte) { return VersCodePage(texte, CP_UTF8); }

std::wstring DepuisCodePage(std::string_view texte, unsigned codePage) {
  if (texte.empty()) return {};
  const int taille = MultiByteToWideChar(codePage, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0);
  std::wstring resultat(taille, L'\0');
  MultiByteToWideChar(codePage, 0, texte.data(), static_cast<int>(texte.size()), resultat.data(), taille);
  return resultat;
}

std::wstring DepuisUtf8(std::string_view texte) { return DepuisCodePage(texte, CP_UTF8); }

std::wstring_view TrimVue(std::wstring_view texte) {
  size_t debut = 0;
  size_t fin = texte.size();
  while (debut < fin && texte[debut] <= L' ') ++debut;
  while (fin > debut && texte[fin - 1] <= L' ') --fin;
  return texte.substr(debut, fin - debut);
}

std::wstring Trim(std::wstring_view texte) { return std::wstring(TrimVue(texte)); }

std::wstring SansCaracteresDeControle(std::wstring_view texte) {
  std::wstring resultat;
  resultat.reserve(texte.size());
  for (const wchar_t c : texte)
    if (c >= L' ' && c != 0x7F) resultat += c;
  return resultat;
}

namespace {
std::wstring Convertir(std::wstring_view texte, DWORD option) {
  std::wstring resultat(texte);
  if (!resultat.empty())
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, option, resultat.data(), static_cast<int>(resultat.size()),
                  resultat.data(), static_cast<int>(resultat.size()), nullptr, nullptr, 0);
  return resultat;
}
}  // namespace

std::wstring EnMinuscules(std::wstring_view texte) { return Convertir(texte, LCMAP_LOWERCASE); }
std::wstring EnMajuscules(std::wstring_view texte) { return Convertir(texte, LCMAP_UPPERCASE); }

int ComparerTexteSansCasse(std::wstring_view a, std::wstring_view b) {
  const int r = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                b.data(), static_cast<int>(b.size()), nullptr, nullptr, 0);
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

bool MemeTexteSansCasse(std::wstring_view a, std::wstring_view b) { return ComparerTexteSansCasse(a, b) == 0; }

bool CommencePar(std::wstring_view texte, std::wstring_view debut) {
  return texte.size() >= debut.size() && texte.substr(0, debut.size()) == debut;
}

bool FinitPar(std::wstring_view texte, std::wstring_view fin) {
  return texte.size() >= fin.size() && texte.substr(texte.size() - fin.size()) == fin;
}

std::vector<std::wstring> Decouper(std::wstring_view texte, wchar_t separateur) {
  std::vector<std::wstring> morceaux;
  size_t debut = 0;
  for (;;) {
    const size_t pos = texte.find(separateur, debut);
    morceaux.emplace_back(texte.substr(debut, pos == std::wstring_view::npos ? std::wstring_view::npos : pos - debut));
    if (pos == std::wstring_view::npos) break;
    debut = pos + 1;
  }
  return morceaux;
}

}  // namespace norvel
