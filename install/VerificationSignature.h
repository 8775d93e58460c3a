#pragma once
// Authenticode check of the downloaded client setup: a valid signature whose signer is the maker.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/Handle.h"

namespace norvel {

// Why a file was refused; the values are the ones the program has always reported.
enum class TypeRaisonEchecSignature : int {
  Aucune = 0,                 // accepted
  SignatureRefusee = 10,      // the platform refused the signature (or found none)
  SansDonneesFournisseur = 11,
  SansSignataire = 12,
  SansCertificatSignataire = 13,
  SignataireNonOvalis = 14,
};

struct TypeResultatWintrust {
  bool EstUnExeOvalis = false;  // validly signed, and the signer is the maker
  TypeRaisonEchecSignature RaisonEchec = TypeRaisonEchecSignature::Aucune;
  // WinVerifyTrust's result; for a missing signature, the thread's last error after it.
  LONG CodeErreur = 0;
  std::wstring MsgErreur;  // why the file was refused; empty when accepted
};

// The setup held open from its signature check until its process has started: opened for
// reading with read sharing only, so that nobody can write, rename or delete the verified file
// in between (starting it is still allowed: running a program only reads it).
class TFichierVerrouille {
 public:
  // Raises the generic system error ("CreateFile") when the file cannot be opened so, for
  // example because another process is writing it.
  explicit TFichierVerrouille(std::wstring chemin);

  const std::wstring& Chemin() const { return FChemin; }
  HANDLE Handle() const { return FFichier.Get(); }

 private:
  std::wstring FChemin;
  THandleFichier FFichier;
};

// Checks the held file through its handle: what is verified is what the hold protects.
// Never raises for a refused file: the result says why.
TypeResultatWintrust VerifierSignature(const TFichierVerrouille& AFichier);
// The same by path alone, for a file nobody can swap.
TypeResultatWintrust VerifierSignature(const std::wstring& AFichier);

// The signer's subject, in X.500 text form, names the maker: it ends, letter case ignored, with
// " CN=OVALIS", " CN=OVALIS SASU" or " CN=OVALIS SAS" (the common name is the whole last part).
bool EstSignataireOvalis(std::wstring_view ASujet);

}  // namespace norvel
