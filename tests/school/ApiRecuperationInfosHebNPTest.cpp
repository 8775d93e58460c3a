// The school lookup against the stand-in web service (tools/monde/ecoles.py) over real HTTPS
// on 127.0.0.1: good records, every error the user can be shown, the conversions, identifiers
// that hold URL syntax, the wait through the caller's own waiting service, and the request
// through the configured proxy of the sessions service.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <thread>

#include "platform/AppelThreadPrincipal.h"
#include "platform/AttenteApplication.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "http/ExceptionWinhttp.h"
#include "school/ApiRecuperationInfosHebNP.h"
#include "school/HotesNorvel.h"
#include "support/EnvironnementTest.h"
#include "support/Monde.h"
#include "support/SessionsHttpEssai.h"

using namespace norvel;
using namespace norvel::test;

namespace {

class ApiRecuperationInfosHebNP : public testing::Test {
 protected:
  void SetUp() override { PointerVersPort(Monde().Port("https")); }

  static TMonde& Monde() { return MondePartage(); }
  // The variable comes back as it was when the test ends.
  void PointerVersPort(uint16_t port) {
    FPort.reset();
    FPort.emplace(VariablePortInfosHebDeveloppement, std::to_wstring(port));
  }
  std::optional<TVariableEnvironnement> FPort;

  TypeInfosHebNP Recuperer(const std::wstring& identifiant, const std::wstring& plateforme = L"Win64",
                           IAttente* attente = nullptr) {
    auto api = NouvelObjet<TApiRecuperationInfosHebNP>(ED_Developpement, attente ? attente : FAttente.Get(), FSession);
    TypeInfosHebNP infos;
    api->RecupererInfosHeb(identifiant, plateforme, infos);
    return infos;
  }
  std::wstring Erreur(const std::wstring& identifiant) {
    try {
      Recuperer(identifiant);
    } catch (const EOvalis& e) {
      return e.Message();
    }
    return L"(aucune erreur)";
  }

  // No machine-wide proxy: the configured session goes direct until a test says otherwise.
  TMachineSessionsHttp<> FMachine;
  TRef<ISessionsClientsHttp> FSession = FMachine.Sessions;
  TRef<IAttente> FAttente = NouvelObjet<TAttenteBloquante>();
};

}  // namespace

TEST_F(ApiRecuperationInfosHebNP, FicheComplete) {
  const std::wstring http = L"http://localhost:" + std::to_wstring(Monde().Port("http"));
  TypeInfosHebNP attendu;
  attendu.NomDomaine = L"ecole-ferry.norvel-primaire.test";
  attendu.Port = 21300;
  attendu.MillesimeServeur = L"2023";
  attendu.Simulation = false;
  attendu.UrlTelechargementClient = http + L"/telechargement/Install_NVLPRIMclient_FR_2023.0.0.204_win64.exe";
  attendu.NomEcole = L"École élémentaire Jules Ferry";
  attendu.AdresseEcole = L"12, rue des Écoles";
  attendu.CodePostalEcole = L"75005";
  attendu.VilleEcole = L"Paris";
  attendu.PaysEcole = L"France";
  attendu.ServeurEnService = true;
  attendu.UrlPortail = L"https://ecole-ferry.norvel-primaire.test/norvelprimaire/api/portail.html";
  EXPECT_EQ(Recuperer(L"0750001A"), attendu);

  // The platform code travels as "plateforme": the service answers the matching setup.
  attendu.UrlTelechargementClient = http + L"/telechargement/Install_NVLPRIMclient_FR_2023.0.0.204_win32.exe";
  EXPECT_EQ(Recuperer(L"0750001A", L"Win32"), attendu);

  const TypeInfosHebNP pins = Recuperer(L"0130009B");
  EXPECT_EQ(pins.Port, 21400);
  EXPECT_TRUE(pins.Simulation);
  EXPECT_FALSE(pins.ServeurEnService);
  EXPECT_EQ(pins.UrlPortail, L"https://ecole-pins.norvel-primaire.test/norvelprimaire/api/portail.html?ecole=pins&lang=fr");
  // Members the program does not know are ignored.
  EXPECT_EQ(Recuperer(L"DEMO-2023").NomEcole, L"Ecole de démonstration");
}

