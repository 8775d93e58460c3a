#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include "AffichageVersion.h"
#include "platform/Executable.h"
#include "platform/Version.h"
#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "support/CheminsTest.h"

using namespace norvel;

namespace {

TypeVersion V(std::initializer_list<uint32_t> numeros) { return VersionDepuisNumeros(numeros); }

void AttendreNumerosInvalides(const std::function<void()>& action) {
  try {
    action();
    ADD_FAILURE() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"Numéros de version invalides.", e.Message());
  }
}

}  // namespace

TEST(Version, ByteFormRoundTrips) {
  struct Cas {
    TypeVersion version;
    std::vector<uint8_t> octets;
  };
  const Cas cas[] = {
      {V({}), {}},
      {V({1, 9}), {1, 9}},
      {V({254, 255, 0}), {254, 255, 0}},
      {V({300}), {255, 0, 0, 1, 44}},
      // A first number of 255 cannot be one byte: that byte announces the long form.
      {V({255}), {255, 0, 0, 0, 255}},
      {V({1, 256}), {255, 0, 0, 0, 1, 0, 0, 1, 0}},
      {V({0xFFFFFFFF, 0}), {255, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}},
  };
  for (const auto& c : cas) {
    EXPECT_EQ(c.octets, VersionEnOctets(c.version)) << testing::PrintToString(c.version);
    EXPECT_EQ(c.version, OctetsEnVersion(c.octets)) << testing::PrintToString(c.version);
  }
  EXPECT_EQ(V({}), OctetsEnVersion(std::vector<uint8_t>{255})) << "long form with no numbers";
}

TEST(Version, ByteFormOfBadLengthRaises) {
  for (const std::vector<uint8_t>& octets : {std::vector<uint8_t>{255, 0, 0, 1}, std::vector<uint8_t>{255, 0, 0, 0, 1, 2},
                                             std::vector<uint8_t>{255, 1}})
    AttendreNumerosInvalides([&] { OctetsEnVersion(octets); });
}

TEST(Version, StreamFormRoundTripsAndRefusesTruncation) {
  for (const TypeVersion& version : {V({}), V({1, 9}), V({300, 0, 0xFFFFFFFF})}) {
    std::stringstream flux;
    EcrireVersion(flux, version);
    EXPECT_EQ(4 * (version.Numeros.size() + 1), flux.str().size());
    EXPECT_EQ(version, LireVersion(flux));
  }
  std::stringstream flux;
  EcrireVersion(flux, V({1, 9}));
  std::string tronque = flux.str();
  tronque.pop_back();
  std::istringstream lecture(tronque);
  AttendreNumerosInvalides([&] { LireVersion(lecture); });
  // A damaged count must fail on the missing numbers, not allocate for them.
  std::istringstream compteEnorme(std::string("\xFF\xFF\xFF\x7F\x01\x00\x00\x00", 8));
  AttendreNumerosInvalides([&] { LireVersion(compteEnorme); });
}

TEST(Version, TextForms) {
  EXPECT_EQ(L"1.9", VersionEnTexte(V({1, 9}), L".", 0));
  EXPECT_EQ(L"9", VersionEnTexte(V({1, 9}), L".", 1));
  EXPECT_EQ(L"", VersionEnTexte(V({1, 9}), L".", 2));
  EXPECT_EQ(L"", VersionEnTexte(V({}), L".", 0));
  EXPECT_EQ(L"1, 9, 4294967295", VersionEnTexte(V({1, 9, 0xFFFFFFFF}), L", ", 0));

  struct Cas {
    const wchar_t* texte;
    TypeVersion attendue;
  };
  const Cas cas[] = {
      {L"1.9.0", V({1, 9, 0})},
      {L"10,4 (build 2)", V({10, 4, 2})},
      {L"", V({})},
      {L"v.", V({})},
      {L"007", V({7})},
      {L"999999999", V({999999999})},
      {L"1.9²", V({1, 9})},  // only ASCII digits make numbers
  };
  for (const auto& c : cas) {
    TypeVersion lue = V({42});
    EXPECT_TRUE(TexteEnVersion(c.texte, lue)) << c.texte;
    EXPECT_EQ(c.attendue, lue) << c.texte;
    EXPECT_EQ(c.attendue, TexteEnVersionOuErreur(c.texte)) << c.texte;
  }
  for (const wchar_t* invalide : {L"1.1234567890", L"0000000000"}) {
    TypeVersion lue = V({42});
    EXPECT_FALSE(TexteEnVersion(invalide, lue)) << invalide;
    EXPECT_EQ(V({42}), lue) << "left unchanged";
    AttendreNumerosInvalides([&] { TexteEnVersionOuErreur(invalide); });
  }
}

