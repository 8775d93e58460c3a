#pragma once
// RAII owners of operating-system handles: one type per kind of handle, each with its own
// invalid value and closing call. Move-only.
#include <windows.h>

#include <utility>

namespace norvel {

template <class T, T Invalide, auto Fermer>
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
  bool Valide() const { return FValeur != Invalide && FValeur != T{}; }
  explicit operator bool() const { return Valide(); }
  // For calls that fill a handle through a pointer.
  T* Adresse() {
    Reinitialiser();
    return &FValeur;
  }
  T Liberer() { return std::exchange(FValeur, Invalide); }
  void Reinitialiser(T valeur = Invalide) {
    const T ancien = std::exchange(FValeur, valeur);
    if (ancien != Invalide && ancien != T{}) Fermer(ancien);
  }

 private:
  T FValeur = Invalide;
};

namespace detail {
inline void FermerHandle(HANDLE h) { CloseHandle(h); }
inline void FermerCle(HKEY h) { RegCloseKey(h); }
inline void FermerModule(HMODULE h) { FreeLibrary(h); }
inline void FermerRecherche(HANDLE h) { FindClose(h); }
inline void FermerNotification(HANDLE h) { FindCloseChangeNotification(h); }
inline void LibererLocal(HLOCAL h) { LocalFree(h); }
}  // namespace detail

// Events, mutexes, threads, processes, files opened with CreateFile, pipes.
using THandle = THandleUnique<HANDLE, nullptr, detail::FermerHandle>;
// CreateFile answers INVALID_HANDLE_VALUE on failure rather than null.
using THandleFichier = THandleUnique<HANDLE, INVALID_HANDLE_VALUE, detail::FermerHandle>;
using TCleRegistre = THandleUnique<HKEY, nullptr, detail::FermerCle>;
using TModule = THandleUnique<HMODULE, nullptr, detail::FermerModule>;
using TRechercheFichiers = THandleUnique<HANDLE, INVALID_HANDLE_VALUE, detail::FermerRecherche>;
using TNotificationChangement = THandleUnique<HANDLE, INVALID_HANDLE_VALUE, detail::FermerNotification>;

}  // namespace norvel
