#pragma once
// Bytes written as hexadecimal digits, two per byte.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

// Upper-case digits.
std::wstring EnHexadecimal(const uint8_t* octets, size_t nombre);
inline std::wstring EnHexadecimal(const std::vector<uint8_t>& octets) {
  return EnHexadecimal(octets.data(), octets.size());
}
// Upper- or lower-case digits; nothing when a character is not a digit or the count is odd.
std::optional<std::vector<uint8_t>> DepuisHexadecimal(std::wstring_view texte);

}  // namespace norvel
