#pragma once
// Download of the client's setup program into the user's temporary folder.
#include <string>
#include <string_view>

#include "http/SessionClientsHttp.h"

namespace norvel {

// The user's temporary folder, in its long form, with its trailing separator.
std::wstring DossierTemporaireUtilisateur();

// The local name of a download when the URL's own is not a plain file name.
inline constexpr const wchar_t* NomSetupParDefaut = L"SetupClientNorvelPrimaire.exe";

// The local name of a download: what follows the URL's last "/" (or "\"), its query and
// fragment left out (a "?" cannot be in a Windows file name, and the query is not sent). A name
// that would not be a plain file of the folder (empty, a ":" that opens an alternate stream, a
// device such as "NUL" or "COM1", other characters Windows refuses) gives NomSetupParDefaut.
std::wstring NomFichierTelechargement(std::wstring_view AUrl);

// Downloads AUrl (its path alone: the query is not sent) through ASession, the calling thread
// waiting without a window, and writes the body to AFichier, replacing any file there. Raises
// the transport error, "Erreur HTTP <status> : <text>" for a status other than 2xx, "TypeMime
// de <name> invalide : <type>" when the type is not exactly application/octet-stream, and the
// system's error when the file cannot be written (the file is then left empty).
void TelechargerFichier(TSessionClientsHttp& ASession, const std::wstring& AUrl, const std::wstring& AFichier);

}  // namespace norvel
