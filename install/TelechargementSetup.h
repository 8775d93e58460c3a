#pragma once
// Download of the client's setup program into the user's temporary folder: written to disk as
// it arrives, resumed after a cut, with its progress, stopped at once when asked.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "http/InterruptionRequete.h"
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

// Bytes in the file so far, and the whole size (0 while unknown). Called on the downloading
// thread, a few times a second at most, and once more when the file is complete.
using TProgressionTelechargement = std::function<void(uint64_t ARecus, uint64_t ATotal)>;

struct TypeOptionsTelechargement {
  TProgressionTelechargement Progression;
  // A stop asked through it ends the download (cancellation exception) within moments.
  TInterruptionRequete* Interruption = nullptr;
  // The pauses before each new attempt after a cut, in milliseconds: as many attempts as
  // pauses. Growing, so that a link that comes back after a while still gets its chance.
  std::vector<DWORD> PausesReprise = {1000, 3000, 9000};
};

// Downloads AUrl (its path alone: the query is not sent) through ASession, the calling thread
// waiting without a window, into AFichier, replacing any file there. A cut or stalled transfer
// is resumed where it stopped (Range guarded by If-Range); a server that ignores the range or
// whose file changed sends it again whole. Raises the transport error (after the last attempt),
// "Erreur HTTP <status> : <text>" for a status other than 2xx, "TypeMime de <name> invalide :
// <type>" when the type is not exactly application/octet-stream, "Espace disque insuffisant
// ..." when the announced size does not fit, the system's error when the file cannot be
// written, the cancellation exception when stopped. After a failure no file is left.
void TelechargerFichier(TSessionClientsHttp& ASession, const std::wstring& AUrl, const std::wstring& AFichier,
                        const TypeOptionsTelechargement& AOptions = {});

}  // namespace norvel
