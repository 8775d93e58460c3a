#pragma once
// The application object: it owns the whole life of the process. Execute runs three fixed
// phases: initialisation (create the services and register them), execution (run the program)
// and finalisation (unregister the services, layer by layer, even after a failed
// initialisation). Each layer of the object adds its own services in InitialiserApplication
// and takes them back, in reverse order, in FinaliserApplication.
#include <string>

#include "platform/ContexteExecution.h"
#include "platform/IInformationApplication.h"
#include "core/DictionnaireExtensions.h"

namespace norvel {

class TApplicationOvalis {
 public:
  // Registers the application information, the execution context (when given) and the folder
  // overrides. `dictionnaire` is the process registry unless a caller gives another one.
  TApplicationOvalis(TRef<IInformationApplication> informationApplication, TRef<IContexteExecution> contexteExecution,
                     TDictionnaireExtensions* dictionnaire = nullptr);
  TApplicationOvalis(const TApplicationOvalis&) = delete;
  TApplicationOvalis& operator=(const TApplicationOvalis&) = delete;
  // Unregisters the constructor's services, then runs the early finalisation.
  virtual ~TApplicationOvalis();

  // The three phases; never lets an exception of the ordinary family escape.
  void Execute();

  void AjouterExtension(REFGUID guid, IInterface* extension) { FDictionnaireExtensions.AjouterExtension(guid, extension); }
  void SupprimerExtension(REFGUID guid) { FDictionnaireExtensions.SupprimerExtension(guid); }
  // Registers a service under the GUID of its interface I.
  template <class I>
  void AjouterService(TRef<I> service) {
    AjouterExtension(__uuidof(I), service.Get());
  }

  virtual void AfficherAide(int identifiant) {}
  virtual std::wstring TitreAide(int identifiant) { return {}; }

 protected:
  virtual void InitialiserApplication();
  virtual void ExecuterApplication() = 0;
  virtual void FinaliserApplication();
  // The class of the exception and its message.
  virtual void TraiterErreurInitialisation(const std::wstring& classe, const std::wstring& message) = 0;
  virtual void TraiterErreurExecution(const std::wstring& classe, const std::wstring& message) = 0;
  virtual void TraiterErreurFinalisation(const std::wstring& classe, const std::wstring& message) = 0;

  TDictionnaireExtensions& FDictionnaireExtensions;
};

}  // namespace norvel
