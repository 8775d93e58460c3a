#include "platform/FenetreObjet.h"

#include <map>
#include <utility>
#include <mutex>

#include "core/ErreurSysteme.h"
#include "platform/ApplicationGraphique.h"

namespace norvel {

ATOM EnregistrerClasseFenetre(const TypeClasseFenetre& description) {
  static std::mutex verrou;
  static std::map<std::wstring, ATOM> classes;
  const std::lock_guard garde(verrou);
  if (const auto trouvee = classes.find(description.Nom); trouvee != classes.end()) return trouvee->second;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW classe{sizeof(classe)};
  classe.lpfnWndProc = description.Procedure ? description.Procedure : DefWindowProcW;
  classe.hInstance = module;
  classe.hCursor = description.Curseur ? LoadCursorW(nullptr, description.Curseur) : nullptr;
  if (description.Icone) classe.hIcon = LoadIconW(module, MAKEINTRESOURCEW(description.Icone));
  if (description.CouleurFond >= 0) classe.hbrBackground = reinterpret_cast<HBRUSH>(
      static_cast<INT_PTR>(description.CouleurFond + 1));
  classe.lpszClassName = description.Nom;
  const ATOM atome = RegisterClassExW(&classe);
  if (!atome) throw ErreurSysteme(L"RegisterClassEx");
  classes.emplace(description.Nom, atome);
  return atome;
}

TFenetreObjet::~TFenetreObjet() { DetruireFenetre(); }

void TFenetreObjet::CreerFenetreObjet(const TypeClasseFenetre& classe, DWORD styleEtendu, const std::wstring& texte,
                                      DWORD style, const RECT& place, HWND parent, int identifiant) {
  TypeClasseFenetre classeObjet = classe;
  classeObjet.Procedure = &Procedure;
  EnregistrerClasseFenetre(classeObjet);
  VerifierPointeur(CreateWindowExW(styleEtendu, classe.Nom, texte.c_str(), style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(identifiant)),
                                   GetModuleHandleW(nullptr), this),
                   L"CreateWindowEx");
}

void TFenetreObjet::DetruireFenetre() {
  if (!FHandle) return;
  // The object is going: the window's last messages are the system's.
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(FHandle, nullptr));
}

LRESULT TFenetreObjet::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  return DefWindowProcW(FHandle, message, w, l);
}

LRESULT CALLBACK TFenetreObjet::Procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* objet = static_cast<TFenetreObjet*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    objet->FHandle = fenetre;
    SetWindowLongPtrW(fenetre, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(objet));
  }
  auto* objet = reinterpret_cast<TFenetreObjet*>(GetWindowLongPtrW(fenetre, GWLP_USERDATA));
  if (!objet) return DefWindowProcW(fenetre, message, w, l);
  if (message == WM_NCDESTROY) {
    objet->FHandle = nullptr;
    SetWindowLongPtrW(fenetre, GWLP_USERDATA, 0);
    return DefWindowProcW(fenetre, message, w, l);
  }
  try {
    return objet->TraiterMessage(message, w, l);
  } catch (const std::exception& e) {
    TApplicationGraphique::Instance().TraiterException(e);
    return 0;
  }
}

}  // namespace norvel
