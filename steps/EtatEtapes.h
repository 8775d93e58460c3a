#pragma once
// What the seven steps show at one moment: everything the window draws from, and everything a
// run without a window reports. A plain value, compared whole.
#include <cstdint>
#include <optional>
#include <string>

#include "school/InfosHebNP.h"

namespace norvel {

// Where the assistant stands, in the order it gets there.
enum class TypePhaseEtapes : uint8_t {
  TestAcces,          // step 1 runs
  ArretEtape1,        // no working configuration, or the choice declined: only closing is left
  SaisieIdentifiant,  // step 2 waits for a school
  EcoleAffichee,      // step 3 asks for the school's confirmation
  Conditions,         // step 4 waits for the terms to be accepted
  Installation,       // steps 5 to 7 run
  Terminee,           // the last step has ended, well or not
};

enum class TypeImageLaterale : uint8_t { Configuration, Ecole, Installation };
// The button that Enter presses when no push button has the focus.
enum class TypeBoutonParDefaut : uint8_t { Aucun, ValidationIdentifiant, ValidationEcole };
// Where the focus goes when the flow moves on.
enum class TypeFocusEtapes : uint8_t { Aucun, Identifiant, Conditions, Fermer };

struct TypeEtatEtapes {
  TypePhaseEtapes Phase = TypePhaseEtapes::TestAcces;

  // Step 1: the message under it is red but for the configuration applied.
  bool PatienceEtape1 = false;
  bool CocheEtape1 = false;
  std::optional<std::wstring> MessageEtape1;
  bool MessageEtape1EnErreur = true;

  // Step 2.
  bool Etape2 = false;
  bool SaisieIdentifiantPossible = true;
  bool ValidationIdentifiantPossible = false;
  std::optional<std::wstring> ErreurEtape2;

  // Step 3: the school of the last successful lookup, kept while the identifier is edited.
  bool Etape3 = false;
  std::optional<TypeInfosHebNP> Ecole;
  bool ConfirmationEcolePossible = true;

  // Step 4.
  bool Etape4 = false;
  bool ConditionsModifiables = true;

  // Step 5.
  bool Etape5 = false;
  bool CocheEtape5 = false;
  std::optional<std::wstring> ErreurEtape5;

  // Step 6 and the line of its sub-step (removal, download, setup) below it.
  bool Etape6 = false;
  bool PatienceEtape6 = false;
  bool CocheEtape6 = false;
  std::wstring SousEtape;
  bool SousEtapeMontree = false;
  bool SousEtapeEnErreur = false;

  // Step 7: its tick comes with the nature of the launch.
  bool Etape7 = false;
  bool CocheEtape7 = false;
  std::optional<std::wstring> ErreurEtape7;

  TypeImageLaterale ImageLaterale = TypeImageLaterale::Configuration;
  TypeBoutonParDefaut BoutonParDefaut = TypeBoutonParDefaut::Aucun;
  TypeFocusEtapes Focus = TypeFocusEtapes::Aucun;

  bool operator==(const TypeEtatEtapes&) const = default;
};

}  // namespace norvel
