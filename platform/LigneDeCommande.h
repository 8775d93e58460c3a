#pragma once
// The program's command line. Parameter 0 is the executable's full path; a parameter "--" ends
// the program's own parameters, and what follows it is kept apart for debugging.
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

// Splits a command line text as the program reads it: blanks and control characters separate
// parameters, a double quote opens a stretch (spaces included) that runs to the next one, quotes
// are dropped, a "" standing at the start of a parameter is skipped. Splitting stops at the
// first empty parameter.
std::vector<std::wstring> DecouperLigneDeCommande(std::wstring_view ligne);

// One command line, split: the class-level operations of TLigneDeCommande apply to the process's
// own; tests and callers with another text build one of these.
class TParametresLigneDeCommande {
 public:
  // ligne: the whole command line text, program name first (replaced by cheminExecutable).
  TParametresLigneDeCommande(std::wstring_view ligne, std::wstring cheminExecutable);

  // Parameters before the first "--", not counting the executable.
  int ParamCount() const { return FNombreEffectif; }
  // Empty beyond the effective count.
  std::wstring ParamStr(int position) const;
  bool IemeParametreEst(int position, std::wstring_view commutateur) const;
  bool ParametrePresent(std::wstring_view commutateur) const;
  // First occurrence wins; valeur is left unchanged when the switch is absent.
  bool ValeurParam(std::wstring_view commutateur, std::wstring& valeur) const;
  std::wstring GetLigneDeCommandeEntiere(bool avecNomExe) const;
  std::vector<std::wstring> ParamsDbg() const;

 private:
  std::vector<std::wstring> FParametres;  // [0] is the executable
  int FNombreEffectif = 0;
};

// Class-level operations on the process's own command line.
class TLigneDeCommande {
 public:
  TLigneDeCommande() = delete;

  static int ParamCount();
  static std::wstring ParamStr(int position);
  static bool IemeParametreEst(int position, std::wstring_view commutateur);
  static bool ParametrePresent(std::wstring_view commutateur);
  static bool ValeurParam(std::wstring_view commutateur, std::wstring& valeur);
  static std::wstring GetLigneDeCommandeEntiere(bool avecNomExe);
  static std::vector<std::wstring> ParamsDbg();

  static bool ParametreEstUneOption(std::wstring_view parametre);
  static bool ParametreEstOptionAide(std::wstring_view parametre);
  static bool AideDemandee(const std::vector<std::wstring>& parametres);

  // The split command line of this process, built once.
  static const TParametresLigneDeCommande& Processus();
};

}  // namespace norvel
