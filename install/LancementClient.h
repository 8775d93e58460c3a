#pragma once
// The connection file that points the installed client at the school's server, opened through
// the shell: the program registered for ".ncprim" (the client) starts with it.
#include <cstdint>
#include <string>

namespace norvel {

inline constexpr const wchar_t* NomFichierConnexionCommun = L"NORVEL Primaire.ncprim";

// "Serveur=<school>:<host>:<port>:TestConnexion" for a server in service (the client tests its
// connection), else "...:ConfigurationSeulement" (it only records the configuration). Nothing
// is escaped; control characters are left out, so that the file stays one line.
std::wstring ContenuFichierConnexion(const std::wstring& ANomEcole, const std::wstring& ANomDomaine, uint16_t APort,
                                     bool AServeurEnService);

// Writes the connection file (a new temporary file's name with the extension ".ncprim"; UTF-8
// with its byte-order mark, one line without terminator) and answers its path.
std::wstring EcrireFichierConnexion(const std::wstring& AContenu);
// The same at a path of the caller's.
void EcrireFichierConnexionEn(const std::wstring& AChemin, const std::wstring& AContenu);

// Whether a program opens files of this extension (".ncprim") with the shell's "open".
bool ProgrammeAssocie(const wchar_t* AExtension);

// Writes the file and asks the shell to open it; does not wait for the client. Raises
// "Impossible de lancer le client NORVEL Primaire" when no program opens ".ncprim" files, and
// the system's error when the file cannot be written.
void ConfigurerEtLancerClient(const std::wstring& ANomEcole, const std::wstring& ANomDomaine, uint16_t APort,
                              bool AServeurEnService);

// Without a user session no client may start: the file, written in ADossier as
// "NORVEL Primaire.ncprim", only configures ("...:ConfigurationSeulement") and waits there for
// the first user who opens it. Answers its path.
std::wstring ConfigurerSansLancerClient(const std::wstring& ADossier, const std::wstring& ANomEcole,
                                        const std::wstring& ANomDomaine, uint16_t APort);

}  // namespace norvel
