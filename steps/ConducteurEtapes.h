#pragma once
// The one who drives the steps answers their questions and sees every change: the window with
// its dialogs, or a run without a window that answers from what it was given.
#include <cstddef>
#include <optional>
#include <string>

#include "http/InfoHttp.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "steps/EtatEtapes.h"

namespace norvel {

struct IConducteurEtapes {
  virtual ~IConducteurEtapes() = default;
  // After every change, on the user-interface thread.
  virtual void EtatModifie(const TypeEtatEtapes& AEtat) = 0;
  // The position of the proposal to apply; none when the user declines.
  virtual std::optional<size_t> ChoisirConfiguration(const TypeTabPropositionsModifConfigClientsHttp& APropositions) = 0;
  // Credentials for a proxy that asks for them (the scheme is left to the caller); none when
  // refused. Called on the thread whose request needs them.
  virtual std::optional<TypeInfoAuthHttp> DemanderInfoAuthProxy(const std::wstring& AProxy) = 0;
};

}  // namespace norvel
