#include "core/PileObjetsEmpilables.h"

namespace norvel {

TPileObjetsEmpilables::~TPileObjetsEmpilables() { Vider(true); }

void TPileObjetsEmpilables::Empiler(TObjetEmpilable* objet) {
  if (!objet) return;
  objet->FSuivant = nullptr;
  if (FDernierObjetEmpilable)
    FDernierObjetEmpilable->FSuivant = objet;
  else
    FPremierObjetEmpilable = objet;
  FDernierObjetEmpilable = objet;
}

bool TPileObjetsEmpilables::TryDepiler(TObjetEmpilable*& objet, const TObjetEmpilable* pasLui) {
  objet = nullptr;
  TObjetEmpilable* tete = FPremierObjetEmpilable;
  if (!tete || tete == pasLui) return false;
  FPremierObjetEmpilable = tete->FSuivant;
  if (!FPremierObjetEmpilable) FDernierObjetEmpilable = nullptr;
  tete->FSuivant = nullptr;
  objet = tete;
  return true;
}

void TPileObjetsEmpilables::Vider(bool detruireObjets) {
  TObjetEmpilable* objet = FPremierObjetEmpilable;
  FPremierObjetEmpilable = FDernierObjetEmpilable = nullptr;
  while (objet) {
    TObjetEmpilable* suivant = objet->FSuivant;
    objet->FSuivant = nullptr;
    if (detruireObjets) delete objet;
    objet = suivant;
  }
}

void TPileObjetsEmpilables::TransfererDepuis(TPileObjetsEmpilables& pile) {
  if (&pile == this || pile.EstVide()) return;
  if (FDernierObjetEmpilable)
    FDernierObjetEmpilable->FSuivant = pile.FPremierObjetEmpilable;
  else
    FPremierObjetEmpilable = pile.FPremierObjetEmpilable;
  FDernierObjetEmpilable = pile.FDernierObjetEmpilable;
  pile.FPremierObjetEmpilable = pile.FDernierObjetEmpilable = nullptr;
}

}  // namespace norvel
