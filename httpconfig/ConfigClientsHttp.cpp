#include "httpconfig/ConfigClientsHttp.h"

#include <algorithm>

#include "core/Chaines.h"

namespace norvel {

namespace {

// Where a value belongs in a sorted list: the first entry not below it. Equal means present.
TypeTabChaines::iterator Place(TypeTabChaines& liste, std::wstring_view valeur) {
  return std::find_if(liste.begin(), liste.end(),
                      [&](const std::wstring& entree) { return ComparerTexteSansCasse(entree, valeur) >= 0; });
}

bool EstPresent(TypeTabChaines& liste, TypeTabChaines::iterator place, std::wstring_view valeur) {
  return place != liste.end() && ComparerTexteSansCasse(*place, valeur) == 0;
}

bool Contient(const TypeTabChaines& liste, std::wstring_view valeur) {
  return std::any_of(liste.begin(), liste.end(), [&](const std::wstring& e) { return MemeTexteSansCasse(e, valeur); });
}

// Every stored value is one name or one address: a control character inside would only make
// the shared file unreadable.
std::wstring Propre(std::wstring_view valeur) { return Trim(SansCaracteresDeControle(valeur)); }

bool SchemaUtilisable(uint32_t schema) {
  return schema == WINHTTP_AUTH_SCHEME_DIGEST || schema == WINHTTP_AUTH_SCHEME_BASIC;
}

}  // namespace

// ---- Setters

void TypeConfigClientsHttp::SetTexte(std::wstring& champ, std::wstring_view valeur, TypeTabChaines* connus) {
  std::wstring nouveau = Propre(valeur);
  if (nouveau == champ) return;
  champ = std::move(nouveau);
  ++FRevision;
  if (connus) Ajouter(*connus, champ);
}

template <class T>
void TypeConfigClientsHttp::SetValeur(T& champ, T valeur) {
  if (champ == valeur) return;
  champ = valeur;
  ++FRevision;
}

void TypeConfigClientsHttp::SetListe(TypeTabChaines& champ, const TypeTabChaines& valeur, TypeTabChaines* connus) {
  if (&champ == &valeur) return;
  const TypeTabChaines nouvelle = valeur;  // the source may be one of our other lists
  champ.clear();
  ++FRevision;
  for (const std::wstring& entree : nouvelle) {
    Ajouter(champ, entree);
    if (connus) Ajouter(*connus, entree);
  }
}

void TypeConfigClientsHttp::Ajouter(TypeTabChaines& liste, std::wstring_view valeur) {
  const std::wstring propre = Propre(valeur);
  if (propre.empty()) return;
  const auto place = Place(liste, propre);
  if (EstPresent(liste, place, propre)) return;
  liste.insert(place, propre);
  ++FRevision;
}

void TypeConfigClientsHttp::Supprimer(TypeTabChaines& liste, std::wstring_view valeur) {
  const std::wstring propre = Propre(valeur);
  const auto trouve =
      std::find_if(liste.begin(), liste.end(), [&](const std::wstring& e) { return MemeTexteSansCasse(e, propre); });
  if (trouve == liste.end()) return;
  liste.erase(trouve);
  ++FRevision;
}

void TypeConfigClientsHttp::SetUserAgent(std::wstring_view valeur) { SetTexte(FUserAgent, valeur); }
void TypeConfigClientsHttp::SetProxyHttpSysteme(std::wstring_view valeur) {
  SetTexte(FProxyHttpSysteme, valeur, &FTabProxiesConnus);
}
void TypeConfigClientsHttp::SetProxyHttpsSysteme(std::wstring_view valeur) {
  SetTexte(FProxyHttpsSysteme, valeur, &FTabProxiesConnus);
}
void TypeConfigClientsHttp::SetProxyHttpOvalis(std::wstring_view valeur) {
  SetTexte(FProxyHttpOvalis, valeur, &FTabProxiesConnus);
}
void TypeConfigClientsHttp::SetProxyHttpsOvalis(std::wstring_view valeur) {
  SetTexte(FProxyHttpsOvalis, valeur, &FTabProxiesConnus);
}
void TypeConfigClientsHttp::SetUrlConfigProxies(std::wstring_view valeur) {
  SetTexte(FUrlConfigProxies, valeur, &FTabUrlConfigProxiesConnues);
}
void TypeConfigClientsHttp::SetUtiliserVersionsTLSDuSysteme(bool valeur) {
  SetValeur(FUtiliserVersionsTLSDuSysteme, valeur);
}
void TypeConfigClientsHttp::SetSansSupportTls1_3(bool valeur) { SetValeur(FSansSupportTls1_3, valeur); }
void TypeConfigClientsHttp::SetAnciennesVersionsTLS(bool valeur) { SetValeur(FAnciennesVersionsTLS, valeur); }
void TypeConfigClientsHttp::SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp valeur) {
  SetValeur(FGenreConfigProxy, valeur);
}
void TypeConfigClientsHttp::SetTabExceptionsProxiesSysteme(const TypeTabChaines& valeur) {
  SetListe(FTabExceptionsProxiesSysteme, valeur, &FTabExceptionsProxiesConnues);
}
void TypeConfigClientsHttp::SetTabExceptionsProxiesOvalis(const TypeTabChaines& valeur) {
  SetListe(FTabExceptionsProxiesOvalis, valeur, &FTabExceptionsProxiesConnues);
}
void TypeConfigClientsHttp::SetTabProxiesConnus(const TypeTabChaines& valeur) { SetListe(FTabProxiesConnus, valeur); }
void TypeConfigClientsHttp::SetTabExceptionsProxiesConnues(const TypeTabChaines& valeur) {
  SetListe(FTabExceptionsProxiesConnues, valeur);
}
void TypeConfigClientsHttp::SetTabUrlConfigProxiesConnues(const TypeTabChaines& valeur) {
  SetListe(FTabUrlConfigProxiesConnues, valeur);
}
void TypeConfigClientsHttp::SetTabUrlTest(const TypeTabChaines& valeur) { SetListe(FTabUrlTest, valeur); }

