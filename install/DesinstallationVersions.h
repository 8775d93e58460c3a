#pragma once
// Removal of the client versions already installed, before the new one: every version of the
// product catalogue whose installer identifier is in the list of installed programs (either
// root, the first one that holds it) is removed silently by its own uninstall command.
#include <functional>
#include <optional>
#include <string>

#include "platform/Registre.h"
#include "install/LancementExecutable.h"

namespace norvel {

// What every uninstall command gets after one space: no window, and the uninstaller waits for
// the copy of itself that does the work.
inline constexpr const wchar_t* OptionsDesinstallation = L"-clone_wait -hide_progress -hide_splash";

// The two roots of the list of installed programs under HKEY_LOCAL_MACHINE, in the order they
// are searched (the second is where 32-bit programs register on 64-bit Windows).
inline constexpr const wchar_t* RacinesDesinstallation[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
    L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
};

// The uninstall command of an installed version ("UninstallString", then the options), from the
// first root that holds its identifier; none when neither does. ARegistre has read rights on
// HKEY_LOCAL_MACHINE. A value that is not text raises.
std::optional<std::wstring> CommandeDesinstallation(TOvRegistry& ARegistre, const std::wstring& AIdentifiant);

// Runs one uninstall command line to its end, with OVALIS_IS_UNINSTALL=1 among the sequencer's
// variables (the later programs of the sequencer get it too). Raises "Erreur code=<code> "<error
// output>"" unless the program ended with 0 or 3010 (success, restart needed) and wrote nothing
// to its error output, the launcher's error when it cannot be started, and the delay's when it
// runs longer than ADureeMax milliseconds (it is then stopped).
void DesinstallerVersion(TSequenceurLancementExecutable& ASequenceur, const std::wstring& AParametres,
                         int64_t ADureeMax = DureeMaxProgramme);

// Removes, in catalogue order, every version installed under the school's kind of identifier
// (simulation or ordinary). ADebut gets the display name of each version before its removal.
// The first failure raises and stops the removals: the new client never joins an old one that
// is still there. An unreadable catalogue or registry value raises too.
void DesinstallerAnciennesVersions(bool ASimulation, TOvRegistry& ARegistre, TSequenceurLancementExecutable& ASequenceur,
                                   const std::function<void(const std::wstring& ANomAffichage)>& ADebut);

}  // namespace norvel
