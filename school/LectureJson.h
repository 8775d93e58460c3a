#pragma once
// The web service's JSON answers read the one way the lookup needs: an object whose members
// are taken as text by exact name, then converted where the record wants a number or a flag.
#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>

namespace norvel {

// Parses UTF-8 JSON that must be an object: a syntax error raises the parser's own
// explanation, any other value "Transtypage de classe incorrect".
nlohmann::json LireObjetJson(const std::string& AJsonUtf8);

// A member's value as text: a string's text, a number as written in decimal, "true" or
// "false" (null reads as empty). A missing member raises "Il manque le champ <nom> dans le json".
std::wstring TexteMembreJson(const nlohmann::json& AObjet, const char* ANom);

// Decimal, or hexadecimal after "$" or "0x", optionally signed, within 32 bits; otherwise
// "'<texte>' n'est pas une valeur entière correcte".
int32_t EntierDepuisTexte(const std::wstring& ATexte);
// A number (0 is false, anything else true) or true / false in any letter case; otherwise
// "'<texte>' n'est pas une valeur booléenne".
bool BooleenDepuisTexte(const std::wstring& ATexte);

}  // namespace norvel
