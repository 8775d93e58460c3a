#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/ValeursOffusquees.h"

using namespace norvel;

namespace {

std::wstring MessageLeve(const std::function<void()>& action) {
  try {
    action();
  } catch (const EOvalis& e) {
    return e.Message();
  }
  return L"(rien n'a été levé)";
}

const std::wstring Desoffuscation = L"Erreur de déssoffuscation.";
const std::wstring HexaIncorrecte = L"Valeur héxadécimale incorrecte";

}  // namespace

// Values written by earlier runs and other programs of the publisher must keep reading back:
// these were produced by an independent implementation of the scrambling, with fixed seeds.
TEST(ValeursOffusquees, StoredTextFormsReadBack) {
  const auto login = TypeLoginOffusque::CreateHexa(L"785634121961056BC636DC2347B1E6758A21B11C01000000");
  EXPECT_EQ(L"Jérôme.Dupont", login.GetValeur());
  EXPECT_EQ((TypeModeComparaison{true, false}), login.ModeComparaison);

  const auto motDePasse = TypeMotDePasseOffusque::CreateHexa(
      L"efbeaddeaeee3d3bf72d9b11c6d668b0cd0a9678ef30727813c405a2f88134e37152eeb000000000");
  EXPECT_EQ(L"Mot de passe ÀÉ", motDePasse.GetValeur());
  EXPECT_EQ(TypeModeComparaison{}, motDePasse.ModeComparaison);

  const auto vide = TypeMotDePasseOffusque::CreateHexa(L"00000000FC5358B7BA36FC7B27D749AADE5EF55600000000");
  EXPECT_EQ(20u, vide.ValeurOffusquee.size());
  EXPECT_EQ(L"", vide.GetValeur());
}

TEST(ValeursOffusquees, LengthsAndRoundTrips) {
  struct Cas {
    std::wstring saisie;
    std::wstring clair;
    size_t longueur;
  };
  const Cas cas[] = {
      {L"", L"", 20},
      {L"   \t ", L"", 20},
      {L"quinze-octets!!", L"quinze-octets!!", 20},
      {L"seize-octets!!!!", L"seize-octets!!!!", 36},
      {L"  dix-sept octets!  ", L"dix-sept octets!", 36},  // trimmed to 16 bytes
      {L"éééééééé", L"éééééééé", 36},                      // 16 UTF-8 bytes
      {L"utilisateur@domaine.example.fr", L"utilisateur@domaine.example.fr", 36},
  };
  for (const auto& c : cas) {
    const auto login = TypeLoginOffusque::Create(c.saisie);
    EXPECT_EQ(c.longueur, login.ValeurOffusquee.size()) << VersUtf8(c.saisie);
    EXPECT_EQ(c.clair, login.GetValeur()) << VersUtf8(c.saisie);

    const std::wstring texte = login.GetValeurHexa();
    EXPECT_EQ(2 * c.longueur + 8, texte.size());
    EXPECT_TRUE(FinitPar(texte, L"01000000")) << VersUtf8(texte);
    const auto relu = TypeLoginOffusque::CreateHexa(texte);
    EXPECT_EQ(login.ValeurOffusquee, relu.ValeurOffusquee);
    EXPECT_EQ(c.clair, relu.GetValeur());
    EXPECT_TRUE(relu.MemeValeurQue(login));

    const auto motDePasse = TypeMotDePasseOffusque::Create(c.saisie);
    EXPECT_TRUE(FinitPar(motDePasse.GetValeurHexa(), L"00000000"));
    EXPECT_EQ(c.clair, TypeMotDePasseOffusque::CreateHexa(motDePasse.GetValeurHexa()).GetValeur());
  }
}

TEST(ValeursOffusquees, SameTextScrambledTwiceDiffersButComparesEqual) {
  const auto a = TypeMotDePasseOffusque::Create(L"Secret");
  const auto b = TypeMotDePasseOffusque::Create(L"Secret");
  EXPECT_NE(a.ValeurOffusquee, b.ValeurOffusquee);
  EXPECT_EQ(std::wstring::npos, a.GetValeurHexa().find(L"536563726574"));  // "Secret" in clear
  EXPECT_EQ(0, TypeMotDePasseOffusque::Comparer(a, b));
  EXPECT_TRUE(a.MemeValeurQue(b));
}

