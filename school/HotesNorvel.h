#pragma once
// Every host name of the maker that the program knows, in one place: the endpoints of the
// hosting-information web service per deployment environment, and the hosts of the test
// mode's sample schools. The production and pre-production names are placeholders of this
// build (".test" names that resolve nowhere); the development endpoint is the local stand-in
// of the web service.
#include <cstdint>
#include <string>

#include "platform/IInformationApplication.h"
#include "core/ValeursOffusquees.h"

namespace norvel {

// The development endpoint listens on this port of the local machine...
inline constexpr uint16_t PortInfosHebDeveloppement = 44380;
// ...unless this environment variable names another one (the tests run their own stand-in on
// a port of the system's choosing). Read for the development environment only.
inline constexpr const wchar_t* VariablePortInfosHebDeveloppement = L"OV_PORT_INFOSNP_DEVELOPPEMENT";

struct TypePointAccesInfosHeb {
  std::wstring UrlBase;  // "https://<host>[:<port>]/api/InfosNP/"
  TypeMotDePasseOffusque CleApi;
};

// The endpoint and the API key of an environment.
TypePointAccesInfosHeb PointAccesInfosHeb(TypeEnvironnementDeploiement AEnvironnement);

// The maker's general terms of use, on its public web site (the wizard's link opens it).
inline constexpr const wchar_t* UrlConditionsGeneralesOvalis = L"https://www.ovalis.fr/conditions-generales-de-vente";

// Hosts of the test mode's sample schools.
namespace hotes_echantillons {
inline constexpr const wchar_t* Ecoles2022 = L"ecoles-demo.norvel-primaire.test";
inline constexpr const wchar_t* Ecoles2023 = L"preprod-ecoles.norvel-primaire.test";  // a pre-production host
inline constexpr const wchar_t* Inexistant = L"inexistant.norvel-primaire.test";       // never answers
inline constexpr const wchar_t* Telechargement = L"telechargement.norvel-primaire.test";
}  // namespace hotes_echantillons

}  // namespace norvel