TEST_F(ApiRecuperationInfosHebNP, MessagesDErreur) {
  struct Cas {
    const wchar_t* identifiant;
    const wchar_t* message;
  };
  const Cas cas[] = {
      // 400: the service's title alone.
      {L"INCONNU", L"Aucun établissement ne correspond à l'identifiant « INCONNU »"},
      {L"0750001A~erreur404", L"Erreur HTTP 404 : Fiche d'hébergement introuvable"},
      {L"0750001A~erreur500-json", L"Erreur HTTP 500 : Service d'hébergement indisponible"},
      // Not a problem document: the status text the server sent.
      {L"0750001A~erreur500", L"Erreur HTTP 500 : Internal Server Error"},
      {L"0750001A~type-invalide", L"TypeMime invalide : text/plain; charset=utf-8"},
      {L"0750001A~sans-charset", L"TypeMime invalide : application/json"},
      {L"0750001A~tableau", L"Transtypage de classe incorrect"},
      {L"0750001A~sans-urlPortail", L"Il manque le champ urlPortail dans le json"},
      {L"0750001A~sans-nomDomaine", L"Il manque le champ nomDomaine dans le json"},
      {L"0750001A~sans-serveurEnService", L"Il manque le champ serveurEnService dans le json"},
      // A missing member is reported before a value that does not convert.
      {L"0750001A~portTcp=\"abc\"~sans-paysEcole", L"Il manque le champ paysEcole dans le json"},
      {L"0750001A~portTcp=\"abc\"", L"'abc' n'est pas une valeur entière correcte"},
      {L"0750001A~portTcp=21300.5", L"'21300.5' n'est pas une valeur entière correcte"},
      {L"0750001A~portTcp=70000", L"'70000' n'est pas une valeur entière correcte"},
      {L"0750001A~simulation=\"oui\"", L"'oui' n'est pas une valeur booléenne"},
      {L"0750001A~serveurEnService=\"vrai\"", L"'vrai' n'est pas une valeur booléenne"},
      // A record is a few KiB: one far larger is refused, announced or not, without being held.
      {L"0750001A~volumineux=300", L"La réponse du serveur dépasse la taille attendue (256 Kio au plus) : elle a été abandonnée."},
      {L"0750001A~volumineux=300~longueur-inconnue",
       L"La réponse du serveur dépasse la taille attendue (256 Kio au plus) : elle a été abandonnée."},
  };
  for (const auto& c : cas) EXPECT_EQ(Erreur(c.identifiant), c.message) << VersUtf8(c.identifiant);

  // Within the bound, a large record is read like any other.
  EXPECT_EQ(Recuperer(L"0750001A~volumineux=200~longueur-inconnue").NomEcole, L"École élémentaire Jules Ferry");

  // A body that is not JSON: the parser's explanation, whatever its words.
  const std::wstring invalide = Erreur(L"0750001A~json-invalide");
  EXPECT_NE(invalide, L"(aucune erreur)");
  EXPECT_NE(invalide, L"Transtypage de classe incorrect");
}

TEST_F(ApiRecuperationInfosHebNP, ConversionsDuPortEtDesDrapeaux) {
  struct Cas {
    const wchar_t* identifiant;
    uint16_t port;
    bool simulation;
    bool serveurEnService;
  };
  // 0750001A: port 21300, not a simulation, in service; 0130009B: 21400, simulation, not in service.
  const Cas cas[] = {
      {L"0750001A~port-texte", 21300, false, true},
      {L"0750001A~portTcp=\"0x5334\"", 21300, false, true},
      {L"0750001A~portTcp=\"$53FC\"", 21500, false, true},
      {L"0750001A~simulation=true", 21300, true, true},
      {L"0750001A~simulation=\"true\"", 21300, true, true},
      {L"0750001A~simulation=\"True\"", 21300, true, true},
      {L"0750001A~simulation=1", 21300, true, true},
      {L"0750001A~simulation=\"1\"", 21300, true, true},
      {L"0130009B~simulation=0", 21400, false, false},
      {L"0130009B~simulation=false", 21400, false, false},
      {L"0750001A~booleens-nombres", 21300, true, false},
      {L"0750001A~booleens-mots", 21300, true, false},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(VersUtf8(c.identifiant));
    const TypeInfosHebNP infos = Recuperer(c.identifiant);
    EXPECT_EQ(infos.Port, c.port);
    EXPECT_EQ(infos.Simulation, c.simulation);
    EXPECT_EQ(infos.ServeurEnService, c.serveurEnService);
  }
}

