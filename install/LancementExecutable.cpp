#include "install/LancementExecutable.h"

#include <objbase.h>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Handle.h"
#include "core/Messages.h"

namespace norvel {

namespace {

constexpr DWORD CodeFinAnnulation = 1460;  // ERROR_TIMEOUT, the exit code of a stopped program
constexpr DWORD TailleTamponsTube = 65536;
constexpr DWORD DelaiDefautTube = 50;

enum class TypeSensTube { EntreeProcessus, SortieProcessus };

struct TypeTube {
  TRef<IHandle> CoteSequenceur;
  THandleFichier CoteProcessus;
};

SECURITY_ATTRIBUTES AttributsHeritables() {
  SECURITY_ATTRIBUTES attributs{};
  attributs.nLength = sizeof(attributs);
  attributs.bInheritHandle = TRUE;
  return attributs;
}

std::wstring NouveauNomBaseTubes() {
  GUID guid{};
  const HRESULT hr = CoCreateGuid(&guid);
  if (FAILED(hr)) throw ErreurSystemeCode(static_cast<DWORD>(hr), Msg::ErreurInterne, L"CoCreateGuid");
  wchar_t texte[40] = {};
  StringFromGUID2(guid, texte, 40);
  return std::wstring(L"\\\\.\\pipe\\") + texte + L"\\";
}

// One pipe: the sequencer's overlapped end, kept out of every child, and the process's end,
// inheritable, handed to the program as one of its standard streams.
TypeTube CreerTubes(const std::wstring& nom, TypeSensTube sens) {
  SECURITY_ATTRIBUTES attributs = AttributsHeritables();
  const bool entree = sens == TypeSensTube::EntreeProcessus;
  TypeTube tube;
  const HANDLE cote = CreateNamedPipeW(nom.c_str(), (entree ? PIPE_ACCESS_OUTBOUND : PIPE_ACCESS_INBOUND) | FILE_FLAG_OVERLAPPED,
                                       PIPE_TYPE_BYTE | PIPE_WAIT, 1, TailleTamponsTube, TailleTamponsTube,
                                       DelaiDefautTube, &attributs);
  if (cote == INVALID_HANDLE_VALUE) throw ErreurSysteme(L"CreateNamedPipe");
  tube.CoteSequenceur = CreerIHandle(cote);
  tube.CoteProcessus.Reinitialiser(CreateFileW(nom.c_str(), entree ? GENERIC_READ : GENERIC_WRITE, 0, &attributs,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!tube.CoteProcessus) throw ErreurSysteme(L"CreateFile");
  VerifierWin32(SetHandleInformation(cote, HANDLE_FLAG_INHERIT, 0), L"SetHandleInformation");
  return tube;
}

std::wstring LigneDeCommande(std::wstring_view executable, std::wstring_view parametres) {
  std::wstring ligne;
  if (!executable.empty()) ligne = L"\"" + std::wstring(executable) + L"\"";
  if (!parametres.empty()) ligne = Trim(ligne + L" " + std::wstring(parametres));
  return ligne;
}

TRef<IHandle> CreerEvenementLecture() {
  return CreerIHandle(VerifierHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr), L"CreateEvent"));
}

}  // namespace

// ---- TParamExecutionProcessus

TParamExecutionProcessus::TParamExecutionProcessus(TSequenceurLancementExecutable* ASequenceur,
                                                   TRef<IHandle> AHandle, TypeRetourExecutable* APtrCodeRetour)
    : TParamOperationAsync(AHandle), FSequenceur(ASequenceur), FHandle(AHandle), FPtrCodeRetour(APtrCodeRetour) {}

void TParamExecutionProcessus::Terminer() { FSequenceur->FinProcessus(*this); }

void TParamExecutionProcessus::DemanderAnnulation() {
  if (FAnnulationDemandee) return;
  FAnnulationDemandee = true;
  // It may have ended on its own meanwhile: its end is then reported as usual.
  TerminateProcess(FHandle->GetHandle(), CodeFinAnnulation);
}

// ---- TParamReadFile

TParamReadFile::TParamReadFile(TSequenceurLancementExecutable* ASequenceur, TRef<IHandle> AHandle,
                               std::wstring* APtrSortie, UINT APageDeCode, std::string ADonneesDejaRecues)
    : TParamOperationAsync(CreerEvenementLecture()),
      FSequenceur(ASequenceur),
      FHandle(std::move(AHandle)),
      FPtrSortie(APtrSortie),
      FPageDeCode(APageDeCode),
      FDonneesDejaRecues(std::move(ADonneesDejaRecues)) {
  FOverlapped.hEvent = FAttendable->GetHandle();
}

bool TParamReadFile::LancerLecture() {
  if (ReadFile(FHandle->GetHandle(), FTampon.data(), static_cast<DWORD>(FTampon.size()), nullptr, &FOverlapped))
    return false;
  const DWORD erreur = GetLastError();
  if (erreur == ERROR_IO_PENDING) return true;
  FErreurImmediate = erreur;
  return false;
}

DWORD TParamReadFile::Resultat(DWORD& AOctetsLus) {
  AOctetsLus = 0;
  if (FErreurImmediate != ERROR_SUCCESS) return FErreurImmediate;
  if (GetOverlappedResult(FHandle->GetHandle(), &FOverlapped, &AOctetsLus, FALSE)) return ERROR_SUCCESS;
  return GetLastError();
}

