#pragma once
// The school 0750001A of the stand-in web service (tools/monde/ecoles.py), through which the
// installation tests go: its record as the assistant receives it on 64-bit Windows.
namespace norvel::test {

inline constexpr const wchar_t* RneEcole = L"0750001A";
inline constexpr const wchar_t* NomEcole = L"École élémentaire Jules Ferry";
inline constexpr const wchar_t* ServeurEcole = L"ecole-ferry.norvel-primaire.test:21300";
inline constexpr const wchar_t* PortailEcole = L"https://ecole-ferry.norvel-primaire.test/norvelprimaire/api/portail.html";
// The file name of the setup its record names on the download server.
inline constexpr const wchar_t* SetupEcole = L"Install_NVLPRIMclient_FR_2023.0.0.204_win64.exe";

}  // namespace norvel::test
