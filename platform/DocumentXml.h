#pragma once
// MSXML 6 documents through COM: creation, loading from bytes, element and attribute access,
// and our own serialisation (UTF-8 with byte-order mark, indented), which MSXML's save lacks.
#include <msxml2.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/Interface.h"

namespace norvel {

// MSXML needs COM on the calling thread: initialised once per thread (single-threaded
// apartment) unless the thread already chose its apartment, and released when the thread ends.
void AssurerComSurCeThread();

// An empty DOMDocument60, synchronous. Text is kept exactly; the whitespace that indents
// elements is dropped when a file is loaded (indentation is ours when writing).
TRef<IXMLDOMDocument> NouveauDocumentXml();
// Parses the bytes of a file (the parser detects the encoding). False with the parser's
// reason when the text is not well-formed XML.
bool ChargerDocumentXml(IXMLDOMDocument* document, std::string_view octets, std::wstring& raison);
// The document as file bytes: byte-order mark, declaration version 1.0 / UTF-8, then the nodes
// indented by two spaces; the content of elements that hold text is written untouched. A text
// holding a character that XML cannot hold (a control character) raises: nothing is written.
std::string SerialiserDocumentXml(IXMLDOMDocument* document);
// Appends the declaration version "1.0", encoding "UTF-8" to an empty document.
void AjouterDeclarationXml(IXMLDOMDocument* document);

TRef<IXMLDOMElement> ElementRacine(IXMLDOMDocument* document);
std::wstring NomNoeud(IXMLDOMNode* noeud);
// The first child element with exactly that name, or none.
TRef<IXMLDOMElement> EnfantElement(IXMLDOMNode* parent, std::wstring_view nom);
// Appends a new element (to the document itself when parent is the document).
TRef<IXMLDOMElement> AjouterElement(IXMLDOMDocument* document, IXMLDOMNode* parent, const std::wstring& nom);
// Every child element with exactly that name, in document order.
std::vector<TRef<IXMLDOMElement>> EnfantsElements(IXMLDOMNode* parent, std::wstring_view nom);
void SupprimerEnfant(IXMLDOMNode* parent, IXMLDOMNode* enfant);
// The elements an XPath 1.0 expression selects from the node, in document order (nodes that
// are not elements are left out). A malformed expression raises the parser's error.
std::vector<TRef<IXMLDOMElement>> SelectionnerElements(IXMLDOMNode* noeud, const std::wstring& xpath);
// The document a node belongs to (the node itself when it is the document).
TRef<IXMLDOMDocument> DocumentDuNoeud(IXMLDOMNode* noeud);
// The text content of a node and its descendants; writing replaces the node's children by it.
std::wstring TexteNoeud(IXMLDOMNode* noeud);
void EcrireTexteNoeud(IXMLDOMNode* noeud, const std::wstring& texte);
// False when the attribute is absent.
bool LireAttribut(IXMLDOMElement* element, const std::wstring& nom, std::wstring& valeur);
void EcrireAttribut(IXMLDOMElement* element, const std::wstring& nom, const std::wstring& valeur);

// Any DOM interface from another one; empty when the node does not support it.
template <class I>
TRef<I> InterfaceDom(IUnknown* objet, REFIID iid) {
  void* p = nullptr;
  if (objet && SUCCEEDED(objet->QueryInterface(iid, &p))) return TRef<I>::Attacher(static_cast<I*>(p));
  return {};
}

}  // namespace norvel