// ---- Known proxies, bypass entries, script and test addresses

void TypeConfigClientsHttp::AjouterProxyConnu(std::wstring_view proxy) { Ajouter(FTabProxiesConnus, proxy); }

bool TypeConfigClientsHttp::ProxyConnuModifiable(std::wstring_view proxy) const {
  const std::wstring propre = Propre(proxy);
  return !propre.empty() && !MemeTexteSansCasse(propre, FProxyHttpSysteme) &&
         !MemeTexteSansCasse(propre, FProxyHttpsSysteme);
}

void TypeConfigClientsHttp::SupprimerProxyConnu(std::wstring_view proxy) {
  if (!ProxyConnuModifiable(proxy)) return;
  Supprimer(FTabProxiesConnus, proxy);
  const std::wstring propre = Propre(proxy);
  if (MemeTexteSansCasse(FProxyHttpOvalis, propre)) SetProxyHttpOvalis(L"");
  if (MemeTexteSansCasse(FProxyHttpsOvalis, propre)) SetProxyHttpsOvalis(L"");
  SupprimerInfoAuthDeProxy(propre);
}

void TypeConfigClientsHttp::AjouterExceptionProxiesConnue(std::wstring_view exception) {
  Ajouter(FTabExceptionsProxiesConnues, exception);
}

bool TypeConfigClientsHttp::ExceptionProxiesConnueModifiable(std::wstring_view exception) const {
  return !Contient(FTabExceptionsProxiesSysteme, Propre(exception));
}

void TypeConfigClientsHttp::SupprimerExceptionProxiesConnue(std::wstring_view exception) {
  if (!ExceptionProxiesConnueModifiable(exception)) return;
  Supprimer(FTabExceptionsProxiesConnues, exception);
  Supprimer(FTabExceptionsProxiesOvalis, exception);
}

void TypeConfigClientsHttp::AjouterUrlConfigProxiesConnue(std::wstring_view url) {
  Ajouter(FTabUrlConfigProxiesConnues, url);
}

void TypeConfigClientsHttp::SupprimerUrlConfigProxiesConnue(std::wstring_view url) {
  Supprimer(FTabUrlConfigProxiesConnues, url);
  if (MemeTexteSansCasse(FUrlConfigProxies, Propre(url))) SetUrlConfigProxies(L"");
}

void TypeConfigClientsHttp::AjouterUrlTest(std::wstring_view url) { Ajouter(FTabUrlTest, url); }
void TypeConfigClientsHttp::SupprimerUrlTest(std::wstring_view url) { Supprimer(FTabUrlTest, url); }
bool TypeConfigClientsHttp::UrlTestModifiable(std::wstring_view url) const { return Contient(FTabUrlTest, Propre(url)); }

TypeTabChaines TypeConfigClientsHttp::GetTabUrlTestPlusBuiltIn() const {
  TypeTabChaines urls{UrlTestIntegree};
  urls.insert(urls.end(), FTabUrlTest.begin(), FTabUrlTest.end());
  return urls;
}

