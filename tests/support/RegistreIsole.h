#pragma once
// Redirects one root key of this test process (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER) to a
// private, empty key for the life of the object: code under test reads and writes its values
// for real, without touching the machine's own keys nor racing other test programs that run at
// the same time. Several may be stacked; they must end in the reverse order.
#include <windows.h>

#include <optional>
#include <string>

namespace norvel::test {

class TRegistreIsole {
 public:
  explicit TRegistreIsole(HKEY racine);
  TRegistreIsole(const TRegistreIsole&) = delete;
  TRegistreIsole& operator=(const TRegistreIsole&) = delete;
  ~TRegistreIsole();

  // A string value under the redirected root (64-bit view), creating the key.
  void EcrireChaine(const std::wstring& cle, const std::wstring& nom, const std::wstring& valeur);
  std::optional<std::wstring> LireChaine(const std::wstring& cle, const std::wstring& nom);
  void SupprimerValeur(const std::wstring& cle, const std::wstring& nom);

 private:
  HKEY FRacine;
  std::wstring FChemin;  // under the real HKEY_CURRENT_USER
  HKEY FCle = nullptr;
};

}  // namespace norvel::test
