#pragma once
// Windows made by the program's objects. Every window class of the program is registered in one
// place, once; every window that belongs to an object finds it through one window procedure,
// which binds the two when the window is created and hands the object its messages.
#include <windows.h>

#include <string>

namespace norvel {

// A window class of the program.
struct TypeClasseFenetre {
  const wchar_t* Nom;
  // Null: the system's; the windows of TFenetreObjet always get theirs.
  WNDPROC Procedure = nullptr;
  const wchar_t* Curseur = IDC_ARROW;
  // A system colour index for the background; -1: none, the window paints its own.
  int CouleurFond = -1;
  // Resource number of the icon in the program; 0: none.
  int Icone = 0;
};

// Registers the class on its first use; the class's atom.
ATOM EnregistrerClasseFenetre(const TypeClasseFenetre& classe);

class TFenetreObjet {
 public:
  TFenetreObjet() = default;
  TFenetreObjet(const TFenetreObjet&) = delete;
  TFenetreObjet& operator=(const TFenetreObjet&) = delete;
  virtual ~TFenetreObjet();

  HWND Handle() const { return FHandle; }

 protected:
  // Creates this object's window; its messages come to TraiterMessage from WM_NCCREATE on.
  void CreerFenetreObjet(const TypeClasseFenetre& classe, DWORD styleEtendu, const std::wstring& texte, DWORD style,
                         const RECT& place, HWND parent, int identifiant = 0);
  // Destroys the window now (it is otherwise destroyed with the object).
  void DetruireFenetre();
  // The object's handling; the default is the system's. An exception goes to the main loop's
  // handler: it must not cross the system's frames.
  virtual LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l);

 private:
  static LRESULT CALLBACK Procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l);
  HWND FHandle = nullptr;
};

}  // namespace norvel
