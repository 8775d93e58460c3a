// Signature check of the downloaded setup on the stand-in setup's copies signed at test time by
// tools/signature/signer.sh (CTest fixture setup_signe): by OVALIS SAS, by another publisher,
// unsigned; and the hold that keeps the verified file from being swapped before it runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "install/VerificationSignature.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

// "ovalis", "autre-editeur" or "non-signe"; fails loudly when the fixture did not run.
std::wstring CopieSignee(const std::wstring& signataire) {
  const std::wstring chemin = FichierBuild(L"setup-signe\\SetupNorvelPrimaire-" + signataire + L".exe");
  if (!fs::exists(chemin))
    throw std::runtime_error(VersUtf8(chemin) + " manquant : lancer par ctest (fixture setup_signe)");
  return chemin;
}

// Both ways in: by path, and through the hold the installation keeps until the setup runs.
template <class Verification>
void PourLesDeuxAcces(const std::wstring& chemin, Verification verification) {
  {
    SCOPED_TRACE("by path");
    const TypeResultatWintrust r = VerifierSignature(chemin);
    verification(r);
  }
  {
    SCOPED_TRACE("through the hold");
    TFichierVerrouille fichier(chemin);
    const TypeResultatWintrust r = VerifierSignature(fichier);
    verification(r);
  }
}

}  // namespace

TEST(VerificationSignature, MakersSignatureAccepted) {
  PourLesDeuxAcces(CopieSignee(L"ovalis"), [](const TypeResultatWintrust& r) {
    EXPECT_TRUE(r.EstUnExeOvalis);
    EXPECT_EQ(TypeRaisonEchecSignature::Aucune, r.RaisonEchec);
    EXPECT_EQ(0, r.CodeErreur);
    EXPECT_EQ(L"", r.MsgErreur);
  });
}

TEST(VerificationSignature, OtherPublisherRefusedWithTheSubjectName) {
  PourLesDeuxAcces(CopieSignee(L"autre-editeur"), [](const TypeResultatWintrust& r) {
    EXPECT_FALSE(r.EstUnExeOvalis);
    EXPECT_EQ(TypeRaisonEchecSignature::SignataireNonOvalis, r.RaisonEchec);
    EXPECT_EQ(0, r.CodeErreur) << "the signature itself is valid";
    EXPECT_EQ(L"Nom du certificat = \"C=FR, O=Editions Tiers, CN=EDITIONS TIERS\"", r.MsgErreur);
  });
}

TEST(VerificationSignature, UnsignedRefusedWithTheLastError) {
  PourLesDeuxAcces(CopieSignee(L"non-signe"), [](const TypeResultatWintrust& r) {
    EXPECT_FALSE(r.EstUnExeOvalis);
    EXPECT_EQ(TypeRaisonEchecSignature::SignatureRefusee, r.RaisonEchec);
    const auto code = static_cast<DWORD>(r.CodeErreur);
    EXPECT_EQ(Format(L"La vérification de la signature numérique a échoué (%2:s, TRUST_E_NOSIGNATURE + 0x%0:.8x) : %1:s",
                     {code, TexteErreurSysteme(code), L"WinVerifyTrust"}),
              r.MsgErreur);
  });
}

TEST(VerificationSignature, AlteredSignedFileRefused) {
  TDossierTemporaire dossier;
  const fs::path copie = dossier.Chemin() / L"SetupNorvelPrimaire.exe";
  fs::copy_file(CopieSignee(L"ovalis"), copie);
  {
    // One byte of the program's code changed after signing: its digest no longer matches.
    std::fstream f(copie, std::ios::in | std::ios::out | std::ios::binary);
    f.seekg(0x600);
    const char octet = static_cast<char>(f.get());
    f.seekp(0x600);
    f.put(static_cast<char>(octet ^ 0x5A));
  }
  const TypeResultatWintrust r = VerifierSignature(copie.wstring());
  EXPECT_FALSE(r.EstUnExeOvalis);
  EXPECT_EQ(TypeRaisonEchecSignature::SignatureRefusee, r.RaisonEchec);
  EXPECT_NE(0, r.CodeErreur);
  EXPECT_TRUE(CommencePar(r.MsgErreur, L"La vérification de la signature numérique a échoué (WinVerifyTrust, 0x"))
      << VersUtf8(r.MsgErreur);
}

TEST(VerificationSignature, MissingFile) {
  TDossierTemporaire dossier;
  const TypeResultatWintrust r = VerifierSignature(dossier.Fichier(L"absent.exe"));
  EXPECT_FALSE(r.EstUnExeOvalis);
  EXPECT_EQ(TypeRaisonEchecSignature::SignatureRefusee, r.RaisonEchec);
  EXPECT_FALSE(r.MsgErreur.empty());
  EXPECT_THROW(TFichierVerrouille(dossier.Fichier(L"absent.exe")), EOvalis);
}

