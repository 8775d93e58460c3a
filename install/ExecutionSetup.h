#pragma once
// The silent run of the downloaded client setup, once its signature names the maker.
#include <string>

#include "install/LancementExecutable.h"

namespace norvel {

// Whether a failure of InstallerClient is the refusal of the setup's signature.
bool EstRefusSignature(const std::wstring& AMessage);

// What every setup run gets after its quoted path: no window, no splash screen.
inline constexpr const wchar_t* OptionsSetup = L"-hide_progress -hide_splash";

// A new log file for the setup in the user's temporary folder ("tmp" prefix), holding only the
// UTF-16 little-endian byte-order mark: the setup writes its lines after it.
std::wstring CreerJournalSetup();

// Checks the setup's signature, then runs it silently to its end with the variables that tell
// it who drives it (OVALIS_IS_AGENT, _CONTEXTEOUTILINSTALLEUR, _RACCOURCI, _FICHIERLOG and,
// when ACheminInstallation is not empty, _PATHEXE; they stay among the sequencer's variables).
// The file is held (no write, rename or delete) from the check until its process has started,
// so that what runs is what was verified. The setup's exit code and outputs are not examined.
// Raises "Erreur de la vérification de la signature : ..." for a refused file, the errors of the
// log file and of the start, and the delay's when it runs longer than ADureeMax milliseconds.
// Answers the setup's exit code (3010: a restart is needed).
DWORD InstallerClient(TSequenceurLancementExecutable& ASequenceur, const std::wstring& AFichier,
                      const std::wstring& ACheminInstallation, int64_t ADureeMax = DureeMaxProgramme);

}  // namespace norvel
