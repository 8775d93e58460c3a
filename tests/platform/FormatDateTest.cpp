// The short date format is normalised to two-digit day and month and a four-digit year in the
// locale's order, shown with the locale's separator.
#include <gtest/gtest.h>

#include "platform/FormatDate.h"

using namespace norvel;

TEST(FormatDate, NormalisationSelonLOrdreDesLettres) {
  struct Cas {
    const wchar_t* format;
    const wchar_t* attendu;
  } cas[] = {
      {L"d.M.yyyy", L"dd/mm/yyyy"}, {L"yyyy-MM-dd", L"yyyy/mm/dd"}, {L"M/d/yy", L"mm/dd/yyyy"},
      {L"dd/MM/yyyy", L"dd/mm/yyyy"}, {L"d.M", L"mm/dd/yyyy"},      {L"M/d", L"mm/dd/yyyy"},
      {L"yy.d.M", L"mm/dd/yyyy"},   {L"", L"mm/dd/yyyy"},
  };
  for (const auto& c : cas) EXPECT_EQ(FormatDateNormalise(c.format), c.attendu) << c.format;
}

TEST(FormatDate, LaDateSAfficheAvecLeSeparateurDeLaLocale) {
  const std::wstring avant = FormatDateCourte();
  SetFormatDateCourte(FormatDateNormalise(L"d.M.yyyy"));
  SYSTEMTIME date{};
  date.wYear = 2024;
  date.wMonth = 3;
  date.wDay = 7;
  EXPECT_EQ(FormaterDateCourte(date, L"."), L"07.03.2024");
  SetFormatDateCourte(FormatDateNormalise(L"M/d/yy"));
  EXPECT_EQ(FormaterDateCourte(date, L"/"), L"03/07/2024");
  SetFormatDateCourte(avant);
}
