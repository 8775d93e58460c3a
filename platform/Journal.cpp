#include "platform/Journal.h"

#include <algorithm>
#include <vector>

#include "core/Chaines.h"
#include "core/Format.h"
#include "platform/Chemins.h"

namespace norvel {

namespace {

constexpr std::wstring_view PrefixeJournal = L"InstalleurNorvelPrimaire-";
constexpr std::wstring_view ExtensionJournal = L".log";

std::mutex VerrouJournalProcessus;
std::shared_ptr<IJournal> JournalCourant;

void EcrireOctets(HANDLE sortie, const std::string& octets) {
  DWORD ecrits = 0;
  WriteFile(sortie, octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
}

}  // namespace

void DefinirJournalProcessus(std::shared_ptr<IJournal> journal) {
  std::lock_guard verrou(VerrouJournalProcessus);
  JournalCourant = std::move(journal);
}

std::shared_ptr<IJournal> JournalProcessus() {
  std::lock_guard verrou(VerrouJournalProcessus);
  return JournalCourant;
}

void Journaliser(std::wstring_view texte, TypeNatureLigneJournal nature) noexcept {
  try {
    if (const auto journal = JournalProcessus()) journal->Noter(nature, texte);
  } catch (...) {
    // A journal that cannot be written never stops the run it describes.
  }
}

std::wstring LigneJournal(const SYSTEMTIME& instant, std::wstring_view texte) {
  std::wstring ligne = Format(L"%.4d-%.2d-%.2d %.2d:%.2d:%.2d.%.3d ",
                              {instant.wYear, instant.wMonth, instant.wDay, instant.wHour, instant.wMinute,
                               instant.wSecond, instant.wMilliseconds});
  for (size_t i = 0; i < texte.size(); ++i) {
    if (texte[i] == L'\r' || texte[i] == L'\n') {
      while (i + 1 < texte.size() && (texte[i + 1] == L'\r' || texte[i + 1] == L'\n')) ++i;
      if (i + 1 < texte.size()) ligne += L" | ";
    } else {
      ligne += texte[i];
    }
  }
  while (!ligne.empty() && ligne.back() <= L' ') ligne.pop_back();
  return ligne;
}

TConsoleParente::TConsoleParente() {
  // A redirected output (a file, a pipe) is taken as it is: the caller reads it.
  const HANDLE sortie = GetStdHandle(STD_OUTPUT_HANDLE);
  if (sortie && sortie != INVALID_HANDLE_VALUE) {
    const DWORD genre = GetFileType(sortie);
    if (genre == FILE_TYPE_DISK || genre == FILE_TYPE_PIPE) {
      FSortie = sortie;
      return;
    }
  }
  // A program with windows gets no console of its own: it borrows the one of cmd or
  // PowerShell when it was started from there.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  FConsole.Reinitialiser(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
  if (FConsole.Get() == INVALID_HANDLE_VALUE) {
    FConsole.Liberer();
    return;
  }
  FSortie = FConsole.Get();
  FEstConsole = true;
}

void TConsoleParente::EcrireLigne(std::wstring_view texte) noexcept {
  if (!FSortie) return;
  try {
    const std::wstring ligne = std::wstring(texte) + L"\r\n";
    DWORD ecrits = 0;
    // The console shows every character; a file or a pipe gets UTF-8.
    if (!FEstConsole || !WriteConsoleW(FSortie, ligne.data(), static_cast<DWORD>(ligne.size()), &ecrits, nullptr))
      EcrireOctets(FSortie, VersUtf8(ligne));
  } catch (...) {
  }
}

TJournalFichier::TJournalFichier(std::wstring chemin, std::shared_ptr<TConsoleParente> console)
    : FChemin(std::move(chemin)), FConsole(std::move(console)) {
  // Others may read the journal while the run goes on (a deployment tool collecting it).
  FFichier.Reinitialiser(CreateFileW(FChemin.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  // The byte-order mark: older editors and Windows PowerShell read UTF-8 only with it.
  if (!FFichier) {
    FCodeErreur = GetLastError();
    return;
  }
  EcrireOctets(FFichier.Get(), "\xEF\xBB\xBF");
}

void TJournalFichier::Noter(TypeNatureLigneJournal nature, std::wstring_view texte) noexcept {
  try {
    SYSTEMTIME instant;
    GetLocalTime(&instant);
    const std::wstring ligne = LigneJournal(instant, texte);
    std::lock_guard verrou(FVerrou);
    // Straight to the system: a run that ends abruptly keeps every line written.
    if (FFichier) EcrireOctets(FFichier.Get(), VersUtf8(ligne + L"\r\n"));
    if (FConsole && nature != TypeNatureLigneJournal::Detail) FConsole->EcrireLigne(ligne);
  } catch (...) {
  }
}

std::wstring NomJournal(const SYSTEMTIME& instant, DWORD processus) {
  return std::wstring(PrefixeJournal) +
         Format(L"%.4d%.2d%.2d-%.2d%.2d%.2d%.3d-%d", {instant.wYear, instant.wMonth, instant.wDay, instant.wHour,
                                                      instant.wMinute, instant.wSecond, instant.wMilliseconds,
                                                      static_cast<unsigned long>(processus)}) +
         std::wstring(ExtensionJournal);
}

void GarderDerniersJournaux(const std::wstring& dossier, size_t gardes) {
  std::vector<std::wstring> noms;
  WIN32_FIND_DATAW trouve;
  const std::wstring motif = AvecBarreFinale(dossier) + std::wstring(PrefixeJournal) + L"*" + std::wstring(ExtensionJournal);
  TRechercheFichiers recherche(FindFirstFileW(motif.c_str(), &trouve));
  if (!recherche) return;
  do {
    if (!(trouve.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) noms.emplace_back(trouve.cFileName);
  } while (FindNextFileW(recherche.Get(), &trouve));
  if (noms.size() <= gardes) return;
  std::sort(noms.begin(), noms.end());
  for (size_t i = 0; i + gardes < noms.size(); ++i) DeleteFileW((AvecBarreFinale(dossier) + noms[i]).c_str());
}

}  // namespace norvel
