#pragma once
// File operations for files that several processes share: whole replacement on write,
// reading with a few attempts while another process holds the file, modification dates.
#include <cstdint>
#include <string>
#include <string_view>

namespace norvel {

// Writes the content to a temporary file in the same folder, flushes it, then puts it in
// place of the file in one step: whoever reads the file, and a crash at any moment, sees
// either the old content or the new one, never a truncated file. Writers of the same file
// must be serialised by their caller; a temporary file that a dead writer left is removed.
// Failures raise the generic system error; the old file is then untouched.
void EcrireFichierParRemplacement(const std::wstring& chemin, std::string_view contenu);

// Reads a whole file opened for reading with read sharing only; while the opening fails
// (another process writes it), tries again every 100 ms, up to `tentatives` attempts, then
// raises the last error.
std::string LireFichierPartage(const std::wstring& chemin, int tentatives = 5);

// Last-write time of a file in 100 ns units; 0 when it is missing or cannot be read.
uint64_t DateModificationFichier(const std::wstring& chemin);

}  // namespace norvel
