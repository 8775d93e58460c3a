// The wizard's embedded images and icons, decoded as the window will draw them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/Exceptions.h"
#include "core/ImageRessource.h"
#include "core/Ressources.h"

using namespace norvel;

namespace {

struct TPixel {
  uint8_t b, g, r, a;
};

std::vector<TPixel> Pixels(const TImageBitmap& image) {
  DIBSECTION section{};
  EXPECT_EQ(static_cast<int>(sizeof(section)), GetObjectW(image.Bitmap.Get(), sizeof(section), &section));
  EXPECT_EQ(32, section.dsBm.bmBitsPixel);
  const auto* debut = static_cast<const TPixel*>(section.dsBm.bmBits);
  return {debut, debut + static_cast<size_t>(image.Largeur) * image.Hauteur};
}

// Premultiplied: no colour component may exceed the pixel's alpha.
void VerifierPremultiplie(const std::vector<TPixel>& pixels, const std::wstring& nom) {
  size_t fautes = 0;
  for (const auto& p : pixels) fautes += (p.r > p.a || p.g > p.a || p.b > p.a);
  EXPECT_EQ(0u, fautes) << "pixels not premultiplied in " << testing::PrintToString(nom);
}

}  // namespace

TEST(ImagesRessources, SideStripsAndTickDecodeAtTheirSize) {
  struct Cas {
    const wchar_t* nom;
    int largeur, hauteur;
    bool opaque;
  };
  const Cas cas[] = {
      {L"IMAGE_CONFIG", 79, 521, true},
      {L"IMAGE_ECOLE", 79, 521, true},
      {L"IMAGE_INSTALL", 79, 521, true},
      {L"IMAGE_COCHE", 30, 30, false},
  };
  for (const auto& c : cas) {
    const auto image = ChargerImageRessource(c.nom);
    ASSERT_TRUE(image.Bitmap) << testing::PrintToString(std::wstring(c.nom));
    EXPECT_EQ(c.largeur, image.Largeur);
    EXPECT_EQ(c.hauteur, image.Hauteur);
    const auto pixels = Pixels(image);
    VerifierPremultiplie(pixels, c.nom);
    if (c.opaque) {
      for (const auto& p : pixels) ASSERT_EQ(255, p.a) << "a side strip has no transparent pixel";
      // Rows top-down: the white pictogram sits near the top, on the strip's axis.
      const TPixel pictogramme = pixels[70 * c.largeur + 39], bas = pixels[500 * c.largeur + 39];
      EXPECT_GT(pictogramme.r, 235);
      EXPECT_GT(pictogramme.g, 235);
      EXPECT_GT(pictogramme.b, 235);
      EXPECT_LT(std::min({bas.r, bas.g, bas.b}), 200);
    }
  }
}

TEST(ImagesRessources, TickIsGreenOnTransparent) {
  const auto pixels = Pixels(ChargerImageRessource(L"IMAGE_COCHE"));
  const TPixel coin = pixels[0];
  EXPECT_EQ(0, coin.a);
  EXPECT_EQ(0, coin.g) << "a transparent pixel carries no colour once premultiplied";
  // The stroke passes through the bend of the tick (12, 21).
  const TPixel coude = pixels[21 * 30 + 12];
  EXPECT_EQ(255, coude.a);
  EXPECT_GT(coude.g, coude.r + 60);
  EXPECT_GT(coude.g, coude.b + 60);
}

