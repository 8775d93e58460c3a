#include "install/LancementExecutable.h"

#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "platform/Chemins.h"
#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
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

// The job of every program started here, for the whole run: the system closes it when the
// program ends, however it ends, and the programs still in it end with it.
HANDLE JobProgrammes() {
  static const THandle job = [] {
    THandle nouveau(VerifierHandle(CreateJobObjectW(nullptr, nullptr), L"CreateJobObject"));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limites{};
    limites.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    VerifierWin32(SetInformationJobObject(nouveau.Get(), JobObjectExtendedLimitInformation, &limites, sizeof limites),
                  L"SetInformationJobObject");
    return nouveau;
  }();
  return job.Get();
}

// The program's environment with these variables set (an empty block: the program's own).
std::vector<wchar_t> BlocEnvironnement(const TypeVariablesEnvironnement& variables) {
  std::vector<wchar_t> bloc;
  if (variables.empty()) return bloc;
  const auto remplacee = [&](std::wstring_view entree) {
    // "=C:=C:\..." entries name no variable of ours; a name ends at the first "=" after it.
    const std::wstring_view nom = entree.substr(0, entree.find(L'=', 1));
    for (const auto& [variable, valeur] : variables)
      if (MemeTexteSansCasse(variable, nom)) return true;
    return false;
  };
  const auto ajouter = [&](std::wstring_view entree) {
    bloc.insert(bloc.end(), entree.begin(), entree.end());
    bloc.push_back(L'\0');
  };
  if (wchar_t* actuel = GetEnvironmentStringsW()) {
    for (const wchar_t* entree = actuel; *entree; entree += wcslen(entree) + 1)
      if (!remplacee(entree)) ajouter(entree);
    FreeEnvironmentStringsW(actuel);
  }
  for (const auto& [variable, valeur] : variables) ajouter(variable + L"=" + valeur);
  bloc.push_back(L'\0');
  return bloc;
}

// The program and its arguments of a command line, for the shell. An unquoted path with spaces
// is taken up to the first space where a file exists, as the system looks for it.
std::pair<std::wstring, std::wstring> ProgrammeEtArguments(const std::wstring& ligne) {
  if (!ligne.empty() && ligne[0] == L'"') {
    const size_t fin = ligne.find(L'"', 1);
    if (fin == std::wstring::npos) return {ligne.substr(1), L""};
    return {ligne.substr(1, fin - 1), Trim(ligne.substr(fin + 1))};
  }
  for (size_t espace = ligne.find(L' '); espace != std::wstring::npos; espace = ligne.find(L' ', espace + 1)) {
    const std::wstring programme = ligne.substr(0, espace);
    if (FichierExiste(programme) || FichierExiste(programme + L".exe")) return {programme, Trim(ligne.substr(espace))};
  }
  const size_t espace = ligne.find(L' ');
  if (espace == std::wstring::npos) return {ligne, L""};
  return {ligne.substr(0, espace), Trim(ligne.substr(espace))};
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
  // Our end of the input goes with this function: the program reads an input at its end.
  TypeTube entree = CreerTubes(base + L"EntreeStd", TypeSensTube::EntreeProcessus);
  TypeTube sortie = CreerTubes(base + L"SortieStd", TypeSensTube::SortieProcessus);
  TypeTube erreur = CreerTubes(base + L"SortieErr", TypeSensTube::SortieProcessus);

  DebutReadFile(sortie.CoteSequenceur, &APtrRetour->SortieStd, APageDeCodeSortieStd, {});
  DebutReadFile(erreur.CoteSequenceur, &APtrRetour->SortieErr, APageDeCodeSortieErr, {});

  std::wstring ligne = LigneDeCommande(AExecutable, AParametres);
  const std::wstring dossier(ADossier);
  const wchar_t* dossierOuRien = dossier.empty() ? nullptr : dossier.c_str();
  std::vector<wchar_t> environnement = BlocEnvironnement(FVariables);
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof(demarrage);
  demarrage.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  demarrage.wShowWindow = SW_HIDE;
  demarrage.hStdInput = entree.CoteProcessus.Get();
  demarrage.hStdOutput = sortie.CoteProcessus.Get();
  demarrage.hStdError = erreur.CoteProcessus.Get();
  PROCESS_INFORMATION processus{};
  TRef<IHandle> handleProcessus;
  try {
    if (CreerProcessus(ligne, environnement.empty() ? nullptr : environnement.data(), dossierOuRien, demarrage,
                       processus)) {
      handleProcessus = CreerIHandle(processus.hProcess);
      const THandle thread(processus.hThread);
      // In the job before it runs a single instruction, so that what it starts is in it too.
      if (!AssignProcessToJobObject(JobProgrammes(), processus.hProcess)) {
        const DWORD code = GetLastError();
        TerminateProcess(processus.hProcess, CodeFinAnnulation);
        throw ErreurSystemeCode(code, Msg::ErreurInterne, L"AssignProcessToJobObject");
      }
      if (ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
        const DWORD code = GetLastError();
        TerminateProcess(processus.hProcess, CodeFinAnnulation);
        throw ErreurSystemeCode(code, Msg::ErreurInterne, L"ResumeThread");
      }
    } else {
      const DWORD code = GetLastError();
      if (code != ErreurElevationNecessaire) throw ErreurSystemeCode(code, Msg::ErreurInterne, L"CreateProcess");
      handleProcessus = CreerIHandle(DemarrerAvecElevation(ligne, dossierOuRien));
    }
  } catch (...) {
    // The reads just started would otherwise wait for a writer that never comes.
    DemanderAnnulationOperations();
    throw;
  }
  AjouterParamOperation(std::make_unique<TParamExecutionProcessus>(this, handleProcessus, APtrRetour));

  // The program now holds the only other ends: the pipes break when it (and any child that
  // inherited them) has ended. The process ends close as the tubes go out of scope.
  FSortieStd = sortie.CoteSequenceur;
  FSortieErr = erreur.CoteSequenceur;
}

