#pragma once
// The passive mode's only window: the assistant's title, the step in progress and a moving
// bar; no question, no button. Closing it cancels the run.
#include <string>

#include "ui/Fiche.h"

namespace norvel {

class TFenetreProgression : public TFiche {
 public:
  // ATitre: the window's caption (the assistant's name and version).
  explicit TFenetreProgression(const std::wstring& ATitre);

  void AfficherEtape(const std::wstring& ATexte);
  std::wstring Etape() const;

 private:
  HWND FLibelle = nullptr;
  HWND FBarre = nullptr;
};

}  // namespace norvel
