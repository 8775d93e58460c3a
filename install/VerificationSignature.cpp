#include "install/VerificationSignature.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

constexpr const wchar_t* FinsSignataireOvalis[] = {L" CN=OVALIS", L" CN=OVALIS SASU", L" CN=OVALIS SAS"};

// The subject of a certificate in X.500 text form ("C=FR, O=OVALIS, CN=OVALIS SAS").
std::wstring SujetCertificat(PCCERT_CONTEXT certificat) {
  DWORD forme = CERT_X500_NAME_STR;
  const DWORD longueur = CertGetNameStringW(certificat, CERT_NAME_RDN_TYPE, 0, &forme, nullptr, 0);
  std::wstring sujet(longueur, L'\0');
  CertGetNameStringW(certificat, CERT_NAME_RDN_TYPE, 0, &forme, sujet.data(), longueur);
  if (!sujet.empty()) sujet.pop_back();  // the terminating null
  return sujet;
}

struct TypeSignataire {
  TypeRaisonEchecSignature Raison = TypeRaisonEchecSignature::Aucune;
  std::wstring Sujet;
};

// The signer's certificate from a successful verification's state, or the reason it is missing.
TypeSignataire Signataire(HANDLE etat) {
  CRYPT_PROVIDER_DATA* donnees = WTHelperProvDataFromStateData(etat);
  if (!donnees) return {TypeRaisonEchecSignature::SansDonneesFournisseur};
  CRYPT_PROVIDER_SGNR* signataire = WTHelperGetProvSignerFromChain(donnees, 0, FALSE, 0);
  if (!signataire) return {TypeRaisonEchecSignature::SansSignataire};
  CRYPT_PROVIDER_CERT* certificat = WTHelperGetProvCertFromChain(signataire, 0);
  if (!certificat || !certificat->pCert) return {TypeRaisonEchecSignature::SansCertificatSignataire};
  return {TypeRaisonEchecSignature::Aucune, SujetCertificat(certificat->pCert)};
}

TypeResultatWintrust Verifier(const std::wstring& chemin, HANDLE fichier) {
  TypeResultatWintrust resultat;

  WINTRUST_FILE_INFO infoFichier{};
  infoFichier.cbStruct = sizeof(infoFichier);
  infoFichier.pcwszFilePath = chemin.c_str();
  infoFichier.hFile = fichier;
  WINTRUST_DATA donnees{};
  donnees.cbStruct = sizeof(donnees);
  donnees.dwUIChoice = WTD_UI_NONE;
  donnees.fdwRevocationChecks = WTD_REVOKE_NONE;
  donnees.dwUnionChoice = WTD_CHOICE_FILE;
  donnees.pFile = &infoFichier;
  donnees.dwStateAction = WTD_STATEACTION_VERIFY;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;

  resultat.CodeErreur = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &donnees);
  const DWORD derniereErreur = GetLastError();
  if (resultat.CodeErreur != 0) {
    resultat.RaisonEchec = TypeRaisonEchecSignature::SignatureRefusee;
    if (resultat.CodeErreur == TRUST_E_NOSIGNATURE) {
      resultat.CodeErreur = static_cast<LONG>(derniereErreur);
      resultat.MsgErreur = Format(Msg::SignatureAbsente, {derniereErreur, TexteErreurSysteme(derniereErreur),
                                                          L"WinVerifyTrust"});
    } else {
      const auto code = static_cast<DWORD>(resultat.CodeErreur);
      resultat.MsgErreur = Format(Msg::SignatureRefusee, {code, TexteErreurSysteme(code), L"WinVerifyTrust"});
    }
  } else {
    const auto [raison, sujet] = Signataire(donnees.hWVTStateData);
    resultat.RaisonEchec = raison;
    if (resultat.RaisonEchec == TypeRaisonEchecSignature::Aucune) {
      resultat.EstUnExeOvalis = EstSignataireOvalis(sujet);
      if (!resultat.EstUnExeOvalis) {
        resultat.RaisonEchec = TypeRaisonEchecSignature::SignataireNonOvalis;
        resultat.MsgErreur = Format(Msg::NomCertificat, {sujet});
      }
    }
  }

  if (resultat.RaisonEchec != TypeRaisonEchecSignature::Aucune && resultat.MsgErreur.empty())
    resultat.MsgErreur = Msg::ExecutableNonSigne;
  donnees.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &donnees);
  return resultat;
}

}  // namespace

TFichierVerrouille::TFichierVerrouille(std::wstring chemin)
    : FChemin(std::move(chemin)),
      FFichier(CreateFileW(FChemin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (!FFichier) throw ErreurSysteme(L"CreateFile");
}

TypeResultatWintrust VerifierSignature(const TFichierVerrouille& AFichier) {
  return Verifier(AFichier.Chemin(), AFichier.Handle());
}

TypeResultatWintrust VerifierSignature(const std::wstring& AFichier) { return Verifier(AFichier, nullptr); }

bool EstSignataireOvalis(std::wstring_view ASujet) {
  for (std::wstring_view fin : FinsSignataireOvalis)
    if (ASujet.size() >= fin.size() && MemeTexteSansCasse(ASujet.substr(ASujet.size() - fin.size()), fin)) return true;
  return false;
}

}  // namespace norvel
