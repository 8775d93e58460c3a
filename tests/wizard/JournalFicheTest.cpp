// The window and the journal of its run: a failure shows the button that opens the journal
// (and only when there is one); the identifier the command line gave is typed in for the user.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "core/Chaines.h"
#include "platform/Journal.h"
#include "support/CheminsTest.h"
#include "wizard/FicheInstalleurEssai.h"

using namespace norvel;
using namespace norvel::test;

TEST(FicheEtJournal, AFailedLookupOffersTheJournalThatHoldsItsRequest) {
  const TDossierTemporaire temp;
  const std::wstring chemin = temp.Fichier(L"journal.log");
  DefinirJournalProcessus(std::make_shared<TJournalFichier>(chemin, nullptr));
  {
    TBancFiche banc;
    banc.Ouvrir();
    EXPECT_FALSE(banc.Visible(Id::LienJournal));
    // As -RNE gives it: in the box, "Valider" ready.
    banc.Fiche().PreRemplirRne(L"0000000X");
    EXPECT_EQ(banc.Texte(Id::EditRNE), L"0000000X");
    EXPECT_TRUE(banc.Actif(Id::BtnValidationRNE));
    banc.Cliquer(Id::BtnValidationRNE);
    ASSERT_TRUE(banc.Pomper([&] { return banc.Visible(Id::LabelErreurEtape2); }));
    EXPECT_TRUE(banc.Visible(Id::LienJournal));
    EXPECT_EQ(banc.Texte(Id::LienJournal), L"Ouvrir le journal");
    banc.Capturer(L"journal-propose");
  }
  DefinirJournalProcessus(nullptr);
  const std::wstring journal = DepuisUtf8(LireOctets(chemin));
  const size_t requete = journal.find(L"/api/InfosNP/0000000X?plateforme=Win64 (");
  ASSERT_NE(requete, std::wstring::npos) << VersUtf8(journal);
  EXPECT_EQ(journal.find(L") : statut 400, ", requete), journal.find(L')', requete)) << VersUtf8(journal);
}

TEST(FicheEtJournal, WithoutAJournalNothingIsOffered) {
  TBancFiche banc;
  banc.Ouvrir();
  banc.Saisir(L"0000000X");
  banc.Cliquer(Id::BtnValidationRNE);
  ASSERT_TRUE(banc.Pomper([&] { return banc.Visible(Id::LabelErreurEtape2); }));
  EXPECT_FALSE(banc.Visible(Id::LienJournal));
}
