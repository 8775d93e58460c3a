// Parameter files shared between processes: the machine-wide lock, writes of two processes, a
// writer that dies in the middle, external changes found by a check or by the file watcher.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

#include "platform/AttenteApplication.h"
#include "platform/DocumentXml.h"
#include "platform/FichiersPartages.h"
#include "platform/LigneDeCommande.h"
#include "platform/MutexFichierPartage.h"
#include "platform/PersistanceParametres.h"
#include "platform/ServicesApplication.h"
#include "platform/SurveillanceFichier.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"
#include "support/Sondage.h"

using namespace norvel;
using namespace norvel::test;

namespace {

std::wstring Parametre(const wchar_t* nom) {
  std::wstring valeur;
  TLigneDeCommande::ValeurParam(nom, valeur);
  return valeur;
}

// Records what the persistence object reports about changes made elsewhere.
class TTraitementEssai : public TImplemente<TObjetInterfacable, ITraitementModifExternePersistanceApplicatif> {
 public:
  void SurModificationExterne(IPersistanceParametresApplicatif* APersistance, bool AEcritureEnCours) override {
    FPersistance = APersistance;
    (AEcritureEnCours ? FPendantEcriture : FParVerification)++;
  }
  IPersistanceParametresApplicatif* FPersistance = nullptr;
  std::atomic<int> FPendantEcriture{0};
  std::atomic<int> FParVerification{0};
};

// Another process adds a block to the file and writes it; prints whether the write happened.
NORVEL_PROGRAMME_ENFANT(EcrireBlocPersistance) {
  const auto persistance = NouvelObjet<TPersistanceParametresApplicatif>(Parametre(L"fichier"), L"1");
  persistance->AjouterNoeud(Parametre(L"bloc"), 1, false);
  EcrireLigneEnfant(persistance->EcrireFichier() ? L"true" : L"false");
  return 0;
}

// Another process takes the file's lock, says so, and waits for the word to let it go; with
// "-abandonner" it dies holding it.
NORVEL_PROGRAMME_ENFANT(TenirVerrouFichier) {
  TMutexFichierPartage mutex(Parametre(L"fichier"));
  const auto verrou = mutex.Prendre();
  TEvenementNomme(Parametre(L"tenu")).Signaler();
  if (TLigneDeCommande::ParametrePresent(L"abandonner")) TerminateProcess(GetCurrentProcess(), 0);
  TEvenementNomme(Parametre(L"liberer")).Attendre(30000);
  return 0;
}

// Another process writes large contents again and again until it is killed.
std::string ContenuNumerote(int numero, size_t taille) {
  const std::string debut = "DEBUT " + std::to_string(numero) + "\n";
  const std::string fin = "\nFIN " + std::to_string(numero) + "\n";
  return debut + std::string(taille, static_cast<char>('a' + numero % 26)) + fin;
}

bool ContenuComplet(const std::string& contenu) {
  if (contenu.rfind("DEBUT ", 0) != 0) return false;
  const size_t finLigne = contenu.find('\n');
  const std::string numero = contenu.substr(6, finLigne - 6);
  const std::string fin = "\nFIN " + numero + "\n";
  return contenu.size() > fin.size() && contenu.compare(contenu.size() - fin.size(), fin.size(), fin) == 0 &&
         contenu.find_first_not_of(contenu[finLigne + 1], finLigne + 1) == contenu.size() - fin.size();
}

NORVEL_PROGRAMME_ENFANT(EcrireSansFin) {
  const std::wstring fichier = Parametre(L"fichier");
  for (int numero = 1;; ++numero) EcrireFichierParRemplacement(fichier, ContenuNumerote(numero, 48u << 20));
}

class PersistancePartagee : public testing::Test {
 protected:
  TDossierTemporaire FTemp;
  std::wstring FFichier = FTemp.Fichier(L"Partage.xcfg");

