#include "core/Format.h"

#include <cwchar>
#include <vector>

#include "core/Exceptions.h"

namespace norvel {
namespace {

[[noreturn]] void FormatInvalide(std::wstring_view format) {
  throw EOvalis(L"Format invalide ou incompatible : " + std::wstring(format));
}

std::wstring Completer(std::wstring texte, int largeur, bool aGauche) {
  if (largeur > 0 && static_cast<int>(texte.size()) < largeur) {
    const std::wstring blancs(largeur - texte.size(), L' ');
    texte = aGauche ? texte + blancs : blancs + texte;
  }
  return texte;
}

std::wstring EntierEnTexte(int64_t valeur, wchar_t type, int precision) {
  wchar_t tampon[40];
  switch (type) {
    case L'd':
      swprintf(tampon, 40, L"%lld", static_cast<long long>(valeur));
      break;
    case L'u':
      swprintf(tampon, 40, L"%llu", static_cast<unsigned long long>(static_cast<uint32_t>(valeur)));
      break;
    default: {
      // Delphi writes negative 32-bit values in hexadecimal as their unsigned form.
      const uint64_t brut = (valeur < 0 && valeur >= INT32_MIN) ? static_cast<uint32_t>(valeur)
                                                                 : static_cast<uint64_t>(valeur);
      swprintf(tampon, 40, L"%llX", static_cast<unsigned long long>(brut));
      break;
    }
  }
  std::wstring texte = tampon;
  if (precision > 0) {
    const bool negatif = !texte.empty() && texte[0] == L'-';
    std::wstring chiffres = negatif ? texte.substr(1) : texte;
    if (static_cast<int>(chiffres.size()) < precision) chiffres.insert(0, precision - chiffres.size(), L'0');
    texte = negatif ? L"-" + chiffres : chiffres;
  }
  return texte;
}

}  // namespace

std::wstring Format(std::wstring_view format, std::initializer_list<TArgFormat> arguments) {
  const std::vector<const TArgFormat*> args = [&] {
    std::vector<const TArgFormat*> v;
    for (const auto& a : arguments) v.push_back(&a);
    return v;
  }();
  std::wstring resultat;
  size_t prochain = 0;
  size_t i = 0;
  const size_t n = format.size();
  while (i < n) {
    const wchar_t c = format[i];
    if (c != L'%') {
      resultat += c;
      ++i;
      continue;
    }
    ++i;
    if (i < n && format[i] == L'%') {
      resultat += L'%';
      ++i;
      continue;
    }
    // %[index:][-][width][.precision]type
    auto lireNombre = [&](int& valeur) {
      bool lu = false;
      valeur = 0;
      while (i < n && format[i] >= L'0' && format[i] <= L'9') {
        valeur = valeur * 10 + (format[i] - L'0');
        ++i;
        lu = true;
      }
      return lu;
    };
    int nombre = 0;
    const size_t debut = i;
    if (lireNombre(nombre) && i < n && format[i] == L':') {
      prochain = static_cast<size_t>(nombre);
      ++i;
    } else {
      i = debut;
    }
    bool aGauche = false;
    if (i < n && format[i] == L'-') {
      aGauche = true;
      ++i;
    }
    int largeur = 0;
    lireNombre(largeur);
    int precision = -1;
    if (i < n && format[i] == L'.') {
      ++i;
      if (!lireNombre(precision)) FormatInvalide(format);
    }
    if (i >= n) FormatInvalide(format);
    const wchar_t type = static_cast<wchar_t>(towlower(format[i]));
    ++i;
    if (prochain >= args.size()) FormatInvalide(format);
    const TArgFormat& arg = *args[prochain++];
    std::wstring morceau;
    switch (type) {
      case L's':
        if (!arg.EstTexte()) FormatInvalide(format);
        morceau = precision >= 0 ? arg.Texte().substr(0, precision) : arg.Texte();
        break;
      case L'd':
      case L'u':
      case L'x':
        if (arg.EstTexte()) FormatInvalide(format);
        morceau = EntierEnTexte(arg.Entier(), type, precision);
        break;
      default:
        FormatInvalide(format);
    }
    resultat += Completer(std::move(morceau), largeur, aGauche);
  }
  return resultat;
}

}  // namespace norvel
