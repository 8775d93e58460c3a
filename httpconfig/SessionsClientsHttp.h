#pragma once
// The HTTP sessions service: the one place where the program gets HTTP sessions and acts on the
// HTTP configuration. It runs the configuration thread (shared with its duplicates), keeps its
// own copy of the configuration and three sessions that follow that copy, answers the
// sessions' proxy and credential hooks, and runs the configuration tests and the search of
// other configurations for the wizard.
//
// Not thread-safe: the copy, the usage counter and the sessions belong to the thread that uses
// the object. Another thread works on its own duplicate (DupliquerPourThread).
//
// A graphical program derives from it to ask the user for proxy credentials
// (DemanderInfoAuthProxy) and makes its duplicates of its own class (NouveauDuplicata).
#include <memory>
#include <string>

#include "platform/DossierSpecial.h"
#include "platform/IInformationApplication.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "httpconfig/ThreadConfigClientsHttp.h"

namespace norvel {

class TSessionsClientsHttp;

// A session whose hooks are its service's: the usage counter, the configured proxy (evaluated
// by script when the configuration says so) and the stored or asked proxy credentials.
class TSessionClientsHttpAvecGestionProxy : public TSessionClientsHttp {
 public:
  // ASessions owns the session and outlives it.
  TSessionClientsHttpAvecGestionProxy(const TypeInfoCreationSessionClientsHttp& AInfoCreation,
                                      TSessionsClientsHttp& ASessions);

  void DebutUtilisation() override;
  void FinUtilisation() override;
  bool ObtenirProxy(const std::wstring& nomServeur, uint16_t portTcp, bool https, IAttente* attente,
                    std::wstring& proxy) override;
  bool ObtenirInfoAuthProxy(const std::wstring& proxy, uint32_t schemasProposes, TypeInfoAuthHttp& infoAuth,
                            uint32_t schemaPrefere) override;

 private:
  TSessionsClientsHttp& FSessions;
};

class TSessionsClientsHttp : public TImplemente<TObjetInterfacable, ISessionsClientsHttp> {
 public:
  // What a duplicate shares with the object it comes from.
  struct TypeOrigineDuplicata {
    std::shared_ptr<TThreadConfigClientsHttp> ThreadConfig;
  };

  // Starts the configuration thread on the folder "Commun" of the publisher's machine-wide
  // data and waits for its initialisation, whose failure is raised here. AAvecNomPoste: the
  // user agent ends with the machine's network name.
  TSessionsClientsHttp(TRef<IInformationApplication> AInformationApplication, TRef<IDossierSpecial> ADossierSpecial,
                       bool AAvecNomPoste);
  // A duplicate: the same configuration thread.
  explicit TSessionsClientsHttp(const TypeOrigineDuplicata& AOrigine);
  // The sessions go first; the configuration thread stops once its last user is gone.
  ~TSessionsClientsHttp() override;

