#include "platform/DocumentXml.h"

#include <objbase.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <vector>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

// Not in the import libraries of the toolchain.
const CLSID CLSID_DOMDocument60_ = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};

void VerifierHr(HRESULT hr, std::wstring_view appel) {
  if (FAILED(hr)) throw ErreurSystemeCode(static_cast<DWORD>(hr), Msg::ErreurInterne, appel);
}

class TBstr {
 public:
  TBstr() = default;
  explicit TBstr(std::wstring_view texte) : FValeur(SysAllocStringLen(texte.data(), static_cast<UINT>(texte.size()))) {}
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  ~TBstr() { SysFreeString(FValeur); }
  BSTR Get() const { return FValeur; }
  BSTR* Adresse() {
    SysFreeString(FValeur);
    FValeur = nullptr;
    return &FValeur;
  }
  std::wstring Texte() const { return FValeur ? std::wstring(FValeur, SysStringLen(FValeur)) : std::wstring(); }

 private:
  BSTR FValeur = nullptr;
};

class TVariant {
 public:
  TVariant() { VariantInit(&FValeur); }
  TVariant(const TVariant&) = delete;
  TVariant& operator=(const TVariant&) = delete;
  ~TVariant() { VariantClear(&FValeur); }
  VARIANT* operator&() { return &FValeur; }
  VARIANT& Get() { return FValeur; }

 private:
  VARIANT FValeur;
};

class TComThread {
 public:
  TComThread() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // RPC_E_CHANGED_MODE: the thread already lives in another apartment, which serves too.
    FAInitialiser = SUCCEEDED(hr);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) VerifierHr(hr, L"CoInitializeEx");
  }
  ~TComThread() {
    if (FAInitialiser) CoUninitialize();
  }

 private:
  bool FAInitialiser = false;
};

template <class I>
TRef<I> Sortie(I* p) {
  return TRef<I>::Attacher(p);
}

TRef<IXMLDOMNode> PremierEnfant(IXMLDOMNode* noeud) {
  IXMLDOMNode* enfant = nullptr;
  VerifierHr(noeud->get_firstChild(&enfant), L"IXMLDOMNode.firstChild");
  return Sortie(enfant);
}

TRef<IXMLDOMNode> Suivant(IXMLDOMNode* noeud) {
  IXMLDOMNode* suivant = nullptr;
  VerifierHr(noeud->get_nextSibling(&suivant), L"IXMLDOMNode.nextSibling");
  return Sortie(suivant);
}

DOMNodeType TypeNoeud(IXMLDOMNode* noeud) {
  DOMNodeType type = NODE_INVALID;
  VerifierHr(noeud->get_nodeType(&type), L"IXMLDOMNode.nodeType");
  return type;
}

std::wstring ValeurNoeud(IXMLDOMNode* noeud) {
  TVariant valeur;
  VerifierHr(noeud->get_nodeValue(&valeur), L"IXMLDOMNode.nodeValue");
  if (valeur.Get().vt != VT_BSTR || !valeur.Get().bstrVal) return {};
  return std::wstring(valeur.Get().bstrVal, SysStringLen(valeur.Get().bstrVal));
}

// Serialisation: text and attribute values escaped so that a reload gives them back unchanged.
class TEcrivainXml {
 public:
  std::wstring Resultat() { return std::move(FTexte); }

  void Document(IXMLDOMDocument* document) {
    FTexte += L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    for (auto n = PremierEnfant(document); n; n = Suivant(n.Get())) {
      // The declaration is ours whatever the loaded file said: the bytes are always UTF-8.
      if (TypeNoeud(n.Get()) == NODE_PROCESSING_INSTRUCTION && NomNoeud(n.Get()) == L"xml") continue;
      if (TypeNoeud(n.Get()) == NODE_TEXT) continue;
      Noeud(n.Get(), 0, true);
    }
    FTexte += L"\r\n";
  }

 private:
  std::wstring FTexte;

  void Indenter(int niveau) {
    FTexte += L"\r\n";
    FTexte.append(static_cast<size_t>(niveau) * 2, L' ');
  }

  void Echapper(std::wstring_view texte, bool attribut) {
    for (const wchar_t c : texte) {
      switch (c) {
        case L'&': FTexte += L"&amp;"; break;
        case L'<': FTexte += L"&lt;"; break;
        case L'>': FTexte += L"&gt;"; break;
        case L'"': FTexte += attribut ? L"&quot;" : L"\""; break;
        case L'\r': FTexte += L"&#13;"; break;
        case L'\n': FTexte += attribut ? L"&#10;" : L"\n"; break;
        case L'\t': FTexte += attribut ? L"&#9;" : L"\t"; break;
        default:
          // XML 1.0 has no way to hold these, not even as references: a file holding one would
          // be unreadable, and set aside whole at the next read.
          if (c < L' ' || c == 0xFFFE || c == 0xFFFF)
            throw EOvalis(Format(Msg::CaractereInterditXml, {static_cast<unsigned>(c)}));
          FTexte += c;
      }
    }
  }

