#pragma once
// Every text the program shows or raises, spelled exactly as the program must show it.
// Grouped by the subsystem that uses it. Formats use the specifiers of core/Format.h.

namespace norvel::Msg {

// ---- Shared: failures of the operating system, cancellation
inline constexpr const wchar_t* ErreurInterne = L"Erreur interne (%2:s, 0x%0:.8x) : %1:s";
inline constexpr const wchar_t* OperationAnnulee = L"Opération annulée";

// ---- Service registry, interfaced objects, finalisation
inline constexpr const wchar_t* DoubleDestruction = L"Erreur interne : double destruction d'un objet de classe %s.";
inline constexpr const wchar_t* DestructionObjetReference =
    L"Erreur interne : tentative de destruction d'un objet de classe %s référencé comme interface.";

// ---- Application information, versions, command line
inline constexpr const wchar_t* NumerosVersionInvalides = L"Numéros de version invalides.";
inline constexpr const wchar_t* LectureVersionFichierImpossible =
    L"Impossible de lire les informations de version du fichier %s\r\n%s (%d)";

// ---- Results, errors and serialisable exceptions

// ---- Obfuscated credentials

// ---- HTTP error reporting

// ---- Application frame at run time: start-up, waits, threads, simple messages
inline constexpr const wchar_t* AucunMessage = L"Aucun message";
inline constexpr const wchar_t* EchecCreationEvenement =
    L"Échec de la création d'un événement de synchronisation (CreateEvent, 0x%0:.8x) : %1:s";

// ---- Special folders, parameter files, internal menu

// ---- HTTP engine, URLs, configuration model

// ---- HTTP configuration file, thread, tests, discovery, search, dialogs

// ---- School lookup

// ---- Installation

// ---- Wizard

}  // namespace norvel::Msg
