#pragma once
// Stable identifiers of the wizard's controls (the window's GetDlgCtrlID values), shared by the
// wizard and by the UI driver (tools/pilote) that tests and demos use to walk the steps.
//
// Numbering: 100-199 the window's frame; 1000 + 100 x N the controls of step N (its panel is
// the round number, its own controls follow, and the red label or sub-step label shown below
// the step takes +10); 2000-2099 the configuration choice dialog, 2100-2199 the proxy
// authentication dialog. IDOK (1) and IDCANCEL (2) keep their usual meaning in dialogs.
// Identifiers never change once given: tests and scripts name them. Every control that a test
// may read or act on carries one; the table below gives the driver their names.
namespace norvel::IdControle {

// The window's frame.
inline constexpr int PanelPrincipal = 100;
inline constexpr int ImageViewer = 101;
inline constexpr int btnFermer = 102;

// 1. Internet access.
inline constexpr int PanelEtape1 = 1100;
inline constexpr int LabelEtape1 = 1101;
inline constexpr int ImageCheckEtape1 = 1102;
inline constexpr int PatienceEtape1 = 1103;
inline constexpr int LabelErreurEtape1 = 1110;

// 2. School identifier.
inline constexpr int PanelEtape2 = 1200;
inline constexpr int LabelEtape2 = 1201;
inline constexpr int LabelEtape2Explication = 1202;
inline constexpr int EditRNE = 1203;
inline constexpr int BtnValidationRNE = 1204;
inline constexpr int LabelErreurEtape2 = 1210;

// 3. School confirmation.
inline constexpr int PanelEtape3 = 1300;
inline constexpr int LabelEtape3 = 1301;
inline constexpr int PanelAdresse = 1302;
inline constexpr int LabelNomEcole = 1303;
inline constexpr int LabelAdresseEcole = 1304;
inline constexpr int LabelCodePostalVilleEcole = 1305;
inline constexpr int LabelPaysEcole = 1306;
inline constexpr int PanelValidationEcole = 1307;
inline constexpr int BtnValidationEcole = 1308;
inline constexpr int LabelModifRNE = 1309;

// 4. Terms of use.
inline constexpr int PanelEtape4 = 1400;
inline constexpr int PanelTitreEtape4 = 1401;
inline constexpr int LabelEtape4 = 1402;
inline constexpr int LabelEtape4Lien = 1403;
inline constexpr int CheckboxCGUEtape4 = 1404;

// 5. Portal shortcut.
inline constexpr int PanelEtape5 = 1500;
inline constexpr int LabelEtape5 = 1501;
inline constexpr int ImageIconePortail = 1502;
inline constexpr int ImageCheckEtape5 = 1503;
inline constexpr int LabelErreurEtape5 = 1510;

// 6. Client installation.
inline constexpr int PanelEtape6 = 1600;
inline constexpr int LabelEtape6 = 1601;
inline constexpr int ImageIconeClientNP = 1602;
inline constexpr int PatienceEtape6 = 1603;
inline constexpr int ImageCheckEtape6 = 1604;
inline constexpr int LabelSousEtapeInstallation = 1610;

// 7. Client launch.
inline constexpr int PanelEtape7 = 1700;
inline constexpr int LabelEtape7 = 1701;
inline constexpr int ImageCheckEtape7 = 1702;
inline constexpr int LabelNatureActionEtape7 = 1703;
inline constexpr int LabelErreurEtape7 = 1710;

// The configuration choice dialog.
namespace ChoixConfigurationHttp {
inline constexpr int ListePropositions = 2001;
inline constexpr int BtnAnnuler = 2002;
inline constexpr int BtnValider = 2003;
}  // namespace ChoixConfigurationHttp

// The proxy authentication dialog.
namespace VerificationMDP {
inline constexpr int LabelExplication = 2101;
inline constexpr int LUserName = 2102;
inline constexpr int EditUserName = 2103;
inline constexpr int LPwd = 2104;
inline constexpr int EditMotDePasse = 2105;
inline constexpr int PanelBoutons = 2106;
inline constexpr int BtnAnnuler = 2107;
inline constexpr int BtnValider = 2108;
}  // namespace VerificationMDP

}  // namespace norvel::IdControle

