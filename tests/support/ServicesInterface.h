#pragma once
// What the dialogs need from the program around them in a test: this thread as the
// user-interface thread, and the program's simple messages shown in the system's message box.
#include "platform/ApplicationGraphique.h"
#include "ui/MessageSimple.h"
#include "core/DictionnaireExtensions.h"

namespace norvel::test {

class TServicesInterface {
 public:
  // Several may live at once (a test with benches of its own): the first one registers.
  TServicesInterface() {
    TApplicationGraphique::Instance().Initialiser();
    if (TSingletonDictionnaireExtensions::Connait(__uuidof(IPileGestionMessageSimple))) return;
    auto pile = NouvelObjet<TPileGestionMessageSimple>();
    pile->EmpilerGestion(NouvelObjet<TGestionMessageSimpleMin>().Get());
    TSingletonDictionnaireExtensions::AjouterExtension(__uuidof(IPileGestionMessageSimple),
                                                       static_cast<IPileGestionMessageSimple*>(pile.Get()));
    FEnregistree = true;
  }
  ~TServicesInterface() {
    if (FEnregistree) TSingletonDictionnaireExtensions::SupprimerExtension(__uuidof(IPileGestionMessageSimple));
  }
  TServicesInterface(const TServicesInterface&) = delete;
  TServicesInterface& operator=(const TServicesInterface&) = delete;

 private:
  bool FEnregistree = false;
};

// The driver's commands that read the information box, close it and come back to the dialog
// titled `titreDialogue`.
inline std::wstring LireEtFermerInformation(const std::wstring& titreDialogue) {
  return L"fenetre Information -- attendre-fenetre -- lister -- cliquer 1 -- fenetre \"" + titreDialogue + L"\" -- ";
}

}  // namespace norvel::test
