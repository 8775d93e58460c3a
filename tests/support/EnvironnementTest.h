#pragma once
// A variable of the test program's own environment, set for one scope: the programs a test
// starts inherit it, and whatever was there before comes back at the end.
#include <string>

namespace norvel::test {

class TVariableEnvironnement {
 public:
  // nullptr removes the variable for the scope.
  TVariableEnvironnement(std::wstring nom, const wchar_t* valeur);
  TVariableEnvironnement(std::wstring nom, const std::wstring& valeur)
      : TVariableEnvironnement(std::move(nom), valeur.c_str()) {}
  ~TVariableEnvironnement();
  TVariableEnvironnement(const TVariableEnvironnement&) = delete;
  TVariableEnvironnement& operator=(const TVariableEnvironnement&) = delete;

 private:
  std::wstring FNom;
  std::wstring FAncienne;
  bool FExistait = false;
};

}  // namespace norvel::test
