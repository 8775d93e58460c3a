#pragma once
// Simple messages: code without a window of its own tells the user something through the
// registered stack of message handlers, whose top handler shows a modal message box. Shown on
// the main thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ObjetInterfacable.h"

namespace norvel {

// The kind of a message, which chooses its icon.
enum TypeGenreMessage : uint8_t {
  gmErreur = 0,
  gmConfirmation = 1,
  gmAvertissement = 2,
  gmInformation = 3,
  gmInformationBis = 4,
  gmErreurBis = 5,
};

// The buttons: one bit per button; bits above 8 are ignored.
enum TypeBoutonMessage : uint16_t {
  bmOui = 1 << 0,
  bmNon = 1 << 1,
  bmAnnuler = 1 << 2,
  bmOK = 1 << 3,
  bmReessayer = 1 << 4,
  bmAide = 1 << 5,
  bmOuiPourTous = 1 << 6,
  bmNonPourTous = 1 << 7,
  bmOKBis = 1 << 8,
};

struct IGestionMessageSimple : IUnknown {
  // Shows one message and answers the button pressed as the usual dialog results (1 OK,
  // 2 Cancel, 4 Retry, 6 Yes, 7 No). The leading byte is not used by the program's handlers.
  virtual int MessageSimple(uint8_t octetEnTete, const std::wstring& message, const std::wstring& titre,
                            uint8_t genre, uint16_t boutons) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IGestionMessageSimple, 0xEA0808FA, 0x1677, 0x44C4, 0x83, 0xC8, 0xC5, 0xA7, 0xB6, 0xE6, 0xB6, 0x8E)

namespace norvel {

struct IPileGestionMessageSimple : IGestionMessageSimple {
  virtual void EmpilerGestion(IGestionMessageSimple* gestion) = 0;
  virtual void DepilerGestion() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IPileGestionMessageSimple, 0x14D6721D, 0x98EB, 0x431A, 0xAE, 0x2A, 0xFB, 0xA1, 0xA8, 0x3A, 0xA7,
            0x5E)

namespace norvel {

// A stack of handlers; messages go to the top one (none: answer 6, nothing shown).
class TPileGestionMessageSimple : public TImplemente<TObjetInterfacable, IPileGestionMessageSimple> {
 public:
  int MessageSimple(uint8_t octetEnTete, const std::wstring& message, const std::wstring& titre, uint8_t genre,
                    uint16_t boutons) override;
  void EmpilerGestion(IGestionMessageSimple* gestion) override { FPile.emplace_back(gestion); }
  void DepilerGestion() override;

 protected:
  bool ObtenirInterface(REFIID iid, void** resultat) override;

 private:
  std::vector<TRef<IGestionMessageSimple>> FPile;
};

// The minimal handler: the system's message box, synchronously. The title is not shown: the
// box carries the name of the message's kind.
class TGestionMessageSimpleMin : public TImplemente<TObjetInterfacable, IGestionMessageSimple> {
 public:
  int MessageSimple(uint8_t octetEnTete, const std::wstring& message, const std::wstring& titre, uint8_t genre,
                    uint16_t boutons) override;
};

// What the message box shows for a kind and a set of buttons: its style (icon and buttons,
// the closest set the system box offers) and its caption.
struct TypePresentationMessage {
  unsigned FStyle;
  std::wstring FLegende;
};
TypePresentationMessage PresentationMessage(uint8_t genre, uint16_t boutons);

// The registered stack of handlers, on the main thread; none on any other thread, and none
// before its registration or after its unregistration.
TRef<IPileGestionMessageSimple> GetGestionMessageSimple();
// An error (error icon, OK) or an information (information icon, OK) for the user; the answer
// is the button pressed, or 6 when no message could be shown.
int AfficherMessageErreur(const std::wstring& message, const std::wstring& titre);
int AfficherMessageInformation(const std::wstring& message);

}  // namespace norvel