TEST_F(ApiRecuperationInfosHebNP, LIdentifiantSaisiResteUnSeulSegment) {
  // Unencoded, each of these would have asked another resource or other parameters with our
  // key; encoded, the service receives exactly what was typed and finds no such school.
  for (const wchar_t* saisi : {L"0750001A/../0130009B", L"0750001A?plateforme=Win32", L"0750001A#ancre",
                               L"0750 001A", L"0750001A&plateforme=Win32", L"%30750001A", L"École"}) {
    EXPECT_EQ(Erreur(saisi), L"Aucun établissement ne correspond à l'identifiant « " + std::wstring(saisi) + L" »")
        << VersUtf8(saisi);
  }
}

TEST_F(ApiRecuperationInfosHebNP, UnEchecDeTransportLaisseLaFicheVide) {
  // A port where nothing listens: taken from the system, then released.
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in adresse{};
  adresse.sin_family = AF_INET;
  adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int taille = sizeof adresse;
  ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse), 0);
  getsockname(s, reinterpret_cast<sockaddr*>(&adresse), &taille);
  closesocket(s);
  PointerVersPort(ntohs(adresse.sin_port));

  auto api = NouvelObjet<TApiRecuperationInfosHebNP>(ED_Developpement, FAttente, FSession);
  TypeInfosHebNP infos;
  infos.NomEcole = L"reste d'un appel précédent";
  EXPECT_THROW(api->RecupererInfosHeb(L"0750001A", L"Win64", infos), EExceptionWinhttp);
  EXPECT_EQ(infos, TypeInfosHebNP{});
}

TEST_F(ApiRecuperationInfosHebNP, LAttentePasseParLeServiceDeLAppelant) {
  // On the user-interface thread the wait keeps the loop running: a call queued by another
  // thread runs while the (slow) answer is awaited.
  auto& application = TApplicationGraphique::Instance();
  application.Initialiser();
  auto attente = NouvelObjet<TAttenteApplicationFmx>();
  bool appelExecute = false;
  std::thread autre([&] {
    Sleep(100);
    AppelerSurThreadPrincipal([&] { appelExecute = true; });
  });
  const TypeInfosHebNP infos = Recuperer(L"0750001A~lent=800", L"Win64", attente.Get());
  const bool executePendantLAttente = appelExecute;
  autre.join();
  EXPECT_TRUE(executePendantLAttente);
  EXPECT_EQ(infos.NomEcole, L"École élémentaire Jules Ferry");
}

TEST_F(ApiRecuperationInfosHebNP, LaRequetePasseParLeProxyConfigure) {
  // No bypass entry names the service's host: the configured proxy routes the request, so a
  // proxy that refuses it fails the lookup that would succeed directly. (Each configuration on
  // a service of its own: Wine takes the proxy of a session at its opening only.)
  TMonde& avecSquid = MondePartage({.Squid = true, .HotesDuProxy = {L"localhost=127.0.0.1"}});
  PointerVersPort(avecSquid.Port("https"));
  for (const char* port : {"squid_ouvert", "squid_auth"}) {
    SCOPED_TRACE(port);
    TMachineSessionsHttp<> machine;
    machine.Sessions->AppliquerPropositionModifConfig(PropositionProxy(avecSquid.AdresseProxy(port)));
    TypeInfosHebNP infos;
    const auto api = NouvelObjet<TApiRecuperationInfosHebNP>(ED_Developpement, FAttente, machine.Sessions);
    if (std::string(port) == "squid_ouvert") {
      api->RecupererInfosHeb(L"0750001A", L"Win64", infos);
      EXPECT_EQ(infos.NomEcole, L"École élémentaire Jules Ferry");
    } else {
      // No credentials for it: refused (Wine fails the tunnel, Windows gets the 407).
      EXPECT_THROW(api->RecupererInfosHeb(L"0750001A", L"Win64", infos), EOvalis);
    }
  }
}