TEST(Version, ComparisonIsNumericAndPrefixIsSmaller) {
  // Strictly increasing.
  const TypeVersion ordre[] = {V({}), V({0}), V({0, 0}), V({1}), V({1, 9}), V({1, 9, 0}), V({1, 9, 0, 0}),
                               V({1, 9, 1}), V({1, 10}), V({2}), V({0x80000000}), V({0xFFFFFFFF})};
  for (size_t i = 0; i < std::size(ordre); ++i)
    for (size_t j = 0; j < std::size(ordre); ++j) {
      const int attendu = i < j ? -1 : (i > j ? 1 : 0);
      EXPECT_EQ(attendu, ComparerVersions(ordre[i], ordre[j]))
          << testing::PrintToString(ordre[i]) << " vs " << testing::PrintToString(ordre[j]);
      EXPECT_EQ(attendu < 0, ordre[i] < ordre[j]);
      EXPECT_EQ(attendu <= 0, ordre[i] <= ordre[j]);
      EXPECT_EQ(attendu > 0, ordre[i] > ordre[j]);
      EXPECT_EQ(attendu >= 0, ordre[i] >= ordre[j]);
      EXPECT_EQ(attendu == 0, ordre[i] == ordre[j]);
      EXPECT_EQ(attendu != 0, ordre[i] != ordre[j]);
      EXPECT_EQ(attendu, TComparerVersion::ComparerVersion(ordre[i], ordre[j]));
    }
  std::vector<TypeVersion> melangees = {V({1, 10}), V({1, 9, 0}), V({1, 9}), V({2})};
  std::sort(melangees.begin(), melangees.end(), TComparerVersion::GetComparateur());
  EXPECT_EQ((std::vector<TypeVersion>{V({1, 9}), V({1, 9, 0}), V({1, 10}), V({2})}), melangees);
}

TEST(Version, CutsPrefixesAndFolderNumbers) {
  EXPECT_EQ(V({1, 9}), VersionTronquee(V({1, 9, 3}), 2, false));
  EXPECT_EQ(V({1, 9}), VersionTronquee(V({1, 9}), 4, false));
  EXPECT_EQ(V({1, 9, 0, 0}), VersionTronquee(V({1, 9}), 4, true));
  EXPECT_EQ(V({}), VersionTronquee(V({1, 9}), 0, true));
  EXPECT_EQ(9u, NumeroVersion(V({1, 9}), 1));
  EXPECT_EQ(0u, NumeroVersion(V({1, 9}), 2));
  EXPECT_EQ(0u, NumeroMajeur(V({})));
  EXPECT_EQ(V({1, 9}), SupprimerZerosFinaux(V({1, 9, 0, 0})));
  EXPECT_EQ(V({}), SupprimerZerosFinaux(V({0, 0})));
  EXPECT_EQ(V({0, 1}), SupprimerZerosFinaux(V({0, 1})));

  EXPECT_TRUE(VersionCommencePar(V({1, 9, 3}), V({1, 9})));
  EXPECT_TRUE(VersionCommencePar(V({1}), V({1, 0, 0})));
  EXPECT_FALSE(VersionCommencePar(V({1}), V({1, 9})));
  EXPECT_FALSE(VersionCommencePar(V({1, 10}), V({1, 1})));
  EXPECT_TRUE(VersionCommencePar(V({3}), V({})));

  EXPECT_EQ(V({1, 0}), VersionMajeureMineureDossier(V({1, 9})));
  EXPECT_EQ(V({1, 2}), VersionMajeureMineureDossier(V({1, 512, 7})));
  EXPECT_EQ(V({0, 0}), VersionMajeureMineureDossier(V({})));
}

TEST(VersionFichier, ProgramsWithTheirVersionResource) {
  EXPECT_EQ(V({1, 9}), VersionFichier(CheminExecutable())) << "the test program carries version 1.9.0.0";
  EXPECT_EQ(V({1, 9}), VersionExecutable());
  EXPECT_EQ(V({1, 9}), VersionFichier(test::FichierBuild(L"InstalleurNorvelPrimaire.exe")));
}

TEST(VersionFichier, FilesWithoutVersionRaiseWithFileNameAndSystemText) {
  test::TDossierTemporaire dossier;
  const std::wstring texte = dossier.Fichier(L"sans version.exe");
  std::ofstream(std::filesystem::path(texte)) << "pas un programme";
  const std::wstring absent = dossier.Fichier(L"absent.exe");
  for (const std::wstring& fichier : {texte, absent}) {
    try {
      VersionFichier(fichier);
      ADD_FAILURE() << "no exception for " << VersUtf8(fichier);
    } catch (const EOvalis& e) {
      const std::wstring debut = L"Impossible de lire les informations de version du fichier " + fichier + L"\r\n";
      ASSERT_EQ(debut, e.Message().substr(0, debut.size())) << e.what();
      // The rest is the system's text for the error and its code, never a success text.
      const std::wstring reste = e.Message().substr(debut.size());
      const size_t parenthese = reste.rfind(L" (");
      ASSERT_NE(std::wstring::npos, parenthese) << e.what();
      const DWORD code = std::stoul(reste.substr(parenthese + 2));
      EXPECT_NE(0u, code) << e.what();
      EXPECT_EQ(TexteErreurSysteme(code) + L" (" + std::to_wstring(code) + L")", reste) << e.what();
    }
  }
}
