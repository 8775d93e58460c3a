#pragma once
// What the network tests of the HTTP configuration share: a configuration thread on a temporary
// folder with a copy of its master (without the public test pages: nothing may leave the
// machine), the stand-in world with Squid, and the stand-in server's control requests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "core/Format.h"
#include "http/EchangeHttp.h"
#include "httpconfig/TraitementConfigClientsHttp.h"
#include "support/CheminsTest.h"
#include "support/Monde.h"

namespace norvel::test {

class TEssaisReseauConfigClientsHttp : public testing::Test {
 protected:
  void SetUp() override {
    FThread = std::make_unique<TThreadConfigClientsHttp>(FDossier.Chemin().wstring(), L"NORVEL essais");
    FThread->Demarrer();
    FThread->AttendreFinInitialisation();
    FThread->VerifierChangementConfig(FMaitre, false);
    FThread->SupprimerTabUrlTest(FMaitre.TabUrlTest(), FMaitre);
  }

  // One world for the program. Through Squid, the built-in test page is the world's stand-in of
  // the publisher's site; internet.test is known to Squid only.
  static TMonde& Monde() { return MondePartage({.Squid = true, .HotesDuProxy = {L"www.ovalis.fr=127.0.0.1"}}); }
  static std::wstring Squid(const char* port = "squid_ouvert") { return Monde().AdresseProxy(port); }
  // A page that only the proxies reach.
  static std::wstring PageInternet(const std::string& ecoute, std::wstring_view chemin) {
    return Monde().Url(ecoute, chemin, L"internet.test");
  }

  // A control request to the stand-in server, direct.
  std::string Controle(const std::wstring& chemin, const std::string& json = {}) {
    TSessionClientsHttp session({L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    TEchange echange(session, Monde().Url("http", chemin), FAttente.Get(), json.empty() ? L"GET" : L"POST");
    echange.Requete.Executer(json);
    return echange.Requete.Reponse();
  }
  // The stand-in server's journal lines that mention `marque`.
  std::vector<std::string> JournalServeur(const std::string& marque) {
    std::vector<std::string> lignes;
    for (const std::wstring& ligne : Decouper(DepuisUtf8(Controle(L"/__monde/journal")), L'\n'))
      if (VersUtf8(ligne).find(marque) != std::string::npos) lignes.push_back(VersUtf8(ligne));
    return lignes;
  }
  // Serves a proxy auto-configuration script whose FindProxyForURL(url, host) has this body
  // (single quotes only); answers its address.
  std::wstring ServirScriptPac(const std::wstring& chemin, const std::wstring& corpsFonction) {
    Controle(L"/__monde/script",
             VersUtf8(Format(L"{\"chemin\": \"%s\", \"type\": \"application/x-ns-proxy-autoconfig\", "
                             L"\"corps\": \"function FindProxyForURL(url, host) { %s }\"}",
                             {chemin, corpsFonction})));
    return Monde().Url("http", chemin);
  }
  // The master as it stands now.
  const TypeConfigClientsHttp& Maitre() {
    FThread->VerifierChangementConfig(FMaitre, false);
    return FMaitre;
  }

  TDossierTemporaire FDossier;
  std::unique_ptr<TThreadConfigClientsHttp> FThread;
  TypeConfigClientsHttp FMaitre;
  TRef<IAttente> FAttente = AttenteBloquante();
};

}  // namespace norvel::test
