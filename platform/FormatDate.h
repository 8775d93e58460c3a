#pragma once
// The process's short date format. The program always shows dates with a two-digit day and
// month and a four-digit year, in the order of the user's locale; "/" in the format stands for
// the locale's date separator.
#include <windows.h>

#include <string>
#include <string_view>

namespace norvel {

// The current short date format: the user locale's until it is replaced.
std::wstring FormatDateCourte();
void SetFormatDateCourte(std::wstring format);
// The user locale's format again, after the user changed the regional settings.
void RelireFormatDateCourte();

// "yyyy/mm/dd", "dd/mm/yyyy" or "mm/dd/yyyy" following the order of the letters of `format`.
std::wstring FormatDateNormalise(std::wstring_view format);

// A date in the current short date format ("dd", "mm", "yyyy"; "/" becomes `separateur`, the
// locale's separator when none is given).
std::wstring FormaterDateCourte(const SYSTEMTIME& date, std::wstring_view separateur = {});

}  // namespace norvel