TEST(ValeursOffusquees, DamagedValuesDoNotDecode) {
  const auto valeur = TypeMotDePasseOffusque::Create(L"abc");  // 13 padding bytes of 13
  struct Cas {
    const char* nom;
    std::vector<uint8_t> octets;
  };
  auto modifie = [&](size_t position, uint8_t masque) {
    auto octets = valeur.ValeurOffusquee;
    octets[position] ^= masque;
    return octets;
  };
  const auto& v = valeur.ValeurOffusquee;
  const Cas cas[] = {
      {"first padding byte", modifie(4 + 3, 0x01)},
      {"last padding byte", modifie(v.size() - 1, 0xFF)},
      {"seed only", std::vector<uint8_t>(v.begin(), v.begin() + 4)},
      {"truncated block", std::vector<uint8_t>(v.begin(), v.end() - 1)},
      {"extra byte", [&] { auto o = v; o.push_back(0); return o; }()},
  };
  for (const auto& c : cas) {
    const TypeMotDePasseOffusque abime{c.octets, {}};
    EXPECT_EQ(Desoffuscation, MessageLeve([&] { abime.GetValeur(); })) << c.nom;
    EXPECT_EQ(Desoffuscation, MessageLeve([&] { TypeMotDePasseOffusque::Comparer(abime, valeur); })) << c.nom;
  }
}

TEST(ValeursOffusquees, MalformedTextFormsAreRefused) {
  const std::wstring bon = TypeLoginOffusque::Create(L"x").GetValeurHexa();
  for (const std::wstring& texte : {bon.substr(1), bon + L"0", bon.substr(0, 10) + L"G" + bon.substr(11),
                                    std::wstring(L"0100000"), std::wstring(L" ") + bon.substr(1)})
    EXPECT_EQ(HexaIncorrecte, MessageLeve([&] { TypeLoginOffusque::CreateHexa(texte); })) << VersUtf8(texte);
}

TEST(ValeursOffusquees, Comparisons) {
  using L = TypeLoginOffusque;
  using M = TypeMotDePasseOffusque;
  const TypeModeComparaison exact{}, casse{true, false}, accents{false, true};
  struct Cas {
    const char* nom;
    int attendu;
    int obtenu;
  };
  const Cas cas[] = {
      {"login trimmed", 0, L::Comparer(L::Create(L"  Admin\t"), L::Create(L"Admin"))},
      {"login case", 0, L::Comparer(L::Create(L"ADMIN"), L::Create(L"admin"))},
      {"login accents count", 1, std::abs(L::Comparer(L::Create(L"élève"), L::Create(L"eleve")))},
      {"password case", 1, std::abs(M::Comparer(M::Create(L"Secret"), M::Create(L"secret")))},
      {"order", -1, M::Comparer(M::Create(L"alpha"), M::Create(L"beta"))},
      {"order reversed", 1, M::Comparer(M::Create(L"beta"), M::Create(L"alpha"))},
      {"explicit ignore case", 0, M::Comparer(M::Create(L"Secret"), M::Create(L"secret"), casse)},
      {"explicit ignore accents", 0, L::Comparer(L::Create(L"élève"), L::Create(L"eleve"), accents)},
      {"explicit exact", 1, std::abs(L::Comparer(L::Create(L"Admin"), L::Create(L"admin"), exact))},
      // A login read with ignore-case meets a password-like exact one: the union ignores case.
      {"union of modes", 0, M::Comparer(M{M::Create(L"Abc").ValeurOffusquee, casse}, M::Create(L"aBC"))},
      // The zero-filled record (no credentials) is the empty text, never a decoding failure.
      {"absent vs absent", 0, L::Comparer(L{}, L{})},
      {"absent vs empty", 0, L::Comparer(L{}, L::Create(L""))},
      {"absent vs value", -1, L::Comparer(L{}, L::Create(L"proxyuser"))},
  };
  for (const auto& c : cas) EXPECT_EQ(c.attendu, c.obtenu) << c.nom;

  EXPECT_TRUE(L::Create(L"Admin").MemeValeurQue(L"  admin "));
  EXPECT_FALSE(M::Create(L"Secret").MemeValeurQue(L"secret"));
  EXPECT_TRUE(M::Create(L"Secret").MemeValeurQue(L" Secret\t"));
  EXPECT_EQ(L"", L{}.GetValeur());
}
