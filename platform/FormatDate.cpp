#include "platform/FormatDate.h"

#include <cwchar>
#include <mutex>

#include "core/Chaines.h"
#include "core/Format.h"

namespace norvel {

namespace {

std::wstring InfoLocale(LCTYPE type, const wchar_t* defaut) {
  wchar_t tampon[80]{};
  return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, tampon, 80) > 0 ? tampon : defaut;
}

std::wstring FormatDeLaLocale() { return InfoLocale(LOCALE_SSHORTDATE, L"dd/MM/yyyy"); }

std::mutex GVerrou;
std::wstring& Courant() {
  static std::wstring format = FormatDeLaLocale();
  return format;
}

}  // namespace

std::wstring FormatDateCourte() {
  std::lock_guard verrou(GVerrou);
  return Courant();
}

void SetFormatDateCourte(std::wstring format) {
  std::lock_guard verrou(GVerrou);
  Courant() = std::move(format);
}

void RelireFormatDateCourte() { SetFormatDateCourte(FormatDeLaLocale()); }

std::wstring FormatDateNormalise(std::wstring_view format) {
  const std::wstring majuscules = EnMajuscules(format);
  // 1-based positions; a missing letter counts as 0, before all others.
  auto position = [&](wchar_t lettre) {
    const auto p = majuscules.find(lettre);
    return p == std::wstring::npos ? size_t{0} : p + 1;
  };
  const size_t d = position(L'D'), m = position(L'M'), y = position(L'Y');
  const wchar_t* modele = L"mm%sdd%syyyy";
  // Without a year the order of the locale cannot be told: the default order applies.
  if (y != 0 && y < m && m < d)
    modele = L"yyyy%smm%sdd";
  else if (y != 0 && d < m && m < y)
    modele = L"dd%smm%syyyy";
  return Format(modele, {L"/", L"/"});
}

std::wstring FormaterDateCourte(const SYSTEMTIME& date, std::wstring_view separateur) {
  const std::wstring sep = separateur.empty() ? InfoLocale(LOCALE_SDATE, L"/") : std::wstring(separateur);
  const std::wstring format = FormatDateCourte();
  std::wstring resultat;
  for (size_t i = 0; i < format.size();) {
    auto suite = [&](wchar_t lettre) {
      size_t n = 0;
      while (i + n < format.size() && towlower(format[i + n]) == lettre) ++n;
      return n;
    };
    wchar_t nombre[8];
    if (size_t n = suite(L'd')) {
      swprintf(nombre, 8, n >= 2 ? L"%02u" : L"%u", date.wDay);
      resultat += nombre;
      i += n;
    } else if (size_t n = suite(L'm')) {
      swprintf(nombre, 8, n >= 2 ? L"%02u" : L"%u", date.wMonth);
      resultat += nombre;
      i += n;
    } else if (size_t n = suite(L'y')) {
      swprintf(nombre, 8, n >= 4 ? L"%04u" : L"%02u", n >= 4 ? date.wYear : date.wYear % 100);
      resultat += nombre;
      i += n;
    } else {
      resultat += format[i] == L'/' ? sep : std::wstring(1, format[i]);
      ++i;
    }
  }
  return resultat;
}

}  // namespace norvel
