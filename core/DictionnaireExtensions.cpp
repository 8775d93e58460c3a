#include "core/DictionnaireExtensions.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

TDictionnaireExtensions::~TDictionnaireExtensions() { Vider(); }

void TDictionnaireExtensions::Vider() {
  // The references go only once the map is empty: a service's destructor may use the registry.
  auto anciennes = std::move(FExtensions);
  FExtensions.clear();
}

void TDictionnaireExtensions::AjouterExtension(REFGUID guid, IInterface* extension) {
  if (!extension) return;
  if (!FExtensions.try_emplace(guid, extension).second) throw EOvalis(Msg::DoublonsNonAutorises);
}

void TDictionnaireExtensions::AjouterExtensions(const std::vector<GUID>& guids, IInterface* extension) {
  for (const GUID& guid : guids) AjouterExtension(guid, extension);
}

void TDictionnaireExtensions::SupprimerExtension(REFGUID guid) {
  const auto trouve = FExtensions.find(guid);
  if (trouve == FExtensions.end()) return;
  SupprimerReference(trouve->second.Get());
}

void TDictionnaireExtensions::SupprimerReference(IInterface* reference) {
  std::vector<TRef<IInterface>> liberees;
  for (auto it = FExtensions.begin(); it != FExtensions.end();) {
    if (it->second.Get() == reference) {
      liberees.push_back(std::move(it->second));
      it = FExtensions.erase(it);
    } else {
      ++it;
    }
  }
  // liberees goes last, with the map already consistent: the object may end here.
}

bool TDictionnaireExtensions::Connait(REFGUID guid) const { return FExtensions.contains(guid); }

void* TDictionnaireExtensions::Interroger(REFGUID guid) const {
  const auto trouve = FExtensions.find(guid);
  if (trouve == FExtensions.end()) return nullptr;
  void* reponse = nullptr;
  if (FAILED(trouve->second->QueryInterface(guid, &reponse))) return nullptr;
  return reponse;
}

bool TDictionnaireExtensions::TryGetNonType(REFGUID guid, TRef<IInterface>& extension) const {
  extension.Vider();
  // Every interface begins with IUnknown's slots: the answer is usable as one.
  extension = TRef<IInterface>::Attacher(static_cast<IInterface*>(Interroger(guid)));
  return static_cast<bool>(extension);
}

TRef<IInterface> TDictionnaireExtensions::GetNonType(REFGUID guid) const {
  TRef<IInterface> extension;
  if (!TryGetNonType(guid, extension)) SignalerNonRecensee(guid);
  return extension;
}

void TDictionnaireExtensions::SignalerNonRecensee(REFGUID guid) {
  throw EExtensionNonSupportee_GraveNePasIgnorer(Format(Msg::ExtensionNonRecensee, {TexteGuid(guid)}));
}

namespace {
TDictionnaireExtensions* GDictionnaire = nullptr;
std::atomic<DWORD> GThreadProprietaire{0};
}  // namespace

TDictionnaireExtensions& TSingletonDictionnaireExtensions::GetDictionnaireExtensions() {
  const DWORD appelant = GetCurrentThreadId();
  DWORD proprietaire = 0;
  // Atomic so that two threads racing for the first use cannot both win.
  if (!GThreadProprietaire.compare_exchange_strong(proprietaire, appelant) && proprietaire != appelant)
    throw EOvalis(Msg::AccesExtensionsPlusieursThreads);
  if (!GDictionnaire) {
    GDictionnaire = new TDictionnaireExtensions;
    InscrireFinalisation<TSingletonDictionnaireExtensions>(cfFinalisationPrecoce);
  }
  return *GDictionnaire;
}

void TSingletonDictionnaireExtensions::Finaliser() {
  // Forgotten before its services end, so that none of them reaches a half-destroyed registry.
  delete std::exchange(GDictionnaire, nullptr);
}

}  // namespace norvel
