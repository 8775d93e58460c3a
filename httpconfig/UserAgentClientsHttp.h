#pragma once
// How the program names itself to every HTTP server and proxy: its name, genre, version,
// build platform and country, the operating system and, when asked, the machine's network name.
#include <string>

#include "platform/IInformationApplication.h"

namespace norvel {

// The operating system as the user agent describes it.
struct TypeInfoOS {
  std::wstring Version;                     // "10.0.19045"
  std::wstring ServicePack;                 // empty when none
  std::wstring ProductType;                 // "VER_NT_WORKSTATION"...
  std::wstring ProcesseurArchitecture;      // "PROCESSOR_ARCHITECTURE_AMD64"...
  std::wstring InformationsComplementaires;  // "WINE" under Wine

  // Asked from the system; every field stays empty when the version cannot be read.
  void Remplir();
  // Filled on first use, then copied.
  static TypeInfoOS DuProcessus();
};

// Names for the codes the system gives (8 upper-case hexadecimal digits for the unknown ones).
std::wstring NomProductType(unsigned productType);
std::wstring NomProcesseurArchitecture(unsigned architecture);

// "<host>.<domain>", or the host alone without a domain. Raises "Impossible d'accéder aux
// paramètres réseau (...)" when the system cannot tell.
std::wstring NomPosteReseau();

// "<name>[_<genre>]/<version> (<platform>; <country>; Windows <version>[ <service pack>];
// <product type>; <architecture>[; <extra>][; <network name>])"
std::wstring ConstruireUserAgent(IInformationApplication& AInformationApplication, const TypeInfoOS& AInfoOS,
                                 const std::wstring& ANomPoste);
std::wstring ConstruireUserAgent(IInformationApplication& AInformationApplication, bool AAvecNomPoste);

}  // namespace norvel
