#pragma once
// The readable name of a class, without its namespaces, for messages and thread names.
#include <string>
#include <typeinfo>

namespace norvel {

std::wstring NomDeClasse(const std::type_info& type);

}  // namespace norvel
