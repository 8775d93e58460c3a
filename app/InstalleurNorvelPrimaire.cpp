// Entry of the assistant: the application information, the application object, its three
// phases, then the end of the process.
#include <windows.h>

#include "platform/InformationApplication.h"
#include "core/Finalisation.h"
#include "app/ApplicationInstalleurNorvelPrimaire.h"

using namespace norvel;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  {
    TRef<IInformationApplication> information(
        NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             TypePaysDistribution::FRANCE, TypeSourceEnvironnement::Registre)
            .Get());
    // Destroyed however Execute ends.
    TApplicationInstalleurNorvelPrimaire application(information, nullptr);
    information = nullptr;
    application.Execute();
  }
  TClasseFinalisable::FinaliserTout(cfFinalisationTardive);
  return 0;
}
