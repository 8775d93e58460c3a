#pragma once
#include <string>
#include <string_view>

namespace norvel {

// The MD5 digest of the bytes as 32 upper-case hexadecimal digits.
std::wstring EmpreinteMd5Hex(std::string_view octets);

}  // namespace norvel
