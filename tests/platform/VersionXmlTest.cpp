#include <gtest/gtest.h>

#include "AffichageVersion.h"
#include "platform/DocumentXml.h"
#include "platform/VersionXml.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"

using namespace norvel;

namespace {

TypeVersion V(std::initializer_list<uint32_t> numeros) { return VersionDepuisNumeros(numeros); }

TRef<IXMLDOMDocument> Document(const std::string& xml) {
  auto document = NouveauDocumentXml();
  std::wstring raison;
  EXPECT_TRUE(ChargerDocumentXml(document.Get(), xml, raison)) << VersUtf8(raison);
  return document;
}

// The serialised document on one line, without declaration, byte-order mark or indentation.
std::string Compact(IXMLDOMDocument* document) {
  std::string texte = SerialiserDocumentXml(document);
  texte = texte.substr(texte.find("?>") + 2);
  std::string compact;
  for (char c : texte)
    if (c != '\r' && c != '\n' && c != ' ') compact += c;
  return compact;
}

TRef<IXMLDOMNode> Racine(IXMLDOMDocument* document) { return TRef<IXMLDOMNode>(ElementRacine(document)); }

}  // namespace

TEST(VersionXml, WritesOneNumeroPerNumberAndReplacesTheOldVersion) {
  auto document = Document("<Parametres><Avant/><TypeVersion><Numero>7</Numero></TypeVersion><Apres/></Parametres>");
  EcrireVersionXml(Racine(document.Get()).Get(), V({1, 9}));
  EXPECT_EQ("<Parametres><Avant/><Apres/><TypeVersion><Numero>1</Numero><Numero>9</Numero></TypeVersion></Parametres>",
            Compact(document.Get()));
  EXPECT_EQ(V({1, 9}), LireVersionXml(Racine(document.Get()).Get()));

  EcrireVersionXml(Racine(document.Get()).Get(), V({}));
  EXPECT_EQ("<Parametres><Avant/><Apres/><TypeVersion/></Parametres>", Compact(document.Get()));
  EXPECT_EQ(V({}), LireVersionXml(Racine(document.Get()).Get()));
}

TEST(VersionXml, RoundTripsThroughTheFileForm) {
  for (const TypeVersion& version : {V({300, 0, 0xFFFFFFFF}), V({0}), V({1, 9, 0, 0})}) {
    auto document = Document("<Parametres/>");
    EcrireVersionXml(Racine(document.Get()).Get(), version);
    auto relu = Document(SerialiserDocumentXml(document.Get()));
    EXPECT_EQ(version, LireVersionXml(Racine(relu.Get()).Get())) << testing::PrintToString(version);
  }
  // Written on the document itself: the version becomes the root element.
  auto vide = NouveauDocumentXml();
  EcrireVersionXml(TRef<IXMLDOMNode>(vide).Get(), V({2, 1}));
  EXPECT_EQ("<TypeVersion><Numero>2</Numero><Numero>1</Numero></TypeVersion>", Compact(vide.Get()));
  EXPECT_EQ(V({2, 1}), LireVersionXml(TRef<IXMLDOMNode>(vide).Get()));
}

TEST(VersionXml, ReadsOnlyTheDirectChildAndRefusesBadNumbers) {
  EXPECT_EQ(V({}), LireVersionXml(Racine(Document("<Parametres/>").Get()).Get()));
  EXPECT_EQ(V({}), LireVersionXml(Racine(Document("<P><Autre><TypeVersion><Numero>1</Numero></TypeVersion></Autre></P>")
                                             .Get())
                                      .Get()))
      << "a TypeVersion deeper down is not this node's";
  EXPECT_EQ(V({2, 10}),
            LireVersionXml(Racine(Document("<P><TypeVersion><Numero>2</Numero><Autre>5</Autre><Numero> 10 </Numero>"
                                           "</TypeVersion></P>")
                                      .Get())
                               .Get()));
  for (const char* numero : {"x", "-1", "", "4294967296", "1.5", "99999999999"}) {
    auto document = Document(std::string("<P><TypeVersion><Numero>1</Numero><Numero>") + numero +
                             "</Numero></TypeVersion></P>");
    try {
      LireVersionXml(Racine(document.Get()).Get());
      ADD_FAILURE() << "accepted " << numero;
    } catch (const EOvalis& e) {
      EXPECT_EQ(L"Numéros de version invalides.", e.Message()) << numero;
    }
  }
}
