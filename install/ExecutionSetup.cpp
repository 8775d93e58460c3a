#include "install/ExecutionSetup.h"

#include <optional>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "core/Messages.h"
#include "install/TelechargementSetup.h"
#include "install/VerificationSignature.h"

namespace norvel {

std::wstring CreerJournalSetup() {
  wchar_t chemin[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(DossierTemporaireUtilisateur().c_str(), L"tmp", 0, chemin))
    throw EOvalis(TexteErreurSysteme(GetLastError()));
  THandleFichier journal(CreateFileW(chemin, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!journal) throw ErreurSysteme(L"CreateFile");
  static constexpr unsigned char MarqueUtf16Le[] = {0xFF, 0xFE};
  DWORD ecrits = 0;
  VerifierWin32(WriteFile(journal.Get(), MarqueUtf16Le, sizeof MarqueUtf16Le, &ecrits, nullptr), L"WriteFile");
  return chemin;
}

bool EstRefusSignature(const std::wstring& AMessage) {
  return CommencePar(AMessage, Format(Msg::ErreurVerificationSignature, {L""}));
}

DWORD InstallerClient(TSequenceurLancementExecutable& ASequenceur, const std::wstring& AFichier,
                      const std::wstring& ACheminInstallation, int64_t ADureeMax) {
  std::optional<TFichierVerrouille> setup(std::in_place, AFichier);
  const TypeResultatWintrust signature = VerifierSignature(*setup);
  if (!signature.EstUnExeOvalis) throw EOvalis(Format(Msg::ErreurVerificationSignature, {signature.MsgErreur}));

  const std::wstring journal = CreerJournalSetup();
  ASequenceur.DefinirVariable(L"OVALIS_IS_AGENT", L"1");
  ASequenceur.DefinirVariable(L"OVALIS_IS_CONTEXTEOUTILINSTALLEUR", L"1");
  ASequenceur.DefinirVariable(L"OVALIS_IS_RACCOURCI", L"1");
  ASequenceur.DefinirVariable(L"OVALIS_IS_FICHIERLOG", journal);
  if (!ACheminInstallation.empty()) ASequenceur.DefinirVariable(L"OVALIS_IS_PATHEXE", ACheminInstallation);

  // Once the process has its image, the file may go back to its owner.
  return ExecuterProgramme(ASequenceur, Format(L"\"%s\" %s", {AFichier, OptionsSetup}), ADureeMax,
                           [&] { setup.reset(); })
      .CodeRetour;
}

}  // namespace norvel
