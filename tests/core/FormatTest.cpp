#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/Format.h"

using namespace norvel;

TEST(Format, SpecifiersOfTheMessages) {
  struct Cas {
    const wchar_t* format;
    std::wstring attendu;
    std::wstring obtenu;
  };
  const Cas cas[] = {
      {L"%s", L"abc", Format(L"%s", {L"abc"})},
      {L"%d", L"-42", Format(L"%d", {-42})},
      {L"Erreur interne", L"Erreur interne (CreateEvent, 0x00000005) : Accès refusé",
       Format(L"Erreur interne (%2:s, 0x%0:.8x) : %1:s", {5u, L"Accès refusé", L"CreateEvent"})},
      {L"%.8x", L"00002EFD", Format(L"%.8x", {12029})},
      {L"%2:s then next", L"c a", Format(L"%2:s %0:s", {L"a", L"b", L"c"})},
      {L"index then plain", L"b c", Format(L"%1:s %s", {L"a", L"b", L"c"})},
      {L"%%", L"100 %", Format(L"%d %%", {100})},
      {L"width", L"   7|7  ", Format(L"%4d|%-3d", {7, 7})},
      {L"negative hex", L"FFFFFFFF", Format(L"%x", {-1})},
      {L"%u", L"4294967295", Format(L"%u", {0xFFFFFFFFu})},
  };
  for (const auto& c : cas) EXPECT_EQ(c.attendu, c.obtenu) << c.format;
}

TEST(Format, MalformedOrMismatchedRaises) {
  EXPECT_THROW(Format(L"%s %s", {L"seul"}), EOvalis);
  EXPECT_THROW(Format(L"%d", {L"texte"}), EOvalis);
  EXPECT_THROW(Format(L"%s", {3}), EOvalis);
  EXPECT_THROW(Format(L"fin %", {}), EOvalis);
}