  static bool ContientDuTexte(IXMLDOMNode* element) {
    for (auto n = PremierEnfant(element); n; n = Suivant(n.Get())) {
      const DOMNodeType type = TypeNoeud(n.Get());
      if (type == NODE_TEXT || type == NODE_CDATA_SECTION || type == NODE_ENTITY_REFERENCE) return true;
    }
    return false;
  }

  void Attributs(IXMLDOMNode* element) {
    IXMLDOMNamedNodeMap* brut = nullptr;
    VerifierHr(element->get_attributes(&brut), L"IXMLDOMNode.attributes");
    const auto attributs = Sortie(brut);
    if (!attributs) return;
    long nombre = 0;
    VerifierHr(attributs->get_length(&nombre), L"IXMLDOMNamedNodeMap.length");
    for (long i = 0; i < nombre; ++i) {
      IXMLDOMNode* a = nullptr;
      VerifierHr(attributs->get_item(i, &a), L"IXMLDOMNamedNodeMap.item");
      const auto attribut = Sortie(a);
      FTexte += L' ';
      FTexte += NomNoeud(attribut.Get());
      FTexte += L"=\"";
      Echapper(ValeurNoeud(attribut.Get()), true);
      FTexte += L'"';
    }
  }

  // indenter: whether this node starts on a line of its own (false inside mixed content).
  void Noeud(IXMLDOMNode* noeud, int niveau, bool indenter) {
    switch (TypeNoeud(noeud)) {
      case NODE_ELEMENT: {
        if (indenter) Indenter(niveau);
        const std::wstring nom = NomNoeud(noeud);
        FTexte += L'<';
        FTexte += nom;
        Attributs(noeud);
        const auto premier = PremierEnfant(noeud);
        if (!premier) {
          FTexte += L"/>";
          return;
        }
        FTexte += L'>';
        const bool enLigne = !indenter || ContientDuTexte(noeud);
        for (auto n = premier; n; n = Suivant(n.Get())) Noeud(n.Get(), niveau + 1, !enLigne);
        if (!enLigne) Indenter(niveau);
        FTexte += L"</";
        FTexte += nom;
        FTexte += L'>';
        return;
      }
      case NODE_TEXT:
        Echapper(ValeurNoeud(noeud), false);
        return;
      case NODE_CDATA_SECTION:
        FTexte += L"<![CDATA[";
        FTexte += ValeurNoeud(noeud);
        FTexte += L"]]>";
        return;
      case NODE_COMMENT:
        if (indenter) Indenter(niveau);
        FTexte += L"<!--";
        FTexte += ValeurNoeud(noeud);
        FTexte += L"-->";
        return;
      case NODE_PROCESSING_INSTRUCTION:
        if (indenter) Indenter(niveau);
        FTexte += L"<?";
        FTexte += NomNoeud(noeud);
        if (const std::wstring donnees = ValeurNoeud(noeud); !donnees.empty()) FTexte += L' ' + donnees;
        FTexte += L"?>";
        return;
      case NODE_ENTITY_REFERENCE:
        FTexte += L'&';
        FTexte += NomNoeud(noeud);
        FTexte += L';';
        return;
      case NODE_DOCUMENT_TYPE: {
        TBstr xml;
        VerifierHr(noeud->get_xml(xml.Adresse()), L"IXMLDOMNode.xml");
        if (indenter) Indenter(niveau);
        FTexte += xml.Texte();
        return;
      }
      default:
        return;
    }
  }
};

bool EstBlanc(std::wstring_view texte) { return texte.find_first_not_of(L" \t\r\n") == std::wstring_view::npos; }

// Whitespace-only text beside elements is layout, not content: removed, so that the document
// holds the same nodes whether it was read from an indented file or built in memory. Text of
// elements without child elements is content and stays as it is.
void RetirerIndentation(IXMLDOMNode* noeud) {
  bool avecElements = false;
  for (auto n = PremierEnfant(noeud); n; n = Suivant(n.Get()))
    if (TypeNoeud(n.Get()) == NODE_ELEMENT) avecElements = true;
  for (auto n = PremierEnfant(noeud); n;) {
    auto suivant = Suivant(n.Get());
    const DOMNodeType type = TypeNoeud(n.Get());
    if (type == NODE_ELEMENT)
      RetirerIndentation(n.Get());
    else if (type == NODE_TEXT && avecElements && EstBlanc(ValeurNoeud(n.Get())))
      SupprimerEnfant(noeud, n.Get());
    n = suivant;
  }
}

}  // namespace

