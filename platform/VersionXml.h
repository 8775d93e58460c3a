#pragma once
// XML form of a version: an element "TypeVersion" holding one "Numero" element per number.
#include <msxml2.h>

#include "platform/Version.h"

namespace norvel {

// Replaces the node's "TypeVersion" child, if any, by the version's.
void EcrireVersionXml(IXMLDOMNode* cible, const TypeVersion& version);
// The version of the node's "TypeVersion" child; the empty version when there is none. Raises
// "Numéros de version invalides." when a number is not a decimal 32-bit number.
TypeVersion LireVersionXml(IXMLDOMNode* source);

}  // namespace norvel