void TypeConfigClientsHttp::InsererDansTabExceptions(std::wstring_view exception, TypeTabChaines& exceptions) {
  const auto place = Place(exceptions, exception);
  if (!EstPresent(exceptions, place, exception)) exceptions.insert(place, std::wstring(exception));
}

// ---- Stored proxy credentials

ptrdiff_t TypeConfigClientsHttp::IndiceInfoAuth(std::wstring_view proxy) const {
  const std::wstring propre = Propre(proxy);
  for (size_t i = 0; i < FTabProxiesAvecInfoAuth.size(); ++i)
    if (MemeTexteSansCasse(FTabProxiesAvecInfoAuth[i], propre)) return static_cast<ptrdiff_t>(i);
  return -1;
}

bool TypeConfigClientsHttp::TryGetInfoAuthProxy(std::wstring_view proxy, uint32_t schemas, uint32_t premierSchema,
                                                uint32_t& schemaRetenu, TypeInfoAuthHttp& infoAuth) {
  if (SchemaUtilisable(premierSchema))
    schemaRetenu = premierSchema;
  else if (schemas & WINHTTP_AUTH_SCHEME_DIGEST)
    schemaRetenu = WINHTTP_AUTH_SCHEME_DIGEST;
  else if (schemas & WINHTTP_AUTH_SCHEME_BASIC)
    schemaRetenu = WINHTTP_AUTH_SCHEME_BASIC;
  else
    schemaRetenu = 0;

  const ptrdiff_t indice = IndiceInfoAuth(proxy);
  if (indice < 0) return false;
  TypeInfoAuthHttp& stockees = FTabInfoAuth[indice];
  bool offrir;
  if (schemaRetenu == 0) {
    // Never twice in a row either: a proxy that offers none of our schemes would otherwise get
    // the same credentials again and again, and the request would resend them forever.
    offrir = SchemaUtilisable(stockees.Schema) && !stockees.MemeValeurQue(infoAuth);
    if (offrir) schemaRetenu = stockees.Schema;
  } else if (stockees.Schema == schemaRetenu) {
    // Never twice in a row: what the caller just tried failed.
    offrir = !stockees.MemeValeurQue(infoAuth);
  } else {
    // Offered again under the scheme the proxy asks for.
    stockees.Schema = schemaRetenu;
    ++FRevision;
    offrir = true;
  }
  if (offrir) infoAuth = stockees;
  return offrir;
}

void TypeConfigClientsHttp::SetInfoAuthProxy(std::wstring_view proxy, const TypeInfoAuthHttp& infoAuth) {
  const ptrdiff_t indice = IndiceInfoAuth(proxy);
  if (indice >= 0) {
    FTabInfoAuth[indice] = infoAuth;
  } else {
    const std::wstring propre = Propre(proxy);
    const auto place = Place(FTabProxiesAvecInfoAuth, propre);
    FTabInfoAuth.insert(FTabInfoAuth.begin() + (place - FTabProxiesAvecInfoAuth.begin()), infoAuth);
    FTabProxiesAvecInfoAuth.insert(place, propre);
  }
  ++FRevision;
}

void TypeConfigClientsHttp::SupprimerInfoAuthDeProxy(std::wstring_view proxy) {
  const ptrdiff_t indice = IndiceInfoAuth(proxy);
  if (indice < 0) return;
  FTabProxiesAvecInfoAuth.erase(FTabProxiesAvecInfoAuth.begin() + indice);
  FTabInfoAuth.erase(FTabInfoAuth.begin() + indice);
  ++FRevision;
}

TypeConfigClientsHttp TypeConfigClientsHttp::Dupliquer() const {
  TypeConfigClientsHttp copie = *this;
  copie.FTabProxiesAvecInfoAuth.clear();
  copie.FTabInfoAuth.clear();
  return copie;
}

// ---- Proxy settings

TypeInfoProxyHttp TypeConfigClientsHttp::ConstruireInfoProxyDeGenre(TypeGenreConfigProxyClientsHttp genre) const {
  const std::wstring* http = nullptr;
  const std::wstring* https = nullptr;
  const TypeTabChaines* exceptions = nullptr;
  if (genre == TypeGenreConfigProxyClientsHttp::gcpConfigSysteme) {
    http = &FProxyHttpSysteme, https = &FProxyHttpsSysteme, exceptions = &FTabExceptionsProxiesSysteme;
  } else if (genre == TypeGenreConfigProxyClientsHttp::gcpConfigOvalis) {
    http = &FProxyHttpOvalis, https = &FProxyHttpsOvalis, exceptions = &FTabExceptionsProxiesOvalis;
  }
  const std::wstring liste = http ? EcrireListeProxies(ListeProxiesDepuis(*http, *https)) : std::wstring();
  if (liste.empty()) return {WINHTTP_ACCESS_TYPE_NO_PROXY, L"", L""};
  return {WINHTTP_ACCESS_TYPE_NAMED_PROXY, liste, EcrireListeExceptions(*exceptions)};
}

