#include "platform/MutexFichierPartage.h"

#include <windows.h>

#include "platform/EmpreinteMd5.h"
#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

std::wstring MinusculesLinguistiques(const std::wstring& texte) {
  if (texte.empty()) return texte;
  const DWORD options = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
  const int taille = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, options, texte.c_str(), static_cast<int>(texte.size()),
                                   nullptr, 0, nullptr, nullptr, 0);
  if (taille <= 0) return EnMinuscules(texte);
  std::wstring resultat(static_cast<size_t>(taille), L'\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, options, texte.c_str(), static_cast<int>(texte.size()), resultat.data(),
                taille, nullptr, nullptr, 0);
  return resultat;
}

}  // namespace

std::wstring TMutexFichierPartage::NomMutex(const std::wstring& nomFichier) {
  return L"Global\\" + EmpreinteMd5Hex(VersUtf8(MinusculesLinguistiques(nomFichier)));
}

TMutexFichierPartage::TMutexFichierPartage(const std::wstring& nomFichier, DWORD delaiMax)
    : FNomFichier(nomFichier), FDelaiMax(delaiMax) {
  // Open to everyone (a null access list, what "D:NO_ACCESS_CONTROL" stands for): processes of
  // other users share the same files. Built by hand: Wine turns that text into an empty list,
  // which would lock out every later opener.
  SECURITY_DESCRIPTOR descripteur;
  VerifierWin32(InitializeSecurityDescriptor(&descripteur, SECURITY_DESCRIPTOR_REVISION),
                L"InitializeSecurityDescriptor");
  VerifierWin32(SetSecurityDescriptorDacl(&descripteur, TRUE, nullptr, FALSE), L"SetSecurityDescriptorDacl");
  SECURITY_ATTRIBUTES securite{sizeof(securite), &descripteur, FALSE};
  FMutex = THandle(CreateMutexW(&securite, FALSE, NomMutex(nomFichier).c_str()));
  if (!FMutex) throw ErreurSysteme(L"CreateMutex");
}

TMutexFichierPartage::TVerrou::TVerrou(HANDLE mutex, DWORD delaiMax, const std::wstring& nomFichier)
    : FMutex(mutex) {
  const DWORD resultat = WaitForSingleObject(FMutex, delaiMax);
  if (resultat == WAIT_TIMEOUT)
    throw EOvalis(Format(Msg::FichierPartageVerrouille, {nomFichier, static_cast<unsigned>(delaiMax / 1000)}));
  if (resultat != WAIT_OBJECT_0 && resultat != WAIT_ABANDONED) throw ErreurSysteme(L"WaitForSingleObject");
  FAbandonne = resultat == WAIT_ABANDONED;
}

TMutexFichierPartage::TVerrou::~TVerrou() { ReleaseMutex(FMutex); }

}  // namespace norvel