  // IConfigClientsHttp
  bool GetUtiliserVersionsTLSDuSysteme() override { return FConfig.UtiliserVersionsTLSDuSysteme(); }
  bool GetSansSupportTls1_3() override { return FConfig.SansSupportTls1_3(); }
  bool GetAnciennesVersionsTLS() override { return FConfig.AnciennesVersionsTLS(); }
  void SetAnciennesVersionsTLS(bool AValeur) override { Transmettre(&TThreadConfigClientsHttp::SetAnciennesVersionsTLS, AValeur); }
  TypeGenreConfigProxyClientsHttp GetGenreConfigProxy() override { return FConfig.GenreConfigProxy(); }
  void SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp AGenre) override {
    Transmettre(&TThreadConfigClientsHttp::SetGenreConfigProxy, AGenre);
  }
  std::wstring GetProxyHttpSysteme() override { return FConfig.ProxyHttpSysteme(); }
  std::wstring GetProxyHttpsSysteme() override { return FConfig.ProxyHttpsSysteme(); }
  TypeTabChaines GetTabExceptionsProxiesSysteme() override { return FConfig.TabExceptionsProxiesSysteme(); }
  std::wstring GetProxyHttpOvalis() override { return FConfig.ProxyHttpOvalis(); }
  void SetProxyHttpOvalis(const std::wstring& AProxy) override { Transmettre(&TThreadConfigClientsHttp::SetProxyHttpOvalis, AProxy); }
  std::wstring GetProxyHttpsOvalis() override { return FConfig.ProxyHttpsOvalis(); }
  void SetProxyHttpsOvalis(const std::wstring& AProxy) override { Transmettre(&TThreadConfigClientsHttp::SetProxyHttpsOvalis, AProxy); }
  TypeTabChaines GetTabExceptionsProxiesOvalis() override { return FConfig.TabExceptionsProxiesOvalis(); }
  void SetTabExceptionsProxiesOvalis(const TypeTabChaines& ATab) override {
    Transmettre(&TThreadConfigClientsHttp::SetTabExceptionsProxiesOvalis, ATab);
  }
  std::wstring GetUrlConfigProxies() override { return FConfig.UrlConfigProxies(); }
  void SetUrlConfigProxies(const std::wstring& AUrl) override { Transmettre(&TThreadConfigClientsHttp::SetUrlConfigProxies, AUrl); }
  TypeTabChaines GetTabProxiesConnus() override { return FConfig.TabProxiesConnus(); }
  TypeTabChaines GetTabExceptionsProxiesConnues() override { return FConfig.TabExceptionsProxiesConnues(); }
  TypeTabChaines GetTabUrlConfigProxiesConnues() override { return FConfig.TabUrlConfigProxiesConnues(); }
  TypeTabChaines GetTabUrlTestPlusBuiltIn() override { return FConfig.GetTabUrlTestPlusBuiltIn(); }
  void AjouterProxyConnu(const std::wstring& AProxy) override { Transmettre(&TThreadConfigClientsHttp::AjouterProxyConnu, AProxy); }
  void RenommerProxyConnu(const std::wstring& AAvant, const std::wstring& AApres) override {
    if (AAvant != AApres) Transmettre(&TThreadConfigClientsHttp::RenommerProxyConnu, AAvant, AApres);
  }
  bool ProxyConnuModifiable(const std::wstring& AProxy) override { return FConfig.ProxyConnuModifiable(AProxy); }
  void SupprimerTabProxiesConnus(const TypeTabChaines& ATab) override {
    if (!ATab.empty()) Transmettre(&TThreadConfigClientsHttp::SupprimerTabProxiesConnus, ATab);
  }
  void AjouterExceptionProxiesConnue(const std::wstring& AException) override {
    Transmettre(&TThreadConfigClientsHttp::AjouterExceptionProxiesConnue, AException);
  }
  void RenommerExceptionProxiesConnue(const std::wstring& AAvant, const std::wstring& AApres) override {
    if (AAvant != AApres) Transmettre(&TThreadConfigClientsHttp::RenommerExceptionProxiesConnue, AAvant, AApres);
  }
  bool ExceptionProxiesConnueModifiable(const std::wstring& AException) override {
    return FConfig.ExceptionProxiesConnueModifiable(AException);
  }
  void SupprimerTabExceptionsProxiesConnues(const TypeTabChaines& ATab) override {
    if (!ATab.empty()) Transmettre(&TThreadConfigClientsHttp::SupprimerTabExceptionsProxiesConnues, ATab);
  }
  void AjouterUrlConfigProxiesConnue(const std::wstring& AUrl) override {
    Transmettre(&TThreadConfigClientsHttp::AjouterUrlConfigProxiesConnue, AUrl);
  }
  void RenommerUrlConfigProxiesConnue(const std::wstring& AAvant, const std::wstring& AApres) override {
    if (AAvant != AApres) Transmettre(&TThreadConfigClientsHttp::RenommerUrlConfigProxiesConnue, AAvant, AApres);
  }
  void SupprimerTabUrlConfigProxiesConnues(const TypeTabChaines& ATab) override {
    if (!ATab.empty()) Transmettre(&TThreadConfigClientsHttp::SupprimerTabUrlConfigProxiesConnues, ATab);
  }
  void AjouterUrlTest(const std::wstring& AUrl) override { Transmettre(&TThreadConfigClientsHttp::AjouterUrlTest, AUrl); }
  void RenommerUrlTest(const std::wstring& AAvant, const std::wstring& AApres) override {
    if (AAvant != AApres) Transmettre(&TThreadConfigClientsHttp::RenommerUrlTest, AAvant, AApres);
  }
  bool UrlTestModifiable(const std::wstring& AUrl) override { return FConfig.UrlTestModifiable(AUrl); }
  void SupprimerTabUrlTest(const TypeTabChaines& ATab) override {
    if (!ATab.empty()) Transmettre(&TThreadConfigClientsHttp::SupprimerTabUrlTest, ATab);
  }
  TypeTabChaines GetTabProxiesAvecInfoAuth() override { return FThreadConfig->GetTabProxiesAvecInfoAuth(); }
  void SupprimerInfoAuthDeProxies(const TypeTabChaines& ATabProxies) override;
  void CopierConfigOvalisVersConfigSysteme() override;
  void NotifierChangementConfigSystemeWin32() override;
  void TesterProxy(const std::wstring& AProxy, IAttente* AAttente,
                   TypeTabResultatsTestsConfigClientsHttp& AResultats) override;
  void TesterUrlConfigProxies(const std::wstring& AUrl, IAttente* AAttente,
                              TypeTabResultatsTestsConfigClientsHttp& AResultats) override;
  void TesterConfigCourante(IAttente* AAttente, TypeTabResultatsTestsConfigClientsHttp& AResultats) override;
  void RechercherAutresConfigs(IAttente* AAttente, TypeTabPropositionsModifConfigClientsHttp& APropositions) override;
  void AppliquerPropositionModifConfig(const TypePropositionModifConfigClientsHttp& AProposition) override;
  std::wstring AttendreEnregistrementConfig(IAttente* AAttente) override;
  void VerifierChangementConfig(bool AVerifierConfigSysteme) override;
  bool Abonner(IAbonneChangementConfigClientsHttp* AAbonne) override;
  bool Desabonner(IAbonneChangementConfigClientsHttp* AAbonne) override;

