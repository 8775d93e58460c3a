// The configuration thread: the master under its lock, changes with the revision check, the
// file written after changes and reloaded when another process rewrote it, the stop that waits
// for the treatments, and the thread's fatal exception handed to whoever waits.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/Chemins.h"
#include "platform/LigneDeCommande.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "core/Messages.h"
#include "httpconfig/TraitementConfigClientsHttp.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"
#include "support/ProxyMachineTemporaire.h"
#include "support/Sondage.h"

namespace norvel::test {
namespace {

using enum TypeGenreConfigProxyClientsHttp;

const std::string Bom = "\xEF\xBB\xBF";

std::wstring Parametre(const wchar_t* nom) {
  std::wstring valeur;
  TLigneDeCommande::ValeurParam(nom, valeur);
  return valeur;
}

// A treatment achieved at the first Traiter after `pret` holds; it can also change the master.
class TTraitementEssai : public TTraitementConfigClientsHttp {
 public:
  explicit TTraitementEssai(TRef<IReveilThread> reveil, std::function<bool()> pret = [] { return true; },
                            std::function<void(TypeConfigClientsHttp&)> changement = nullptr)
      : TTraitementConfigClientsHttp(std::move(reveil)), FPret(std::move(pret)), FChangement(std::move(changement)) {}
  void Traiter(TypeConfigClientsHttp& config) override {
    ++Appels;
    if (!FPret()) return;
    if (FChangement) FChangement(config);
    SignalerAcheve();
  }
  std::atomic<int> Appels{0};

 private:
  std::function<bool()> FPret;
  std::function<void(TypeConfigClientsHttp&)> FChangement;
};

class ThreadConfigClientsHttp : public testing::Test {
 protected:
  TDossierTemporaire FDossier;
  std::wstring FFichier = FDossier.Fichier(NomFichierConfigClientsHttp);
  std::unique_ptr<TThreadConfigClientsHttp> FThread;
  TypeConfigClientsHttp FCopie;
  TRef<IAttente> FAttente = NouvelObjet<TAttenteBloquante>();

