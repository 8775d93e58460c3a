// certificatracine: puts a test certificate authority into the Root store of the current
// user (of the Wine prefix, under Wine), so that HTTPS to the stand-in servers is verified
// like any other site, never with verification switched off.
//
//   certificatracine ajouter FICHIER   add the certificate (DER or PEM); adding it again is harmless
//   certificatracine retirer FICHIER   remove it
//   certificatracine present FICHIER   exit code 0 when it is in the store, 3 when it is not
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Handle.h"

namespace {

using namespace norvel;

std::vector<BYTE> LireFichier(const wchar_t* chemin) {
  THandleFichier fichier(CreateFileW(chemin, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!fichier) throw ErreurSysteme(L"CreateFile");
  std::vector<BYTE> contenu(GetFileSize(fichier.Get(), nullptr));
  DWORD lus = 0;
  VerifierWin32(ReadFile(fichier.Get(), contenu.data(), static_cast<DWORD>(contenu.size()), &lus, nullptr), L"ReadFile");
  contenu.resize(lus);
  return contenu;
}

// DER as is; PEM ("-----BEGIN CERTIFICATE-----") decoded.
std::vector<BYTE> EnDer(const std::vector<BYTE>& contenu) {
  DWORD taille = 0;
  const auto texte = reinterpret_cast<const char*>(contenu.data());
  if (!CryptStringToBinaryA(texte, static_cast<DWORD>(contenu.size()), CRYPT_STRING_BASE64HEADER, nullptr, &taille,
                            nullptr, nullptr))
    return contenu;
  std::vector<BYTE> der(taille);
  VerifierWin32(CryptStringToBinaryA(texte, static_cast<DWORD>(contenu.size()), CRYPT_STRING_BASE64HEADER,
                                     der.data(), &taille, nullptr, nullptr),
                L"CryptStringToBinary");
  der.resize(taille);
  return der;
}

struct TMagasin {
  HCERTSTORE H = nullptr;
  TMagasin() { H = VerifierPointeur(CertOpenSystemStoreW(0, L"ROOT"), L"CertOpenSystemStore"); }
  ~TMagasin() { CertCloseStore(H, 0); }
};

// The store's own copy of the certificate, or null; the caller frees it.
PCCERT_CONTEXT Chercher(HCERTSTORE magasin, const std::vector<BYTE>& der) {
  PCCERT_CONTEXT certificat = VerifierPointeur(
      CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())),
      L"CertCreateCertificateContext");
  PCCERT_CONTEXT trouve =
      CertFindCertificateInStore(magasin, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificat, nullptr);
  CertFreeCertificateContext(certificat);
  return trouve;
}

int Executer(const std::wstring& commande, const wchar_t* chemin) {
  const std::vector<BYTE> der = EnDer(LireFichier(chemin));
  if (commande == L"ajouter") {
    VerifierWin32(CertAddEncodedCertificateToSystemStoreW(L"Root", der.data(), static_cast<DWORD>(der.size())),
                  L"CertAddEncodedCertificateToSystemStore");
    return 0;
  }
  TMagasin magasin;
  PCCERT_CONTEXT trouve = Chercher(magasin.H, der);
  if (commande == L"present") {
    if (trouve) CertFreeCertificateContext(trouve);
    return trouve ? 0 : 3;
  }
  if (commande == L"retirer") {
    // CertDeleteCertificateFromStore frees the context it is given, even on failure.
    if (trouve) VerifierWin32(CertDeleteCertificateFromStore(trouve), L"CertDeleteCertificateFromStore");
    return 0;
  }
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fwprintf(stderr, L"usage: certificatracine ajouter|retirer|present FICHIER\n");
    return 2;
  }
  try {
    const int code = Executer(argv[1], argv[2]);
    if (code == 2) std::fwprintf(stderr, L"certificatracine: unknown command %ls\n", argv[1]);
    return code;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "certificatracine: %s\n", e.what());
    return 1;
  }
}
