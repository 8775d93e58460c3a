#include "platform/Chemins.h"

#include <windows.h>

#include <vector>

namespace norvel {

namespace {

bool PorteSaPropreRacine(std::wstring_view nom) {
  const bool lecteur = nom.size() >= 2 && nom[1] == L':' &&
                       ((nom[0] >= L'A' && nom[0] <= L'Z') || (nom[0] >= L'a' && nom[0] <= L'z'));
  const bool partage = nom.size() >= 2 && nom[0] == L'\\' && nom[1] == L'\\';
  return lecteur || partage;
}

size_t FinDossier(std::wstring_view chemin) {
  const size_t pos = chemin.find_last_of(L"\\/:");
  return pos == std::wstring_view::npos ? 0 : pos + 1;
}

}  // namespace

std::wstring TPath::Expand(std::wstring_view APath) {
  const std::wstring chemin(APath);
  if (chemin.empty()) return chemin;
  std::vector<wchar_t> tampon(MAX_PATH);
  for (;;) {
    const DWORD n = GetFullPathNameW(chemin.c_str(), static_cast<DWORD>(tampon.size()), tampon.data(), nullptr);
    if (n == 0) return chemin;
    if (n < tampon.size()) return std::wstring(tampon.data(), n);
    tampon.resize(n + 1);
  }
}

std::wstring TPath::Make(std::wstring_view ADirectory, std::wstring_view AFileName, bool AExpand) {
  std::wstring resultat;
  if (ADirectory.empty() || PorteSaPropreRacine(AFileName))
    resultat = AFileName;
  else
    resultat = AvecBarreFinale(ADirectory) + std::wstring(AFileName);
  return AExpand ? Expand(resultat) : resultat;
}

std::wstring AvecBarreFinale(std::wstring_view chemin) {
  std::wstring resultat(chemin);
  if (resultat.empty() || resultat.back() != L'\\') resultat += L'\\';
  return resultat;
}

std::wstring SansBarreFinale(std::wstring_view chemin) {
  std::wstring resultat(chemin);
  while (!resultat.empty() && resultat.back() == L'\\') resultat.pop_back();
  return resultat;
}

std::wstring DossierDe(std::wstring_view chemin) { return SansBarreFinale(chemin.substr(0, FinDossier(chemin))); }

std::wstring NomDe(std::wstring_view chemin) { return std::wstring(chemin.substr(FinDossier(chemin))); }

std::wstring ExtensionDe(std::wstring_view chemin) {
  const std::wstring nom = NomDe(chemin);
  const size_t point = nom.rfind(L'.');
  return point == std::wstring::npos ? std::wstring() : nom.substr(point);
}

std::wstring ChangerExtension(std::wstring_view chemin, std::wstring_view extension) {
  const size_t longueurExtension = ExtensionDe(chemin).size();
  return std::wstring(chemin.substr(0, chemin.size() - longueurExtension)) + std::wstring(extension);
}

bool FichierExiste(const std::wstring& chemin) {
  const DWORD attributs = GetFileAttributesW(chemin.c_str());
  return attributs != INVALID_FILE_ATTRIBUTES && !(attributs & FILE_ATTRIBUTE_DIRECTORY);
}

bool DossierExiste(const std::wstring& chemin) {
  const DWORD attributs = GetFileAttributesW(SansBarreFinale(chemin).c_str());
  return attributs != INVALID_FILE_ATTRIBUTES && (attributs & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreerDossierEtParents(const std::wstring& dossier) {
  const std::wstring chemin = SansBarreFinale(dossier);
  if (chemin.empty()) return false;
  if (DossierExiste(chemin)) return true;
  const std::wstring parent = DossierDe(chemin);
  // A drive root ("C:") or a share root cannot be created: stop there.
  if (!parent.empty() && parent != chemin && !(parent.size() == 2 && parent[1] == L':')) CreerDossierEtParents(parent);
  CreateDirectoryW(chemin.c_str(), nullptr);
  return DossierExiste(chemin);
}

}  // namespace norvel