TEST(SignataireOvalis, OnlyTheWholeLastCommonName) {
  struct Cas {
    const wchar_t* sujet;
    bool accepte;
  };
  const Cas cas[] = {
      {L"C=FR, O=OVALIS, CN=OVALIS SAS", true},
      {L"C=FR, O=OVALIS, CN=Ovalis Sas", true},
      {L"C=FR, CN=OVALIS", true},
      {L"C=FR, S=Nord, CN=OVALIS SASU", true},
      {L"C=FR, O=OVALIS, CN=OVALIS SAS EXTRA", false},
      {L"C=FR, CN=NOVALIS SAS", false},
      {L"C=FR, O=OVALIS SAS, CN=EDITIONS TIERS", false},
      {L"C=FR, CN=OVALIS SA", false},
      {L"CN=OVALIS SAS", false},  // nothing before the common name: no leading space to match
      {L"", false},
  };
  for (const auto& c : cas) EXPECT_EQ(c.accepte, EstSignataireOvalis(c.sujet)) << VersUtf8(c.sujet);
}

// The installation holds the verified setup until its process has started: nobody may write,
// rename or delete it meanwhile, while reading and starting it stay possible.
TEST(FichierVerrouille, WritesRenamingAndDeletionRefusedWhileHeld) {
  TDossierTemporaire dossier;
  const std::wstring chemin = dossier.Fichier(L"SetupNorvelPrimaire.exe");
  fs::copy_file(CopieSignee(L"ovalis"), chemin);
  {
    TFichierVerrouille fichier(chemin);
    const TypeResultatWintrust r = VerifierSignature(fichier);
    EXPECT_TRUE(r.EstUnExeOvalis);

    HANDLE ecriture = CreateFileW(chemin.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, ecriture) << "opened for writing while held";
    if (ecriture != INVALID_HANDLE_VALUE) CloseHandle(ecriture);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    EXPECT_FALSE(DeleteFileW(chemin.c_str())) << "deleted while held";
    EXPECT_FALSE(MoveFileW(chemin.c_str(), dossier.Fichier(L"autre.exe").c_str())) << "renamed while held";
    EXPECT_FALSE(CopyFileW(CopieSignee(L"non-signe").c_str(), chemin.c_str(), FALSE)) << "overwritten while held";

    HANDLE lecture = CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, lecture) << "reading stays possible";
    if (lecture != INVALID_HANDLE_VALUE) CloseHandle(lecture);
  }
  EXPECT_TRUE(DeleteFileW(chemin.c_str())) << "free once the hold is gone";
}

TEST(FichierVerrouille, HeldProgramCanBeStarted) {
  TDossierTemporaire dossier;
  const std::wstring programme = dossier.Fichier(L"temoin.exe");
  fs::copy_file(FichierBuild(L"tools\\temoin.exe"), programme);
  const std::wstring trace = dossier.Fichier(L"trace.txt");
  std::optional<TVariableEnvironnement> variableTrace(std::in_place, L"NORVEL_TEMOIN_FICHIER", trace);
  TFichierVerrouille fichier(programme);
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof(demarrage);
  PROCESS_INFORMATION infos{};
  std::wstring ligne = L"\"" + programme + L"\" lance";
  const BOOL lance = CreateProcessW(programme.c_str(), ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    &demarrage, &infos);
  variableTrace.reset();
  ASSERT_TRUE(lance) << GetLastError();
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(infos.hProcess, 30000));
  DWORD code = 99;
  GetExitCodeProcess(infos.hProcess, &code);
  CloseHandle(infos.hThread);
  CloseHandle(infos.hProcess);
  EXPECT_EQ(0u, code);
  EXPECT_TRUE(fs::exists(trace));
}

TEST(FichierVerrouille, FileStillBeingWrittenCannotBeHeld) {
  TDossierTemporaire dossier;
  const std::wstring chemin = dossier.Fichier(L"SetupNorvelPrimaire.exe");
  HANDLE ecrivain = CreateFileW(chemin.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, ecrivain);
  try {
    TFichierVerrouille fichier(chemin);
    ADD_FAILURE() << "held while another handle can still write it";
  } catch (const EOvalis& e) {
    EXPECT_EQ(Format(Msg::ErreurInterne, {ERROR_SHARING_VIOLATION, TexteErreurSysteme(ERROR_SHARING_VIOLATION),
                                         L"CreateFile"}),
              e.Message());
  }
  CloseHandle(ecrivain);
}