void TParamReadFile::Terminer() {
  if (FSequenceur->FinReadFile(*this))
    FSequenceur->DebutReadFile(FHandle, FPtrSortie, FPageDeCode, std::move(FDonneesDejaRecues));
}

void TParamReadFile::DemanderAnnulation() {
  if (FAnnulationDemandee) return;
  FAnnulationDemandee = true;
  // Fails harmlessly when the read has completed already.
  CancelIoEx(FHandle->GetHandle(), &FOverlapped);
}

// ---- TSequenceurLancementExecutable

TSequenceurLancementExecutable::~TSequenceurLancementExecutable() {
  // The ends of pending operations call back into this object: wait for them while it is whole.
  AnnulerEtAttendre();
}

void TSequenceurLancementExecutable::DebutProcessus(std::wstring_view AExecutable, std::wstring_view AParametres,
                                                    std::wstring_view ADossier, UINT APageDeCodeSortieStd,
                                                    UINT APageDeCodeSortieErr, TypeRetourExecutable* APtrRetour) {
  const std::wstring base = NouveauNomBaseTubes();
  TypeTube entree = CreerTubes(base + L"EntreeStd", TypeSensTube::EntreeProcessus);
  TypeTube sortie = CreerTubes(base + L"SortieStd", TypeSensTube::SortieProcessus);
  TypeTube erreur = CreerTubes(base + L"SortieErr", TypeSensTube::SortieProcessus);

  DebutReadFile(sortie.CoteSequenceur, &APtrRetour->SortieStd, APageDeCodeSortieStd, {});
  DebutReadFile(erreur.CoteSequenceur, &APtrRetour->SortieErr, APageDeCodeSortieErr, {});

  std::wstring ligne = LigneDeCommande(AExecutable, AParametres);
  const std::wstring dossier(ADossier);
  SECURITY_ATTRIBUTES attributsProcessus = AttributsHeritables();
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof(demarrage);
  demarrage.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  demarrage.wShowWindow = SW_HIDE;
  demarrage.hStdInput = entree.CoteProcessus.Get();
  demarrage.hStdOutput = sortie.CoteProcessus.Get();
  demarrage.hStdError = erreur.CoteProcessus.Get();
  PROCESS_INFORMATION processus{};
  if (!CreateProcessW(nullptr, ligne.data(), &attributsProcessus, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr,
                      dossier.empty() ? nullptr : dossier.c_str(), &demarrage, &processus)) {
    const DWORD code = GetLastError();
    // The reads just started would otherwise wait for a writer that never comes.
    DemanderAnnulationOperations();
    throw ErreurSystemeCode(code, Msg::ErreurInterne, L"CreateProcess");
  }
  CloseHandle(processus.hThread);
  const TRef<IHandle> handleProcessus = CreerIHandle(processus.hProcess);
  AjouterParamOperation(std::make_unique<TParamExecutionProcessus>(this, handleProcessus, APtrRetour));

  // The program now holds the only other ends: the pipes break when it (and any child that
  // inherited them) has ended. The process ends close as the tubes go out of scope.
  FEntreeStd = entree.CoteSequenceur;
  FSortieStd = sortie.CoteSequenceur;
  FSortieErr = erreur.CoteSequenceur;
}

void TSequenceurLancementExecutable::FinProcessus(TParamExecutionProcessus& AParam) {
  VerifierWin32(GetExitCodeProcess(AParam.FHandle->GetHandle(), &AParam.FPtrCodeRetour->CodeRetour),
                L"GetExitCodeProcess");
}

void TSequenceurLancementExecutable::DebutReadFile(TRef<IHandle> AHandle, std::wstring* APtrSortie, UINT APageDeCode,
                                                   std::string ADonneesDejaRecues) {
  // A read that completes at once is taken in here and the next one started, in a loop rather
  // than through recursion: a program writing quickly would otherwise deepen the stack.
  for (;;) {
    auto param = std::make_unique<TParamReadFile>(this, AHandle, APtrSortie, APageDeCode, std::move(ADonneesDejaRecues));
    if (param->LancerLecture()) {
      AjouterParamOperation(std::move(param));
      return;
    }
    if (!FinReadFile(*param)) return;
    ADonneesDejaRecues = std::move(param->FDonneesDejaRecues);
  }
}

bool TSequenceurLancementExecutable::FinReadFile(TParamReadFile& AParam) {
  DWORD octetsLus = 0;
  DWORD erreur = AParam.Resultat(octetsLus);
  if (erreur == ERROR_MORE_DATA) {
    octetsLus = static_cast<DWORD>(AParam.FTampon.size());
    erreur = ERROR_SUCCESS;
  }
  if (erreur == ERROR_SUCCESS) AParam.FDonneesDejaRecues.append(AParam.FTampon.data(), octetsLus);
  // A stop asked for ends reading even when this last read brought data.
  if (erreur == ERROR_SUCCESS && !AParam.FAnnulationDemandee) return true;
  // Decoded once, at the end: a character split across two reads comes out whole.
  if (!AParam.FDonneesDejaRecues.empty())
    *AParam.FPtrSortie = DepuisCodePage(AParam.FDonneesDejaRecues, AParam.FPageDeCode);
  return false;
}

}  // namespace norvel
