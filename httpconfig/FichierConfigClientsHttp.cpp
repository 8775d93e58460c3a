// The HTTP configuration in its file: the element "Version1" under the file's root. Only what
// the program cannot learn again is stored: the own proxies, the known lists, the test
// addresses and the proxies' credentials (obfuscated). The user agent, the TLS abilities of the
// platform and the machine-wide proxies come from the running program each time.
#include <msxml2.h>

#include <array>
#include <utility>

#include "platform/DocumentXml.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "httpconfig/ConfigClientsHttp.h"

namespace norvel {

namespace {

constexpr const wchar_t* NomBloc = L"Version1";

constexpr std::array<std::pair<TypeGenreConfigProxyClientsHttp, const wchar_t*>, 4> NomsGenres{{
    {TypeGenreConfigProxyClientsHttp::gcpConfigSysteme, L"gcpConfigSysteme"},
    {TypeGenreConfigProxyClientsHttp::gcpConfigOvalis, L"gcpConfigOvalis"},
    {TypeGenreConfigProxyClientsHttp::gcpUrlConfig, L"gcpUrlConfig"},
    {TypeGenreConfigProxyClientsHttp::gcpWpad, L"gcpWpad"},
}};

std::wstring NomGenre(TypeGenreConfigProxyClientsHttp genre) {
  for (const auto& [valeur, nom] : NomsGenres)
    if (valeur == genre) return nom;
  return NomsGenres.front().second;
}

// A name that means none of the kinds (written by a later version, or by hand) reads as the
// machine-wide configuration, the kind of a new configuration: refusing it would end the
// configuration thread and leave the program without HTTP for one unknown word.
TypeGenreConfigProxyClientsHttp GenreDeNom(std::wstring_view nom) {
  for (const auto& [valeur, nomGenre] : NomsGenres)
    if (MemeTexteSansCasse(nom, nomGenre)) return valeur;
  return TypeGenreConfigProxyClientsHttp::gcpConfigSysteme;
}

bool BooleenDeTexte(const std::wstring& texte) {
  if (texte == L"true" || texte == L"1") return true;
  if (texte == L"false" || texte == L"0") return false;
  throw EOvalis(Format(Msg::ValeurBooleenneXsdIncorrecte, {texte}));
}

uint32_t EntierDeTexte(const std::wstring& texte) {
  const std::wstring propre = Trim(texte);
  uint64_t valeur = 0;
  for (const wchar_t c : propre) {
    valeur = valeur * 10 + static_cast<uint64_t>(c - L'0');
    if (c < L'0' || c > L'9' || valeur > UINT32_MAX) throw EOvalis(Format(Msg::ValeurEntiereIncorrecte, {texte}));
  }
  if (propre.empty()) throw EOvalis(Format(Msg::ValeurEntiereIncorrecte, {texte}));
  return static_cast<uint32_t>(valeur);
}

// The text of the first child element of that name; false when there is none.
bool TexteEnfant(IXMLDOMNode* parent, std::wstring_view nom, std::wstring& texte) {
  const TRef<IXMLDOMElement> enfant = EnfantElement(parent, nom);
  if (!enfant) return false;
  texte = TexteNoeud(enfant.Get());
  return true;
}

std::wstring TexteEnfantOuVide(IXMLDOMNode* parent, std::wstring_view nom) {
  std::wstring texte;
  TexteEnfant(parent, nom, texte);
  return texte;
}

// The texts of conteneur/element, for every container of that name, in document order.
TypeTabChaines TextesListe(IXMLDOMNode* parent, std::wstring_view conteneur, std::wstring_view element) {
  TypeTabChaines textes;
  for (const TRef<IXMLDOMElement>& c : EnfantsElements(parent, conteneur))
    for (const TRef<IXMLDOMElement>& e : EnfantsElements(c.Get(), element)) textes.push_back(TexteNoeud(e.Get()));
  return textes;
}

class TEcrivain {
 public:
  explicit TEcrivain(IXMLDOMNode* noeud) : FDocument(DocumentDuNoeud(noeud)) {}

  TRef<IXMLDOMElement> Element(IXMLDOMNode* parent, const std::wstring& nom) {
    return AjouterElement(FDocument.Get(), parent, nom);
  }
  // An empty text gives an empty element.
  void Texte(IXMLDOMNode* parent, const std::wstring& nom, const std::wstring& texte) {
    const TRef<IXMLDOMElement> element = Element(parent, nom);
    if (!texte.empty()) EcrireTexteNoeud(element.Get(), texte);
  }
  // An empty list gives its container alone.
  void Liste(IXMLDOMNode* parent, const std::wstring& conteneur, const std::wstring& element,
             const TypeTabChaines& liste) {
    const TRef<IXMLDOMElement> c = Element(parent, conteneur);
    for (const std::wstring& entree : liste) Texte(c.Get(), element, entree);
  }