TypeInfoCreationSessionClientsHttp TypeConfigClientsHttp::ConstruireInfoCreation(bool anciennesVersionsTLS) const {
  return {FUserAgent, ConstruireInfoProxy(), FUtiliserVersionsTLSDuSysteme, FSansSupportTls1_3, anciennesVersionsTLS};
}

void TypeConfigClientsHttp::AffecterInfoProxySysteme(const TypeInfoProxyHttp& infoProxy) {
  if (infoProxy.GenreConfig == WINHTTP_ACCESS_TYPE_NO_PROXY) {
    SetProxyHttpSysteme(L"");
    SetProxyHttpsSysteme(L"");
    SetTabExceptionsProxiesSysteme({});
    return;
  }
  const TypeTabProxiesHttp proxies = LireListeProxies(infoProxy.ServeurProxy);
  for (const TypeProxyHttp& proxy : proxies) AjouterProxyConnu(proxy.Adresse);
  SetProxyHttpSysteme(AdressePourProtocole(proxies, L"http"));
  SetProxyHttpsSysteme(AdressePourProtocole(proxies, L"https"));
  SetTabExceptionsProxiesSysteme(LireListeExceptions(infoProxy.PasDeProxyPour));
}

void TypeConfigClientsHttp::AppliquerPropositionModif(const TypePropositionModifConfigClientsHttp& proposition) {
  SetGenreConfigProxy(proposition.GenreConfigProxy);
  if (proposition.GenreConfigProxy == TypeGenreConfigProxyClientsHttp::gcpConfigOvalis) {
    SetProxyHttpOvalis(proposition.ProxyHttpOvalis);
    SetProxyHttpsOvalis(proposition.ProxyHttpsOvalis);
    SetTabExceptionsProxiesOvalis(proposition.TabExceptionsProxiesOvalis);
  } else if (proposition.GenreConfigProxy == TypeGenreConfigProxyClientsHttp::gcpUrlConfig) {
    SetUrlConfigProxies(proposition.UrlConfigProxies);
  }
}

std::wstring ProxyEffectif(const std::wstring& proxyHttp, const std::wstring& proxyHttps,
                           const TypeTabChaines& exceptions, std::wstring_view nomServeur, bool https) {
  const std::wstring& proxy = https ? proxyHttps : proxyHttp;
  if (proxy.empty()) return {};
  const bool sansPoint = nomServeur.find(L'.') == std::wstring_view::npos;
  for (const std::wstring& exception : exceptions)
    if (MemeTexteSansCasse(exception, nomServeur) || (sansPoint && MemeTexteSansCasse(exception, L"<local>")))
      return {};
  return proxy;
}

bool TypeConfigClientsHttp::TryGetProxyEffectif(std::wstring_view nomServeur, bool https, std::wstring& proxy,
                                                std::wstring& urlAutoProxy) const {
  proxy.clear();
  urlAutoProxy.clear();
  switch (FGenreConfigProxy) {
    case TypeGenreConfigProxyClientsHttp::gcpConfigSysteme:
      proxy = GetProxyEffectifConfigSysteme(nomServeur, https);
      return true;
    case TypeGenreConfigProxyClientsHttp::gcpConfigOvalis:
      proxy = ProxyEffectif(FProxyHttpOvalis, FProxyHttpsOvalis, FTabExceptionsProxiesOvalis, nomServeur, https);
      return true;
    case TypeGenreConfigProxyClientsHttp::gcpUrlConfig:
      if (FUrlConfigProxies.empty()) return true;
      urlAutoProxy = FUrlConfigProxies;
      return false;
    case TypeGenreConfigProxyClientsHttp::gcpWpad:
      return false;
  }
  return false;
}

std::wstring TypeConfigClientsHttp::GetProxyEffectifConfigSysteme(std::wstring_view nomServeur, bool https) const {
  return ProxyEffectif(FProxyHttpSysteme, FProxyHttpsSysteme, FTabExceptionsProxiesSysteme, nomServeur, https);
}

}  // namespace norvel
