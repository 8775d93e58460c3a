#pragma once
// A school's hosting record (where its server is, which client it runs, where to download the
// client and where its web portal is) and the lookup that turns the identifier the user typed
// into that record: the maker's web service, or the built-in samples of the test mode.
#include <cstdint>
#include <string>

#include "core/Interface.h"

namespace norvel {

struct TypeInfosHebNP {
  std::wstring NomDomaine;  // host of the school's server
  uint16_t Port = 0;        // its TCP port
  std::wstring MillesimeServeur;
  bool Simulation = false;  // a demonstration school
  std::wstring UrlTelechargementClient;
  std::wstring NomEcole;
  std::wstring AdresseEcole;
  std::wstring CodePostalEcole;
  std::wstring VilleEcole;
  std::wstring PaysEcole;
  bool ServeurEnService = false;  // the client is launched to test its connection, else only configured
  std::wstring UrlPortail;

  bool operator==(const TypeInfosHebNP&) const = default;
};

struct IApiRecuperationInfosHebNP : IUnknown {
  // Fills AInfos for the school AIdentifiant, or raises an error whose message is meant for
  // the user. APlateforme: "Win32" or "Win64".
  virtual void RecupererInfosHeb(const std::wstring& AIdentifiant, const std::wstring& APlateforme,
                                 TypeInfosHebNP& AInfos) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IApiRecuperationInfosHebNP, 0xD887DCA2, 0x0709, 0x4031, 0xB1, 0x6F, 0x95, 0xFE, 0x80, 0xB1, 0x21,
            0x04)