 private:
  TRef<IXMLDOMDocument> FDocument;
};

}  // namespace

void TypeConfigClientsHttp::EcrireXml(IXMLDOMElement* noeudRacine) const {
  if (const TRef<IXMLDOMElement> ancien = EnfantElement(noeudRacine, NomBloc))
    SupprimerEnfant(noeudRacine, ancien.Get());
  TEcrivain ecrire(noeudRacine);
  const TRef<IXMLDOMElement> bloc = ecrire.Element(noeudRacine, NomBloc);
  IXMLDOMElement* b = bloc.Get();
  // The element keeps its historical name; it has always held the old-versions choice.
  ecrire.Texte(b, L"UtiliserVersionsTLSDuSysteme", FAnciennesVersionsTLS ? L"true" : L"false");
  ecrire.Texte(b, L"GenreConfigProxy", NomGenre(FGenreConfigProxy));
  ecrire.Texte(b, L"ProxyHttpOvalis", FProxyHttpOvalis);
  ecrire.Texte(b, L"ProxyHttpsOvalis", FProxyHttpsOvalis);
  ecrire.Liste(b, L"ExceptionsProxiesOvalis", L"Exception", FTabExceptionsProxiesOvalis);
  ecrire.Texte(b, L"UrlConfigProxies", FUrlConfigProxies);
  ecrire.Liste(b, L"ProxiesConnus", L"Proxy", FTabProxiesConnus);
  ecrire.Liste(b, L"ExceptionsProxiesConnues", L"Exception", FTabExceptionsProxiesConnues);
  ecrire.Liste(b, L"UrlConfigProxiesConnues", L"Url", FTabUrlConfigProxiesConnues);
  ecrire.Liste(b, L"UrlTest", L"Url", FTabUrlTest);
  const TRef<IXMLDOMElement> infosAuth = ecrire.Element(b, L"InfoAuthProxies");
  for (size_t i = 0; i < FTabProxiesAvecInfoAuth.size(); ++i) {
    const TRef<IXMLDOMElement> info = ecrire.Element(infosAuth.Get(), L"InfoAuthProxy");
    EcrireAttribut(info.Get(), L"Proxy", FTabProxiesAvecInfoAuth[i]);
    ecrire.Texte(info.Get(), L"Schema", std::to_wstring(FTabInfoAuth[i].Schema));
    ecrire.Texte(info.Get(), L"Identifiant", FTabInfoAuth[i].Identifiant.GetValeurHexa());
    ecrire.Texte(info.Get(), L"MotDePasse", FTabInfoAuth[i].MotDePasse.GetValeurHexa());
  }
}

void TypeConfigClientsHttp::LireXml(IXMLDOMElement* noeudRacine) {
  const TRef<IXMLDOMElement> bloc = EnfantElement(noeudRacine, NomBloc);
  if (!bloc) return;
  IXMLDOMElement* b = bloc.Get();

  // An absent container empties its list, defaults included: the file is the reference.
  SetTabProxiesConnus(TextesListe(b, L"ProxiesConnus", L"Proxy"));
  SetTabExceptionsProxiesConnues(TextesListe(b, L"ExceptionsProxiesConnues", L"Exception"));
  SetTabUrlConfigProxiesConnues(TextesListe(b, L"UrlConfigProxiesConnues", L"Url"));

  if (std::wstring texte; TexteEnfant(b, L"UtiliserVersionsTLSDuSysteme", texte) && !texte.empty())
    SetAnciennesVersionsTLS(BooleenDeTexte(Trim(texte)));
  SetGenreConfigProxy(GenreDeNom(Trim(TexteEnfantOuVide(b, L"GenreConfigProxy"))));

  SetProxyHttpOvalis(TexteEnfantOuVide(b, L"ProxyHttpOvalis"));
  SetProxyHttpsOvalis(TexteEnfantOuVide(b, L"ProxyHttpsOvalis"));
  SetTabExceptionsProxiesOvalis(TextesListe(b, L"ExceptionsProxiesOvalis", L"Exception"));
  SetUrlConfigProxies(TexteEnfantOuVide(b, L"UrlConfigProxies"));
  SetTabUrlTest(TextesListe(b, L"UrlTest", L"Url"));

  FTabProxiesAvecInfoAuth.clear();
  FTabInfoAuth.clear();
  ++FRevision;
  for (const TRef<IXMLDOMElement>& conteneur : EnfantsElements(b, L"InfoAuthProxies")) {
    for (const TRef<IXMLDOMElement>& info : EnfantsElements(conteneur.Get(), L"InfoAuthProxy")) {
      // An entry missing a piece cannot be used: it is left out and the others still load.
      std::wstring proxy, schema, identifiant, motDePasse;
      if (!LireAttribut(info.Get(), L"Proxy", proxy) || Trim(proxy).empty() ||
          !TexteEnfant(info.Get(), L"Schema", schema) || Trim(schema).empty() ||
          !TexteEnfant(info.Get(), L"Identifiant", identifiant) || Trim(identifiant).empty() ||
          !TexteEnfant(info.Get(), L"MotDePasse", motDePasse) || Trim(motDePasse).empty())
        continue;
      TypeInfoAuthHttp infoAuth;
      infoAuth.Schema = EntierDeTexte(schema);
      infoAuth.Identifiant = TypeLoginOffusque::CreateHexa(Trim(identifiant));
      infoAuth.MotDePasse = TypeMotDePasseOffusque::CreateHexa(Trim(motDePasse));
      SetInfoAuthProxy(proxy, infoAuth);
    }
  }
}

}  // namespace norvel
