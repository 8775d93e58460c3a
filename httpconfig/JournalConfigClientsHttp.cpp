#include "httpconfig/JournalConfigClientsHttp.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

std::wstring Liste(const TypeTabChaines& liste) {
  if (liste.empty()) return L"-";
  std::wstring texte;
  for (const std::wstring& element : liste) texte += (texte.empty() ? L"" : L";") + element;
  return texte;
}

std::wstring Valeur(const std::wstring& valeur) { return valeur.empty() ? L"-" : valeur; }

const wchar_t* NomGenre(TypeGenreConfigProxyClientsHttp genre) {
  switch (genre) {
    case TypeGenreConfigProxyClientsHttp::gcpConfigSysteme: return Msg::JournalGenreSysteme;
    case TypeGenreConfigProxyClientsHttp::gcpConfigOvalis: return Msg::JournalGenreOvalis;
    case TypeGenreConfigProxyClientsHttp::gcpUrlConfig: return Msg::JournalGenreUrlConfig;
    case TypeGenreConfigProxyClientsHttp::gcpWpad: return Msg::JournalGenreWpad;
  }
  return L"";
}

const wchar_t* NomEtat(TypeEtatTestConfigClientsHttp etat) {
  switch (etat) {
    case TypeEtatTestConfigClientsHttp::etcErreurComm: return Msg::JournalEtatErreurComm;
    case TypeEtatTestConfigClientsHttp::etcAuthProxyNecessaire: return Msg::JournalEtatAuthProxy;
    case TypeEtatTestConfigClientsHttp::etcErreurServeur: return Msg::JournalEtatErreurServeur;
    case TypeEtatTestConfigClientsHttp::etcSucces: return Msg::JournalEtatSucces;
  }
  return L"";
}

}  // namespace

std::wstring DescriptionConfigClientsHttp(const TypeConfigClientsHttp& AConfig, const TypeTabChaines& AProxiesAvecInfoAuth) {
  return Format(Msg::JournalConfigHttp,
                {NomGenre(AConfig.GenreConfigProxy()), Valeur(AConfig.ProxyHttpSysteme()),
                 Valeur(AConfig.ProxyHttpsSysteme()), Liste(AConfig.TabExceptionsProxiesSysteme()),
                 Valeur(AConfig.ProxyHttpOvalis()), Valeur(AConfig.ProxyHttpsOvalis()),
                 Liste(AConfig.TabExceptionsProxiesOvalis()), Valeur(AConfig.UrlConfigProxies()),
                 Liste(AConfig.GetTabUrlTestPlusBuiltIn()), Liste(AProxiesAvecInfoAuth),
                 AConfig.AnciennesVersionsTLS() ? Msg::Oui : Msg::Non});
}

std::wstring DescriptionProposition(const TypePropositionModifConfigClientsHttp& AProposition) {
  switch (AProposition.GenreConfigProxy) {
    case TypeGenreConfigProxyClientsHttp::gcpConfigOvalis:
      return Format(Msg::JournalPropositionOvalis, {NomGenre(AProposition.GenreConfigProxy),
                                                    Valeur(AProposition.ProxyHttpOvalis),
                                                    Valeur(AProposition.ProxyHttpsOvalis),
                                                    Liste(AProposition.TabExceptionsProxiesOvalis)});
    case TypeGenreConfigProxyClientsHttp::gcpUrlConfig:
      return Format(Msg::JournalPropositionUrlConfig,
                    {NomGenre(AProposition.GenreConfigProxy), Valeur(AProposition.UrlConfigProxies)});
    default:
      return NomGenre(AProposition.GenreConfigProxy);
  }
}

std::wstring DescriptionResultatTest(const TypeResultatTestConfigClientsHttp& AResultat) {
  return Format(Msg::JournalResultatTest, {AResultat.UrlTest, NomEtat(AResultat.Etat),
                                           AResultat.Proxy.empty() ? Msg::JournalSansProxy : AResultat.Proxy,
                                           Valeur(AResultat.InfoCompl)});
}

}  // namespace norvel
