#pragma once
// Paths the tests need: the build folder (NORVEL_BUILD_DIR, a Linux path) seen from Windows
// through Wine's Z: drive, and temporary folders that clean up after themselves.
#include <filesystem>
#include <string>
#include <string_view>

namespace norvel::test {

// "/a/b" becomes "Z:\a\b": Wine maps the Linux root on drive Z:.
std::wstring CheminWindowsDepuisLinux(std::string_view cheminLinux);
// And back, for a path on Z: (a Linux program is told where a file of the build lies).
std::wstring CheminLinuxDepuisWindows(std::wstring_view cheminWindows);

// The build folder as a Windows path; raises when NORVEL_BUILD_DIR is missing (the test fails
// loudly rather than look elsewhere).
std::wstring DossierBuild();
// A file of the build folder ("InstalleurNorvelPrimaire.exe", "tests\\tests_app.exe").
std::wstring FichierBuild(std::wstring_view nom);
// A file of the source tree (NORVEL_SOURCE_DIR), the same way.
std::wstring FichierSource(std::wstring_view nom);

// A fresh folder under the temporary folder, removed with its content at the end.
class TDossierTemporaire {
 public:
  TDossierTemporaire();
  ~TDossierTemporaire();
  TDossierTemporaire(const TDossierTemporaire&) = delete;
  TDossierTemporaire& operator=(const TDossierTemporaire&) = delete;

  const std::filesystem::path& Chemin() const { return FChemin; }
  std::wstring Fichier(std::wstring_view nom) const { return (FChemin / nom).wstring(); }

 private:
  std::filesystem::path FChemin;
};

// Whole files as bytes, for fixtures and checks ("" when the file cannot be read).
std::string LireOctets(const std::filesystem::path& fichier);
void EcrireOctets(const std::filesystem::path& fichier, std::string_view octets);

}  // namespace norvel::test
