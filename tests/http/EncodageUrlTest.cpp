#include <gtest/gtest.h>

#include "core/Chaines.h"
#include "http/EncodageUrl.h"

using namespace norvel;

TEST(EncodageUrl, SeulesLesLettresChiffresEtNonReservesRestent) {
  struct Cas {
    const wchar_t* texte;
    const wchar_t* attendu;
  };
  const Cas cas[] = {
      {L"0750001A", L"0750001A"},
      {L"AL2022-2023_v1.0~b", L"AL2022-2023_v1.0~b"},
      {L"", L""},
      // What would otherwise change the resource or the query.
      {L"VH/../admin", L"VH%2F..%2Fadmin"},
      {L"VH?plateforme=Win32", L"VH%3Fplateforme%3DWin32"},
      {L"VH#x", L"VH%23x"},
      {L"VH 2022", L"VH%202022"},
      {L"a&b+c%d", L"a%26b%2Bc%25d"},
      {L"a\\b", L"a%5Cb"},
      // UTF-8 bytes, upper-case digits.
      {L"École", L"%C3%89cole"},
      {L"\U0001F600", L"%F0%9F%98%80"},
  };
  for (const auto& c : cas) EXPECT_EQ(EncoderPourUrl(c.texte), c.attendu) << VersUtf8(c.texte);
}
