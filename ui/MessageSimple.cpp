#include "ui/MessageSimple.h"

#include <windows.h>

#include "platform/ApplicationGraphique.h"
#include "core/DictionnaireExtensions.h"
#include "core/Messages.h"

namespace norvel {

int TPileGestionMessageSimple::MessageSimple(uint8_t octetEnTete, const std::wstring& message,
                                             const std::wstring& titre, uint8_t genre, uint16_t boutons) {
  if (FPile.empty()) return IDYES;
  // The handler stays on the stack while it shows its message (it may push another meanwhile).
  const TRef<IGestionMessageSimple> sommet = FPile.back();
  return sommet->MessageSimple(octetEnTete, message, titre, genre, boutons);
}

void TPileGestionMessageSimple::DepilerGestion() {
  if (!FPile.empty()) FPile.pop_back();
}

bool TPileGestionMessageSimple::ObtenirInterface(REFIID iid, void** resultat) {
  // The stack also answers for the plain handler interface it extends.
  if (IsEqualGUID(iid, __uuidof(IGestionMessageSimple))) {
    *resultat = static_cast<IGestionMessageSimple*>(this);
    AddRef();
    return true;
  }
  return TImplemente::ObtenirInterface(iid, resultat);
}

TypePresentationMessage PresentationMessage(uint8_t genre, uint16_t boutons) {
  struct TypeGenre {
    unsigned FIcone;
    const wchar_t* FLegende;
  };
  static const TypeGenre genres[] = {
      {MB_ICONERROR, Msg::LegendeErreur},         {MB_ICONQUESTION, Msg::LegendeConfirmation},
      {MB_ICONWARNING, Msg::LegendeAvertissement}, {MB_ICONINFORMATION, Msg::LegendeInformation},
      {MB_ICONINFORMATION, Msg::LegendeInformation}, {MB_ICONERROR, Msg::LegendeErreur},
  };
  const TypeGenre g = genre < std::size(genres) ? genres[genre] : TypeGenre{0, L""};

  // The system box offers fixed sets of buttons: take the one that holds what was asked.
  const bool oui = boutons & (bmOui | bmOuiPourTous), non = boutons & (bmNon | bmNonPourTous);
  const bool annuler = boutons & bmAnnuler;
  unsigned jeu = MB_OK;
  if (oui || non)
    jeu = annuler ? MB_YESNOCANCEL : MB_YESNO;
  else if (boutons & bmReessayer)
    jeu = MB_RETRYCANCEL;
  else if (annuler)
    jeu = MB_OKCANCEL;
  if (boutons & bmAide) jeu |= MB_HELP;
  return {g.FIcone | jeu, g.FLegende};
}

int TGestionMessageSimpleMin::MessageSimple(uint8_t, const std::wstring& message, const std::wstring&, uint8_t genre,
                                            uint16_t boutons) {
  const TypePresentationMessage presentation = PresentationMessage(genre, boutons);
  // Owned by the active form, so that the box is modal to it; the whole thread otherwise.
  const HWND proprietaire = GetActiveWindow();
  const unsigned modalite = proprietaire ? MB_APPLMODAL : MB_TASKMODAL;
  const int reponse =
      MessageBoxW(proprietaire, message.c_str(), presentation.FLegende.c_str(), presentation.FStyle | modalite);
  return reponse != 0 ? reponse : IDOK;
}

TRef<IPileGestionMessageSimple> GetGestionMessageSimple() {
  // Checked before the registry, which belongs to the main thread and refuses the others.
  if (!TApplicationGraphique::Existe() || !TApplicationGraphique::Instance().EstThreadPrincipal()) return {};
  TRef<IPileGestionMessageSimple> pile;
  TSingletonDictionnaireExtensions::TryService(pile);
  return pile;
}

namespace {
int Afficher(const std::wstring& message, const std::wstring& titre, uint8_t genre) {
  const auto pile = GetGestionMessageSimple();
  return pile ? pile->MessageSimple(0, message, titre, genre, bmOK) : IDYES;
}
}  // namespace

int AfficherMessageErreur(const std::wstring& message, const std::wstring& titre) {
  return Afficher(message, titre, gmErreur);
}

int AfficherMessageInformation(const std::wstring& message) { return Afficher(message, L"", gmInformation); }

}  // namespace norvel