TEST(ImagesRessources, IconFilesHoldSixSizesOf32Bits) {
  for (const wchar_t* nom : {L"PORTAILICONE", L"CLIENTNPICONE", L"CLIENTNPICONE2023"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(nom)));
    const std::string_view octets = DonneesRessource(nom);
    ASSERT_GE(octets.size(), 6u);
    uint16_t entete[3];
    std::memcpy(entete, octets.data(), sizeof(entete));
    EXPECT_EQ(0, entete[0]);
    EXPECT_EQ(1, entete[1]) << "type 1: icon";
    ASSERT_EQ(6, entete[2]);
    ASSERT_GE(octets.size(), 6u + 16u * 6u);
    const int attendues[] = {256, 128, 64, 48, 32, 16};
    for (int i = 0; i < 6; ++i) {
      const auto* entree = reinterpret_cast<const uint8_t*>(octets.data()) + 6 + 16 * i;
      const int cote = entree[0] == 0 ? 256 : entree[0];
      uint16_t bits;
      uint32_t taille, position;
      std::memcpy(&bits, entree + 6, 2);
      std::memcpy(&taille, entree + 8, 4);
      std::memcpy(&position, entree + 12, 4);
      EXPECT_EQ(attendues[i], cote);
      EXPECT_EQ(entree[0], entree[1]) << "square images";
      EXPECT_EQ(32, bits);
      EXPECT_LE(static_cast<size_t>(position) + taille, octets.size()) << "image " << i << " inside the file";
    }
    // Every size decodes as itself; a size in between is scaled down from the next larger one.
    for (int cote : {256, 128, 64, 48, 32, 16, 22}) {
      const auto image = ChargerIconeRessource(nom, cote);
      EXPECT_EQ(cote, image.Largeur);
      EXPECT_EQ(cote, image.Hauteur);
      const auto pixels = Pixels(image);
      VerifierPremultiplie(pixels, nom);
      EXPECT_EQ(0, pixels[0].a) << "transparent corner at " << cote;
      EXPECT_EQ(255, pixels[(cote / 2) * cote + cote / 2].a) << "opaque centre at " << cote;
    }
  }
}

TEST(ImagesRessources, TheTwoClientIconsDiffer) {
  const auto normale = Pixels(ChargerIconeRessource(L"CLIENTNPICONE", 32));
  const auto millesime2023 = Pixels(ChargerIconeRessource(L"CLIENTNPICONE2023", 32));
  // The 2023 client carries an orange corner: red well above blue near the bottom right.
  const TPixel a = normale[27 * 32 + 27], b = millesime2023[27 * 32 + 27];
  EXPECT_LT(a.r, a.b);
  EXPECT_GT(b.r, b.b + 80);
}

TEST(ImagesRessources, MissingResourceRaisesItsCall) {
  try {
    ChargerImageRessource(L"IMAGE_ABSENTE");
    FAIL() << "a missing resource must raise";
  } catch (const EOvalis& e) {
    EXPECT_NE(std::wstring::npos, e.Message().find(L"FindResource")) << e.what();
  }
}

// At another display scale the images are resampled, the same way on every system.
TEST(ImagesRessources, ResampledForTheDisplayScale) {
  const auto coche = ChargerImageRessource(L"IMAGE_COCHE");
  for (int cote : {22, 33, 45}) {
    SCOPED_TRACE(cote);
    const auto image = Redimensionner(coche, cote, cote);
    ASSERT_EQ(cote, image.Largeur);
    ASSERT_EQ(cote, image.Hauteur);
    const auto pixels = Pixels(image);
    VerifierPremultiplie(pixels, L"IMAGE_COCHE");
    EXPECT_EQ(0, pixels[0].a) << "the corner stays transparent";
    const TPixel coude = pixels[(21 * cote / 30) * cote + 12 * cote / 30];
    EXPECT_GT(coude.a, 200) << "the bend of the tick stays solid";
    EXPECT_GT(coude.g, coude.r + 40);
  }
  const auto bande = Redimensionner(ChargerImageRessource(L"IMAGE_CONFIG"), 119, 782);
  const auto pixels = Pixels(bande);
  for (const auto& p : pixels) ASSERT_EQ(255, p.a) << "an opaque image stays opaque";
  const TPixel pictogramme = pixels[105 * 119 + 59];
  EXPECT_GT(std::min({pictogramme.r, pictogramme.g, pictogramme.b}), 225);
}
