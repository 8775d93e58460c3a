#pragma once
// The switches of a deployment, read from the command line as the program reads its switches
// ("-" or "/", exact case): -RNE <identifiant>, -AccepterConditions, -Silencieux, -Passif,
// -Journal <fichier>, and the help.
#include <string>

#include "core/Exceptions.h"
#include "platform/LigneDeCommande.h"

namespace norvel {

enum class TypeModeDeploiement {
  Fenetre,     // the wizard, as a person uses it
  Passif,      // a small progress window, no question
  Silencieux,  // no window at all
};

struct TypeOptionsDeploiement {
  bool Aide = false;
  std::wstring Rne;  // empty: not given
  bool AccepterConditions = false;
  TypeModeDeploiement Mode = TypeModeDeploiement::Fenetre;
  std::wstring Journal;  // empty: the assistant's own folder
  std::wstring CheminInstallation;

  bool SansAssistance() const { return Mode != TypeModeDeploiement::Fenetre; }
};

// A command line that cannot be run, with the French explanation.
class EArgumentsDeploiement : public EOvalis {
 public:
  using EOvalis::EOvalis;
};

// Raises EArgumentsDeploiement for a missing or bad value, an unknown switch, contradicting
// modes, and an unattended run without the school or without the terms accepted. The help
// switch wins over everything else.
TypeOptionsDeploiement LireOptionsDeploiement(const TParametresLigneDeCommande& AParametres);

// The help text: every switch, then every exit code. ADossierJournaux: where journals go by
// default.
std::wstring TexteAideDeploiement(const std::wstring& ADossierJournaux);

}  // namespace norvel