  // ISessionsClientsHttp
  TSessionClientsHttp& GetSessionSansAnciennesVersionsTLS() override;
  TSessionClientsHttp& GetSessionAvecAnciennesVersionsTLS() override;
  TSessionClientsHttp& GetSessionAvecGestionProxy() override;
  TRef<ISessionsClientsHttp> DupliquerPourThread() override;

  // The copy as it stands (tests, diagnostics).
  const TypeConfigClientsHttp& Config() const { return FConfig; }
  TThreadConfigClientsHttp& ThreadConfig() const { return *FThreadConfig; }
  int CompteurUtilisation() const { return FCompteurUtilisation; }

 protected:
  // Asks the user for credentials for that proxy, on the thread of the request or of the test
  // that needs them. AInfoAuth: in, what to show; out, what the user typed (its scheme is set by
  // the caller). False when the user gave none: here, always.
  virtual bool DemanderInfoAuthProxy(const std::wstring& AProxy, TypeInfoAuthHttp& AInfoAuth);
  // The duplicate's class is the object's own: a derived class makes one of its kind.
  virtual TRef<TSessionsClientsHttp> NouveauDuplicata(const TypeOrigineDuplicata& AOrigine);

  bool ObtenirInterface(REFIID iid, void** resultat) override;

 private:
  friend class TSessionClientsHttpAvecGestionProxy;
  enum TypeSession { tsSansAnciennesVersionsTLS, tsAvecAnciennesVersionsTLS, tsAvecGestionProxy, tsNombre };

  // Runs one change operation of the configuration thread on the copy; when the copy moved, the
  // sessions follow it and the subscribers are told.
  template <class Operation, class... A>
  void Transmettre(Operation operation, const A&... arguments) {
    if (((*FThreadConfig).*operation)(arguments..., FConfig)) ReconfigurerEtNotifier();
  }
  void ReconfigurerEtNotifier();
  bool AnciennesVersionsTLSDe(TypeSession ASession) const;
  TSessionClientsHttp& Session(TypeSession ASession);
  // The test of a configuration, again while the user gives credentials the test asked for.
  void TesterConfig(const TypeConfigClientsHttp& AConfig, IAttente* AAttente,
                    TypeTabResultatsTestsConfigClientsHttp& AResultats);
  // A configuration with only the copy's user agent and TLS choices.
  TypeConfigClientsHttp ConfigDeTest() const;
  // Asks the user for each proxy in turn until one is refused; true when some were given.
  bool DemanderInfosAuthProxies(const TypeTabDemandesAuthProxy& ADemandes);

  // The hooks of the sessions.
  void DebutUtilisation();
  void FinUtilisation() { --FCompteurUtilisation; }
  bool ObtenirProxy(TSessionClientsHttp& ASession, const std::wstring& ANomServeur, uint16_t APortTcp, bool AHttps,
                    IAttente* AAttente, std::wstring& AProxy);
  bool ObtenirInfoAuthProxy(const std::wstring& AProxy, uint32_t ASchemasProposes, TypeInfoAuthHttp& AInfoAuth,
                            uint32_t ASchemaPrefere);

  std::shared_ptr<TThreadConfigClientsHttp> FThreadConfig;
  TypeConfigClientsHttp FConfig;
  int FCompteurUtilisation = 0;
  TRef<IInvocateurMultiple<IAbonneChangementConfigClientsHttp>> FAbonnes;
  std::unique_ptr<TSessionClientsHttpAvecGestionProxy> FSessions[tsNombre];
};

// The folder of the HTTP configuration file, shared by all the publisher's programs: "Commun"
// in the company folder of the machine-wide data, created when missing.
std::wstring DossierConfigClientsHttp(IDossierSpecial& ADossierSpecial);

}  // namespace norvel
