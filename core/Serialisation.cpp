#include "core/Serialisation.h"

#include <cstring>
#include <map>
#include <mutex>

#include "core/Chaines.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {
namespace {

// Tags of the written values.
constexpr char MarqueChaine = 'S';
constexpr char MarqueEntier = 'I';
constexpr char MarqueObjet = 'O';
constexpr char MarqueAucunObjet = 'N';

[[noreturn]] void DonneesInvalides() { throw EOvalis(Msg::DonneesSerialiseesInvalides); }

std::mutex GVerrouMetaInfos;
std::map<std::string, TypeInstanciateur, std::less<>>* GInstanciateurs = nullptr;

}  // namespace

// ---- Meta-information

bool TMetaInfosClasses::DeclarerInstanciateur(const std::type_info& classe, TypeInstanciateur instanciateur) {
  std::lock_guard verrou(GVerrouMetaInfos);
  if (!GInstanciateurs) {
    GInstanciateurs = new std::map<std::string, TypeInstanciateur, std::less<>>;
    InscrireFinalisation<TMetaInfosClasses>(cfFinalisationPrecoce);
  }
  return GInstanciateurs->try_emplace(classe.name(), std::move(instanciateur)).second;
}

TypeInstanciateur TMetaInfosClasses::Instanciateur(std::string_view nomClasse) {
  std::lock_guard verrou(GVerrouMetaInfos);
  if (!GInstanciateurs) return {};
  const auto trouve = GInstanciateurs->find(nomClasse);
  return trouve == GInstanciateurs->end() ? TypeInstanciateur() : trouve->second;
}

void TMetaInfosClasses::Finaliser() {
  std::lock_guard verrou(GVerrouMetaInfos);
  delete std::exchange(GInstanciateurs, nullptr);
}

// ---- Writer

void TEcrivainSerialisation::EcrireTaille(std::size_t taille) {
  const auto valeur = static_cast<uint32_t>(taille);
  FDonnees.append(reinterpret_cast<const char*>(&valeur), sizeof valeur);
}

void TEcrivainSerialisation::EcrireChaine(std::wstring_view texte) {
  const std::string utf8 = VersUtf8(texte);
  FDonnees += MarqueChaine;
  EcrireTaille(utf8.size());
  FDonnees += utf8;
}

void TEcrivainSerialisation::EcrireEntier(int64_t valeur) {
  FDonnees += MarqueEntier;
  FDonnees.append(reinterpret_cast<const char*>(&valeur), sizeof valeur);
}

void TEcrivainSerialisation::EcrireObjet(IUnknown* objet) {
  if (!objet) {
    FDonnees += MarqueAucunObjet;
    return;
  }
  const TRef<ISerialisable> serialisable = Demander<ISerialisable>(objet);
  if (!serialisable) throw EOvalis(Msg::ObjetNonSerialisable);
  const std::string nomClasse = typeid(*serialisable.Get()).name();
  // The body is written apart first: its length goes before it.
  TEcrivainSerialisation corps;
  serialisable->Ecrire(corps);
  FDonnees += MarqueObjet;
  EcrireTaille(nomClasse.size());
  FDonnees += nomClasse;
  EcrireTaille(corps.FDonnees.size());
  FDonnees += corps.FDonnees;
}

// ---- Reader

std::string_view TLecteurSerialisation::LireOctets(std::size_t nombre) {
  if (nombre > FDonnees.size() - FPosition) DonneesInvalides();
  const std::string_view octets = FDonnees.substr(FPosition, nombre);
  FPosition += nombre;
  return octets;
}

char TLecteurSerialisation::LireMarque() { return LireOctets(1)[0]; }

uint32_t TLecteurSerialisation::LireTaille() {
  uint32_t valeur;
  std::memcpy(&valeur, LireOctets(sizeof valeur).data(), sizeof valeur);
  return valeur;
}

std::wstring TLecteurSerialisation::LireChaine() {
  if (LireMarque() != MarqueChaine) DonneesInvalides();
  return DepuisUtf8(LireOctets(LireTaille()));
}

int64_t TLecteurSerialisation::LireEntier() {
  if (LireMarque() != MarqueEntier) DonneesInvalides();
  int64_t valeur;
  std::memcpy(&valeur, LireOctets(sizeof valeur).data(), sizeof valeur);
  return valeur;
}

TInstanceSerialisable TLecteurSerialisation::LireInstance() {
  const char marque = LireMarque();
  if (marque == MarqueAucunObjet) return {};
  if (marque != MarqueObjet) DonneesInvalides();
  const std::string_view nomClasse = LireOctets(LireTaille());
  const std::string_view corps = LireOctets(LireTaille());
  const TypeInstanciateur instanciateur = TMetaInfosClasses::Instanciateur(nomClasse);
  if (!instanciateur) throw EOvalis(Format(Msg::ClasseNonDeclaree, {DepuisUtf8(nomClasse)}));
  TInstanceSerialisable instance = instanciateur();
  ISerialisable* serialisable = instance.FObjet ? instance.FObjet.Get() : instance.FException.get();
  if (!serialisable) DonneesInvalides();
  // Read within its own bounds: whatever the class leaves unread is skipped with it.
  TLecteurSerialisation lecteurCorps(corps);
  serialisable->Lire(lecteurCorps);
  return instance;
}

TRef<IUnknown> TLecteurSerialisation::LireObjet() {
  TInstanceSerialisable instance = LireInstance();
  return TRef<IUnknown>(instance.FObjet.Get());
}

std::unique_ptr<EExceptionSerialisable> TLecteurSerialisation::LireException() {
  return std::move(LireInstance().FException);
}

// ---- Serialisable exceptions

HRESULT EExceptionSerialisable::QueryInterface(REFIID iid, void** resultat) {
  if (!resultat) return E_POINTER;
  *resultat = nullptr;
  return ObtenirInterface(iid, resultat) ? S_OK : E_NOINTERFACE;
}

bool EExceptionSerialisable::ObtenirInterface(REFIID iid, void** resultat) {
  if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, __uuidof(ISerialisable))) return false;
  *resultat = static_cast<ISerialisable*>(this);
  return true;
}

void EExceptionSerialisable::Ecrire(TEcrivainSerialisation& ecrivain) { ecrivain.EcrireChaine(Message()); }

void EExceptionSerialisable::Lire(TLecteurSerialisation& lecteur) { ChangerMessage(lecteur.LireChaine()); }

void EExceptionSerialisableAvecTitre::Ecrire(TEcrivainSerialisation& ecrivain) {
  EExceptionSerialisable::Ecrire(ecrivain);
  ecrivain.EcrireChaine(FTitre);
}

void EExceptionSerialisableAvecTitre::Lire(TLecteurSerialisation& lecteur) {
  EExceptionSerialisable::Lire(lecteur);
  FTitre = lecteur.LireChaine();
}

void EExceptionRendueSerialisable::Ecrire(TEcrivainSerialisation& ecrivain) {
  EExceptionSerialisable::Ecrire(ecrivain);
  ecrivain.EcrireChaine(FNomClasseExceptionOrigine);
}

void EExceptionRendueSerialisable::Lire(TLecteurSerialisation& lecteur) {
  EExceptionSerialisable::Lire(lecteur);
  FNomClasseExceptionOrigine = lecteur.LireChaine();
}

}  // namespace norvel
