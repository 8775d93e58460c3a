#include "platform/LigneDeCommande.h"

#include <windows.h>

#include "platform/Executable.h"

namespace norvel {

namespace {

constexpr std::wstring_view FinParametres = L"--";

// End of the text and an embedded NUL both end the line, as for the system's own string.
wchar_t Car(std::wstring_view ligne, size_t i) { return i < ligne.size() ? ligne[i] : L'\0'; }

// Reads one parameter from position i; answers the empty string at the end of the text.
std::wstring LireParametre(std::wstring_view ligne, size_t& i) {
  for (;;) {
    while (Car(ligne, i) != L'\0' && Car(ligne, i) <= L' ') ++i;
    if (Car(ligne, i) == L'"' && Car(ligne, i + 1) == L'"')
      i += 2;
    else
      break;
  }
  std::wstring parametre;
  while (Car(ligne, i) > L' ') {
    if (Car(ligne, i) == L'"') {
      ++i;
      while (Car(ligne, i) != L'\0' && Car(ligne, i) != L'"') parametre += ligne[i++];
      if (Car(ligne, i) != L'\0') ++i;
    } else {
      parametre += ligne[i++];
    }
  }
  return parametre;
}

bool EstCommutateur(std::wstring_view parametre, std::wstring_view commutateur) {
  return parametre.size() == commutateur.size() + 1 && (parametre[0] == L'-' || parametre[0] == L'/') &&
         parametre.substr(1) == commutateur;
}

}  // namespace

std::vector<std::wstring> DecouperLigneDeCommande(std::wstring_view ligne) {
  std::vector<std::wstring> parametres;
  size_t i = 0;
  for (;;) {
    std::wstring parametre = LireParametre(ligne, i);
    if (parametre.empty()) return parametres;
    parametres.push_back(std::move(parametre));
  }
}

TParametresLigneDeCommande::TParametresLigneDeCommande(std::wstring_view ligne, std::wstring cheminExecutable)
    : FParametres(DecouperLigneDeCommande(ligne)) {
  if (FParametres.empty())
    FParametres.push_back(std::move(cheminExecutable));
  else
    FParametres[0] = std::move(cheminExecutable);
  FNombreEffectif = static_cast<int>(FParametres.size()) - 1;
  for (size_t p = 1; p < FParametres.size(); ++p)
    if (FParametres[p] == FinParametres) {
      FNombreEffectif = static_cast<int>(p) - 1;
      break;
    }
}

std::wstring TParametresLigneDeCommande::ParamStr(int position) const {
  if (position < 0 || position > FNombreEffectif) return {};
  return FParametres[position];
}

bool TParametresLigneDeCommande::IemeParametreEst(int position, std::wstring_view commutateur) const {
  return EstCommutateur(ParamStr(position), commutateur);
}

bool TParametresLigneDeCommande::ParametrePresent(std::wstring_view commutateur) const {
  for (int p = 0; p <= FNombreEffectif; ++p)
    if (IemeParametreEst(p, commutateur)) return true;
  return false;
}

bool TParametresLigneDeCommande::ValeurParam(std::wstring_view commutateur, std::wstring& valeur) const {
  for (int p = 0; p <= FNombreEffectif; ++p)
    if (IemeParametreEst(p, commutateur)) {
      valeur = ParamStr(p + 1);
      return true;
    }
  return false;
}

std::wstring TParametresLigneDeCommande::GetLigneDeCommandeEntiere(bool avecNomExe) const {
  std::wstring ligne;
  for (int p = avecNomExe ? 0 : 1; p <= FNombreEffectif; ++p) {
    if (!ligne.empty()) ligne += L' ';
    const std::wstring& parametre = FParametres[p];
    if (parametre.find(L' ') != std::wstring::npos)
      ligne += L'"' + parametre + L'"';
    else
      ligne += parametre;
  }
  return ligne;
}

std::vector<std::wstring> TParametresLigneDeCommande::ParamsDbg() const {
  const size_t fin = static_cast<size_t>(FNombreEffectif) + 1;
  if (fin >= FParametres.size()) return {};
  return {FParametres.begin() + fin + 1, FParametres.end()};
}

const TParametresLigneDeCommande& TLigneDeCommande::Processus() {
  static const TParametresLigneDeCommande parametres(GetCommandLineW(), CheminExecutable());
  return parametres;
}

int TLigneDeCommande::ParamCount() { return Processus().ParamCount(); }
std::wstring TLigneDeCommande::ParamStr(int position) { return Processus().ParamStr(position); }
bool TLigneDeCommande::IemeParametreEst(int position, std::wstring_view commutateur) {
  return Processus().IemeParametreEst(position, commutateur);
}
bool TLigneDeCommande::ParametrePresent(std::wstring_view commutateur) {
  return Processus().ParametrePresent(commutateur);
}
bool TLigneDeCommande::ValeurParam(std::wstring_view commutateur, std::wstring& valeur) {
  return Processus().ValeurParam(commutateur, valeur);
}
std::wstring TLigneDeCommande::GetLigneDeCommandeEntiere(bool avecNomExe) {
  return Processus().GetLigneDeCommandeEntiere(avecNomExe);
}
std::vector<std::wstring> TLigneDeCommande::ParamsDbg() { return Processus().ParamsDbg(); }

bool TLigneDeCommande::ParametreEstUneOption(std::wstring_view parametre) {
  return !parametre.empty() && (parametre[0] == L'/' || parametre[0] == L'-');
}

bool TLigneDeCommande::ParametreEstOptionAide(std::wstring_view parametre) {
  if (parametre.empty()) return false;
  if (parametre[0] == L'/') return parametre == L"/h" || parametre == L"/H" || parametre == L"/?";
  if (parametre[0] == L'-')
    return parametre == L"-h" || parametre == L"-help" || parametre == L"--help" || parametre == L"-?";
  return false;
}

bool TLigneDeCommande::AideDemandee(const std::vector<std::wstring>& parametres) {
  for (const auto& parametre : parametres)
    if (ParametreEstOptionAide(parametre)) return true;
  return false;
}

}  // namespace norvel
