#pragma once
// The user-interface platform of the program, on plain Win32: the main thread's message loop
// and the hooks the waits build on (process one message, idle handlers with a "done" flag,
// calls queued by other threads, sleep until the next message), a wake-up that any thread
// may post, timers, form creation (at once or deferred to the start of the loop, with a
// forms-created notification), the exception handler of the loop and the default font.
// One instance per process, used from the thread that created it.
#include <windows.h>

#include <atomic>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Attente.h"
#include "platform/FenetreProgramme.h"

namespace norvel {

// The platform's default-font service: the font of every form that sets none of its own.
struct IServicePoliceSysteme {
  virtual ~IServicePoliceSysteme() = default;
  virtual std::wstring GetDefaultFontFamilyName() = 0;
  // In device-independent pixels (pixels at 96 dots per inch).
  virtual float GetDefaultFontSize() = 0;
};

class TApplicationGraphique {
 public:
  // Created by the first call, on the thread that becomes the main thread.
  static TApplicationGraphique& Instance();
  static bool Existe();

  // Prepares a run of the loop: not terminated, the main-loop wake-up installed for worker
  // threads that end without a waiter.
  void Initialiser();
  bool Initialisee() const { return FInitialisee; }

  // Readable from any thread: a worker that waits for the main thread gives up once it is set.
  bool Terminee() const { return FTerminee; }
  // Ends the loop at its next iteration; the main thread only.
  void Terminer();

  // ---- The hooks of the loop
  // Processes one pending message; false when none was pending.
  bool TraiterUnMessage();
  // Runs the idle handler; answers its "done" flag (true: nothing more to do).
  bool ExecuterInactivite();
  // Runs the oldest of the calls queued for this thread (AppelerSurThreadPrincipal); true when
  // one ran. One call per idle step: the messages that came meanwhile go first.
  bool ExecuterAppelsEnFile();
  bool AppelsEnAttente();
  // Sleeps in the system until a message arrives.
  void AttendreMessage();

  // One iteration of the loop: a message if one is pending, otherwise the idle step, then a
  // sleep unless work is pending or the condition (asked in idle mode) holds.
  void Iterer(IConditionFinDAttente* condition);
  // Creates the deferred forms, announces them, then iterates until terminated.
  void ExecuterBouclePrincipale(IConditionFinDAttente* condition);

  // Any thread. The wake-up is a message: it ends the sleep of the main thread.
  static void Reveiller();

  using TypeGestionnaireInactivite = std::function<void(bool& fini)>;
  const TypeGestionnaireInactivite& GetSurInactivite() const { return FSurInactivite; }
  void SetSurInactivite(TypeGestionnaireInactivite gestionnaire) { FSurInactivite = std::move(gestionnaire); }

  // Messages the system sends to the whole program (end of session, settings changed).
  using TypeGestionnaireMessageSysteme = std::function<void(UINT message, bool& gere)>;
  void SetSurMessageSysteme(TypeGestionnaireMessageSysteme gestionnaire) { FSurMessageSysteme = std::move(gestionnaire); }

  // An exception raised while one message is handled ends there: the handler shows it (by
  // default in a message box; never for a cancellation) and the loop goes on.
  using TypeGestionnaireException = std::function<void(const std::exception&)>;
  void SetSurException(TypeGestionnaireException gestionnaire) { FSurException = std::move(gestionnaire); }
  void TraiterException(const std::exception& e);

