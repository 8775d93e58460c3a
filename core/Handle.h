#pragma once
// RAII owners of operating-system handles: one type per kind of handle, each with its own
// invalid value and closing call. Move-only.
#include <windows.h>

#include <utility>

namespace norvel {

// Invalide is a function giving the invalid value: INVALID_HANDLE_VALUE is a cast, which a
// template argument cannot hold.
template <class T, auto Invalide, auto Fermer>
class THandleUnique {
 public:
  THandleUnique() = default;
  explicit THandleUnique(T valeur) : FValeur(valeur) {}
  THandleUnique(const THandleUnique&) = delete;
  THandleUnique& operator=(const THandleUnique&) = delete;
  THandleUnique(THandleUnique&& autre) noexcept : FValeur(autre.Liberer()) {}
  THandleUnique& operator=(THandleUnique&& autre) noexcept {
    if (this != &autre) Reinitialiser(autre.Liberer());
    return *this;
  }
  ~THandleUnique() { Reinitialiser(); }

  T Get() const { return FValeur; }
  bool Valide() const { return FValeur != Invalide() && FValeur != T{}; }
  explicit operator bool() const { return Valide(); }
  // For calls that fill a handle through a pointer.
  T* Adresse() {
    Reinitialiser();
    return &FValeur;
  }
  T Liberer() { return std::exchange(FValeur, Invalide()); }
  void Reinitialiser(T valeur = Invalide()) {
    const T ancien = std::exchange(FValeur, valeur);
    if (ancien != Invalide() && ancien != T{}) Fermer(ancien);
  }

 private:
  T FValeur = Invalide();
};

namespace detail {
inline void FermerHandle(HANDLE h) { CloseHandle(h); }
inline void FermerCle(HKEY h) { RegCloseKey(h); }
inline void FermerModule(HMODULE h) { FreeLibrary(h); }
inline void FermerRecherche(HANDLE h) { FindClose(h); }
inline void FermerNotification(HANDLE h) { FindCloseChangeNotification(h); }
inline void LibererLocal(HLOCAL h) { LocalFree(h); }
inline void SupprimerObjetGdi(HGDIOBJ h) { DeleteObject(h); }
template <class T>
constexpr T Nul() { return T{}; }
inline HANDLE HandleInvalide() { return INVALID_HANDLE_VALUE; }
}  // namespace detail

// Events, mutexes, threads, processes, files opened with CreateFile, pipes.
using THandle = THandleUnique<HANDLE, detail::Nul<HANDLE>, detail::FermerHandle>;
// CreateFile answers INVALID_HANDLE_VALUE on failure rather than null.
using THandleFichier = THandleUnique<HANDLE, detail::HandleInvalide, detail::FermerHandle>;
using TCleRegistre = THandleUnique<HKEY, detail::Nul<HKEY>, detail::FermerCle>;
using TModule = THandleUnique<HMODULE, detail::Nul<HMODULE>, detail::FermerModule>;
using TRechercheFichiers = THandleUnique<HANDLE, detail::HandleInvalide, detail::FermerRecherche>;
using TNotificationChangement = THandleUnique<HANDLE, detail::HandleInvalide, detail::FermerNotification>;
using TBitmapGdi = THandleUnique<HBITMAP, detail::Nul<HBITMAP>, detail::SupprimerObjetGdi>;
using TPoliceGdi = THandleUnique<HFONT, detail::Nul<HFONT>, detail::SupprimerObjetGdi>;
using TPinceauGdi = THandleUnique<HBRUSH, detail::Nul<HBRUSH>, detail::SupprimerObjetGdi>;

}  // namespace norvel