bool TSequenceurLancementExecutable::CreerProcessus(std::wstring& ALigne, void* AEnvironnement, const wchar_t* ADossier,
                                                    STARTUPINFOW& ADemarrage, PROCESS_INFORMATION& AProcessus) {
  SECURITY_ATTRIBUTES attributsProcessus = AttributsHeritables();
  return CreateProcessW(nullptr, ALigne.data(), &attributsProcessus, nullptr, TRUE,
                        CREATE_NEW_CONSOLE | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, AEnvironnement, ADossier,
                        &ADemarrage, &AProcessus) != FALSE;
}

HANDLE TSequenceurLancementExecutable::DemarrerAvecElevation(const std::wstring& ALigne, const wchar_t* ADossier) {
  // The system passes neither the pipes nor an environment across the elevation: the program
  // gets the user's own environment, writes nowhere we read, and tells its outcome by its exit
  // code alone. It is not in the job either: a program without rights cannot hold it.
  const auto [programme, arguments] = ProgrammeEtArguments(ALigne);
  SHELLEXECUTEINFOW execution{};
  execution.cbSize = sizeof execution;
  execution.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execution.lpVerb = L"runas";
  execution.lpFile = programme.c_str();
  execution.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
  execution.lpDirectory = ADossier;
  execution.nShow = SW_HIDE;
  if (!ShellExecuteExW(&execution)) throw ErreurSysteme(L"ShellExecuteEx");
  if (!execution.hProcess) throw ErreurSystemeCode(ERROR_INVALID_HANDLE, Msg::ErreurInterne, L"ShellExecuteEx");
  return execution.hProcess;
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

TypeRetourExecutable ExecuterProgramme(TSequenceurLancementExecutable& ASequenceur, std::wstring_view ALigne,
                                       int64_t ADureeMax, const std::function<void()>& AApresDemarrage) {
  constexpr UINT PageDeCodeSorties = 850;
  TypeRetourExecutable retour;
  try {
    ASequenceur.DebutProcessus(L"", ALigne, L"", PageDeCodeSorties, PageDeCodeSorties, &retour);
    if (AApresDemarrage) AApresDemarrage();
    if (!ASequenceur.Boucler(ADureeMax))
      throw EOvalis(Format(Msg::ProgrammeSansFin, {Trim(ALigne), static_cast<int64_t>(ADureeMax / 1000)}));
  } catch (...) {
    // Stopped and waited for while the outcome it writes into is still here.
    ASequenceur.AnnulerEtAttendre();
    throw;
  }
  return retour;
}

}  // namespace norvel