  // ---- Forms. The platform owns the forms it creates.
  using TypeFabriqueFiche = std::function<std::unique_ptr<TFenetreProgramme>()>;
  using TypeReferenceFiche = std::function<void(TFenetreProgramme*)>;
  // Creates the form into *reference now, or, when creation is deferred, at the start of the loop.
  template <class TypeFiche>
  void CreerFiche(TypeFabriqueFiche fabrique, TypeFiche** reference) {
    CreerFenetre(std::move(fabrique), [reference](TFenetreProgramme* f) { *reference = static_cast<TypeFiche*>(f); });
  }
  void CreerFenetre(TypeFabriqueFiche fabrique, TypeReferenceFiche reference);
  void SetCreationFichesDifferee(bool differee) { FCreationFichesDifferee = differee; }
  int AbonnerFichesCreees(std::function<void()> procedure);
  void DesabonnerFichesCreees(int identifiant);
  void DetruireFiche(TFenetreProgramme* fiche);
  // Destroys every form still owned and forgets the deferred ones.
  void DetruireComposants();
  bool PossedeFiche(HWND fenetre) const;
  // The main form is the first one created: closing it ends the program.
  bool EstFichePrincipale(const TFenetreProgramme* fiche) const { return !FFiches.empty() && FFiches.front().get() == fiche; }
  TFenetreProgramme* FichePrincipale() const { return FFiches.empty() ? nullptr : FFiches.front().get(); }
  size_t NombreFiches() const { return FFiches.size(); }

  // ---- Default font
  void SetServicePolice(std::unique_ptr<IServicePoliceSysteme> service) { FServicePolice = std::move(service); }
  IServicePoliceSysteme* ServicePolice() const { return FServicePolice.get(); }
  // The default-font service's font (the system's message font without one), sized for a
  // number of dots per inch (0: the screen's).
  LOGFONTW DescriptionPoliceParDefaut(UINT ppp = 0) const;
  // A new font of that description.
  HFONT CreerPoliceParDefaut(bool gras = false) const;

  // The hidden window that receives wake-ups, timers and system-wide messages.
  HWND FenetreUtilitaire() const { return FFenetreUtilitaire; }
  DWORD IdThreadPrincipal() const { return FIdThreadPrincipal; }
  bool EstThreadPrincipal() const { return GetCurrentThreadId() == FIdThreadPrincipal; }

  TApplicationGraphique(const TApplicationGraphique&) = delete;
  TApplicationGraphique& operator=(const TApplicationGraphique&) = delete;

 private:
  TApplicationGraphique();
  static LRESULT CALLBACK ProcedureUtilitaire(HWND fenetre, UINT message, WPARAM w, LPARAM l);
  void CreerFichesDifferees();
  // The queue behind AppelerSurThreadPrincipal; any thread.
  friend bool AppelerSurThreadPrincipal(std::function<void()> appel);
  void MettreEnFile(std::function<void()> appel);

  DWORD FIdThreadPrincipal;
  HWND FFenetreUtilitaire = nullptr;
  bool FInitialisee = false;
  std::atomic<bool> FTerminee = false;
  bool FCreationFichesDifferee = false;
  TypeGestionnaireInactivite FSurInactivite;
  TypeGestionnaireMessageSysteme FSurMessageSysteme;
  TypeGestionnaireException FSurException;
  std::mutex FVerrouAppels;
  std::deque<std::function<void()>> FAppelsEnFile;
  std::vector<std::unique_ptr<TFenetreProgramme>> FFiches;
  std::vector<std::pair<TypeFabriqueFiche, TypeReferenceFiche>> FFichesDifferees;
  std::map<int, std::function<void()>> FAbonnesFichesCreees;
  int FDernierAbonnement = 0;
  std::unique_ptr<IServicePoliceSysteme> FServicePolice;
};

// A timer of the main thread: its ticks are messages to the hidden window and do nothing else
// than making the loop return from its sleep. Interval 0 stops it.
class TMinuterie {
 public:
  TMinuterie();
  ~TMinuterie();
  TMinuterie(const TMinuterie&) = delete;
  TMinuterie& operator=(const TMinuterie&) = delete;
  UINT Intervalle() const { return FIntervalle; }
  void SetIntervalle(UINT intervalle);

 private:
  UINT_PTR FId;
  UINT FIntervalle = 0;
};

}  // namespace norvel
