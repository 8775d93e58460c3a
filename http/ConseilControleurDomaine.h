#pragma once
// Advice added to errors about a client certificate's private key: on a machine whose domain
// controller is read-only, DPAPI cannot back up its master key and the key stays out of reach
// until the "ProtectionPolicy" registry value is set.
#include <windows.h>

#include <string>
#include <string_view>

namespace norvel {

// Where the advice learns whether the platform has no DPAPI master keys at all (under Wine),
// in which case the advice is never given. That knowledge belongs to the application frame's
// platform restrictions, above this library: the frame registers a function that reads it.
// Without one, the advice is looked for.
using TFonctionSansMasterkeyDPAPI = bool (*)();
void DefinirSourceSansMasterkeyDPAPI(TFonctionSansMasterkeyDPAPI source);
TFonctionSansMasterkeyDPAPI SourceSansMasterkeyDPAPI();

// "\r\n" and the advice naming the machine's read-only domain controller; empty when the
// platform has no master keys, when no controller is found or when it is writable.
std::wstring ConseilControleurDomaineLectureSeule();
std::wstring ConseilControleurDomaineLectureSeule(bool sansMasterkeyDPAPI);

// The advice for a controller as DsGetDcName describes it (its name and flags).
std::wstring ConseilPourControleurDomaine(std::wstring_view nomControleur, ULONG flags);

}  // namespace norvel
