#pragma once
// The service registry: services reached through interfaces, registered under the GUIDs of
// those interfaces. The process has one, confined to the thread that used it first (the main
// thread); worker threads receive the services they need as arguments.
#include <windows.h>

#include <atomic>
#include <unordered_map>
#include <vector>

#include "core/Exceptions.h"
#include "core/Finalisation.h"
#include "core/Guid.h"
#include "core/Interface.h"

namespace norvel {

// A lookup found no service under a GUID, or one that does not answer that interface.
class EExtensionNonSupportee_GraveNePasIgnorer : public EOvalis {
 public:
  using EOvalis::EOvalis;
};

class TDictionnaireExtensions {
 public:
  TDictionnaireExtensions() = default;
  TDictionnaireExtensions(const TDictionnaireExtensions&) = delete;
  TDictionnaireExtensions& operator=(const TDictionnaireExtensions&) = delete;
  virtual ~TDictionnaireExtensions();

  bool EstVide() const { return FExtensions.empty(); }
  // Releases every registered reference.
  void Vider();

  // Registers the reference under the GUID (an absent one is ignored); a GUID already
  // registered raises "Doublons non autorisés" and keeps its first registration.
  virtual void AjouterExtension(REFGUID guid, IInterface* extension);
  // The same reference under each GUID, first to last.
  virtual void AjouterExtensions(const std::vector<GUID>& guids, IInterface* extension);
  // Unregisters the reference held under the GUID from every GUID that holds that same
  // reference; an unknown GUID is ignored.
  virtual void SupprimerExtension(REFGUID guid);

  bool Connait(REFGUID guid) const;
  // The registered object's interface of that GUID; false when absent or not supported.
  bool TryGetNonType(REFGUID guid, TRef<IInterface>& extension) const;
  // The same, raising EExtensionNonSupportee_GraveNePasIgnorer instead of answering false.
  TRef<IInterface> GetNonType(REFGUID guid) const;

  // Typed lookups by the interface's own GUID.
  template <class I>
  bool TryService(TRef<I>& service) const {
    service = TRef<I>::Attacher(static_cast<I*>(Interroger(__uuidof(I))));
    return static_cast<bool>(service);
  }
  template <class I>
  TRef<I> Service() const {
    TRef<I> service;
    if (!TryService(service)) SignalerNonRecensee(__uuidof(I));
    return service;
  }

  [[noreturn]] static void SignalerNonRecensee(REFGUID guid);

 protected:
  // Unregisters every GUID whose stored reference is this very pointer.
  virtual void SupprimerReference(IInterface* reference);

 private:
  // The registered object's interface for the GUID, counted, or null.
  void* Interroger(REFGUID guid) const;

  std::unordered_map<GUID, TRef<IInterface>, THachageGuid, TEgaliteGuid> FExtensions;
};

// The process's registry, created on first use and destroyed by the early finalisation.
class TSingletonDictionnaireExtensions : public TClasseFinalisable {
 public:
  // Raises "On ne doit pas accéder aux extensions plusieurs threads." on any thread other than
  // the first one that used the registry.
  static TDictionnaireExtensions& GetDictionnaireExtensions();

  static bool Connait(REFGUID guid) { return GetDictionnaireExtensions().Connait(guid); }
  static void AjouterExtension(REFGUID guid, IInterface* extension) {
    GetDictionnaireExtensions().AjouterExtension(guid, extension);
  }
  static void AjouterExtensions(const std::vector<GUID>& guids, IInterface* extension) {
    GetDictionnaireExtensions().AjouterExtensions(guids, extension);
  }
  static void SupprimerExtension(REFGUID guid) { GetDictionnaireExtensions().SupprimerExtension(guid); }
  static bool TryGetNonType(REFGUID guid, TRef<IInterface>& extension) {
    return GetDictionnaireExtensions().TryGetNonType(guid, extension);
  }
  static TRef<IInterface> GetNonType(REFGUID guid) { return GetDictionnaireExtensions().GetNonType(guid); }
  template <class I>
  static bool TryService(TRef<I>& service) {
    return GetDictionnaireExtensions().TryService(service);
  }
  template <class I>
  static TRef<I> Service() {
    return GetDictionnaireExtensions().template Service<I>();
  }

  // Destroys the registry, releasing what is still registered; a later use starts a new one.
  static void Finaliser();
};

}  // namespace norvel
