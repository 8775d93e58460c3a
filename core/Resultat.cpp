#include "core/Resultat.h"

#include "core/Messages.h"

namespace norvel {

template <class IBase>
bool TResultatDe<IBase>::ObtenirInterface(REFIID iid, void** resultat) {
  if (IsEqualGUID(iid, __uuidof(IResultat))) {
    *resultat = CommeResultat();
    this->AddRef();
    return true;
  }
  return TImplemente<TObjetInterfacable, IBase, ISerialisable>::ObtenirInterface(iid, resultat);
}

template <class IBase>
TypeResultats TResultatDe<IBase>::GetTousResultatsDescendants() {
  TypeResultats descendants;
  for (const TRef<IResultat>& fils : FResultatsFils) {
    descendants.push_back(fils);
    const TypeResultats petitsFils = fils->GetTousResultatsDescendants();
    descendants.insert(descendants.end(), petitsFils.begin(), petitsFils.end());
  }
  return descendants;
}

template <class IBase>
std::unique_ptr<EResultat> TResultatDe<IBase>::CreerException() {
  TRef<IResultat> moi(CommeResultat());
  if (EstAnnulation()) return std::make_unique<EResultatAnnulation>(std::move(moi));
  return std::make_unique<EResultat>(std::move(moi));
}

template <class IBase>
void TResultatDe<IBase>::AjouterResultatFils(IResultat* resultat) {
  if (!resultat) return;
  // A cycle would make every walk of the tree endless and keep its results alive forever.
  IUnknown* moi = IdentiteObjet(CommeResultat());
  bool cycle = IdentiteObjet(resultat) == moi;
  for (const TRef<IResultat>& descendant : resultat->GetTousResultatsDescendants())
    cycle = cycle || IdentiteObjet(descendant.Get()) == moi;
  if (cycle) throw EOvalis(Msg::ResultatPropreDescendant);
  FResultatsFils.emplace_back(resultat);
}

template <class IBase>
void TResultatDe<IBase>::AjouterAResultatParent(IResultat* parent) {
  if (parent) parent->AjouterResultatFils(CommeResultat());
}

template <class IBase>
void TResultatDe<IBase>::Ecrire(TEcrivainSerialisation& ecrivain) {
  ecrivain.EcrireEntier(static_cast<int64_t>(FResultatsFils.size()));
  for (const TRef<IResultat>& fils : FResultatsFils) ecrivain.EcrireObjet(fils.Get());
}

template <class IBase>
void TResultatDe<IBase>::Lire(TLecteurSerialisation& lecteur) {
  const int64_t nombre = lecteur.LireEntier();
  if (nombre < 0) throw EOvalis(Msg::DonneesSerialiseesInvalides);
  for (int64_t i = 0; i < nombre; ++i) {
    // Objects that are not results are dropped.
    if (const TRef<IResultat> fils = lecteur.LireObjet().Demander<IResultat>()) AjouterResultatFils(fils.Get());
  }
}

template class TResultatDe<IResultat>;
template class TResultatDe<IErreur>;

void TErreur_::AjouterAErreur(TRef<IErreur>& erreurParente, const std::wstring& message) {
  if (!erreurParente) erreurParente = TRef<IErreur>(NouvelObjet<TErreur>(message).Get());
  erreurParente->AjouterResultatFils(CommeResultat());
}

void TErreur::Ecrire(TEcrivainSerialisation& ecrivain) {
  TErreur_::Ecrire(ecrivain);
  ecrivain.EcrireChaine(FMessage);
}

void TErreur::Lire(TLecteurSerialisation& lecteur) {
  TErreur_::Lire(lecteur);
  FMessage = lecteur.LireChaine();
}

EResultat::EResultat(TRef<IResultat> resultat)
    : EExceptionSerialisable(resultat ? resultat->GetMessage() : std::wstring()), FResultat(std::move(resultat)) {}

bool EResultat::ObtenirInterface(REFIID iid, void** resultat) {
  if (IsEqualGUID(iid, __uuidof(IExceptionAvecResultat))) {
    *resultat = static_cast<IExceptionAvecResultat*>(this);
    return true;
  }
  return EExceptionSerialisable::ObtenirInterface(iid, resultat);
}

void EResultat::AjouterResultatParent(const TRef<IResultat>& resultat) {
  if (!resultat) return;
  resultat->AjouterResultatFils(FResultat.Get());
  FResultat = resultat;
  ChangerMessage(FResultat->GetMessage());
}

void EResultat::Ecrire(TEcrivainSerialisation& ecrivain) {
  EExceptionSerialisable::Ecrire(ecrivain);
  ecrivain.EcrireObjet(FResultat.Get());
}

void EResultat::Lire(TLecteurSerialisation& lecteur) {
  EExceptionSerialisable::Lire(lecteur);
  FResultat = lecteur.LireObjet().Demander<IResultat>();
  if (FResultat) ChangerMessage(FResultat->GetMessage());
}

void DeclarerClassesSerialisables() {
  DeclarerMetaInfoClasse<EExceptionSerialisable>();
  DeclarerMetaInfoClasse<EExceptionSerialisableAvecTitre>();
  DeclarerMetaInfoClasse<EExceptionRendueSerialisable>();
  DeclarerMetaInfoClasse<EResultat>();
  DeclarerMetaInfoClasse<EResultatAnnulation>();
  DeclarerMetaInfoClasse<TResultat>();
  DeclarerMetaInfoClasse<TErreur_>();
  DeclarerMetaInfoClasse<TErreur>();
  DeclarerMetaInfoClasse<TErreurAnnulation>();
}

}  // namespace norvel
