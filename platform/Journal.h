#pragma once
// The journal of a run: one UTF-8 text file per run, one timestamped line per event, written
// as the events happen so that a run that ends badly still leaves its story. It is reachable
// from every thread and every layer (the HTTP engine notes each request through it); a
// program without a journal simply notes nothing.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/Handle.h"

namespace norvel {

enum class TypeNatureLigneJournal {
  Detail,       // the file only
  Progression,  // also shown to the console that started the program
  Erreur,       // also shown to the console
};

class IJournal {
 public:
  virtual ~IJournal() = default;
  // Any thread; never raises.
  virtual void Noter(TypeNatureLigneJournal nature, std::wstring_view texte) noexcept = 0;
  // The file written (empty when none).
  virtual std::wstring Chemin() const = 0;
};

// The journal of this process (null before one is set and after it is taken away).
void DefinirJournalProcessus(std::shared_ptr<IJournal> journal);
std::shared_ptr<IJournal> JournalProcessus();
// A line in the process's journal, when there is one.
void Journaliser(std::wstring_view texte, TypeNatureLigneJournal nature = TypeNatureLigneJournal::Detail) noexcept;

// A line as the journal writes it: "2026-12-10 14:03:07.251 " and the text, blanks at the end
// removed; line breaks inside the text become " | " so that one event stays one line.
std::wstring LigneJournal(const SYSTEMTIME& instant, std::wstring_view texte);

// Where the progress lines of a program started from a console (cmd, PowerShell) go: the
// standard output when it was redirected to a file or a pipe, otherwise the parent's console.
class TConsoleParente {
 public:
  // Attaches to the parent's console when there is one; nothing when there is none.
  TConsoleParente();
  bool Presente() const { return FSortie != nullptr; }
  void EcrireLigne(std::wstring_view texte) noexcept;

 private:
  HANDLE FSortie = nullptr;  // owned only when FConsole is open
  THandle FConsole;
  bool FEstConsole = false;
};

// The journal file of one run.
class TJournalFichier : public IJournal {
 public:
  // Creates (replaces) the file and writes its byte-order mark; console: where progress and
  // error lines also go (may be null).
  TJournalFichier(std::wstring chemin, std::shared_ptr<TConsoleParente> console);

  void Noter(TypeNatureLigneJournal nature, std::wstring_view texte) noexcept override;
  std::wstring Chemin() const override { return FChemin; }
  // Whether the file could be made, and the system's code when it could not.
  bool Ouvert() const { return FFichier.Valide(); }
  DWORD CodeErreur() const { return FCodeErreur; }

 private:
  std::wstring FChemin;
  DWORD FCodeErreur = ERROR_SUCCESS;
  THandleFichier FFichier;
  std::shared_ptr<TConsoleParente> FConsole;
  std::mutex FVerrou;
};

// The journals of a folder: "InstalleurNorvelPrimaire-<date>-<time>-<process>.log", so that
// their names sort in the order of the runs.
inline constexpr size_t JournauxGardes = 10;
std::wstring NomJournal(const SYSTEMTIME& instant, DWORD processus);
// Deletes the oldest journals of the folder beyond the last `gardes`.
void GarderDerniersJournaux(const std::wstring& dossier, size_t gardes);

}  // namespace norvel
