#pragma once
// The stand-in world of the network tests (tools/monde): the stand-in web server over HTTP and
// HTTPS and, when asked, a real Squid, all on 127.0.0.1. The world runs as a Linux child
// process of the test program; it reports its ports over a TCP connection that the test keeps
// open, and stops when the test ends it or when that connection closes (a crashed test leaves
// nothing behind). The test authority is added to the Wine prefix's Root store, so HTTPS is
// verified for real.
//
//   TMonde& monde = MondePartage({.Squid = true});   // one world per test program and options
//   monde.Url(L"https", L"/fichier?taille=1000")       // https://localhost:<port>/fichier?...
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace norvel::test {

struct TOptionsMonde {
  bool Squid = false;
  // Names that only the proxy resolves ("nom=ip"), besides internet.test and www.internet.test.
  std::vector<std::wstring> HotesDuProxy;
  // The folder (a Linux path) whose files the server gives under /telechargement/.
  std::wstring Telechargements;

  bool operator<(const TOptionsMonde& autre) const {
    return std::tie(Squid, HotesDuProxy, Telechargements) < std::tie(autre.Squid, autre.HotesDuProxy, autre.Telechargements);
  }
};

class TMonde {
 public:
  // Starts the world and waits until every server answers; raises EOvalis with the world's
  // own explanation when a component is missing or does not start.
  explicit TMonde(const TOptionsMonde& options = {});
  ~TMonde();
  TMonde(const TMonde&) = delete;
  TMonde& operator=(const TMonde&) = delete;

  // Ports: "http", "https" (trusted test authority), "https_inconnu" (unknown authority),
  // "https_certclient" (asks for a client certificate), "https_tls10" (TLS 1.0 and 1.1 only),
  // "https_editeur" (the publisher's site www.ovalis.fr: Squid's tunnels to port 443 of that
  // name reach it, so the assistant's built-in test page answers through the proxy),
  // "squid_ouvert", "squid_auth".
  uint16_t Port(const std::string& nom) const;
  // Any value of the ready line (e.g. "squid_utilisateur", "squid_motdepasse", "squid_journal").
  std::wstring Valeur(const std::string& nom) const;

  // "<ecoute>" is one of the listeners above; the host is "localhost" unless given.
  std::wstring Url(const std::string& ecoute, std::wstring_view cheminEtRequete,
                   std::wstring_view hote = L"localhost") const;
  // "127.0.0.1:<port>" of a Squid port, as a proxy setting.
  std::wstring AdresseProxy(const std::string& portSquid) const;
  // The content of a file the ready line names ("ac", "certificat_client", "squid_journal").
  std::string Fichier(const std::string& nom) const;
  // Squid's access log so far (one line per request it handled).
  std::string JournalSquid() const { return Fichier("squid_journal"); }

 private:
  void Arreter();

  std::map<std::string, std::wstring> FValeurs;
  uintptr_t FConnexion;
};

// The world of this test program for these options, started at first use and stopped when the
// program ends. A start that failed fails every later call the same way, at once.
TMonde& MondePartage(const TOptionsMonde& options = {});
// Stops every shared world (called by the test programs' main).
void ArreterMondesPartages();

// Bytes [debut, debut+longueur) of the stand-in server's test pattern ("taille=N" bodies):
// 4096-byte blocks, each starting with its index on 8 bytes (big-endian), then bytes 8..4095 of
// the cycle 0..255, so that a lost, doubled or misplaced block shows.
std::string MotifMonde(uint64_t debut, size_t longueur);

}  // namespace norvel::test