void AssurerComSurCeThread() { thread_local TComThread com; }

TRef<IXMLDOMDocument> NouveauDocumentXml() {
  AssurerComSurCeThread();
  IXMLDOMDocument* brut = nullptr;
  VerifierHr(CoCreateInstance(CLSID_DOMDocument60_, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                              reinterpret_cast<void**>(&brut)),
             L"CoCreateInstance(DOMDocument60)");
  auto document = Sortie(brut);
  VerifierHr(document->put_async(VARIANT_FALSE), L"IXMLDOMDocument.async");
  // Text is kept exactly as written; the indentation between elements is removed after loading.
  VerifierHr(document->put_preserveWhiteSpace(VARIANT_TRUE), L"IXMLDOMDocument.preserveWhiteSpace");
  VerifierHr(document->put_resolveExternals(VARIANT_FALSE), L"IXMLDOMDocument.resolveExternals");
  VerifierHr(document->put_validateOnParse(VARIANT_FALSE), L"IXMLDOMDocument.validateOnParse");
  return document;
}

bool ChargerDocumentXml(IXMLDOMDocument* document, std::string_view octets, std::wstring& raison) {
  // A byte array lets the parser find the encoding from the byte-order mark and the declaration.
  SAFEARRAY* tableau = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(octets.size()));
  if (!tableau) VerifierHr(E_OUTOFMEMORY, L"SafeArrayCreateVector");
  TVariant source;
  source.Get().vt = VT_ARRAY | VT_UI1;
  source.Get().parray = tableau;
  if (!octets.empty()) {
    void* donnees = nullptr;
    VerifierHr(SafeArrayAccessData(tableau, &donnees), L"SafeArrayAccessData");
    memcpy(donnees, octets.data(), octets.size());
    SafeArrayUnaccessData(tableau);
  }
  VARIANT_BOOL reussi = VARIANT_FALSE;
  const HRESULT hr = document->load(source.Get(), &reussi);
  if (SUCCEEDED(hr) && reussi == VARIANT_TRUE) {
    RetirerIndentation(document);
    return true;
  }
  raison.clear();
  IXMLDOMParseError* brut = nullptr;
  if (SUCCEEDED(document->get_parseError(&brut)) && brut) {
    const auto erreur = Sortie(brut);
    TBstr texte;
    if (SUCCEEDED(erreur->get_reason(texte.Adresse()))) raison = Trim(texte.Texte());
  }
  return false;
}

std::string SerialiserDocumentXml(IXMLDOMDocument* document) {
  TEcrivainXml ecrivain;
  ecrivain.Document(document);
  return "\xEF\xBB\xBF" + VersUtf8(ecrivain.Resultat());
}

void AjouterDeclarationXml(IXMLDOMDocument* document) {
  IXMLDOMProcessingInstruction* brut = nullptr;
  const TBstr cible(L"xml");
  const TBstr donnees(L"version=\"1.0\" encoding=\"UTF-8\"");
  VerifierHr(document->createProcessingInstruction(cible.Get(), donnees.Get(), &brut),
             L"IXMLDOMDocument.createProcessingInstruction");
  const auto declaration = Sortie(brut);
  IXMLDOMNode* ajoute = nullptr;
  VerifierHr(document->appendChild(declaration.Get(), &ajoute), L"IXMLDOMNode.appendChild");
  Sortie(ajoute);
}

TRef<IXMLDOMElement> ElementRacine(IXMLDOMDocument* document) {
  IXMLDOMElement* racine = nullptr;
  VerifierHr(document->get_documentElement(&racine), L"IXMLDOMDocument.documentElement");
  return Sortie(racine);
}

std::wstring NomNoeud(IXMLDOMNode* noeud) {
  TBstr nom;
  VerifierHr(noeud->get_nodeName(nom.Adresse()), L"IXMLDOMNode.nodeName");
  return nom.Texte();
}

