#include "school/LectureJson.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <regex>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

nlohmann::json LireObjetJson(const std::string& AJsonUtf8) {
  nlohmann::json valeur;
  try {
    valeur = nlohmann::json::parse(AJsonUtf8);
  } catch (const nlohmann::json::exception& e) {
    throw EOvalis(DepuisUtf8(e.what()));
  }
  if (!valeur.is_object()) throw EOvalis(Msg::TranstypageIncorrect);
  return valeur;
}

std::wstring TexteMembreJson(const nlohmann::json& AObjet, const char* ANom) {
  const auto membre = AObjet.find(ANom);
  if (membre == AObjet.end()) throw EOvalis(Format(Msg::ChampManquantJson, {DepuisUtf8(ANom)}));
  switch (membre->type()) {
    case nlohmann::json::value_t::string:
      return DepuisUtf8(membre->get_ref<const std::string&>());
    case nlohmann::json::value_t::null:
      return {};
    default:
      // Numbers in decimal, true / false, and any structured value as JSON text.
      return DepuisUtf8(membre->dump());
  }
}

int32_t EntierDepuisTexte(const std::wstring& ATexte) {
  const auto incorrect = [&] { return EOvalis(Format(Msg::ValeurEntiereIncorrecte, {ATexte})); };
  std::wstring_view reste = ATexte;
  bool negatif = false;
  if (!reste.empty() && (reste[0] == L'-' || reste[0] == L'+')) {
    negatif = reste[0] == L'-';
    reste.remove_prefix(1);
  }
  int base = 10;
  if (reste.starts_with(L"$")) {
    base = 16;
    reste.remove_prefix(1);
  } else if (reste.starts_with(L"0x") || reste.starts_with(L"0X")) {
    base = 16;
    reste.remove_prefix(2);
  }
  if (reste.empty()) throw incorrect();
  int64_t valeur = 0;
  for (const wchar_t c : reste) {
    int chiffre;
    if (c >= L'0' && c <= L'9')
      chiffre = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f')
      chiffre = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F')
      chiffre = c - L'A' + 10;
    else
      throw incorrect();
    valeur = valeur * base + chiffre;
    if (valeur > int64_t{INT32_MAX} + 1) throw incorrect();
  }
  if (negatif) valeur = -valeur;
  if (valeur > INT32_MAX) throw incorrect();
  return static_cast<int32_t>(valeur);
}

bool BooleenDepuisTexte(const std::wstring& ATexte) {
  static const std::wregex Nombre(LR"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)");
  if (std::regex_match(ATexte, Nombre)) return std::wcstod(ATexte.c_str(), nullptr) != 0;
  if (MemeTexteSansCasse(ATexte, L"true")) return true;
  if (MemeTexteSansCasse(ATexte, L"false")) return false;
  throw EOvalis(Format(Msg::ValeurBooleenneIncorrecte, {ATexte}));
}

}  // namespace norvel