  void Demarrer() {
    FThread = std::make_unique<TThreadConfigClientsHttp>(FDossier.Chemin().wstring(), L"NORVEL essais");
    FThread->Demarrer();
    FThread->AttendreFinInitialisation();
    FThread->VerifierChangementConfig(FCopie, false);
  }
  // The file as it stands; while it is being replaced it cannot be read, and is never empty
  // otherwise.
  std::string Fichier() const {
    std::string texte;
    AttendreQue([&] { return !(texte = LireOctets(FFichier)).empty(); }, 5000);
    return texte;
  }
  // The file holds `texte` (UTF-8), within a few seconds.
  bool FichierContient(std::wstring_view texte) const {
    return AttendreQue([&] { return Fichier().find(VersUtf8(texte)) != std::string::npos; }, 5000);
  }
  // One pass of the thread's loop after this moment has run, treatments included.
  void UnPassage() {
    const auto essai = NouvelObjet<TTraitementEssai>(FAttente);
    AttendreTraitement(FAttente.Get(), *FThread, essai.Get());
  }
  static std::string Document(std::string_view contenuRacine) {
    return Bom + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ROOT VERSION=\"1\">" + std::string(contenuRacine) +
           "</ROOT>\r\n";
  }
};

TEST_F(ThreadConfigClientsHttp, SansFichierLesValeursParDefautEtRienNEstEcritAvantLePremierChangement) {
  std::filesystem::remove_all(FDossier.Chemin());  // the publisher's folder does not exist yet
  Demarrer();
  EXPECT_EQ(FCopie.UserAgent(), L"NORVEL essais");
  EXPECT_EQ(FCopie.GenreConfigProxy(), gcpConfigSysteme);
  EXPECT_EQ(FCopie.TabExceptionsProxiesConnues(), (TypeTabChaines{L"<local>", L"127.0.0.1", L"localhost"}));
  EXPECT_EQ(FCopie.TabUrlTest().size(), 2u);
  for (const std::wstring& url : FCopie.TabUrlTest()) EXPECT_TRUE(CommencePar(url, L"https://")) << VersUtf8(url);
  UnPassage();
  Sleep(200);
  EXPECT_FALSE(FichierExiste(FFichier));

  EXPECT_TRUE(FThread->AjouterProxyConnu(L"premier:3128", FCopie));
  EXPECT_TRUE(FichierContient(L"<Proxy>premier:3128</Proxy>"));
  EXPECT_NE(Fichier().find("<Exception>localhost</Exception>"), std::string::npos);
}

TEST_F(ThreadConfigClientsHttp, UnChangementSurUneCopiePerimeeEstAbandonne) {
  Demarrer();
  TypeConfigClientsHttp autre = FCopie;
  const int32_t revision = FCopie.Revision();

  // Applied: the copy comes back fresh, with the change.
  EXPECT_TRUE(FThread->AjouterProxyConnu(L"a:1", FCopie));
  EXPECT_GT(FCopie.Revision(), revision);
  EXPECT_EQ(FCopie.TabProxiesConnus(), TypeTabChaines{L"a:1"});
  // A change that changes nothing leaves the copy as it is.
  EXPECT_FALSE(FThread->AjouterProxyConnu(L"A:1", FCopie));

  // Decided on the older state: dropped, and the copy refreshed.
  EXPECT_TRUE(FThread->SetGenreConfigProxy(gcpWpad, autre));
  EXPECT_EQ(autre.Revision(), FCopie.Revision());
  EXPECT_EQ(autre.GenreConfigProxy(), gcpConfigSysteme);
  EXPECT_EQ(autre.TabProxiesConnus(), TypeTabChaines{L"a:1"});
  EXPECT_FALSE(FThread->VerifierChangementConfig(FCopie, false));

  // Sent again on the fresh copy, it is applied.
  EXPECT_TRUE(FThread->SetGenreConfigProxy(gcpWpad, autre));
  EXPECT_EQ(autre.GenreConfigProxy(), gcpWpad);
  EXPECT_TRUE(FThread->VerifierChangementConfig(FCopie, false));
  EXPECT_EQ(FCopie.GenreConfigProxy(), gcpWpad);
}

TEST_F(ThreadConfigClientsHttp, OperationsDeModification) {
  Demarrer();
  TypePropositionModifConfigClientsHttp proposition;
  proposition.GenreConfigProxy = gcpConfigOvalis;
  proposition.ProxyHttpOvalis = L"propre:3128";
  proposition.ProxyHttpsOvalis = L"propre:3128";
  proposition.TabExceptionsProxiesOvalis = {L"intranet"};
  EXPECT_TRUE(FThread->AppliquerPropositionModifConfig(proposition, FCopie));
  EXPECT_TRUE(FThread->RenommerProxyConnu(L"propre:3128", L"autre:8080", FCopie));
  // The renamed proxy was the own one: it is cleared with its old name.
  EXPECT_EQ(FCopie.ProxyHttpOvalis(), L"");
  EXPECT_EQ(FCopie.TabProxiesConnus(), TypeTabChaines{L"autre:8080"});
  EXPECT_TRUE(FThread->RenommerExceptionProxiesConnue(L"intranet", L"intranet.ecole", FCopie));
  EXPECT_EQ(FCopie.TabExceptionsProxiesOvalis(), TypeTabChaines{});
  EXPECT_TRUE(FThread->AjouterUrlConfigProxiesConnue(L"http://pac/a.pac", FCopie));
  EXPECT_TRUE(FThread->RenommerUrlConfigProxiesConnue(L"http://pac/a.pac", L"http://pac/b.pac", FCopie));
  EXPECT_EQ(FCopie.TabUrlConfigProxiesConnues(), TypeTabChaines{L"http://pac/b.pac"});
  EXPECT_TRUE(FThread->SupprimerTabUrlTest(FCopie.TabUrlTest(), FCopie));
  EXPECT_TRUE(FThread->AjouterUrlTest(L"https://a/", FCopie));
  EXPECT_TRUE(FThread->RenommerUrlTest(L"https://a/", L"https://b/", FCopie));
  EXPECT_EQ(FCopie.TabUrlTest(), TypeTabChaines{L"https://b/"});
  EXPECT_TRUE(FThread->SetTabExceptionsProxiesOvalis({L"x.ecole", L"y.ecole"}, FCopie));
  EXPECT_TRUE(FThread->SupprimerTabExceptionsProxiesConnues({L"x.ecole", L"localhost"}, FCopie));
  EXPECT_EQ(FCopie.TabExceptionsProxiesOvalis(), TypeTabChaines{L"y.ecole"});
  EXPECT_TRUE(FThread->SetAnciennesVersionsTLS(true, FCopie));
  EXPECT_TRUE(FCopie.AnciennesVersionsTLS());
  EXPECT_TRUE(FichierContient(L"<UtiliserVersionsTLSDuSysteme>true</UtiliserVersionsTLSDuSysteme>"));
  EXPECT_NE(Fichier().find("<Url>https://b/</Url>"), std::string::npos);
  EXPECT_NE(Fichier().find("<Exception>intranet.ecole</Exception>"), std::string::npos);
}

TEST_F(ThreadConfigClientsHttp, LesNomsAvecBarreObliqueSontRefusesEtPurgesAuChargement) {
  EcrireOctets(FFichier, Document("<Version1><ProxiesConnus><Proxy>http://p:1</Proxy><Proxy>bon:2</Proxy>"
                                  "</ProxiesConnus><ExceptionsProxiesConnues><Exception>10.0.0.0/8</Exception>"
                                  "<Exception>ecole</Exception></ExceptionsProxiesConnues></Version1>"));
  Demarrer();
  EXPECT_EQ(FCopie.TabProxiesConnus(), TypeTabChaines{L"bon:2"});
  EXPECT_EQ(FCopie.TabExceptionsProxiesConnues(), TypeTabChaines{L"ecole"});
  // The purge is written back.
  EXPECT_TRUE(AttendreQue([&] { return Fichier().find("http://p:1") == std::string::npos; }, 5000));
  EXPECT_EQ(Fichier().find("10.0.0.0/8"), std::string::npos);
  EXPECT_NE(Fichier().find("<Proxy>bon:2</Proxy>"), std::string::npos);

  const int32_t revision = FCopie.Revision();
  const std::function<void()> refuses[] = {
      [&] { FThread->AjouterProxyConnu(L"a/b", FCopie); },
      [&] { FThread->RenommerProxyConnu(L"bon:2", L"http://bon:2", FCopie); },
      [&] { FThread->AjouterExceptionProxiesConnue(L"192.168.0.0/16", FCopie); },
      [&] { FThread->RenommerExceptionProxiesConnue(L"ecole", L"ecole/x", FCopie); },
  };
  for (const auto& refus : refuses) {
    try {
      refus();
      ADD_FAILURE() << "accepté";
    } catch (const EOvalis& e) {
      EXPECT_EQ(e.Message(), L"Un nom de serveur ne doit pas contenir le caractère \"/\"");
    }
  }
  EXPECT_FALSE(FThread->VerifierChangementConfig(FCopie, false));
  EXPECT_EQ(FCopie.Revision(), revision);
}

TEST_F(ThreadConfigClientsHttp, IdentifiantsGardesParLeMaitreEtEcritsOffusques) {
  Demarrer();
  FThread->SetInfoAuthProxy(L"squid:3128", {WINHTTP_AUTH_SCHEME_BASIC, TypeLoginOffusque::Create(L"directeur"),
                                            TypeMotDePasseOffusque::Create(L"Secret-2718")});
  EXPECT_EQ(FThread->GetTabProxiesAvecInfoAuth(), TypeTabChaines{L"squid:3128"});
  EXPECT_TRUE(FichierContient(L"<InfoAuthProxy Proxy=\"squid:3128\">"));
  EXPECT_EQ(Fichier().find("Secret-2718"), std::string::npos);
  // Copies never carry them.
  EXPECT_TRUE(FThread->VerifierChangementConfig(FCopie, false));
  EXPECT_TRUE(FCopie.GetTabProxiesAvecInfoAuth().empty());

  TypeInfoAuthHttp infoAuth;
  uint32_t schema = 0;
  ASSERT_TRUE(FThread->TryGetInfoAuthProxy(L"squid:3128", WINHTTP_AUTH_SCHEME_BASIC, WINHTTP_AUTH_SCHEME_BASIC, schema,
                                           infoAuth));
  EXPECT_EQ(infoAuth.MotDePasse.GetValeur(), L"Secret-2718");
  // Offered under Digest now: relabelled in the master, which is written again.
  TypeInfoAuthHttp vide;
  ASSERT_TRUE(FThread->TryGetInfoAuthProxy(L"squid:3128", WINHTTP_AUTH_SCHEME_DIGEST, WINHTTP_AUTH_SCHEME_DIGEST,
                                           schema, vide));
  EXPECT_EQ(schema, static_cast<uint32_t>(WINHTTP_AUTH_SCHEME_DIGEST));
  EXPECT_TRUE(FichierContient(L"<Schema>8</Schema>"));

  FThread->SupprimerInfoAuthDeProxies({L"SQUID:3128", L"inconnu:1"});
  EXPECT_TRUE(FThread->GetTabProxiesAvecInfoAuth().empty());
  EXPECT_TRUE(AttendreQue([&] { return Fichier().find("InfoAuthProxy ") == std::string::npos; }, 5000));
}

TEST_F(ThreadConfigClientsHttp, LesTraitementsSontMenesEtPeuventChangerLeMaitre) {
  Demarrer();
  const auto essai = NouvelObjet<TTraitementEssai>(
      FAttente, [] { return true; }, [](TypeConfigClientsHttp& config) { config.AjouterProxyConnu(L"trouve:8080"); });
  AttendreTraitement(FAttente.Get(), *FThread, essai.Get());
  EXPECT_EQ(essai->Appels, 1);
  EXPECT_TRUE(FThread->VerifierChangementConfig(FCopie, false));
  EXPECT_EQ(FCopie.TabProxiesConnus(), TypeTabChaines{L"trouve:8080"});
  EXPECT_TRUE(FichierContient(L"<Proxy>trouve:8080</Proxy>"));
  // Achieved, it is forgotten: no more calls.
  UnPassage();
  EXPECT_EQ(essai->Appels, 1);
}

TEST_F(ThreadConfigClientsHttp, LArretAttendLaFinDesTraitements) {
  Demarrer();
  std::atomic<bool> fini{false};
  const auto essai = NouvelObjet<TTraitementEssai>(FAttente, [&] { return fini.load(); });
  FThread->AjouterTraitement(essai.Get());
  FThread->DemanderArret();
  EXPECT_TRUE(AttendreQue([&] { return essai->Appels >= 1; }));
  Sleep(300);
  EXPECT_FALSE(FThread->Fini());
  // A change made meanwhile is still written on the way out.
  EXPECT_TRUE(FThread->AjouterProxyConnu(L"dernier:1", FCopie));
  fini = true;
  FThread->SignalerEvenement();
  FThread->AttendreArret();
  EXPECT_TRUE(essai->Acheve());
  EXPECT_NE(Fichier().find("<Proxy>dernier:1</Proxy>"), std::string::npos);
}

TEST_F(ThreadConfigClientsHttp, UneEcritureEmpecheeEstReprisePlusTard) {
  Demarrer();
  EXPECT_TRUE(FThread->AjouterProxyConnu(L"avant:1", FCopie));
  ASSERT_TRUE(FichierContient(L"<Proxy>avant:1</Proxy>"));
  {
    // Another program keeps the file open without letting it be replaced.
    THandleFichier lecteur(CreateFileW(FFichier.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lecteur);
    EXPECT_TRUE(FThread->AjouterProxyConnu(L"pendant:2", FCopie));
    // Whoever applied the change learns why it is not saved.
    std::optional<std::wstring> etat;
    EXPECT_TRUE(AttendreQue([&] { return (etat = FThread->EtatEnregistrement(FCopie.Revision())).has_value(); }, 5000));
    EXPECT_TRUE(CommencePar(etat.value_or(L""), L"Erreur interne (MoveFileEx, 0x")) << VersUtf8(etat.value_or(L""));
    Sleep(1500);
    EXPECT_FALSE(FThread->Fini());
    EXPECT_EQ(Fichier().find("pendant:2"), std::string::npos);
  }
  EXPECT_TRUE(FichierContient(L"<Proxy>pendant:2</Proxy>"));
  EXPECT_TRUE(AttendreQue([&] { return FThread->EtatEnregistrement(FCopie.Revision()) == std::wstring(); }, 5000));
  // Meanwhile the program went on working with the change.
  EXPECT_FALSE(FThread->VerifierChangementConfig(FCopie, false));
  EXPECT_EQ(FCopie.TabProxiesConnus(), (TypeTabChaines{L"avant:1", L"pendant:2"}));
}

// A second program of the publisher: its own configuration thread on the same folder adds a
// known proxy and stops, which writes the file.
NORVEL_PROGRAMME_ENFANT(AutreProgrammeConfigClientsHttp) {
  TThreadConfigClientsHttp thread(Parametre(L"dossier"), L"autre programme");
  thread.Demarrer();
  thread.AttendreFinInitialisation();
  TypeConfigClientsHttp copie;
  thread.VerifierChangementConfig(copie, false);
  // What the first program wrote is what this one starts from.
  EcrireLigneEnfant(copie.ProxyHttpOvalis());
  thread.AjouterProxyConnu(Parametre(L"proxy"), copie);
  return 0;
}

TEST_F(ThreadConfigClientsHttp, LaModificationDUnAutreProgrammeEstRechargeeEtLesAutresBlocsSurvivent) {
  EcrireOctets(FFichier, Document("<Autre VERSION=\"2\"><Reglage>garde</Reglage></Autre>"));
  Demarrer();
  EXPECT_TRUE(FThread->SetProxyHttpOvalis(L"parent:3128", FCopie));
  ASSERT_TRUE(FichierContient(L"<ProxyHttpOvalis>parent:3128</ProxyHttpOvalis>"));
  TypeConfigClientsHttp perimee = FCopie;

  const TResultatEnfant enfant = LancerProgrammeEnfant(
      L"AutreProgrammeConfigClientsHttp", L"-dossier \"" + FDossier.Chemin().wstring() + L"\" -proxy enfant:8080");
  ASSERT_EQ(enfant.CodeSortie, 0u) << VersUtf8(enfant.Sortie);
  EXPECT_EQ(enfant.Sortie, L"parent:3128\n");
  ASSERT_NE(Fichier().find("<Proxy>enfant:8080</Proxy>"), std::string::npos);

  // Reloaded within moments of the folder notification.
  ASSERT_TRUE(AttendreQue(
      [&] {
        FThread->VerifierChangementConfig(FCopie, false);
        return FCopie.TabProxiesConnus() == TypeTabChaines{L"enfant:8080", L"parent:3128"};
      },
      5000));
  // A change decided before the reload is dropped.
  EXPECT_TRUE(FThread->SetProxyHttpsOvalis(L"perime:1", perimee));
  EXPECT_EQ(perimee.ProxyHttpsOvalis(), L"");
  // The next change is written over the other program's version, the other block kept.
  EXPECT_TRUE(FThread->SetProxyHttpsOvalis(L"parent:3129", FCopie));
  ASSERT_TRUE(FichierContient(L"<ProxyHttpsOvalis>parent:3129</ProxyHttpsOvalis>")) << Fichier() << VersUtf8(FCopie.ProxyHttpsOvalis());
  const std::string texte = Fichier();
  EXPECT_NE(texte.find("<Proxy>enfant:8080</Proxy>"), std::string::npos);
  EXPECT_NE(texte.find("<Autre VERSION=\"2\">\r\n    <Reglage>garde</Reglage>\r\n  </Autre>"), std::string::npos)
      << texte;
  EXPECT_EQ(texte.find("perime:1"), std::string::npos);
}

TEST_F(ThreadConfigClientsHttp, UnFichierIllisibleEmpecheLeDemarrage) {
  EcrireOctets(FFichier, Document("<Version1><UtiliserVersionsTLSDuSysteme>oui</UtiliserVersionsTLSDuSysteme>"
                                  "</Version1>"));
  TThreadConfigClientsHttp thread(FDossier.Chemin().wstring(), L"NORVEL essais");
  thread.Demarrer();
  try {
    thread.AttendreFinInitialisation();
    ADD_FAILURE() << "démarré";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), Format(Msg::ValeurBooleenneXsdIncorrecte, {L"oui"}));
  }
}

TEST_F(ThreadConfigClientsHttp, LExceptionQuiArreteLeThreadEstLeveeChezCeluiQuiAttend) {
  Demarrer();
  // Another program writes a value this one cannot read: the reload ends the thread.
  std::thread autre([&] {
    Sleep(300);
    EcrireOctets(FFichier, Document("<Version1><InfoAuthProxies><InfoAuthProxy Proxy=\"p:1\"><Schema>Basic</Schema>"
                                    "<Identifiant>00</Identifiant><MotDePasse>00</MotDePasse></InfoAuthProxy>"
                                    "</InfoAuthProxies></Version1>"));
  });
  const auto jamais = NouvelObjet<TTraitementEssai>(FAttente, [] { return false; });
  try {
    AttendreTraitement(FAttente.Get(), *FThread, jamais.Get());
    ADD_FAILURE() << "attente terminée sans erreur";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), Format(Msg::ValeurEntiereIncorrecte, {L"Basic"}));
  }
  autre.join();
  EXPECT_TRUE(FThread->Fini());
  // The exception had one owner: a second waiter learns only that the thread is gone.
  const auto encore = NouvelObjet<TTraitementEssai>(FAttente, [] { return false; });
  try {
    AttendreTraitement(FAttente.Get(), *FThread, encore.Get());
    ADD_FAILURE() << "attente terminée sans erreur";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), Msg::AucunMessage);
  }
}