  TRef<TPersistanceParametresApplicatif> Ouvrir() {
    return NouvelObjet<TPersistanceParametresApplicatif>(FFichier, L"1");
  }
  std::wstring ArgumentsFichier() const { return L"-fichier \"" + FFichier + L"\""; }

  // Another process that holds the file's lock from its construction until Liberer, or that
  // dies holding it.
  struct TAutreDetenteur {
    TAutreDetenteur(const PersistancePartagee& test, bool abandonner)
        : Tenu(NomUnique(L"norvel-tenu")),
          Liberation(NomUnique(L"norvel-liberer")),
          EvtTenu(Tenu),
          EvtLiberer(Liberation),
          Enfant(L"TenirVerrouFichier", test.ArgumentsFichier() + L" -tenu " + Tenu + L" -liberer " + Liberation +
                                            (abandonner ? L" -abandonner" : L"")) {
      if (!EvtTenu.Attendre()) throw std::runtime_error("the other process never took the lock");
    }
    void Liberer() { EvtLiberer.Signaler(); }

    std::wstring Tenu, Liberation;
    TEvenementNomme EvtTenu, EvtLiberer;
    TProgrammeEnfantEnCours Enfant;
  };
};

TEST_F(PersistancePartagee, MutexNameComesFromTheLowerCasePath) {
  EXPECT_EQ(L"Global\\E2DAF41F10A144F8515A87173652987C",
            TMutexFichierPartage::NomMutex(L"C:\\Dossier\\Configé.xcfg"));
  EXPECT_EQ(TMutexFichierPartage::NomMutex(L"C:\\Dossier\\Configé.xcfg"),
            TMutexFichierPartage::NomMutex(L"c:\\DOSSIER\\CONFIGÉ.XCFG"));
}

TEST_F(PersistancePartagee, SecondWriterIsToldOfTheFirstOnesWriteAndDoesNotOverwriteIt) {
  EcrireOctets(FFichier, "<ROOT/>");
  const auto persistance = Ouvrir();
  const auto traitement = NouvelObjet<TTraitementEssai>();
  persistance->SetTraitementModifExterne(traitement.Get());

  const auto enfant = LancerProgrammeEnfant(L"EcrireBlocPersistance", ArgumentsFichier() + L" -bloc DeLEnfant");
  ASSERT_EQ(0u, enfant.CodeSortie) << enfant.Sortie;
  EXPECT_EQ(L"true\n", enfant.Sortie);

  persistance->AjouterNoeud(L"DuParent", 1, false);
  EXPECT_FALSE(persistance->EcrireFichier());
  EXPECT_EQ(1, traitement->FPendantEcriture);
  EXPECT_EQ(0, traitement->FParVerification);
  EXPECT_EQ(static_cast<IPersistanceParametresApplicatif*>(persistance.Get()), traitement->FPersistance);
  std::string contenu = LireOctets(FFichier);
  EXPECT_NE(std::string::npos, contenu.find("<DeLEnfant"));
  EXPECT_EQ(std::string::npos, contenu.find("<DuParent"));

  // Told, the writer reads the file again and adds its change to the other's.
  persistance->LireFichier();
  persistance->AjouterNoeud(L"DuParent", 1, false);
  EXPECT_TRUE(persistance->EcrireFichier());
  contenu = LireOctets(FFichier);
  EXPECT_NE(std::string::npos, contenu.find("<DeLEnfant"));
  EXPECT_NE(std::string::npos, contenu.find("<DuParent"));
  EXPECT_EQ(1, traitement->FPendantEcriture);
}

TEST_F(PersistancePartagee, WithoutAHandlerTheSecondWriterOverwrites) {
  const auto persistance = Ouvrir();
  const auto enfant = LancerProgrammeEnfant(L"EcrireBlocPersistance", ArgumentsFichier() + L" -bloc DeLEnfant");
  ASSERT_EQ(0u, enfant.CodeSortie) << enfant.Sortie;
  persistance->AjouterNoeud(L"DuParent", 1, false);
  EXPECT_TRUE(persistance->EcrireFichier());
  const std::string contenu = LireOctets(FFichier);
  EXPECT_EQ(std::string::npos, contenu.find("<DeLEnfant"));
  EXPECT_NE(std::string::npos, contenu.find("<DuParent"));
}

TEST_F(PersistancePartagee, ReadingWaitsForTheLockOfAnotherProcess) {
  TAutreDetenteur autre(*this, false);

  std::atomic<bool> lu{false};
  std::thread lecteur([&] {
    Ouvrir();
    lu = true;
  });
  Sleep(300);
  EXPECT_FALSE(lu) << "read while another process held the lock";
  autre.Liberer();
  lecteur.join();
  EXPECT_TRUE(lu);
  EXPECT_EQ(0u, autre.Enfant.AttendreFin());
}

TEST_F(PersistancePartagee, LockOfAProcessThatDiedIsTakenOver) {
  TAutreDetenteur(*this, true).Enfant.AttendreFin();
  const auto persistance = Ouvrir();
  EXPECT_TRUE(persistance->EcrireFichier());
}

// A writer with a handler that finds the lock of a dead process does not overwrite what that
// process may have written: it is told to read the file again, and its next write goes through.
TEST_F(PersistancePartagee, WriterFindingTheLockOfADeadProcessReadsTheFileAgain) {
  const auto persistance = Ouvrir();
  const auto traitement = NouvelObjet<TTraitementEssai>();
  persistance->SetTraitementModifExterne(traitement.Get());
  TAutreDetenteur(*this, true).Enfant.AttendreFin();
  EXPECT_FALSE(persistance->EcrireFichier());
  EXPECT_EQ(traitement->FPendantEcriture, 1);
  EXPECT_TRUE(persistance->EcrireFichier());
  EXPECT_EQ(traitement->FPendantEcriture, 1);
}

// A lock kept by a stuck process is waited for a bounded time, then refused with a message that
// names the file.
TEST_F(PersistancePartagee, LockKeptTooLongByAnotherProcessIsRefusedAfterTheDelay) {
  TAutreDetenteur autre(*this, false);
  TMutexFichierPartage mutex(FFichier, 2000);
  const ULONGLONG debut = GetTickCount64();
  try {
    mutex.Prendre();
    ADD_FAILURE() << "the lock was taken while another process held it";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), L"Le fichier " + FFichier +
                               L" est verrouillé par un autre programme depuis plus de 2 secondes : réessayez plus tard.");
  }
  EXPECT_GE(GetTickCount64() - debut, 1900u);
  autre.Liberer();
  EXPECT_EQ(0u, autre.Enfant.AttendreFin());
  EXPECT_NO_THROW(mutex.Prendre());
}

