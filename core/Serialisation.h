#pragma once
// Serialisation of results and serialisable exceptions.
//
// Our own minimal writer and reader rather than a general framework: all that travels here is
// strings, integers and objects, and nothing outside the program reads what it writes. Values
// are tagged and objects carry their length, so a reader that meets truncated or foreign data
// raises instead of reading past its end, and a class that reads less than was written cannot
// shift what follows. A class is known by its run-time type name and becomes readable once an
// instantiator is declared for it (DeclarerMetaInfoClasse).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <type_traits>

#include "core/Exceptions.h"
#include "core/Finalisation.h"
#include "core/Interface.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

class TEcrivainSerialisation;
class TLecteurSerialisation;

// What a serialisable object writes and reads back, in the same order.
struct ISerialisable : IUnknown {
  virtual void Ecrire(TEcrivainSerialisation& ecrivain) = 0;
  virtual void Lire(TLecteurSerialisation& lecteur) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ISerialisable, 0x5D0C7B3E, 0x2F61, 0x4C8A, 0xA4, 0x19, 0x6B, 0x3E, 0x90, 0x27, 0xD1, 0x5C)

namespace norvel {

// The base of exceptions whose content survives serialisation: the message.
// Exceptions are not counted: their lifetime follows the exception mechanism, so their
// interface counting always answers 1.
class EExceptionSerialisable : public EOvalis, public ISerialisable {
 public:
  EExceptionSerialisable() : EOvalis(std::wstring()) {}
  explicit EExceptionSerialisable(std::wstring message) : EOvalis(std::move(message)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** resultat) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  void Ecrire(TEcrivainSerialisation& ecrivain) override;
  void Lire(TLecteurSerialisation& lecteur) override;

  // Raises a copy of this exception, with its own class.
  [[noreturn]] virtual void Lever() const { throw *this; }

 protected:
  virtual bool ObtenirInterface(REFIID iid, void** resultat);
};

class EExceptionSerialisableAvecTitre : public EExceptionSerialisable {
 public:
  EExceptionSerialisableAvecTitre() = default;
  EExceptionSerialisableAvecTitre(std::wstring message, std::wstring titre)
      : EExceptionSerialisable(std::move(message)), FTitre(std::move(titre)) {}
  const std::wstring& Titre() const { return FTitre; }

  void Ecrire(TEcrivainSerialisation& ecrivain) override;
  void Lire(TLecteurSerialisation& lecteur) override;
  [[noreturn]] void Lever() const override { throw *this; }

 private:
  std::wstring FTitre;
};

// Stands for an exception of another class, named by FNomClasseExceptionOrigine.
class EExceptionRendueSerialisable : public EExceptionSerialisable {
 public:
  EExceptionRendueSerialisable() = default;
  EExceptionRendueSerialisable(std::wstring message, std::wstring nomClasseExceptionOrigine)
      : EExceptionSerialisable(std::move(message)), FNomClasseExceptionOrigine(std::move(nomClasseExceptionOrigine)) {}
  const std::wstring& NomClasseExceptionOrigine() const { return FNomClasseExceptionOrigine; }

  void Ecrire(TEcrivainSerialisation& ecrivain) override;
  void Lire(TLecteurSerialisation& lecteur) override;
  [[noreturn]] void Lever() const override { throw *this; }

 private:
  std::wstring FNomClasseExceptionOrigine;
};

// A new, empty instance of a class, ready to be read: a counted object or an exception.
struct TInstanceSerialisable {
  TRef<ISerialisable> FObjet;
  std::unique_ptr<EExceptionSerialisable> FException;
};
using TypeInstanciateur = std::function<TInstanceSerialisable()>;

// The per-class meta-information: the instantiators of the classes that can be read.
// Declared at start-up; released by the early finalisation.
class TMetaInfosClasses : public TClasseFinalisable {
 public:
  // Declares the class's instantiator unless one is declared already; true when declared now.
  static bool DeclarerInstanciateur(const std::type_info& classe, TypeInstanciateur instanciateur);
  // The class's instantiator, or an empty one.
  static TypeInstanciateur Instanciateur(std::string_view nomClasse);
  static void Finaliser();
};

// Makes class T readable: its instantiator creates an empty T.
template <class T>
void DeclarerMetaInfoClasse() {
  TMetaInfosClasses::DeclarerInstanciateur(typeid(T), [] {
    TInstanceSerialisable instance;
    if constexpr (std::is_base_of_v<EExceptionSerialisable, T>)
      instance.FException = std::make_unique<T>();
    else
      instance.FObjet = TRef<ISerialisable>(static_cast<ISerialisable*>(NouvelObjet<T>().Get()));
    return instance;
  });
}

class TEcrivainSerialisation {
 public:
  void EcrireChaine(std::wstring_view texte);
  void EcrireEntier(int64_t valeur);
  // An object held through an interface, or none; it must answer ISerialisable.
  void EcrireObjet(IUnknown* objet);
  const std::string& Donnees() const { return FDonnees; }

 private:
  void EcrireTaille(std::size_t taille);
  std::string FDonnees;
};

// Reads values back in the order they were written; data that does not match raises
// "Données sérialisées invalides.".
class TLecteurSerialisation {
 public:
  explicit TLecteurSerialisation(std::string_view donnees) : FDonnees(donnees) {}

  std::wstring LireChaine();
  int64_t LireEntier();
  // A counted object, or none when none was written. An exception met here is read and
  // dropped: it cannot be held by a counted reference.
  TRef<IUnknown> LireObjet();
  // An exception written with EcrireObjet, or none; a counted object met here is dropped.
  std::unique_ptr<EExceptionSerialisable> LireException();
  bool EstTermine() const { return FPosition == FDonnees.size(); }

 private:
  TInstanceSerialisable LireInstance();
  char LireMarque();
  std::string_view LireOctets(std::size_t nombre);
  uint32_t LireTaille();

  std::string_view FDonnees;
  std::size_t FPosition = 0;
};

}  // namespace norvel
