#pragma once
// The assistant's page as one table: every control with its parent, its kind, its rectangle at
// 96 dots per inch, its font and its colour (the rules of reading a row are TDisposition's).
// A new control of the page is one more row: a progress bar under the sub-step of step 6, say,
//   {Id::BarreTelechargement, Id::PanelPrincipal, TypeGenreControle::Progression, {39, 4, -8, 12}, rdPile},
// placed after LabelSousEtapeInstallation, hidden at first, then shown by AfficherEtat from the
// step flow's state.
#include <windows.h>

#include <vector>

#include "ui/Disposition.h"

namespace norvel {

// The client area's width at 96 dots per inch; its height is at least the side image's.
inline constexpr int LargeurClientAssistant = 783;
// The side of the ticks, icons and busy indicators of the steps' title rows.
inline constexpr int CoteImageEtape = 22;

inline constexpr COLORREF RougeErreur = RGB(0xFF, 0x00, 0x00);
inline constexpr COLORREF NoirMessage = RGB(0x00, 0x00, 0x00);
inline constexpr COLORREF BleuLien = RGB(0x14, 0x52, 0xD2);

// In the order of the page, which is also the order of the Tab key.
std::vector<TypeLigneDisposition> DispositionAssistant();

}  // namespace norvel