TEST_F(ThreadConfigClientsHttp, ReglagesProxyDeLaMachine) {
  Demarrer();
  const TProxyMachineTemporaire restauration;

  EXPECT_TRUE(FThread->SetProxyHttpOvalis(L"machine:3128", FCopie));
  EXPECT_TRUE(FThread->SetProxyHttpsOvalis(L"machine:3128", FCopie));
  EXPECT_TRUE(FThread->SetTabExceptionsProxiesOvalis({L"<local>", L"ecole.local"}, FCopie));
  EXPECT_TRUE(FThread->SetGenreConfigProxy(gcpConfigOvalis, FCopie));
  EXPECT_TRUE(FThread->CopierConfigOvalisVersConfigSysteme(FCopie));
  const TypeInfoProxyHttp machine = TypeInfoProxyHttp::GetConfigProxyParDefaut();
  EXPECT_EQ(machine.GenreConfig, static_cast<uint32_t>(WINHTTP_ACCESS_TYPE_NAMED_PROXY));
  EXPECT_EQ(machine.ServeurProxy, L"machine:3128");
  EXPECT_EQ(FCopie.GenreConfigProxy(), gcpConfigSysteme);
  EXPECT_EQ(FCopie.ProxyHttpSysteme(), L"machine:3128");
  EXPECT_EQ(FCopie.ProxyHttpsSysteme(), L"machine:3128");
  EXPECT_EQ(FCopie.TabExceptionsProxiesSysteme(), (TypeTabChaines{L"<local>", L"ecole.local"}));
  // The machine-wide proxy cannot be forgotten.
  EXPECT_FALSE(FThread->SupprimerTabProxiesConnus({L"machine:3128"}, FCopie));
  EXPECT_EQ(FCopie.TabProxiesConnus(), TypeTabChaines{L"machine:3128"});

  // Changed behind the program's back: seen when a holder asks for it.
  TypeInfoProxyHttp{WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"http=h:1;https=s:2", L""}.SetConfigProxyParDefaut();
  EXPECT_TRUE(FThread->VerifierChangementConfig(FCopie, true));
  EXPECT_EQ(FCopie.ProxyHttpSysteme(), L"h:1");
  EXPECT_EQ(FCopie.ProxyHttpsSysteme(), L"s:2");
  EXPECT_TRUE(FCopie.TabExceptionsProxiesSysteme().empty());
  EXPECT_EQ(FCopie.TabProxiesConnus(), (TypeTabChaines{L"h:1", L"machine:3128", L"s:2"}));

  TypeConfigClientsHttp autre = FCopie;
  EXPECT_TRUE(FThread->NotifierChangementConfigSystemeWin32(FCopie));
  EXPECT_TRUE(FThread->VerifierChangementConfig(autre, false));
}

}  // namespace
}  // namespace norvel::test