namespace {
// Hands each child element with that name to `action`, in order, until it answers false.
template <class F>
void ParcourirEnfantsElements(IXMLDOMNode* parent, std::wstring_view nom, F action) {
  if (!parent) return;
  for (auto n = PremierEnfant(parent); n; n = Suivant(n.Get()))
    if (TypeNoeud(n.Get()) == NODE_ELEMENT && NomNoeud(n.Get()) == nom &&
        !action(InterfaceDom<IXMLDOMElement>(n.Get(), IID_IXMLDOMElement)))
      return;
}
}  // namespace

TRef<IXMLDOMElement> EnfantElement(IXMLDOMNode* parent, std::wstring_view nom) {
  TRef<IXMLDOMElement> trouve;
  ParcourirEnfantsElements(parent, nom, [&trouve](TRef<IXMLDOMElement> element) {
    trouve = std::move(element);
    return false;
  });
  return trouve;
}

TRef<IXMLDOMElement> AjouterElement(IXMLDOMDocument* document, IXMLDOMNode* parent, const std::wstring& nom) {
  IXMLDOMElement* brut = nullptr;
  VerifierHr(document->createElement(TBstr(nom).Get(), &brut), L"IXMLDOMDocument.createElement");
  const auto element = Sortie(brut);
  IXMLDOMNode* ajoute = nullptr;
  VerifierHr(parent->appendChild(element.Get(), &ajoute), L"IXMLDOMNode.appendChild");
  Sortie(ajoute);
  return element;
}

std::vector<TRef<IXMLDOMElement>> EnfantsElements(IXMLDOMNode* parent, std::wstring_view nom) {
  std::vector<TRef<IXMLDOMElement>> enfants;
  ParcourirEnfantsElements(parent, nom, [&enfants](TRef<IXMLDOMElement> element) {
    enfants.push_back(std::move(element));
    return true;
  });
  return enfants;
}

std::vector<TRef<IXMLDOMElement>> SelectionnerElements(IXMLDOMNode* noeud, const std::wstring& xpath) {
  IXMLDOMNodeList* brute = nullptr;
  VerifierHr(noeud->selectNodes(TBstr(xpath).Get(), &brute), L"IXMLDOMNode.selectNodes");
  const auto liste = Sortie(brute);
  std::vector<TRef<IXMLDOMElement>> elements;
  for (;;) {
    IXMLDOMNode* suivant = nullptr;
    VerifierHr(liste->nextNode(&suivant), L"IXMLDOMNodeList.nextNode");
    const auto n = Sortie(suivant);
    if (!n) return elements;
    if (auto element = InterfaceDom<IXMLDOMElement>(n.Get(), IID_IXMLDOMElement)) elements.push_back(std::move(element));
  }
}

TRef<IXMLDOMDocument> DocumentDuNoeud(IXMLDOMNode* noeud) {
  if (auto document = InterfaceDom<IXMLDOMDocument>(noeud, IID_IXMLDOMDocument)) return document;
  IXMLDOMDocument* proprietaire = nullptr;
  VerifierHr(noeud->get_ownerDocument(&proprietaire), L"IXMLDOMNode.ownerDocument");
  return Sortie(proprietaire);
}

std::wstring TexteNoeud(IXMLDOMNode* noeud) {
  TBstr texte;
  VerifierHr(noeud->get_text(texte.Adresse()), L"IXMLDOMNode.text");
  return texte.Texte();
}

void EcrireTexteNoeud(IXMLDOMNode* noeud, const std::wstring& texte) {
  VerifierHr(noeud->put_text(TBstr(texte).Get()), L"IXMLDOMNode.text");
}

void SupprimerEnfant(IXMLDOMNode* parent, IXMLDOMNode* enfant) {
  IXMLDOMNode* retire = nullptr;
  VerifierHr(parent->removeChild(enfant, &retire), L"IXMLDOMNode.removeChild");
  Sortie(retire);
}

bool LireAttribut(IXMLDOMElement* element, const std::wstring& nom, std::wstring& valeur) {
  TVariant v;
  const HRESULT hr = element->getAttribute(TBstr(nom).Get(), &v);
  VerifierHr(hr, L"IXMLDOMElement.getAttribute");
  if (hr != S_OK || v.Get().vt != VT_BSTR) return false;
  valeur.assign(v.Get().bstrVal, SysStringLen(v.Get().bstrVal));
  return true;
}

void EcrireAttribut(IXMLDOMElement* element, const std::wstring& nom, const std::wstring& valeur) {
  TVariant v;
  v.Get().vt = VT_BSTR;
  v.Get().bstrVal = SysAllocStringLen(valeur.data(), static_cast<UINT>(valeur.size()));
  VerifierHr(element->setAttribute(TBstr(nom).Get(), v.Get()), L"IXMLDOMElement.setAttribute");
}

}  // namespace norvel