// The writer is killed as soon as it touches the folder, and later at other moments of its
// work: the shared file must always hold one whole content.
TEST_F(PersistancePartagee, AWriterKilledInTheMiddleNeverLeavesAHalfWrittenFile) {
  const std::string ancien = ContenuNumerote(0, 1000);
  EcrireFichierParRemplacement(FFichier, ancien);
  const auto nombreFichiers = [&] {
    return std::distance(std::filesystem::directory_iterator(FTemp.Chemin()), std::filesystem::directory_iterator());
  };
  for (const DWORD apresPremierChangement : {0u, 20u, 120u, 400u}) {
    const uint64_t dateAvant = DateModificationFichier(FFichier);
    const auto tailleAvant = std::filesystem::file_size(FFichier);
    TProgrammeEnfantEnCours enfant(L"EcrireSansFin", ArgumentsFichier());
    ASSERT_TRUE(AttendreQue([&] {
      return nombreFichiers() > 1 || DateModificationFichier(FFichier) != dateAvant ||
             std::filesystem::file_size(FFichier) != tailleAvant;
    })) << "the writer never started";
    Sleep(apresPremierChangement);
    enfant.Tuer();
    const std::string contenu = LireOctets(FFichier);
    EXPECT_TRUE(ContenuComplet(contenu)) << "killed " << apresPremierChangement << " ms after its first change: "
                                         << contenu.size() << " bytes";
  }
  // The next write clears what the killed writers left.
  EcrireFichierParRemplacement(FFichier, ancien);
  EXPECT_EQ(1, nombreFichiers());
  EXPECT_EQ(ancien, LireOctets(FFichier));
}

