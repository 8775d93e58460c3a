#include "platform/EmpreinteMd5.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

#include "core/ErreurSysteme.h"
#include "core/Handle.h"
#include "core/Messages.h"

namespace norvel {

namespace {

void FermerAlgorithme(BCRYPT_ALG_HANDLE h) { BCryptCloseAlgorithmProvider(h, 0); }
void FermerCondensat(BCRYPT_HASH_HANDLE h) { BCryptDestroyHash(h); }
using TAlgorithme = THandleUnique<BCRYPT_ALG_HANDLE, detail::Nul<BCRYPT_ALG_HANDLE>, FermerAlgorithme>;
using TCondensat = THandleUnique<BCRYPT_HASH_HANDLE, detail::Nul<BCRYPT_HASH_HANDLE>, FermerCondensat>;

void VerifierStatut(NTSTATUS statut, std::wstring_view appel) {
  if (statut < 0) throw ErreurSystemeCode(static_cast<DWORD>(statut), Msg::ErreurInterne, appel);
}

}  // namespace

std::wstring EmpreinteMd5Hex(std::string_view octets) {
  TAlgorithme algorithme;
  VerifierStatut(BCryptOpenAlgorithmProvider(algorithme.Adresse(), BCRYPT_MD5_ALGORITHM, nullptr, 0),
                 L"BCryptOpenAlgorithmProvider");
  TCondensat condensat;
  VerifierStatut(BCryptCreateHash(algorithme.Get(), condensat.Adresse(), nullptr, 0, nullptr, 0, 0),
                 L"BCryptCreateHash");
  VerifierStatut(BCryptHashData(condensat.Get(), reinterpret_cast<PUCHAR>(const_cast<char*>(octets.data())),
                                static_cast<ULONG>(octets.size()), 0),
                 L"BCryptHashData");
  unsigned char empreinte[16];
  VerifierStatut(BCryptFinishHash(condensat.Get(), empreinte, sizeof(empreinte), 0), L"BCryptFinishHash");
  static const wchar_t chiffres[] = L"0123456789ABCDEF";
  std::wstring texte;
  for (const unsigned char octet : empreinte) {
    texte += chiffres[octet >> 4];
    texte += chiffres[octet & 0x0F];
  }
  return texte;
}

}  // namespace norvel
