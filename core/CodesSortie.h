#pragma once
// The program's exit codes, the one table of them. Deployment tools (Group Policy scripts,
// Intune, Configuration Manager) read 0 and 1707 as success, 3010 and 1641 as a restart to come
// and 1618 as "another installation is running, retry later"; every other code is a failure.
// So each failing stage has its own code of ours, far from Windows' installer codes, and only
// the codes those tools know keep the meaning they give them.
#include <cstdint>

#include "core/Messages.h"

namespace norvel {

enum class TypeCodeSortie : uint32_t {
  Succes = 0,
  // The client's setup asked for a restart: passed on as the setup gave it.
  RedemarrageNecessaire = 3010,
  // Another run of the assistant, or some Windows Installer setup, is in progress.
  InstallationEnCours = 1618,
  Annulation = 1602,
  // Windows Installer's own "fatal error": the program could not even start its run.
  EchecInitialisation = 1603,
  // Windows Installer's "invalid command line argument".
  ArgumentsInvalides = 1639,
  EchecAccesInternet = 20001,
  AuthentificationProxyManquante = 20002,
  EchecRechercheEcole = 20003,
  EchecRaccourci = 20004,
  EchecDesinstallation = 20005,
  EchecTelechargement = 20006,
  EchecSignature = 20007,
  EchecSetup = 20008,
  EchecLancement = 20009,
};

struct TypeDescriptionCodeSortie {
  TypeCodeSortie Code;
  const wchar_t* Texte;  // what the journal and the help say of it
};

inline constexpr TypeDescriptionCodeSortie CodesSortie[] = {
    {TypeCodeSortie::Succes, Msg::CodeSortieSucces},
    {TypeCodeSortie::RedemarrageNecessaire, Msg::CodeSortieRedemarrage},
    {TypeCodeSortie::InstallationEnCours, Msg::CodeSortieInstallationEnCours},
    {TypeCodeSortie::Annulation, Msg::CodeSortieAnnulation},
    {TypeCodeSortie::EchecInitialisation, Msg::CodeSortieEchecInitialisation},
    {TypeCodeSortie::ArgumentsInvalides, Msg::CodeSortieArguments},
    {TypeCodeSortie::EchecAccesInternet, Msg::CodeSortieAccesInternet},
    {TypeCodeSortie::AuthentificationProxyManquante, Msg::CodeSortieAuthentificationProxy},
    {TypeCodeSortie::EchecRechercheEcole, Msg::CodeSortieRechercheEcole},
    {TypeCodeSortie::EchecRaccourci, Msg::CodeSortieRaccourci},
    {TypeCodeSortie::EchecDesinstallation, Msg::CodeSortieDesinstallation},
    {TypeCodeSortie::EchecTelechargement, Msg::CodeSortieTelechargement},
    {TypeCodeSortie::EchecSignature, Msg::CodeSortieSignature},
    {TypeCodeSortie::EchecSetup, Msg::CodeSortieSetup},
    {TypeCodeSortie::EchecLancement, Msg::CodeSortieLancement},
};

constexpr const wchar_t* TexteCodeSortie(TypeCodeSortie code) {
  for (const auto& description : CodesSortie)
    if (description.Code == code) return description.Texte;
  return L"";
}

constexpr uint32_t ValeurCodeSortie(TypeCodeSortie code) { return static_cast<uint32_t>(code); }

}  // namespace norvel
