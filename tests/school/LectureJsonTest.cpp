// Members read as text, then converted: the port as an integer, the two flags as booleans,
// with the exact messages the user sees when the service sends something else.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <optional>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "school/LectureJson.h"

using namespace norvel;

namespace {

template <class F>
std::wstring MessageErreur(F&& f) {
  try {
    f();
  } catch (const EOvalis& e) {
    return e.Message();
  }
  return L"(aucune erreur)";
}

}  // namespace

TEST(LectureJson, MembresEnTexte) {
  const auto objet = LireObjetJson(
      R"({"chaine":"Allée","entier":21300,"negatif":-3,"reel":1.5,"vrai":true,"faux":false,"nul":null,)"
      R"("tableau":[1,"a"],"Casse":"x"})");
  EXPECT_EQ(TexteMembreJson(objet, "chaine"), L"Allée");
  EXPECT_EQ(TexteMembreJson(objet, "entier"), L"21300");
  EXPECT_EQ(TexteMembreJson(objet, "negatif"), L"-3");
  EXPECT_EQ(TexteMembreJson(objet, "reel"), L"1.5");
  EXPECT_EQ(TexteMembreJson(objet, "vrai"), L"true");
  EXPECT_EQ(TexteMembreJson(objet, "faux"), L"false");
  EXPECT_EQ(TexteMembreJson(objet, "nul"), L"");
  EXPECT_EQ(TexteMembreJson(objet, "tableau"), L"[1,\"a\"]");
  // Names are exact.
  EXPECT_EQ(MessageErreur([&] { TexteMembreJson(objet, "casse"); }), L"Il manque le champ casse dans le json");
}

TEST(LectureJson, SeulUnObjetEstAccepte) {
  for (const char* valeur : {"[]", "\"texte\"", "12", "true", "null"})
    EXPECT_EQ(MessageErreur([&] { LireObjetJson(valeur); }), L"Transtypage de classe incorrect") << valeur;
  // A syntax error keeps the parser's own explanation.
  for (const char* texte : {"", "{\"a\":", "{a:1}", "<html></html>"}) {
    const std::wstring message = MessageErreur([&] { LireObjetJson(texte); });
    EXPECT_NE(message, L"(aucune erreur)") << texte;
    EXPECT_NE(message, L"Transtypage de classe incorrect") << texte;
  }
}

TEST(LectureJson, Entiers) {
  struct Cas {
    const wchar_t* texte;
    std::optional<int32_t> attendu;
  };
  const Cas cas[] = {
      {L"21300", 21300},   {L"0x5334", 21300},    {L"0X5334", 21300},      {L"$5334", 21300},
      {L"$ffff", 65535},   {L"-1", -1},           {L"+7", 7},              {L"2147483647", INT32_MAX},
      {L"-2147483648", INT32_MIN},                {L"abc", std::nullopt},  {L"", std::nullopt},
      {L"0x", std::nullopt},                      {L"$", std::nullopt},    {L"21 300", std::nullopt},
      {L" 21300", std::nullopt},                  {L"21300.0", std::nullopt},
      {L"2147483648", std::nullopt},              {L"12a", std::nullopt},  {L"0x1G", std::nullopt},
  };
  for (const auto& c : cas) {
    if (c.attendu)
      EXPECT_EQ(EntierDepuisTexte(c.texte), *c.attendu) << VersUtf8(c.texte);
    else
      EXPECT_EQ(MessageErreur([&] { EntierDepuisTexte(c.texte); }),
                L"'" + std::wstring(c.texte) + L"' n'est pas une valeur entière correcte");
  }
}

TEST(LectureJson, Booleens) {
  struct Cas {
    const wchar_t* texte;
    std::optional<bool> attendu;
  };
  const Cas cas[] = {
      {L"true", true},   {L"True", true},   {L"TRUE", true},          {L"1", true},          {L"-2", true},
      {L"0.5", true},    {L"1e3", true},    {L"false", false},        {L"False", false},     {L"0", false},
      {L"0.0", false},   {L"-0", false},    {L"oui", std::nullopt},   {L"", std::nullopt},   {L"vrai", std::nullopt},
      {L"1a", std::nullopt},                {L" true", std::nullopt}, {L"truex", std::nullopt},
  };
  for (const auto& c : cas) {
    if (c.attendu)
      EXPECT_EQ(BooleenDepuisTexte(c.texte), *c.attendu) << VersUtf8(c.texte);
    else
      EXPECT_EQ(MessageErreur([&] { BooleenDepuisTexte(c.texte); }),
                L"'" + std::wstring(c.texte) + L"' n'est pas une valeur booléenne");
  }
}