// An administrator's rights and attributes on the shared file stay after a write replaces it.
TEST_F(PersistancePartagee, AWriteKeepsTheFilesProtectedRightsAndAttributes) {
  EcrireFichierParRemplacement(FFichier, "avant");
  const auto lireDacl = [&] {
    PSECURITY_DESCRIPTOR descripteur = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, GetNamedSecurityInfoW(FFichier.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                                   nullptr, nullptr, nullptr, nullptr, &descripteur));
    wchar_t* texte = nullptr;
    EXPECT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(descripteur, SDDL_REVISION_1,
                                                                     DACL_SECURITY_INFORMATION, &texte, nullptr));
    std::wstring resultat = texte ? texte : L"";
    LocalFree(texte);
    LocalFree(descripteur);
    return resultat;
  };
  PSECURITY_DESCRIPTOR voulu = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;WD)(A;;FR;;;BU)", SDDL_REVISION_1,
                                                                    &voulu, nullptr));
  BOOL present = FALSE, parDefaut = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(voulu, &present, &dacl, &parDefaut));
  ASSERT_EQ(ERROR_SUCCESS, SetNamedSecurityInfoW(FFichier.data(), SE_FILE_OBJECT,
                                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                                 nullptr, nullptr, dacl, nullptr));
  LocalFree(voulu);
  ASSERT_TRUE(SetFileAttributesW(FFichier.c_str(), FILE_ATTRIBUTE_HIDDEN));
  const std::wstring avant = lireDacl();

  EcrireFichierParRemplacement(FFichier, "apres");
  EXPECT_EQ("apres", LireOctets(FFichier));
  EXPECT_EQ(avant, lireDacl());
  EXPECT_NE(0u, GetFileAttributesW(FFichier.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(PersistancePartagee, CheckFindsAChangeMadeElsewhereOnce) {
  const auto persistance = Ouvrir();
  const auto traitement = NouvelObjet<TTraitementEssai>();
  persistance->SetTraitementModifExterne(traitement.Get());
  persistance->VerifierModifExterne();
  EXPECT_EQ(0, traitement->FParVerification);

  const auto autre = Ouvrir();
  autre->AjouterNoeud(L"Ailleurs", 1, false);
  ASSERT_TRUE(autre->EcrireFichier());
  persistance->VerifierModifExterne();
  EXPECT_EQ(1, traitement->FParVerification);
  persistance->VerifierModifExterne();
  EXPECT_EQ(1, traitement->FParVerification);
  EXPECT_EQ(0, traitement->FPendantEcriture);
}

// The watcher reports a change that another process made through the idle step of the main
// thread's loop: the wait below sleeps until a message comes, with no timer of its own.
TEST_F(PersistancePartagee, WatchedFileReportsAnotherProcesssWriteThroughTheIdleStep) {
  TApplicationGraphique& application = TApplicationGraphique::Instance();
  application.Initialiser();
  application.SetSurInactivite([](bool& fini) { fini = TServicesApplication::Invoquer(dsiIdle) && fini; });
  const auto attente = NouvelObjet<TAttenteApplicationFmx>();

  ASSERT_TRUE(Ouvrir()->EcrireFichier());
  const auto persistance = Ouvrir();
  const auto traitement = NouvelObjet<TTraitementEssai>();
  persistance->SetTraitementModifExterne(traitement.Get());
  persistance->SetAvecServiceOvalisSurveillance(true);
  EXPECT_TRUE(persistance->GetAvecServiceOvalisSurveillance());
  const DWORD threadPrincipal = GetCurrentThreadId();

  const auto enfant = LancerProgrammeEnfant(L"EcrireBlocPersistance", ArgumentsFichier() + L" -bloc DeLEnfant");
  ASSERT_EQ(L"true\n", enfant.Sortie);

  // A watchdog ends the wait if nothing comes, so a lost notification fails instead of hanging.
  std::atomic<bool> abandon{false};
  std::thread chien([&] {
    for (int i = 0; i < 1000 && traitement->FParVerification == 0; ++i) Sleep(10);
    abandon = true;
    attente->Reveiller(nullptr);
  });
  DWORD threadDuTraitement = 0;
  auto condition = ConditionFinDAttente([&] {
    if (traitement->FParVerification > 0 && threadDuTraitement == 0) threadDuTraitement = GetCurrentThreadId();
    return traitement->FParVerification > 0 || abandon;
  });
  attente->Attendre(condition.Get(), 0);
  chien.join();
  EXPECT_EQ(1, traitement->FParVerification);
  EXPECT_EQ(0, traitement->FPendantEcriture);
  EXPECT_EQ(threadPrincipal, threadDuTraitement);

  persistance->SetAvecServiceOvalisSurveillance(false);
  EXPECT_FALSE(persistance->GetAvecServiceOvalisSurveillance());
  TServicesApplication::Arreter();
  application.SetSurInactivite(nullptr);
}

// A watcher that cannot watch reports it once and starts again after the delay.
TEST_F(PersistancePartagee, FailedWatcherIsReportedAndStartedAgainLater) {
  struct TTraitement : TImplemente<TObjetInterfacable, ITraitementSurModificationFichier> {
    int FModifications = 0;
    std::vector<std::wstring> FErreurs;
    void SurModificationFichier(const std::wstring&) override { ++FModifications; }
    void SurErreurSurveillance(const std::wstring&, std::exception_ptr erreur) override {
      try {
        std::rethrow_exception(erreur);
      } catch (const std::exception& e) {
        FErreurs.push_back(MessageDe(e));
      }
    }
  };
  const std::wstring dossier = FTemp.Fichier(L"pas encore");
  const std::wstring fichier = dossier + L"\\Surveille.xcfg";
  const auto traitement = NouvelObjet<TTraitement>();
  const auto service =
      NouvelObjet<TSurveillantModificationFichier>(fichier, NotificationDerniereEcriture, traitement, 200);

  // The folder is missing: the watcher fails, once.
  ASSERT_TRUE(AttendreQue([&] {
    EXPECT_TRUE(service->Traiter());
    return !traitement->FErreurs.empty();
  }));
  ASSERT_EQ(1u, traitement->FErreurs.size());
  EXPECT_NE(std::wstring::npos, traitement->FErreurs[0].find(L"FindFirstChangeNotification"))
      << VersUtf8(traitement->FErreurs[0]);

  // Once the folder exists the watcher comes back after the delay and sees the file change.
  ASSERT_TRUE(CreateDirectoryW(dossier.c_str(), nullptr));
  const ULONGLONG debut = GetTickCount64();
  bool modifie = false;
  ASSERT_TRUE(AttendreQue([&] {
    service->Traiter();
    if (GetTickCount64() - debut > 50) EcrireOctets(fichier, std::to_string(GetTickCount64()));
    modifie = traitement->FModifications > 0;
    return modifie;
  }));
  EXPECT_GE(GetTickCount64() - debut, 200u);
  EXPECT_EQ(1u, traitement->FErreurs.size());

  // Detached, the service has nothing more to do.
  service->DetacherTraitement();
  const int avant = traitement->FModifications;
  EcrireOctets(fichier, "fin");
  Sleep(100);
  EXPECT_TRUE(service->Traiter());
  EXPECT_EQ(avant, traitement->FModifications);
}

}  // namespace
