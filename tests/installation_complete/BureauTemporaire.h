#pragma once
// Values of this user's real registry for the life of an object, for the code under test in
// this process or in another one (the assistant): the desktop folder among them.
#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "core/Chaines.h"
#include "install/BureauEssai.h"

namespace norvel::test {

// A string value of this user's real registry for the life of the object (the assistant, another
// process, reads it), given back byte for byte at the end, type included.
class TValeurRegistreTemporaire {
 public:
  TValeurRegistreTemporaire(std::wstring cle, std::wstring nom, const std::wstring& valeur)
      : FCle(std::move(cle)), FNom(std::move(nom)) {
    DWORD taille = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, FCle.c_str(), FNom.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &FType, nullptr, &taille) ==
        ERROR_SUCCESS) {
      FAncienne.emplace(taille, '\0');
      if (RegGetValueW(HKEY_CURRENT_USER, FCle.c_str(), FNom.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &FType,
                       FAncienne->data(), &taille) != ERROR_SUCCESS)
        throw std::runtime_error("RegGetValue " + VersUtf8(FCle));
      FAncienne->resize(taille);
    }
    if (RegSetKeyValueW(HKEY_CURRENT_USER, FCle.c_str(), FNom.c_str(), REG_SZ, valeur.c_str(),
                        static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
      throw std::runtime_error("RegSetKeyValue " + VersUtf8(FCle));
  }
  ~TValeurRegistreTemporaire() {
    if (FAncienne) {
      RegSetKeyValueW(HKEY_CURRENT_USER, FCle.c_str(), FNom.c_str(), FType, FAncienne->data(),
                      static_cast<DWORD>(FAncienne->size()));
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, FCle.c_str(), FNom.c_str());
    }
  }
  TValeurRegistreTemporaire(const TValeurRegistreTemporaire&) = delete;
  TValeurRegistreTemporaire& operator=(const TValeurRegistreTemporaire&) = delete;

 private:
  std::wstring FCle, FNom;
  DWORD FType = REG_NONE;
  std::optional<std::string> FAncienne;
};

// The desktop where shortcuts land. Wine's shell writes the desktop it derives from the user's
// folder settings back over the resolved one: both name the folder given.
class TBureauTemporaire {
 public:
  explicit TBureauTemporaire(const std::wstring& bureau)
      : FResolu(CleDossiersShell, L"Desktop", bureau),
        FUtilisateur(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", L"Desktop", bureau) {}

 private:
  TValeurRegistreTemporaire FResolu, FUtilisateur;
};

}  // namespace norvel::test
