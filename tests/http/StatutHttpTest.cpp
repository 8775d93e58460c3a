// The class of a status as WinHTTP gives it: three digits, the first one says the class;
// anything else is no status at all.
#include <gtest/gtest.h>

#include "http/StatutHttp.h"

using namespace norvel;

TEST(StatutHttp, LaClasseSuitLePremierDesTroisChiffres) {
  using C = TypeClasseStatutHttp;
  const struct {
    const wchar_t* statut;
    C classe;
  } cas[] = {
      {L"100", C::Information}, {L"200", C::Succes},       {L"204", C::Succes},        {L"206", C::Succes},
      {L"299", C::Succes},      {L"301", C::Redirection},  {L"404", C::ErreurClient},  {L"407", C::ErreurClient},
      {L"500", C::ErreurServeur}, {L"", C::Invalide},      {L"20", C::Invalide},       {L"2000", C::Invalide},
      {L"2x0", C::Invalide},    {L"600", C::Invalide},     {L"020", C::Invalide},      {L" 200", C::Invalide},
  };
  for (const auto& c : cas) EXPECT_EQ(ClasseStatutHttp(c.statut), c.classe) << testing::PrintToString(std::wstring(c.statut));
}
