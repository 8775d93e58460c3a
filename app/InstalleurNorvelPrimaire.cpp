// Entry of the assistant: the application information, the application object, its three
// phases, then the end of the process with the run's exit code.
#include <windows.h>

#include "platform/InformationApplication.h"
#include "core/Finalisation.h"
#include "app/ApplicationInstalleurNorvelPrimaire.h"

using namespace norvel;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Deployment tools read the outcome of the run here (core/CodesSortie.h).
  uint32_t codeSortie = 0;
  {
    TRef<IInformationApplication> information(
        NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             TypePaysDistribution::FRANCE, TypeSourceEnvironnement::Registre)
            .Get());
    // Destroyed however Execute ends.
    TApplicationInstalleurNorvelPrimaire application(information, nullptr);
    information = nullptr;
    application.Execute();
    codeSortie = application.CodeSortie();
  }
  TClasseFinalisable::FinaliserTout(cfFinalisationTardive);
  return static_cast<int>(codeSortie);
}
