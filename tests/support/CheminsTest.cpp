#include "support/CheminsTest.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/Chaines.h"

namespace norvel::test {

std::wstring CheminWindowsDepuisLinux(std::string_view cheminLinux) {
  if (cheminLinux.empty() || cheminLinux[0] != '/')
    throw std::runtime_error("chemin Linux absolu attendu : " + std::string(cheminLinux));
  std::wstring chemin = L"Z:" + DepuisUtf8(cheminLinux);
  for (auto& c : chemin)
    if (c == L'/') c = L'\\';
  while (chemin.size() > 3 && chemin.back() == L'\\') chemin.pop_back();
  return chemin;
}

std::wstring CheminLinuxDepuisWindows(std::wstring_view cheminWindows) {
  if (cheminWindows.size() < 3 || (cheminWindows.substr(0, 3) != L"Z:\\" && cheminWindows.substr(0, 3) != L"z:\\"))
    throw std::runtime_error("chemin sur Z: attendu : " + VersUtf8(cheminWindows));
  std::wstring chemin(cheminWindows.substr(2));
  for (auto& c : chemin)
    if (c == L'\\') c = L'/';
  return chemin;
}

namespace {

// A Linux folder that CTest gives in the environment, seen from Windows.
std::wstring DossierDeCTest(const wchar_t* variable) {
  wchar_t tampon[4096];
  const DWORD longueur = GetEnvironmentVariableW(variable, tampon, std::size(tampon));
  if (longueur == 0 || longueur >= std::size(tampon))
    throw std::runtime_error(VersUtf8(variable) + " n'est pas défini : lancer les tests par scripts/test ou ctest");
  return CheminWindowsDepuisLinux(VersUtf8({tampon, longueur}));
}

}  // namespace

std::wstring DossierBuild() { return DossierDeCTest(L"NORVEL_BUILD_DIR"); }

std::wstring FichierBuild(std::wstring_view nom) { return DossierBuild() + L"\\" + std::wstring(nom); }

std::wstring FichierSource(std::wstring_view nom) {
  return DossierDeCTest(L"NORVEL_SOURCE_DIR") + L"\\" + std::wstring(nom);
}

TDossierTemporaire::TDossierTemporaire() {
  static std::atomic<unsigned> compteur{0};
  FChemin = std::filesystem::temp_directory_path() /
            (L"norvel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++compteur));
  std::filesystem::remove_all(FChemin);
  std::filesystem::create_directories(FChemin);
}

TDossierTemporaire::~TDossierTemporaire() {
  std::error_code ignore;
  std::filesystem::remove_all(FChemin, ignore);
}

std::string LireOctets(const std::filesystem::path& fichier) {
  std::ifstream flux(fichier, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(flux), std::istreambuf_iterator<char>());
}

void EcrireOctets(const std::filesystem::path& fichier, std::string_view octets) {
  std::ofstream flux(fichier, std::ios::binary | std::ios::trunc);
  flux.write(octets.data(), static_cast<std::streamsize>(octets.size()));
  if (!flux) throw std::runtime_error("cannot write " + fichier.string());
}

}  // namespace norvel::test
