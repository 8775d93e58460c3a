#pragma once
// An intrusive first-in, first-out queue: each queued object carries the link to the next one,
// so queuing allocates nothing. The queue owns the objects it holds.

namespace norvel {

class TObjetEmpilable {
 public:
  TObjetEmpilable() = default;
  TObjetEmpilable(const TObjetEmpilable&) = delete;
  TObjetEmpilable& operator=(const TObjetEmpilable&) = delete;
  virtual ~TObjetEmpilable() = default;

 private:
  friend class TPileObjetsEmpilables;
  TObjetEmpilable* FSuivant = nullptr;
};

class TPileObjetsEmpilables {
 public:
  TPileObjetsEmpilables() = default;
  TPileObjetsEmpilables(const TPileObjetsEmpilables&) = delete;
  TPileObjetsEmpilables& operator=(const TPileObjetsEmpilables&) = delete;
  // Destroys the objects still queued.
  virtual ~TPileObjetsEmpilables();

  // Appends at the tail; an absent object is ignored.
  void Empiler(TObjetEmpilable* objet);
  // Takes the head, unless the queue is empty or its head is pasLui; the caller then owns it.
  bool TryDepiler(TObjetEmpilable*& objet, const TObjetEmpilable* pasLui = nullptr);
  void Vider(bool detruireObjets);
  bool EstVide() const { return FPremierObjetEmpilable == nullptr; }
  // Appends the whole of the other queue, in its order, and leaves it empty.
  void TransfererDepuis(TPileObjetsEmpilables& pile);

 private:
  TObjetEmpilable* FPremierObjetEmpilable = nullptr;
  TObjetEmpilable* FDernierObjetEmpilable = nullptr;
};

}  // namespace norvel
