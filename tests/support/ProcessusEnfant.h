#pragma once
// A test program can start a copy of itself that runs one registered function instead of the
// tests: for what only a fresh process shows (its own command line, its executable path,
// once-per-process state). The child is chosen through the environment, so the command line
// stays exactly the one the test gives.
#include <windows.h>

#include <string>
#include <string_view>

namespace norvel::test {

using TFonctionEnfant = int (*)();

struct TEnregistrementEnfant {
  TEnregistrementEnfant(const wchar_t* nom, TFonctionEnfant fonction);
};

// NORVEL_PROGRAMME_ENFANT(Nom) { ...; return code; } defines a child entry named "Nom".
#define NORVEL_PROGRAMME_ENFANT(nom)                                                      \
  static int nom();                                                                       \
  static const ::norvel::test::TEnregistrementEnfant enregistrement_##nom(L## #nom, nom); \
  static int nom()

// In main, before the tests: runs the requested child entry and answers true with its exit
// code, or answers false when this process is no child.
bool ExecuterProgrammeEnfantDemande(int& codeSortie);

// What a child writes for its parent: one line of UTF-8 on its standard output.
void EcrireLigneEnfant(std::wstring_view ligne);

struct TResultatEnfant {
  DWORD CodeSortie = 0;
  std::wstring Sortie;   // standard output, decoded from UTF-8
  std::wstring Erreurs;  // standard error, decoded from UTF-8, when asked for
};

// Starts `executable` (this test program when empty) with the command line text
// `"<executable>" <arguments>`, as child `nom`; waits for it (30 s at most) and captures its
// standard output (and its standard error when asked; otherwise that goes to this program's).
// Raises std::runtime_error when it cannot start or does not end.
TResultatEnfant LancerProgrammeEnfant(std::wstring_view nom, std::wstring_view arguments,
                                      std::wstring executable = {}, bool capturerErreurs = false);

// The same child started without waiting for it: for tests that order the steps of two
// processes (named events) or end the child in the middle of its work. Its output goes to this
// program's own. A child still running when the object goes is killed.
class TProgrammeEnfantEnCours {
 public:
  TProgrammeEnfantEnCours(std::wstring_view nom, std::wstring_view arguments, std::wstring executable = {});
  TProgrammeEnfantEnCours(const TProgrammeEnfantEnCours&) = delete;
  TProgrammeEnfantEnCours& operator=(const TProgrammeEnfantEnCours&) = delete;
  ~TProgrammeEnfantEnCours();

  // Its exit code; raises std::runtime_error when it has not ended within the delay.
  DWORD AttendreFin(DWORD delaiMs = 30000);
  // Ends it at once, wherever it is, as a crash would.
  void Tuer();
  HANDLE Processus() const { return FProcessus; }

 private:
  HANDLE FProcessus = nullptr;
};

// A named event shared with a child, to order the steps of the two processes (manual reset).
class TEvenementNomme {
 public:
  explicit TEvenementNomme(const std::wstring& nom);
  TEvenementNomme(const TEvenementNomme&) = delete;
  TEvenementNomme& operator=(const TEvenementNomme&) = delete;
  ~TEvenementNomme();
  void Signaler();
  // False when the delay ran out.
  bool Attendre(DWORD delaiMs = 30000);

 private:
  HANDLE FEvenement = nullptr;
};

// A name of this run only, for the objects a test shares with its children.
std::wstring NomUnique(const std::wstring& prefixe);

}  // namespace norvel::test