namespace norvel {

struct TypeNomControle {
  const wchar_t* Nom;
  int Id;
};

// The names the UI driver accepts in place of numbers (a control added above is added here too).
// Both dialogs name their buttons alike: the driver takes the one its window holds.
inline constexpr TypeNomControle NomsControles[] = {
    {L"PanelPrincipal", IdControle::PanelPrincipal},
    {L"ImageViewer", IdControle::ImageViewer},
    {L"btnFermer", IdControle::btnFermer},
    {L"PanelEtape1", IdControle::PanelEtape1},
    {L"LabelEtape1", IdControle::LabelEtape1},
    {L"ImageCheckEtape1", IdControle::ImageCheckEtape1},
    {L"PatienceEtape1", IdControle::PatienceEtape1},
    {L"LabelErreurEtape1", IdControle::LabelErreurEtape1},
    {L"PanelEtape2", IdControle::PanelEtape2},
    {L"LabelEtape2", IdControle::LabelEtape2},
    {L"LabelEtape2Explication", IdControle::LabelEtape2Explication},
    {L"EditRNE", IdControle::EditRNE},
    {L"BtnValidationRNE", IdControle::BtnValidationRNE},
    {L"LabelErreurEtape2", IdControle::LabelErreurEtape2},
    {L"PanelEtape3", IdControle::PanelEtape3},
    {L"LabelEtape3", IdControle::LabelEtape3},
    {L"PanelAdresse", IdControle::PanelAdresse},
    {L"LabelNomEcole", IdControle::LabelNomEcole},
    {L"LabelAdresseEcole", IdControle::LabelAdresseEcole},
    {L"LabelCodePostalVilleEcole", IdControle::LabelCodePostalVilleEcole},
    {L"LabelPaysEcole", IdControle::LabelPaysEcole},
    {L"PanelValidationEcole", IdControle::PanelValidationEcole},
    {L"BtnValidationEcole", IdControle::BtnValidationEcole},
    {L"LabelModifRNE", IdControle::LabelModifRNE},
    {L"PanelEtape4", IdControle::PanelEtape4},
    {L"PanelTitreEtape4", IdControle::PanelTitreEtape4},
    {L"LabelEtape4", IdControle::LabelEtape4},
    {L"LabelEtape4Lien", IdControle::LabelEtape4Lien},
    {L"CheckboxCGUEtape4", IdControle::CheckboxCGUEtape4},
    {L"PanelEtape5", IdControle::PanelEtape5},
    {L"LabelEtape5", IdControle::LabelEtape5},
    {L"ImageIconePortail", IdControle::ImageIconePortail},
    {L"ImageCheckEtape5", IdControle::ImageCheckEtape5},
    {L"LabelErreurEtape5", IdControle::LabelErreurEtape5},
    {L"PanelEtape6", IdControle::PanelEtape6},
    {L"LabelEtape6", IdControle::LabelEtape6},
    {L"ImageIconeClientNP", IdControle::ImageIconeClientNP},
    {L"PatienceEtape6", IdControle::PatienceEtape6},
    {L"ImageCheckEtape6", IdControle::ImageCheckEtape6},
    {L"LabelSousEtapeInstallation", IdControle::LabelSousEtapeInstallation},
    {L"PanelEtape7", IdControle::PanelEtape7},
    {L"LabelEtape7", IdControle::LabelEtape7},
    {L"ImageCheckEtape7", IdControle::ImageCheckEtape7},
    {L"LabelNatureActionEtape7", IdControle::LabelNatureActionEtape7},
    {L"LabelErreurEtape7", IdControle::LabelErreurEtape7},
    {L"ListePropositions", IdControle::ChoixConfigurationHttp::ListePropositions},
    {L"BtnAnnuler", IdControle::ChoixConfigurationHttp::BtnAnnuler},
    {L"BtnValider", IdControle::ChoixConfigurationHttp::BtnValider},
    {L"LabelExplication", IdControle::VerificationMDP::LabelExplication},
    {L"LUserName", IdControle::VerificationMDP::LUserName},
    {L"EditUserName", IdControle::VerificationMDP::EditUserName},
    {L"LPwd", IdControle::VerificationMDP::LPwd},
    {L"EditMotDePasse", IdControle::VerificationMDP::EditMotDePasse},
    {L"PanelBoutons", IdControle::VerificationMDP::PanelBoutons},
    {L"BtnAnnuler", IdControle::VerificationMDP::BtnAnnuler},
    {L"BtnValider", IdControle::VerificationMDP::BtnValider},
};

}  // namespace norvel
