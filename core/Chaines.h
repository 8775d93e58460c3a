#pragma once
// Small text helpers shared by every subsystem: UTF-8 at the edges, UTF-16 inside.
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

std::string VersUtf8(std::wstring_view texte);
std::wstring DepuisUtf8(std::string_view texte);
// Text in a given Windows code page (for example a console's OEM page) to UTF-16, and back
// (CP_ACP: the system's ANSI page; characters it lacks become its default character).
std::wstring DepuisCodePage(std::string_view texte, unsigned codePage);
std::string VersCodePage(std::wstring_view texte, unsigned codePage);

std::wstring Trim(std::wstring_view texte);
// The same part of the text, without a copy (for texts that must leave no copy behind).
std::wstring_view TrimVue(std::wstring_view texte);
// Without the control characters (codes below 32 and 127), tab, CR and LF included: for values
// that are one line, which files of lines or of XML would otherwise take apart.
std::wstring SansCaracteresDeControle(std::wstring_view texte);
std::wstring EnMinuscules(std::wstring_view texte);
std::wstring EnMajuscules(std::wstring_view texte);

// The user locale's case-insensitive comparison (<0, 0, >0), as the system's lstrcmpiW.
int ComparerTexteSansCasse(std::wstring_view a, std::wstring_view b);
bool MemeTexteSansCasse(std::wstring_view a, std::wstring_view b);

bool CommencePar(std::wstring_view texte, std::wstring_view debut);
bool FinitPar(std::wstring_view texte, std::wstring_view fin);
std::vector<std::wstring> Decouper(std::wstring_view texte, wchar_t separateur);

}  // namespace norvel
