#pragma once
// Path operations shared by the special folders and the parameter files.
#include <string>
#include <string_view>

namespace norvel {

struct TPath {
  // ADirectory followed by AFileName, unless ADirectory is empty or AFileName brings its own
  // drive (or share), which then replaces everything. With AExpand the result is a full,
  // normalised path ("." and ".." resolved, relative paths made absolute against the current folder).
  static std::wstring Make(std::wstring_view ADirectory, std::wstring_view AFileName, bool AExpand);
  // A full, normalised path; the text unchanged when the system cannot expand it.
  static std::wstring Expand(std::wstring_view APath);
};

std::wstring AvecBarreFinale(std::wstring_view chemin);
std::wstring SansBarreFinale(std::wstring_view chemin);
// The folder part of a path, without its trailing backslash ("" when there is none).
std::wstring DossierDe(std::wstring_view chemin);
// The name part of a path (after its last backslash or colon).
std::wstring NomDe(std::wstring_view chemin);
// The extension of the name part, with its dot ("" when the name has none).
std::wstring ExtensionDe(std::wstring_view chemin);
std::wstring ChangerExtension(std::wstring_view chemin, std::wstring_view extension);

bool FichierExiste(const std::wstring& chemin);
bool DossierExiste(const std::wstring& chemin);
// Creates the folder with every missing parent; true when it exists afterwards.
bool CreerDossierEtParents(const std::wstring& dossier);

}  // namespace norvel
