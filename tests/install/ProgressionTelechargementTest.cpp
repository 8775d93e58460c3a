// What the window shows of a download in progress: sizes, durations, the line under step 6 and
// the estimate of the time left.
#include <gtest/gtest.h>

#include "core/Chaines.h"
#include "install/ProgressionTelechargement.h"

using namespace norvel;

namespace {

constexpr uint64_t Mio = 1048576;

TEST(ProgressionTelechargement, TexteDeLaLigneSousLEtape) {
  struct TCas {
    uint64_t Recus, Total;
    std::optional<uint64_t> Restant;
    const wchar_t* Texte;
  };
  const TCas cas[] = {
      {84 * Mio, 200 * Mio, 12, L"Téléchargement de l'installation en cours ... 42 % (84,0 Mio sur 200,0 Mio, encore 12 s)"},
      {84 * Mio, 200 * Mio, std::nullopt, L"Téléchargement de l'installation en cours ... 42 % (84,0 Mio sur 200,0 Mio)"},
      {0, 200 * Mio, std::nullopt, L"Téléchargement de l'installation en cours ... 0 % (0,0 Mio sur 200,0 Mio)"},
      {200 * Mio, 200 * Mio, std::nullopt, L"Téléchargement de l'installation en cours ... 100 % (200,0 Mio sur 200,0 Mio)"},
      {Mio + Mio / 2, 1024 * Mio, 185, L"Téléchargement de l'installation en cours ... 0 % (1,5 Mio sur 1024,0 Mio, encore 3 min 05 s)"},
      {3 * Mio, 3 * Mio + 1, 3720, L"Téléchargement de l'installation en cours ... 99 % (3,0 Mio sur 3,0 Mio, encore 1 h 02 min)"},
      // The size not announced: what came so far, with no percent.
      {3 * Mio, 0, std::nullopt, L"Téléchargement de l'installation en cours ... 3,0 Mio reçus"},
  };
  for (const TCas& c : cas) EXPECT_EQ(TexteProgressionTelechargement(c.Recus, c.Total, c.Restant), c.Texte) << VersUtf8(c.Texte);
}

TEST(ProgressionTelechargement, TempsRestantSelonLeDebitDepuisLeDebut) {
  TEstimationTempsRestant estimation;
  EXPECT_EQ(estimation.SecondesRestantes(0, 100 * Mio, 10000), std::nullopt);
  // The first moments say too little.
  EXPECT_EQ(estimation.SecondesRestantes(10 * Mio, 100 * Mio, 11000), std::nullopt);
  // 40 MiB in 4 s: 60 MiB left take 6 s.
  EXPECT_EQ(estimation.SecondesRestantes(40 * Mio, 100 * Mio, 14000), 6u);
  EXPECT_EQ(estimation.SecondesRestantes(100 * Mio, 100 * Mio, 20000), std::nullopt);
  // Starting again from zero (a server that ignored the range): the old rate no longer counts.
  EXPECT_EQ(estimation.SecondesRestantes(0, 100 * Mio, 21000), std::nullopt);
  EXPECT_EQ(estimation.SecondesRestantes(5 * Mio, 100 * Mio, 22000), std::nullopt);
  EXPECT_EQ(estimation.SecondesRestantes(20 * Mio, 100 * Mio, 25000), 16u);
  // Unknown size: no estimate at all.
  TEstimationTempsRestant sansTaille;
  sansTaille.SecondesRestantes(0, 0, 0);
  EXPECT_EQ(sansTaille.SecondesRestantes(50 * Mio, 0, 10000), std::nullopt);
}

}  // namespace
